#include "PdfFixtures.h"

#include <cstdio>
#include <exception>
#include <fstream>

#if ACROHOST_HAVE_QPDF
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include "acrohost/QpdfDocument.h"
#endif

namespace pdf_fixtures {

namespace {

using acrohost::CosValue;

CosValue Rect() {
  return CosValue::Array({CosValue::Integer(100), CosValue::Integer(100), CosValue::Integer(300),
                          CosValue::Integer(300)});
}

CosValue DataStream(const ThreeDData& data) {
  CosValue::Entries entries{{"Type", CosValue::Name("3D")}};
  if (data.subtypeForm == ThreeDData::kSubtypeName) entries.emplace_back("Subtype", CosValue::Name(data.subtype));
  if (data.subtypeForm == ThreeDData::kSubtypeString)
    entries.emplace_back("Subtype", CosValue::String(data.subtype));
  std::string stored = data.bytes;
  if (!data.rawFilter.empty()) {
    entries.emplace_back("Filter", CosValue::Name(data.rawFilter));
  } else if (data.flate) {
    entries.emplace_back("Filter", CosValue::Name("FlateDecode"));
#if ACROHOST_HAVE_QPDF
    stored = acrohost::FlateCompress(data.bytes);
#endif
  }
  return CosValue::Stream(entries, stored);
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

bool HavePdfFiles() {
#if ACROHOST_HAVE_QPDF
  return true;
#else
  return false;
#endif
}

Annotation Prc(const std::string& bytes, bool flate) {
  Annotation annotation;
  annotation.data.bytes = bytes;
  annotation.data.flate = flate;
  return annotation;
}

Annotation ThreeD(const ThreeDData& data) {
  Annotation annotation;
  annotation.data = data;
  return annotation;
}

Annotation Other(const std::string& subtype) {
  Annotation annotation;
  annotation.subtype = subtype;
  annotation.hasData = false;
  return annotation;
}

Annotation NotADictionary() {
  Annotation annotation;
  annotation.isDictionary = false;
  return annotation;
}

std::unique_ptr<acrohost::MemoryDocument> BuildDocument(const std::vector<Page>& pages) {
  std::unique_ptr<acrohost::MemoryDocument> document(new acrohost::MemoryDocument);
  for (const Page& page : pages) {
    CosValue annots = CosValue::Array();
    for (const Annotation& annotation : page.annotations) {
      if (!annotation.isDictionary) {
        annots.Append(CosValue::Integer(7));
        continue;
      }
      CosValue dictionary = CosValue::Dictionary({{"Type", CosValue::Name("Annot")}, {"Rect", Rect()}});
      if (!annotation.subtype.empty()) dictionary.Set("Subtype", CosValue::Name(annotation.subtype));
      if (annotation.hasData && annotation.data.kind == ThreeDData::kStream) {
        dictionary.Set("3DD", CosValue::Reference(document->AddObject(DataStream(annotation.data))));
      } else if (annotation.hasData && annotation.data.kind == ThreeDData::kReferenceDictionary) {
        CosValue stream = CosValue::Reference(document->AddObject(DataStream(annotation.data)));
        dictionary.Set("3DD", CosValue::Dictionary({{"Type", CosValue::Name("3DRef")}, {"3DD", stream}}));
      }
      annots.Append(CosValue::Reference(document->AddObject(dictionary)));
    }
    CosValue dictionary = CosValue::Dictionary({
        {"Type", CosValue::Name("Page")},
        {"MediaBox", CosValue::Array({CosValue::Integer(0), CosValue::Integer(0), CosValue::Integer(612),
                                      CosValue::Integer(792)})},
    });
    if (page.annots == Page::kDirect) dictionary.Set("Annots", annots);
    if (page.annots == Page::kIndirect) dictionary.Set("Annots", CosValue::Reference(document->AddObject(annots)));
    document->AddPage(CosValue::Reference(document->AddObject(dictionary)));
  }
  return document;
}

bool WritePdf(const std::string& path, const std::vector<Page>& pages, std::string* error) {
  std::string reason;
  bool written = BuildDocument(pages)->Save(path, &reason);
  if (!written && error) *error = reason;
  return written;
}

std::unique_ptr<acrohost::Document> ReadableDocument(const std::vector<Page>& pages, const std::string& path,
                                                     std::string* error) {
#if ACROHOST_HAVE_QPDF
  std::string reason;
  std::unique_ptr<acrohost::Document> document;
  if (WritePdf(path, pages, &reason)) document = acrohost::OpenPdfDocument(path, &reason);
  if (!document && error) *error = reason;
  return document;
#else
  (void)path;
  (void)error;
  std::vector<Page> decoded = pages;
  for (Page& page : decoded)
    for (Annotation& annotation : page.annotations) annotation.data.flate = false;
  return BuildDocument(decoded);
#endif
}

bool WritePasswordProtectedPdf(const std::string& path, const std::vector<Page>& pages, const std::string& password) {
#if !ACROHOST_HAVE_QPDF
  (void)path;
  (void)pages;
  (void)password;
  return false;
#else
  const std::string plain = path + ".plain";
  if (!WritePdf(plain, pages)) return false;
  bool written = true;
  try {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processFile(plain.c_str());
    QPDFWriter writer(pdf, path.c_str());
    writer.setR6EncryptionParameters(password.c_str(), password.c_str(), true, true, true, true, true, true,
                                     qpdf_r3p_full, true);
    writer.write();
  } catch (const std::exception&) {
    written = false;
  }
  std::remove(plain.c_str());
  return written;
#endif
}

bool WriteDamagedPdf(const std::string& path) {
  return WriteBytes(path, "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< /Type /Cat");
}

bool WriteNotAPdf(const std::string& path) { return WriteBytes(path, "These are the minutes of the meeting.\n"); }

std::string PatternBytes(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1664525u + 1013904223u;
    bytes[i] = static_cast<char>(state >> 24);
  }
  return bytes;
}

}  // namespace pdf_fixtures
