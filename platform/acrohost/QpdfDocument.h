// PDF files, read and written through qpdf. Only in builds that have qpdf (ACROHOST_HAVE_QPDF);
// nothing of qpdf, neither its exceptions nor its warnings, passes beyond these routines.
#ifndef VANTRELL_ACROHOST_QPDFDOCUMENT_H
#define VANTRELL_ACROHOST_QPDFDOCUMENT_H

#include <memory>
#include <string>

#include "acrohost/Document.h"
#include "acrohost/MemoryDocument.h"

namespace acrohost {

// Opens a PDF file. Null, with the reason, for a missing file, a file that is not a PDF file,
// and a PDF file too damaged to read.
std::unique_ptr<Document> OpenPdfDocument(const std::string& path, std::string* error);

// Writes an in-memory document as a PDF file, each stream's data as it is held. Pages without a
// /MediaBox get US Letter. The file at path is replaced only by a complete one.
bool WriteMemoryDocumentAsPdf(const MemoryDocument& document, const std::string& path, std::string* error);

// Flate-compresses bytes, as a /FlateDecode stream holds them (empty when compression fails).
std::string FlateCompress(const std::string& bytes);

}  // namespace acrohost

#endif
