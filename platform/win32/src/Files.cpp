// Windows file handles over POSIX descriptors, with Windows' share modes and deletion rules kept
// between the handles of this layer.
#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "PathNames.h"

namespace {

const uint32_t kFileMagic = 0x46494c45;  // "FILE"

struct FileObject {
  uint32_t magic;
  int descriptor;
};

FileObject* FileOf(HANDLE handle) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return nullptr;
  FileObject* file = static_cast<FileObject*>(handle);
  return file->magic == kFileMagic ? file : nullptr;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Windows checks the share modes as it opens by name; here the lock comes after the open, so a
// path that another holder deleted and replaced in between names a file other than the one
// locked, and the open is tried again.
const int kOpenAttempts = 8;

// Takes the advisory lock that stands for holding the file exclusively: false when another holds
// it, or when the path no longer names the locked file (`*moved`).
bool LockNamedFile(int descriptor, const std::string& path, const struct stat& opened, bool* moved) {
  *moved = false;
  if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) return false;
  struct stat named;
  if (lstat(path.c_str(), &named) != 0 || !SameFile(named, opened)) {
    *moved = true;
    return false;
  }
  return true;
}

}  // namespace

extern "C" {

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  (void)security;
  (void)templateFile;
  if (!fileName) return INVALID_HANDLE_VALUE;
  const std::string path = win32::ToNativePath(fileName);
  const bool write = (desiredAccess & GENERIC_WRITE) != 0;
  int flags = write ? ((desiredAccess & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
  // Nothing waits for a reader of a pipe, and no device becomes the terminal.
  flags |= O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  if (flagsAndAttributes & FILE_FLAG_OPEN_REPARSE_POINT) flags |= O_NOFOLLOW;
  switch (creationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT; break;  // emptied once held, never before
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    default: return INVALID_HANDLE_VALUE;
  }
  const bool exclusive = write || (shareMode & FILE_SHARE_WRITE) == 0;
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    int descriptor = open(path.c_str(), flags, 0600);
    if (descriptor < 0) return INVALID_HANDLE_VALUE;
    struct stat opened;
    bool refused = fstat(descriptor, &opened) != 0 || (write && opened.st_uid != geteuid());
    bool moved = false;
    if (!refused && exclusive && S_ISREG(opened.st_mode)) refused = !LockNamedFile(descriptor, path, opened, &moved);
    if (!refused && creationDisposition == CREATE_ALWAYS && S_ISREG(opened.st_mode))
      refused = ftruncate(descriptor, 0) != 0;
    if (!refused) {
      int status = fcntl(descriptor, F_GETFL);
      if (status >= 0) fcntl(descriptor, F_SETFL, status & ~O_NONBLOCK);
      return new FileObject{kFileMagic, descriptor};
    }
    close(descriptor);
    if (!moved) return INVALID_HANDLE_VALUE;
  }
  return INVALID_HANDLE_VALUE;
}

BOOL GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION information) {
  FileObject* file = FileOf(handle);
  struct stat status;
  if (!file || !information || fstat(file->descriptor, &status) != 0) return FALSE;
  memset(information, 0, sizeof *information);
  information->dwFileAttributes = S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  uint64_t size = static_cast<uint64_t>(status.st_size);
  information->nFileSizeHigh = static_cast<DWORD>(size >> 32);
  information->nFileSizeLow = static_cast<DWORD>(size);
  information->dwVolumeSerialNumber = static_cast<DWORD>(status.st_dev);
  information->nNumberOfLinks = static_cast<DWORD>(status.st_nlink);
  uint64_t index = static_cast<uint64_t>(status.st_ino);
  information->nFileIndexHigh = static_cast<DWORD>(index >> 32);
  information->nFileIndexLow = static_cast<DWORD>(index);
  return TRUE;
}

DWORD GetFileType(HANDLE handle) {
  FileObject* file = FileOf(handle);
  struct stat status;
  if (!file || fstat(file->descriptor, &status) != 0) return FILE_TYPE_UNKNOWN;
  if (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)) return FILE_TYPE_DISK;
  if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)) return FILE_TYPE_PIPE;
  if (S_ISCHR(status.st_mode)) return FILE_TYPE_CHAR;
  return FILE_TYPE_UNKNOWN;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distanceHigh, DWORD moveMethod) {
  FileObject* file = FileOf(handle);
  if (!file || moveMethod > 2) return INVALID_SET_FILE_POINTER;
  int64_t offset = distanceHigh ? (static_cast<int64_t>(*distanceHigh) << 32) | static_cast<uint32_t>(distance)
                                : static_cast<int64_t>(distance);
  static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  off_t at = lseek(file->descriptor, static_cast<off_t>(offset), kWhence[moveMethod]);
  if (at < 0) return INVALID_SET_FILE_POINTER;
  if (distanceHigh) *distanceHigh = static_cast<LONG>(static_cast<uint64_t>(at) >> 32);
  return static_cast<DWORD>(at);
}

BOOL SetEndOfFile(HANDLE handle) {
  FileObject* file = FileOf(handle);
  if (!file) return FALSE;
  off_t at = lseek(file->descriptor, 0, SEEK_CUR);
  return at >= 0 && ftruncate(file->descriptor, at) == 0;
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) {
  (void)overlapped;
  FileObject* file = FileOf(handle);
  if (bytesWritten) *bytesWritten = 0;
  if (!file || (!buffer && bytesToWrite)) return FALSE;
  const char* bytes = static_cast<const char*>(buffer);
  DWORD done = 0;
  while (done < bytesToWrite) {
    ssize_t n = write(file->descriptor, bytes + done, bytesToWrite - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<DWORD>(n);
  }
  if (bytesWritten) *bytesWritten = done;
  return done == bytesToWrite;
}

BOOL CloseHandle(HANDLE handle) {
  FileObject* file = FileOf(handle);
  if (!file) return FALSE;
  int result = close(file->descriptor);
  file->magic = 0;
  delete file;
  return result == 0;
}

BOOL DeleteFileA(LPCSTR fileName) {
  if (!fileName) return FALSE;
  const std::string path = win32::ToNativePath(fileName);
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    // A link is deleted itself; what cannot be opened is deleted if the folder allows it.
    if (descriptor < 0) return errno != ENOENT && unlink(path.c_str()) == 0;
    struct stat opened;
    bool moved = false;
    bool held = fstat(descriptor, &opened) != 0 ||
                (S_ISREG(opened.st_mode) && !LockNamedFile(descriptor, path, opened, &moved));
    if (!held) {
      BOOL deleted = unlink(path.c_str()) == 0;
      close(descriptor);
      return deleted;
    }
    close(descriptor);
    if (!moved) return FALSE;
  }
  return FALSE;
}

}  // extern "C"
