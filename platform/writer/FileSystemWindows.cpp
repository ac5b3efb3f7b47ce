// The writer's file system on Windows.
#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>

#include "writer/FileSystem.h"

namespace meshwright {

namespace {

int ErrnoFromWindowsError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EBUSY;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

}  // namespace

std::string NativePath(const std::string& path) { return path; }

// A drive letter without a folder ("C:name") names the current folder of that drive.
std::string FolderOf(const std::string& nativePath) {
  size_t separator = nativePath.find_last_of("\\/:");
  return separator == std::string::npos ? std::string() : nativePath.substr(0, separator + 1);
}

bool IsFolder(const std::string& nativePath) {
  DWORD attributes = GetFileAttributesA(nativePath.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FILE* CreateNewFile(const std::string& nativePath) {
  int descriptor = _open(nativePath.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (descriptor < 0) return nullptr;
  FILE* file = _fdopen(descriptor, "wb");
  if (!file) {
    int error = errno;
    _close(descriptor);
    _unlink(nativePath.c_str());
    errno = error;
  }
  return file;
}

// MoveFileEx itself refuses to replace a read-only file.
int CheckReplaceable(const std::string& /*nativePath*/) { return 0; }

int MoveIntoPlace(const std::string& source, const std::string& target) {
  if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
  return ErrnoFromWindowsError(GetLastError());
}

void RemoveFile(const std::string& nativePath) { _unlink(nativePath.c_str()); }

}  // namespace meshwright
