// How the stand-in 3D library reads a model file: through the Windows file API, as much native
// Windows code does, with the share mode a test chooses (VANTRELL_A3D_SHARE, StandInControl.h),
// so that the caller's own handles on the file meet the library's as they would on Windows.
#ifndef VANTRELL_A3DLIB_MODELFILEINPUT_H
#define VANTRELL_A3DLIB_MODELFILEINPUT_H

#include <stdint.h>

#include <string>
#include <vector>

namespace a3d {

enum class FileReadResult { kRead, kCannotOpen, kOutOfMemory, kBadShareSetting };

// Opens the file at `path` for reading with the share mode that VANTRELL_A3D_SHARE names, reads
// all of it into `bytes` and closes it before it returns.
FileReadResult ReadModelFileBytes(const std::string& path, std::vector<uint8_t>* bytes);

// "bytes=<size>:<64-bit FNV-1a hash in hex>", what the log says a load read.
std::string DescribeBytes(const std::vector<uint8_t>& bytes);

}  // namespace a3d

#endif
