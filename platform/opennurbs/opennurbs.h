// The part of openNURBS that Vantrell and its writer use: points and vectors, arrays, meshes and
// their vertex topology.
#ifndef VANTRELL_OPENNURBS_OPENNURBS_H
#define VANTRELL_OPENNURBS_OPENNURBS_H

#include "opennurbs/Arrays.h"
#include "opennurbs/Mesh.h"
#include "opennurbs/MeshTopology.h"
#include "opennurbs/Points.h"

#endif
