// The document scan: the entry of the 3D content extraction for the Export command.
//
// Every page of the document of a view, every annotation of each page, and of those the 3D
// annotations whose "3DD" is a stream of subtype "PRC": each such stream is copied, decoded, into
// the temporary PRC file, loaded by the 3D library as a model file and walked into the mesh list.
// Other annotations pass over silently. A failure marks the scan failed and passes over the rest
// of its page; the scan goes on with the next page. Each stream replaces the temporary file whole,
// and what the 3D library loaded is kept only when the file is still the one written (see
// TemporaryPrcFile.h): a stream whose file another Export, or anyone, changed or replaced in the
// meantime fails with "Unable to create PRC file". The file is deleted when the scan ends, on
// every path, unless another has it open by then.
#ifndef VANTRELL_EXTRACTION_DOCUMENTSCAN_H
#define VANTRELL_EXTRACTION_DOCUMENTSCAN_H

#include <windows.h>

#include "extraction/ModelWalk.h"
#include "extraction/TemporaryPrcFile.h"
#include "host/HostTypes.h"
#include "mfc/CStringT.h"

// Binds the 3D library around one scan of the document of *view into meshes. Returns 1 when the
// library was bound and no PRC stream failed (a document without any is a success), else 0 with
// the last-error text saying why. Without a document view there is nothing to scan: 0 and the
// text "There is no open document".
int ExtractMeshesFromDocument(HostDocumentView* view, MeshList* meshes);

// The scan itself; the 3D library must be loaded and initialised. Empties the list first.
int CollectDocumentMeshes(HostDocumentView* view, MeshList* meshes);

// Copies the stream's decoded contents into the file at path, replacing what it held, and lets
// the file go. Returns 1, or 0 with the text "Unable to create PRC file" when the file cannot be
// had safely (see OpenTemporaryPrcFile) or not written completely (a truncated model must never
// pass for the stream).
int WritePrcStreamToFile(HostCosObj stream, const CStringT<char>& path);

// The same, saying in `written` what the file holds, for the check after the load.
int WritePrcStreamToFile(HostCosObj stream, const CStringT<char>& path, WrittenPrcFile* written);

// Loads the file at path as a model file, walks it into meshes and deletes it. Returns the walk's
// result, or 0 with the text "Unable to load model file" when the load fails. The walk is bounded
// as that of a small file; the scan bounds each by the sizes of its files.
int LoadPrcModelFile(const CStringT<char>& path, MeshList* meshes);

// The same for a file the scan wrote, its walk bounded by the file's size and *listModelBytes,
// the sizes of the model files whose meshes the list holds, to which the file's own are added once
// it is loaded. Checked once the load and the walk are done: when the file is no longer what
// `written` describes, the meshes of this load are taken back out of the list (and its size out of
// *listModelBytes), and the result is 0 with the text "Unable to create PRC file", whatever the
// load and the walk gave.
int LoadPrcModelFile(const CStringT<char>& path, MeshList* meshes, const WrittenPrcFile& written,
                     uint64_t* listModelBytes);

#endif
