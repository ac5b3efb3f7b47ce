// The fuzz target's two kinds of input. Its first byte even: the bytes are a PRC file as they
// come. Odd: they hold the inflated sections of a file with one file structure, which the target
// deflates and puts together, so that damage reaches the parsers past zlib's checksums:
//
//   [odd byte] [file structure id: 16 bytes] [globals] [tree] [tessellations] [model file: the rest]
//
// each of the three sections as a 16-bit length (low byte first) and its bytes.
#ifndef VANTRELL_FUZZ_FUZZINPUT_H
#define VANTRELL_FUZZ_FUZZINPUT_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "PrcTestFiles.h"

namespace fuzzinput {

// The PRC file the input stands for; empty when the input is too short for its kind.
inline prctest::Bytes FileOf(const uint8_t* data, size_t size) {
  if (size == 0 || !(data[0] & 1)) return prctest::Bytes(data, data + size);
  prctest::PrcFile file;
  prctest::FileStructure structure;
  size_t at = 1;
  if (size - at < 16) return prctest::Bytes();
  memcpy(structure.id, data + at, 16);
  at += 16;
  for (prctest::Bytes* section : {&structure.globals, &structure.tree, &structure.tessellations}) {
    if (size - at < 2) return prctest::Bytes();
    size_t length = data[at] | (size_t(data[at + 1]) << 8);
    at += 2;
    if (size - at < length) return prctest::Bytes();
    section->assign(data + at, data + at + length);
    at += length;
  }
  file.modelFile.assign(data + at, data + size);
  file.structures.push_back(structure);
  return prctest::Assemble(file);
}

// The input of the second kind for a file with one file structure; empty when it has not one.
inline prctest::Bytes SectionsInputOf(const prctest::Bytes& prcFile) {
  prctest::PrcFile file = prctest::Split(prcFile);
  if (file.structures.size() != 1) return prctest::Bytes();
  const prctest::FileStructure& structure = file.structures[0];
  prctest::Bytes input = {1};
  const uint8_t* id = reinterpret_cast<const uint8_t*>(structure.id);
  input.insert(input.end(), id, id + 16);
  for (const prctest::Bytes* section : {&structure.globals, &structure.tree, &structure.tessellations}) {
    if (section->size() > 0xFFFF) return prctest::Bytes();
    input.push_back(static_cast<uint8_t>(section->size() & 0xFF));
    input.push_back(static_cast<uint8_t>(section->size() >> 8));
    input.insert(input.end(), section->begin(), section->end());
  }
  input.insert(input.end(), file.modelFile.begin(), file.modelFile.end());
  return input;
}

}  // namespace fuzzinput

#endif
