// The file formats the writer produces. Each writes a whole document for a mesh list in which
// every mesh can be written (see FindUnwritableMesh): one geometry per mesh, in list order, named
// "mesh1", "mesh2", ...; coordinates exactly as stored; faces as triangles.
#ifndef VANTRELL_WRITER_MESHFORMATS_H
#define VANTRELL_WRITER_MESHFORMATS_H

#include "opennurbs/opennurbs.h"
#include "writer/OutputFile.h"

namespace meshwright {

// COLLADA 1.4.1: a geometry per mesh, and in the visual scene one root node "model" with a child
// node per mesh that instantiates its geometry. The scene is Z-up. An empty list gives a scene
// whose root node has no children.
void WriteCollada(const ON_ClassArray<ON_Mesh>& meshes, OutputFile& out);

// Wavefront OBJ: a comment line, then per mesh an object "o meshN" with its vertices and faces.
void WriteObj(const ON_ClassArray<ON_Mesh>& meshes, OutputFile& out);

}  // namespace meshwright

#endif
