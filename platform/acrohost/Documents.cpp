#include "acrohost/Documents.h"

#include "acrohost/Handles.h"
#include "acrohost/Host.h"
#include "acrohost/Operations.h"

#if ACROHOST_HAVE_QPDF
#include "acrohost/QpdfDocument.h"
#endif

namespace acrohost {

bool Documents::OpenPdf(const std::string& path, std::string* error) {
#if ACROHOST_HAVE_QPDF
  std::string reason;
  std::unique_ptr<Document> document = OpenPdfDocument(path, &reason);
  if (!document) {
    if (error) *error = "cannot open " + path + ": " + reason;
    return false;
  }
  Open(std::move(document));
  return true;
#else
  if (error) *error = "cannot open " + path + ": this build reads no PDF files";
  return false;
#endif
}

Document& Documents::Open(std::unique_ptr<Document> document) {
  Entry entry;
  entry.document = std::move(document);
  entry.doc = NewHandle<HostDoc>();
  entry.view = NewHandle<HostDocumentView>();
  m_entries.push_back(std::move(entry));
  m_active = static_cast<int>(m_entries.size());
  return *m_entries.back().document;
}

MemoryDocument& Documents::OpenNewMemoryDocument() {
  MemoryDocument* document = new MemoryDocument;
  Open(std::unique_ptr<Document>(document));
  return *document;
}

void Documents::CloseActive() { m_active = 0; }

Document* Documents::active() const { return m_active ? m_entries[m_active - 1].document.get() : nullptr; }

HostDocumentView Documents::activeView() const { return m_active ? m_entries[m_active - 1].view : nullptr; }

Document* Documents::FromView(HostDocumentView view) const {
  for (const Entry& entry : m_entries)
    if (view && entry.view == view) return entry.document.get();
  return nullptr;
}

HostDoc Documents::DocOfView(HostDocumentView view) const {
  for (const Entry& entry : m_entries)
    if (view && entry.view == view) return entry.doc;
  return nullptr;
}

Document* Documents::FromDoc(HostDoc doc) const {
  for (const Entry& entry : m_entries)
    if (doc && entry.doc == doc) return entry.document.get();
  return nullptr;
}

HostPage Documents::AcquirePage(HostDoc doc, int index) {
  for (size_t i = 0; i < m_entries.size(); ++i) {
    Entry& entry = m_entries[i];
    if (!doc || entry.doc != doc) continue;
    auto known = entry.pages.find(index);
    if (known != entry.pages.end()) return known->second;
    CosId dictionary = entry.document->Page(index);
    if (!dictionary) return nullptr;
    HostPage page = NewHandle<HostPage>();
    entry.pages[index] = page;
    m_pages[HandleKey(page)] = PageRecord{static_cast<int>(i) + 1, dictionary};
    return page;
  }
  return nullptr;
}

bool Documents::PageOf(HostPage page, Document** document, CosId* dictionary) const {
  auto found = m_pages.find(HandleKey(page));
  if (found == m_pages.end()) return false;
  *document = m_entries[found->second.documentNumber - 1].document.get();
  *dictionary = found->second.dictionary;
  return true;
}

int Documents::NumberOf(const Document* document) const {
  for (size_t i = 0; i < m_entries.size(); ++i)
    if (document && m_entries[i].document.get() == document) return static_cast<int>(i) + 1;
  return 0;
}

HostCosObj Documents::Wrap(const Document* document, CosId object) const {
  int number = NumberOf(document);
  if (!number || !object) return HostCosObj{0, 0};
  return HostCosObj{static_cast<uint32_t>(number), object};
}

bool Documents::Unwrap(HostCosObj object, Document** document, CosId* id) const {
  if (object.a == 0 || object.b == 0 || object.a > m_entries.size()) return false;
  *document = m_entries[object.a - 1].document.get();
  *id = object.b;
  return true;
}

namespace ops {

namespace {

HostAnnot ToAnnot(HostCosObj object) { return HostAnnot{object.a, object.b}; }
HostCosObj ToCos(HostAnnot annot) { return HostCosObj{annot.a, annot.b}; }

// The document and annotation dictionary of a page's /Annots array.
bool AnnotsOf(Host& host, HostPage page, Document** document, CosId* annots) {
  CosId dictionary = 0;
  if (!host.documents().PageOf(page, document, &dictionary)) return false;
  *annots = (*document)->Get(dictionary, "Annots");
  return true;
}

}  // namespace

HostDocumentView HostAppGetActiveDocView(void) {
  Host* host = Host::Current();
  return host ? host->documents().activeView() : nullptr;
}

HostDoc HostDocViewGetDoc(HostDocumentView view) {
  Host* host = Host::Current();
  return host ? host->documents().DocOfView(view) : nullptr;
}

int32_t HostDocGetNumPages(HostDoc doc) {
  Host* host = Host::Current();
  Document* document = host ? host->documents().FromDoc(doc) : nullptr;
  return document ? document->PageCount() : 0;
}

HostPage HostDocAcquirePage(HostDoc doc, int32_t index) {
  Host* host = Host::Current();
  return host ? host->documents().AcquirePage(doc, index) : nullptr;
}

int32_t HostPageGetNumAnnots(HostPage page) {
  Host* host = Host::Current();
  Document* document = nullptr;
  CosId annots = 0;
  if (!host || !AnnotsOf(*host, page, &document, &annots)) return 0;
  return document->Count(annots);
}

HostAnnot HostPageGetAnnot(HostPage page, int32_t index) {
  Host* host = Host::Current();
  Document* document = nullptr;
  CosId annots = 0;
  if (!host || !AnnotsOf(*host, page, &document, &annots)) return HostAnnot{0, 0};
  return ToAnnot(host->documents().Wrap(document, document->At(annots, index)));
}

HostBool HostAnnotIsValid(HostAnnot annot) {
  Host* host = Host::Current();
  Document* document = nullptr;
  CosId id = 0;
  if (!host || !host->documents().Unwrap(ToCos(annot), &document, &id)) return 0;
  return document->Type(id) == kCosDictionary ? 1 : 0;
}

HostAtom HostAnnotGetSubtype(HostAnnot annot) {
  Host* host = Host::Current();
  Document* document = nullptr;
  CosId id = 0;
  if (!host || !host->documents().Unwrap(ToCos(annot), &document, &id)) return Atoms::kNull;
  std::string subtype;
  if (document->Type(id) != kCosDictionary || !document->NameOf(document->Get(id, "Subtype"), &subtype))
    return Atoms::kNull;
  return host->atoms().Intern(subtype);
}

HostCosObj HostAnnotGetCosObj(HostAnnot annot) {
  Host* host = Host::Current();
  Document* document = nullptr;
  CosId id = 0;
  if (!host || !host->documents().Unwrap(ToCos(annot), &document, &id)) return HostCosObj{0, 0};
  return ToCos(annot);
}

int32_t HostCosObjGetType(HostCosObj object) {
  Host* host = Host::Current();
  Document* document = nullptr;
  CosId id = 0;
  if (!host || !host->documents().Unwrap(object, &document, &id)) return kCosNull;
  return document->Type(id);
}

HostAtom HostCosNameValue(HostCosObj name) {
  Host* host = Host::Current();
  Document* document = nullptr;
  CosId id = 0;
  std::string text;
  if (!host || !host->documents().Unwrap(name, &document, &id) || !document->NameOf(id, &text)) return Atoms::kNull;
  return host->atoms().Intern(text);
}

HostCosObj HostCosDictGet(HostCosObj dictionary, HostAtom key) {
  Host* host = Host::Current();
  Document* document = nullptr;
  CosId id = 0;
  if (!host || !host->documents().Unwrap(dictionary, &document, &id)) return HostCosObj{0, 0};
  const std::string* text = host->atoms().Text(key);
  if (!text) return HostCosObj{0, 0};
  return host->documents().Wrap(document, document->Get(id, *text));
}

}  // namespace ops
}  // namespace acrohost
