// make_seed_corpus FOLDER: writes PRC files of the codec's own making into FOLDER, the seeds of
// the loader's fuzzing (the PRC builder's trees of a few sizes, and a tree with every link and
// kind), each as a file and as the sections the fuzz target puts together (FuzzInput.h).
#include <stdio.h>

#include <string>
#include <utility>
#include <vector>

#include "FuzzInput.h"
#include "ModelTrees.h"
#include "a3dlib/Model.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_seed_corpus FOLDER\n");
    return 2;
  }
  struct Seed {
    const char* name;
    a3d::ModelFile* (*build)(a3d::EntityStore&);
  };
  const Seed seeds[] = {
      {"builder-empty.prc", [](a3d::EntityStore& s) { return prctest::BuilderTree(s, 0); }},
      {"builder-1.prc", [](a3d::EntityStore& s) { return prctest::BuilderTree(s, 1); }},
      {"builder-5.prc", [](a3d::EntityStore& s) { return prctest::BuilderTree(s, 5); }},
      {"rich.prc", prctest::RichTree},
  };
  for (const Seed& seed : seeds) {
    a3d::EntityStore store;
    const std::vector<uint8_t> prc = prctest::Write(*seed.build(store));
    const std::vector<uint8_t> sections = fuzzinput::SectionsInputOf(prc);
    for (const auto& [suffix, bytes] : {std::make_pair("", &prc), std::make_pair(".sections", &sections)}) {
      std::string path = std::string(argv[1]) + "/" + seed.name + suffix;
      FILE* file = fopen(path.c_str(), "wb");
      bool written = file && fwrite(bytes->data(), 1, bytes->size(), file) == bytes->size();
      if (file && fclose(file) != 0) written = false;
      if (bytes->empty() || !written) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
      }
    }
  }
  return 0;
}
