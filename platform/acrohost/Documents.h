// The host's open documents, their views and pages, and the Cos objects and annotations handed
// out from them (AcroView 12 and 48; PDModel 15, 16, 26, 83, 84, 152, 157; Cos 2, 19, 21).
//
// One document view is active at a time: the one opened last, until it is closed. A Cos object or
// an annotation is handed out as {document number, object id}; the null object is {0, 0}.
// Documents stay alive until the host ends, so every value handed out stays meaningful.
#ifndef VANTRELL_ACROHOST_DOCUMENTS_H
#define VANTRELL_ACROHOST_DOCUMENTS_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "acrohost/Document.h"
#include "acrohost/MemoryDocument.h"
#include "host/HostTypes.h"

namespace acrohost {

class Documents {
 public:
  // Opens a PDF file as the active document. False, with the reason, when it cannot be opened or
  // when this build reads no PDF files.
  bool OpenPdf(const std::string& path, std::string* error);
  // Makes a document the active one.
  Document& Open(std::unique_ptr<Document> document);
  // A new empty in-memory document, made the active one.
  MemoryDocument& OpenNewMemoryDocument();
  // No document is active afterwards.
  void CloseActive();

  Document* active() const;
  HostDocumentView activeView() const;

  // ---- Values handed out ----
  Document* FromView(HostDocumentView view) const;
  HostDoc DocOfView(HostDocumentView view) const;
  Document* FromDoc(HostDoc doc) const;
  // The page at an index of a document, the same handle each time; null outside the document.
  HostPage AcquirePage(HostDoc doc, int index);
  // The document and the page dictionary of a page handle; false for an unknown one.
  bool PageOf(HostPage page, Document** document, CosId* dictionary) const;
  HostCosObj Wrap(const Document* document, CosId object) const;
  // The document and id of a Cos object; false for the null object and for values not handed out.
  bool Unwrap(HostCosObj object, Document** document, CosId* id) const;

 private:
  struct Entry {
    std::unique_ptr<Document> document;
    HostDoc doc;
    HostDocumentView view;
    std::map<int, HostPage> pages;  // by index
  };
  int NumberOf(const Document* document) const;  // from 1, or 0

  std::vector<Entry> m_entries;  // document number n is m_entries[n - 1]
  int m_active = 0;              // document number, 0 for none
  struct PageRecord {
    int documentNumber;
    CosId dictionary;
  };
  std::map<uintptr_t, PageRecord> m_pages;
};

}  // namespace acrohost

#endif
