// The document scan: the entry of the 3D content extraction for the Export command.
//
// Every page of the document of a view, every annotation of each page, and of those the 3D
// annotations whose "3DD" is a stream of subtype "PRC": each such stream is copied, decoded, into
// the temporary PRC file, loaded by the 3D library as a model file and walked into the mesh list.
// Other annotations pass over silently. A failure marks the scan failed and passes over the rest
// of its page; the scan goes on with the next page. The temporary file is held from the first PRC
// stream to the end of the scan, so that no other Export can write it in between (a second
// Export meanwhile fails with "Unable to create PRC file"), and deleted when the scan ends, on
// every path, unless another Export holds it by then.
#ifndef VANTRELL_EXTRACTION_DOCUMENTSCAN_H
#define VANTRELL_EXTRACTION_DOCUMENTSCAN_H

#include <windows.h>

#include "extraction/ModelWalk.h"
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
// had safely (see HoldTemporaryPrcFile) or not written completely (a truncated model must never
// pass for the stream).
int WritePrcStreamToFile(HostCosObj stream, const CStringT<char>& path);

// The same into a file held with HoldTemporaryPrcFile, which stays held; INVALID_HANDLE_VALUE
// (a file that could not be had) fails at once, without opening the stream. With bytesWritten,
// the bytes written to the file are stored there, also when the copy fails.
int WritePrcStreamToFile(HostCosObj stream, HANDLE file, uint64_t* bytesWritten = NULL);

// Loads the file at path as a model file, walks it into meshes and deletes it. Returns the walk's
// result, or 0 with the text "Unable to load model file" when the load fails. The walk is bounded
// as that of a small file; the scan bounds each by the sizes of its files.
int LoadPrcModelFile(const CStringT<char>& path, MeshList* meshes);

#endif
