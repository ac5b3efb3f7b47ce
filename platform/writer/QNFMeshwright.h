// The writer library Meshwright80: saves a list of meshes as a file for SketchUp.
//
// The stand-in writes open formats that SketchUp imports rather than its own file format, whose
// library is not available here: COLLADA 1.4.1 (options value kOptionsCollada, the default) or
// Wavefront OBJ (kOptionsObj). Either way the file holds one geometry per mesh of the list, in
// list order, with the coordinates as given.
#ifndef VANTRELL_WRITER_QNFMESHWRIGHT_H
#define VANTRELL_WRITER_QNFMESHWRIGHT_H

#include <windows.h>

#include "mfc/CStringT.h"
#include "opennurbs/opennurbs.h"

// The class's members are exported from the library and imported by its users.
#if defined(_WIN32)
#if defined(MESHWRIGHT_BUILDING)
#define MESHWRIGHT_API __declspec(dllexport)
#else
#define MESHWRIGHT_API __declspec(dllimport)
#endif
#else
#define MESHWRIGHT_API __attribute__((visibility("default")))
#endif

class MESHWRIGHT_API QNFMeshwright {
 public:
  // Options values: the format that MeshToSKP writes.
  static const int kOptionsCollada = 0;  // COLLADA 1.4.1 (.dae content); the default
  static const int kOptionsObj = 1;      // Wavefront OBJ

  // Sets options to the default, then shows the options dialog (the parent may be null). Returns
  // non-zero when the user accepted, with the chosen value in options; 0 when the user cancelled,
  // options then holding the default.
  static int GetVantrellOptions(int& options, const HWND* parent);

  // Writes the meshes to the file at path in the format that options names; reserved is unused.
  // The file is complete or untouched: an existing file is replaced only once the new content is
  // fully written. Returns non-zero on success (and clears the error text); 0 on failure, with
  // the reason in GetError(). It fails for an unknown options value, an empty path, a path that
  // cannot be written, and a mesh that cannot be written: one with a face index outside its
  // vertices or a coordinate that is not a finite number. An empty list gives a valid file that
  // holds an empty scene. Quads are written as two triangles, (0, 1, 2) and (0, 2, 3).
  static int MeshToSKP(const ON_ClassArray<ON_Mesh>& meshes, CString path, int options, int reserved);

  // The text of the last failure of MeshToSKP, "Unable to write the file PATH: REASON"; empty
  // after a success or when nothing failed yet.
  static CString GetError();
};

#endif
