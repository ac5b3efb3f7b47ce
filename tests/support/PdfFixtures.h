// Documents for tests: pages with annotations of any subtype, 3D annotations whose "3DD" is a
// stream (subtype PRC or another, none, or not a name; any bytes, optionally Flate-compressed or
// stored under a filter that cannot be decoded) or a 3D reference dictionary, /Annots missing,
// direct or indirect, and /Annots entries that are no annotation at all. Written as PDF files
// (through the host's qpdf writer) or handed to the host as in-memory documents.
//
// Builds without qpdf (Windows) have no PDF files: WritePdf and WritePasswordProtectedPdf fail
// there, and tests of PDF files skip themselves with PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES().
//
//   pdf_fixtures::Page page;
//   page.annotations = {pdf_fixtures::Prc("bytes"), pdf_fixtures::Other("Text")};
//   pdf_fixtures::WritePdf(dir.File("a.pdf"), {page});
#ifndef VANTRELL_TESTS_PDFFIXTURES_H
#define VANTRELL_TESTS_PDFFIXTURES_H

#include <memory>
#include <string>
#include <vector>

#include "acrohost/MemoryDocument.h"

namespace pdf_fixtures {

// Whether this build writes and reads PDF files.
bool HavePdfFiles();

// In a test or its SetUp: the test is skipped in a build without PDF files.
#define PDF_FIXTURES_SKIP_WITHOUT_PDF_FILES() \
  if (pdf_fixtures::HavePdfFiles()) {         \
  } else                                      \
    GTEST_SKIP() << "this build has no PDF files (no qpdf)"

// What a 3D annotation's "3DD" entry holds.
struct ThreeDData {
  enum Kind { kStream, kReferenceDictionary, kAbsent } kind = kStream;
  // The stream's /Subtype: a name, a string (not a name), or none.
  enum SubtypeForm { kSubtypeName, kSubtypeString, kSubtypeMissing } subtypeForm = kSubtypeName;
  std::string subtype = "PRC";
  std::string bytes;   // the decoded contents
  bool flate = false;  // stored Flate-compressed (/FlateDecode)
  // When not empty: the bytes are stored as they are under this /Filter, e.g. "JBIG2Decode", or
  // "FlateDecode" with bytes that are no Flate data.
  std::string rawFilter;
};

struct Annotation {
  bool isDictionary = true;  // false: the /Annots entry is the integer 7, not a dictionary
  std::string subtype = "3D";  // empty: no /Subtype
  bool hasData = true;         // the "3DD" entry is written (for any subtype)
  ThreeDData data;
};

// A 3D annotation with a PRC stream of these decoded bytes.
Annotation Prc(const std::string& bytes, bool flate = false);
// A 3D annotation with this "3DD".
Annotation ThreeD(const ThreeDData& data);
// An annotation of another subtype ("Text", "Link", ...), without "3DD".
Annotation Other(const std::string& subtype);
// An /Annots entry that is no dictionary.
Annotation NotADictionary();

struct Page {
  enum AnnotsForm { kDirect, kIndirect, kMissing } annots = kDirect;
  std::vector<Annotation> annotations;
};

// The document as the host's in-memory kind. Compressed and filtered streams are held encoded,
// so an in-memory document cannot read them back (a PDF file can). Without qpdf a stream to be
// Flate-compressed keeps its bytes as they are under /FlateDecode: nothing can read it either way.
std::unique_ptr<acrohost::MemoryDocument> BuildDocument(const std::vector<Page>& pages);
// Writes the document as a PDF file; false, with the reason, when it cannot.
bool WritePdf(const std::string& path, const std::vector<Page>& pages, std::string* error = nullptr);
// The document as the host reads it from a PDF file: written at path and opened, where this build
// has PDF files; elsewhere in memory with every stream to be Flate-compressed held as it is, as
// the host hands out the same decoded bytes either way. Null, with the reason, when the file
// cannot be written or opened.
std::unique_ptr<acrohost::Document> ReadableDocument(const std::vector<Page>& pages, const std::string& path,
                                                     std::string* error = nullptr);
// A file that starts like a PDF file but holds nothing that can be recovered.
bool WriteDamagedPdf(const std::string& path);
// The document as a PDF file that opens only with the password.
bool WritePasswordProtectedPdf(const std::string& path, const std::vector<Page>& pages, const std::string& password);
// A file that is not a PDF file at all.
bool WriteNotAPdf(const std::string& path);
// Deterministic bytes of every value, for stream contents: the same size and seed give the same bytes.
std::string PatternBytes(size_t size, unsigned seed = 1);

}  // namespace pdf_fixtures

#endif
