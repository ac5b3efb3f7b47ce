#include "extraction/DocumentScan.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "extraction/A3DBinding.h"
#include "extraction/LastErrorText.h"
#include "extraction/TemporaryPrcFile.h"
#include "extraction/TemporaryPrcPath.h"
#include "host/HostCalls.h"

namespace {

const int32_t kCopyBufferSize = 1024;

bool SameAtom(HostAtom a, HostAtom b) { return a == b; }

// The "3DD" stream of a 3D annotation whose stream has the subtype "PRC"; false for any other
// annotation, which the scan passes over.
bool FindPrcStream(HostAnnot annot, HostCosObj* stream) {
  if (!HostAnnotIsValid(annot)) return false;
  if (!SameAtom(HostAnnotGetSubtype(annot), HostAtomFromString("3D"))) return false;
  HostCosObj dictionary = HostAnnotGetCosObj(annot);
  HostCosObj data = HostCosDictGet(dictionary, HostAtomFromString("3DD"));
  if (HostCosObjGetType(data) != kHostCosStream) return false;
  HostCosObj subtype = HostCosDictGet(data, HostAtomFromString("Subtype"));
  // A missing subtype, or one that is not a name, says nothing about the stream's format.
  if (HostCosObjGetType(subtype) != kHostCosName) return false;
  if (!SameAtom(HostCosNameValue(subtype), HostAtomFromString("PRC"))) return false;
  *stream = data;
  return true;
}

// LoadPrcModelFile, its walk bounded by the sizes of the model files: modelFileBytes, those of
// the file at path; *listModelBytes, those of the model files whose meshes the list holds, to
// which the file's own are added once it is loaded.
int LoadPrcModelFile(const CStringT<char>& path, uint64_t modelFileBytes, uint64_t* listModelBytes, MeshList* meshes);

}  // namespace

int ExtractMeshesFromDocument(HostDocumentView* view, MeshList* meshes) {
  if (!view || !*view) {
    SetLastErrorText(CStringT<char>("There is no open document"));
    return 0;
  }
  HMODULE library = LoadA3DLibrary();
  if (!library) return 0;
  if (!InitA3DLibrary()) {
    UnloadA3DLibrary(library);
    return 0;
  }
  int result = CollectDocumentMeshes(view, meshes);
  TerminateA3DLibrary();
  UnloadA3DLibrary(library);
  return result;
}

int CollectDocumentMeshes(HostDocumentView* view, MeshList* meshes) {
  HostDoc doc = view ? HostDocViewGetDoc(*view) : NULL;
  CStringT<char> path = MakeTemporaryPrcPath();
  meshes->Destroy();
  // Taken at the first PRC stream and held until the scan ends, so that between a stream's write
  // and its load no other Export can write the file.
  HANDLE file = INVALID_HANDLE_VALUE;
  uint64_t listModelBytes = 0;
  int result = 1;
  if (!doc) {
    SetLastErrorText(CStringT<char>("There is no open document"));
    result = 0;
  }
  for (int32_t i = 0; doc && i < HostDocGetNumPages(doc); ++i) {
    HostPage page = HostDocAcquirePage(doc, i);
    for (int32_t j = 0; j < HostPageGetNumAnnots(page); ++j) {
      HostCosObj stream;
      if (!FindPrcStream(HostPageGetAnnot(page, j), &stream)) continue;
      if (file == INVALID_HANDLE_VALUE) file = HoldTemporaryPrcFile(path);
      uint64_t streamBytes = 0;
      if (!WritePrcStreamToFile(stream, file, &streamBytes) ||
          !LoadPrcModelFile(path, streamBytes, &listModelBytes, meshes)) {
        result = 0;
        break;
      }
    }
  }
  ReleaseTemporaryPrcFile(file, path);
  return result;
}

int WritePrcStreamToFile(HostCosObj stream, const CStringT<char>& path) {
  HANDLE file = HoldTemporaryPrcFile(path);
  int result = WritePrcStreamToFile(stream, file);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return result;
}

int WritePrcStreamToFile(HostCosObj stream, HANDLE file, uint64_t* bytesWritten) {
  if (bytesWritten) *bytesWritten = 0;
  // Emptied first, so a longer file before it leaves no tail behind the stream.
  if (file == INVALID_HANDLE_VALUE || !EmptyTemporaryPrcFile(file)) {
    SetLastErrorText(CStringT<char>("Unable to create PRC file"));
    return 0;
  }
  char buffer[kCopyBufferSize];
  bool complete = true;
  HostStream reader = HostCosStreamOpen(stream, 2);
  int32_t n;
  do {
    n = HostStreamRead(buffer, 1, kCopyBufferSize, reader);
    // A read the host reports as failed, or larger than the buffer, ends the copy unfinished.
    if (n < 0 || n > kCopyBufferSize) {
      complete = false;
      break;
    }
    if (!AppendToTemporaryPrcFile(file, buffer, static_cast<DWORD>(n))) complete = false;
    else if (bytesWritten) *bytesWritten += static_cast<uint64_t>(n);
  } while (n == kCopyBufferSize && complete);
  HostStreamClose(reader);
  if (!complete) {
    SetLastErrorText(CStringT<char>("Unable to create PRC file"));
    return 0;
  }
  return 1;
}

int LoadPrcModelFile(const CStringT<char>& path, MeshList* meshes) {
  uint64_t listModelBytes = 0;
  return LoadPrcModelFile(path, 0, &listModelBytes, meshes);
}

namespace {

int LoadPrcModelFile(const CStringT<char>& path, uint64_t modelFileBytes, uint64_t* listModelBytes, MeshList* meshes) {
  A3DEntity modelFile = NULL;
  if (A3D_ENTRY(A3DAsmModelFileLoadFromFile)(path, NULL, &modelFile) != 0) {
    SetLastErrorText(CStringT<char>("Unable to load model file"));
    return 0;
  }
  *listModelBytes += modelFileBytes;
  int result = WalkModelFileOfSize(modelFile, modelFileBytes, *listModelBytes, *meshes);
  A3D_ENTRY(A3DAsmModelFileDelete)(modelFile);
  return result;
}

}  // namespace
