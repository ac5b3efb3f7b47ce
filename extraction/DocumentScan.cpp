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
  // The bytes of the model files whose meshes the list holds, which bound what it may grow to.
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
      WrittenPrcFile written;
      if (!WritePrcStreamToFile(stream, path, &written) ||
          !LoadPrcModelFile(path, meshes, written, &listModelBytes)) {
        result = 0;
        break;
      }
    }
  }
  DeleteTemporaryPrcFile(path);
  return result;
}

int WritePrcStreamToFile(HostCosObj stream, const CStringT<char>& path) {
  WrittenPrcFile written;
  return WritePrcStreamToFile(stream, path, &written);
}

int WritePrcStreamToFile(HostCosObj stream, const CStringT<char>& path, WrittenPrcFile* written) {
  HANDLE file = OpenTemporaryPrcFile(path, written);
  if (file == INVALID_HANDLE_VALUE) {
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
    if (!AppendToTemporaryPrcFile(file, buffer, static_cast<DWORD>(n), written)) complete = false;
  } while (n == kCopyBufferSize && complete);
  HostStreamClose(reader);
  // Let go before the load: the 3D library may open the file in a way no handle of ours admits.
  if (!CloseHandle(file)) complete = false;
  if (!complete) {
    SetLastErrorText(CStringT<char>("Unable to create PRC file"));
    return 0;
  }
  return 1;
}

namespace {

// Loads the file at path and walks it into meshes, bounded by modelFileBytes, the size of the
// file, and *listModelBytes, the sizes of the model files whose meshes the list holds, to which
// the file's own are added once it is loaded. *loaded says whether the load succeeded. Returns the
// walk's result, 0 when there was no walk.
int LoadAndWalk(const CStringT<char>& path, uint64_t modelFileBytes, uint64_t* listModelBytes, MeshList* meshes,
                bool* loaded) {
  A3DEntity modelFile = NULL;
  *loaded = A3D_ENTRY(A3DAsmModelFileLoadFromFile)(path, NULL, &modelFile) == 0;
  if (!*loaded) return 0;
  *listModelBytes += modelFileBytes;
  int result = WalkModelFileOfSize(modelFile, modelFileBytes, *listModelBytes, *meshes);
  A3D_ENTRY(A3DAsmModelFileDelete)(modelFile);
  return result;
}

}  // namespace

int LoadPrcModelFile(const CStringT<char>& path, MeshList* meshes) {
  uint64_t listModelBytes = 0;
  bool loaded = false;
  int result = LoadAndWalk(path, 0, &listModelBytes, meshes, &loaded);
  if (!loaded) SetLastErrorText(CStringT<char>("Unable to load model file"));
  return result;
}

int LoadPrcModelFile(const CStringT<char>& path, MeshList* meshes, const WrittenPrcFile& written,
                     uint64_t* listModelBytes) {
  const int before = meshes->Count();
  const uint64_t listBytesBefore = *listModelBytes;
  bool loaded = false;
  int result = LoadAndWalk(path, written.size, listModelBytes, meshes, &loaded);
  // Checked once the model file is deleted, when a library that keeps its file open until then
  // has let it go too. What the library read was not what this scan wrote when the file is not
  // that now: none of its meshes may stay.
  if (!IsTemporaryPrcFileAsWritten(path, written)) {
    while (meshes->Count() > before) meshes->Remove();
    *listModelBytes = listBytesBefore;
    SetLastErrorText(CStringT<char>("Unable to create PRC file"));
    return 0;
  }
  if (!loaded) SetLastErrorText(CStringT<char>("Unable to load model file"));
  return result;
}
