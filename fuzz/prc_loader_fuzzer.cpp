// libFuzzer target: the stand-in 3D library's PRC loader on arbitrary bytes (as a file, or as
// inflated sections that the target puts together: see FuzzInput.h). A load must fail cleanly
// (nothing left in the store) or give a tree that can be walked, whose 3D tessellations expand or
// are refused cleanly, and that comes back the same when written and read again.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "FuzzInput.h"
#include "ModelDescription.h"
#include "a3dlib/Model.h"
#include "a3dlib/TessExpansion.h"
#include "a3dlib/prc/PrcCodec.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const prctest::Bytes file = fuzzinput::FileOf(data, size);
  a3d::EntityStore store;
  a3d::ModelFile* model = nullptr;
  if (a3d::ReadModelBytes(file.data(), file.size(), store, &model) != 0) {
    Check(store.Count() == 0 && model == nullptr);
    return 0;
  }
  Check(model != nullptr);
  const std::string description = prctest::Describe(*model);
  store.ForEach([](const a3d::Entity& entity) {
    if (auto* tess = dynamic_cast<const a3d::Tess3D*>(&entity)) {
      std::vector<uint32_t> entries;
      a3d::ExpandTess3DFaces(*tess, entries);
    }
  });
  std::vector<uint8_t> written;
  int status = a3d::WriteModelBytes(*model, written);
  if (status == a3d::kPrcUnsupported) return 0;  // kinds read that the writer does not write
  Check(status == 0);
  a3d::EntityStore again;
  a3d::ModelFile* reread = nullptr;
  Check(a3d::ReadModelBytes(written.data(), written.size(), again, &reread) == 0);
  Check(prctest::Describe(*reread) == description);
  return 0;
}
