// The codec seam of the stand-in 3D library (Model.h), in PRC.
#include <stdio.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "a3dlib/Model.h"
#include "a3dlib/prc/BitReader.h"
#include "a3dlib/prc/ModelFromContent.h"
#include "a3dlib/prc/PrcCodec.h"
#include "a3dlib/prc/PrcFileReader.h"

namespace a3d {

int ReadModelBytes(const uint8_t* data, size_t size, EntityStore& store, ModelFile** modelFile) {
  if (!modelFile || (!data && size != 0)) return kPrcCannotOpen;
  try {
    prc::PrcContent content = prc::ReadPrcContent(data, size);
    *modelFile = prc::BuildModel(content, store);
    return kPrcOk;
  } catch (const prc::UnsupportedFormat&) {
    return kPrcUnsupported;
  } catch (const prc::FormatError&) {
    return kPrcDamaged;
  } catch (const std::bad_alloc&) {
    return kPrcOutOfMemory;
  } catch (const std::length_error&) {
    return kPrcOutOfMemory;
  }
}

int ReadModelFile(const std::string& path, EntityStore& store, ModelFile** modelFile) {
  std::vector<uint8_t> bytes;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return kPrcCannotOpen;
  bool ok = true;
  try {
    unsigned char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    ok = !ferror(file);
  } catch (const std::bad_alloc&) {
    fclose(file);
    return kPrcOutOfMemory;
  }
  fclose(file);
  if (!ok) return kPrcCannotOpen;
  return ReadModelBytes(bytes.data(), bytes.size(), store, modelFile);
}

int WriteModelFile(const ModelFile& modelFile, const std::string& path) {
  std::vector<uint8_t> bytes;
  int status = WriteModelBytes(modelFile, bytes);
  if (status != kPrcOk) return status;
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return kPrcCannotOpen;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = fclose(file) == 0 && ok;
  if (!ok) {
    remove(path.c_str());  // no half-written file stays behind
    return kPrcCannotOpen;
  }
  return kPrcOk;
}

}  // namespace a3d
