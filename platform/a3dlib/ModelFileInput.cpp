#include "a3dlib/ModelFileInput.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <new>

#include "a3dlib/StandInControl.h"

namespace a3d {

namespace {

// The share mode of VANTRELL_A3D_SHARE: none (the default, the strictest), "read", or "read and
// write". false for any other text, so that a test that misspells it is not run at the default.
bool ShareMode(DWORD* mode) {
  const char* setting = ::getenv(VANTRELL_A3D_ENV_SHARE);
  std::string text = setting ? setting : "";
  if (text.empty() || text == "none") {
    *mode = 0;
  } else if (text == "read") {
    *mode = FILE_SHARE_READ;
  } else if (text == "read and write") {
    *mode = FILE_SHARE_READ | FILE_SHARE_WRITE;
  } else {
    return false;
  }
  return true;
}

}  // namespace

FileReadResult ReadModelFileBytes(const std::string& path, std::vector<uint8_t>* bytes) {
  DWORD share = 0;
  if (!ShareMode(&share)) return FileReadResult::kBadShareSetting;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, share, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return FileReadResult::kCannotOpen;
  FileReadResult result = FileReadResult::kRead;
  try {
    bytes->clear();
    unsigned char buffer[65536];
    DWORD got = 0;
    for (;;) {
      if (!ReadFile(file, buffer, sizeof buffer, &got, NULL)) {
        result = FileReadResult::kCannotOpen;
        break;
      }
      if (got == 0) break;
      bytes->insert(bytes->end(), buffer, buffer + got);
    }
  } catch (const std::bad_alloc&) {
    result = FileReadResult::kOutOfMemory;
  }
  CloseHandle(file);
  return result;
}

std::string DescribeBytes(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  char text[64];
  snprintf(text, sizeof text, "bytes=%llu:%016llx", static_cast<unsigned long long>(bytes.size()),
           static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace a3d
