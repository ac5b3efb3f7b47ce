// Entity trees of the stand-in 3D library as text, for comparing trees: every entity once, numbered
// in the order it is reached, links as numbers (so sharing and cycles show), doubles as their bits.
#ifndef VANTRELL_TESTS_PRC_MODELDESCRIPTION_H
#define VANTRELL_TESTS_PRC_MODELDESCRIPTION_H

#include <string>

#include "a3dlib/Model.h"

namespace prctest {

std::string Describe(const a3d::ModelFile& modelFile);

}  // namespace prctest

#endif
