#include "PathNames.h"

namespace win32 {

std::string ToNativePath(const char* path) {
  std::string native(path ? path : "");
  for (char& c : native)
    if (c == '\\') c = '/';
  return native;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace win32
