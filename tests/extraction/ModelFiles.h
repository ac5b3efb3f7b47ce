// PRC model files for tests, written by the stand-in 3D library itself from trees built through
// its Create calls.
#ifndef VANTRELL_TESTS_EXTRACTION_MODELFILES_H
#define VANTRELL_TESTS_EXTRACTION_MODELFILES_H

#include <string>
#include <vector>

namespace testing_support {

// The bytes of a model file with one occurrence whose part definition holds one triangle item per
// id (each triangle's first x coordinate is its id). With unsupportedLast, a last item holds a
// wire tessellation, which the walk refuses.
std::string ModelFileBytes(const std::vector<int>& ids, bool unsupportedLast = false);

// The bytes of a model file of `levels` occurrences, each with two children that are both the
// next one, the last holding one triangle item (or, without `triangle`, an item of exact geometry
// only): a few hundred bytes that describe 2^(levels-1) paths.
std::string SharedLevelsModelFileBytes(int levels, bool triangle);

}  // namespace testing_support

#endif
