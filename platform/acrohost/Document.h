// A document as the host serves it: its pages and their Cos objects, whatever holds them (a PDF
// file read through qpdf, or a document built in memory).
//
// Objects are named by ids that the document hands out: 0 is the null object, and an id stays
// valid, naming the same object, for the life of the document. Every lookup resolves indirect
// references. No operation throws; a damaged object reads as null.
#ifndef VANTRELL_ACROHOST_DOCUMENT_H
#define VANTRELL_ACROHOST_DOCUMENT_H

#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <string>

#include "acrohost/CosValue.h"
#include "acrohost/Streams.h"

namespace acrohost {

typedef uint32_t CosId;

class Document {
 public:
  virtual ~Document() = default;

  // How messages name the document: its path, or "in-memory document".
  virtual std::string Describe() const = 0;

  virtual int PageCount() = 0;
  // The page dictionary at a 0-based index; 0 outside the document.
  virtual CosId Page(int index) = 0;

  virtual CosType Type(CosId object) = 0;
  // A name's text (without slash); false for anything that is not a name.
  virtual bool NameOf(CosId object, std::string* name) = 0;
  // The value of a key in a dictionary or in a stream's dictionary; 0 when absent.
  virtual CosId Get(CosId dictionary, const std::string& key) = 0;
  // The items of an array; none for anything else.
  virtual int Count(CosId array) = 0;
  virtual CosId At(CosId array, int index) = 0;
  // "12 0 R" for an indirect object, "a direct object" otherwise.
  virtual std::string Label(CosId object) = 0;

  // A reader of a stream's decoded contents, spooling beyond memoryLimit bytes where it must
  // decode. Null, with the reason, for anything that is not a stream and for a stream whose
  // filters cannot be decoded.
  virtual std::unique_ptr<ByteReader> OpenDecoded(CosId stream, size_t memoryLimit, std::string* error) = 0;

  // Changes. A new page (US Letter, nothing on it) at the end; its index, or -1.
  virtual int AppendPage(std::string* error) = 0;
  // Adds the annotation, as a new indirect object, at the end of the page's /Annots (which is made
  // when missing, and replaced when it is not an array). Streams inside become indirect objects.
  virtual bool AddAnnotation(int pageIndex, const CosValue& annotation, std::string* error) = 0;
  // Writes the document as a PDF file; the file at path is replaced only by a complete one.
  virtual bool Save(const std::string& path, std::string* error) = 0;
};

}  // namespace acrohost

#endif
