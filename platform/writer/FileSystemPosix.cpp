// The writer's file system on POSIX systems.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "writer/FileSystem.h"

namespace meshwright {

std::string NativePath(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

std::string FolderOf(const std::string& nativePath) {
  size_t separator = nativePath.rfind('/');
  return separator == std::string::npos ? std::string() : nativePath.substr(0, separator + 1);
}

bool IsFolder(const std::string& nativePath) {
  struct stat status;
  return stat(nativePath.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

FILE* CreateNewFile(const std::string& nativePath) {
  int descriptor = open(nativePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (descriptor < 0) return nullptr;
  FILE* file = fdopen(descriptor, "wb");
  if (!file) {
    int error = errno;
    close(descriptor);
    unlink(nativePath.c_str());
    errno = error;
  }
  return file;
}

int CheckReplaceable(const std::string& nativePath) {
  struct stat status;
  if (lstat(nativePath.c_str(), &status) != 0) return 0;
  if (S_ISLNK(status.st_mode) || access(nativePath.c_str(), W_OK) == 0) return 0;
  return errno == EROFS ? EROFS : EACCES;
}

int MoveIntoPlace(const std::string& source, const std::string& target) {
  return rename(source.c_str(), target.c_str()) == 0 ? 0 : errno;
}

void RemoveFile(const std::string& nativePath) { unlink(nativePath.c_str()); }

}  // namespace meshwright
