// PRC model files for tests, written by the stand-in 3D library itself from trees built through
// its Create calls.
#ifndef VANTRELL_TESTS_EXTRACTION_MODELFILES_H
#define VANTRELL_TESTS_EXTRACTION_MODELFILES_H

#include <stdint.h>

#include <string>
#include <vector>

namespace testing_support {

// The bytes of a model file with one occurrence whose part definition holds one triangle item per
// id (each triangle's first x coordinate is its id). With unsupportedLast, a last item holds a
// wire tessellation, which the walk refuses.
std::string ModelFileBytes(const std::vector<int>& ids, bool unsupportedLast = false);

// The bytes of a model file of `levels` occurrences, each with two children that are both the
// next one, the last holding one triangle item (or, without `triangle`, an item of exact geometry
// only): a few hundred bytes that describe 2^(levels-1) paths. With `padding`, the first
// occurrence's name is that many characters of text that hardly compresses, which makes the file
// larger by about as many bytes.
std::string SharedLevelsModelFileBytes(int levels, bool triangle, size_t padding = 0);

// The bytes of a model file whose root occurrence has `children` children that are all one
// occurrence, whose `children` children are all one part occurrence holding one item with a
// tessellation of `triangles` triangles: one tessellation reached by children^2 paths.
std::string TwoSharedLevelsModelFileBytes(int children, uint32_t triangles);

}  // namespace testing_support

#endif
