// Windows file handles over POSIX descriptors, with Windows' share modes and deletion rules kept
// between the handles of this layer, in one process or several.
//
// Each handle of a regular file marks what it does to the file with shared byte-range locks of
// its own open file description (OFD locks), far past any data: one byte for each access it has
// (read, write) and one for each it does not share (read, write, deletion). An open is refused as
// Windows refuses it: when it asks an access that a handle already open does not share, or when
// it does not share an access that such a handle has. The check and the marking happen under the
// file's gate, an exclusive flock held only for that moment, so two opens cannot both pass.
#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
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

static_assert(sizeof(off_t) == 8, "the share marks lie past any offset a 32-bit off_t can name");
const off_t kMarkBase = off_t(1) << 62;

enum Mark { kHasRead, kHasWrite, kRefusesRead, kRefusesWrite, kRefusesDelete, kMarkCount };

struct flock MarkLock(short type, Mark mark) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = kMarkBase + mark;
  lock.l_len = 1;
  return lock;
}

// Whether a handle other than the descriptor's own holds the mark.
bool Marked(int descriptor, Mark mark) {
  struct flock probe = MarkLock(F_WRLCK, mark);
  // Should the question fail, the mark counts as held: a refused open is the safe answer.
  if (fcntl(descriptor, F_OFD_GETLK, &probe) != 0) return true;
  return probe.l_type != F_UNLCK;
}

bool SetMark(int descriptor, Mark mark) {
  struct flock lock = MarkLock(F_RDLCK, mark);
  return fcntl(descriptor, F_OFD_SETLK, &lock) == 0;
}

// The gate is held for microseconds by whoever holds it; a file whose flock something else keeps
// for longer is taken as in use.
bool EnterGate(int descriptor) {
  for (int waited = 0; waited < 5000; ++waited) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    struct timespec pause = {0, 1000000};
    nanosleep(&pause, nullptr);
  }
  return false;
}

void LeaveGate(int descriptor) { flock(descriptor, LOCK_UN); }

// What a handle asks of the file and what it lets others do.
struct Sharing {
  bool read;
  bool write;
  bool sharesRead;
  bool sharesWrite;
  bool sharesDelete;
};

// Under the gate: refused as a sharing violation, or marked.
bool Admit(int descriptor, const Sharing& s) {
  // A handle that neither reads nor writes takes no part in sharing, as on Windows.
  if (!s.read && !s.write) return true;
  if ((s.read && Marked(descriptor, kRefusesRead)) || (s.write && Marked(descriptor, kRefusesWrite)) ||
      (!s.sharesRead && Marked(descriptor, kHasRead)) || (!s.sharesWrite && Marked(descriptor, kHasWrite)))
    return false;
  const bool marks[kMarkCount] = {s.read, s.write, !s.sharesRead, !s.sharesWrite, !s.sharesDelete};
  for (int mark = 0; mark < kMarkCount; ++mark)
    if (marks[mark] && !SetMark(descriptor, static_cast<Mark>(mark))) return false;
  return true;
}

// Windows checks sharing as it opens by name; here the check comes after the open, so a path that
// was deleted and replaced in between names a file other than the one checked, and the open is
// tried again.
const int kOpenAttempts = 8;

bool StillNamed(const std::string& path, const struct stat& opened) {
  struct stat named;
  return lstat(path.c_str(), &named) == 0 && SameFile(named, opened);
}

}  // namespace

extern "C" {

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile) {
  (void)security;
  (void)templateFile;
  if (!fileName) return INVALID_HANDLE_VALUE;
  const std::string path = win32::ToNativePath(fileName);
  const Sharing sharing = {(desiredAccess & GENERIC_READ) != 0, (desiredAccess & GENERIC_WRITE) != 0,
                           (shareMode & FILE_SHARE_READ) != 0, (shareMode & FILE_SHARE_WRITE) != 0,
                           (shareMode & FILE_SHARE_DELETE) != 0};
  // A writer's descriptor can read too: its share marks are shared locks, which need reading.
  int flags = sharing.write ? O_RDWR : O_RDONLY;
  // Nothing waits for a reader of a pipe, and no device becomes the terminal.
  flags |= O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  if (flagsAndAttributes & FILE_FLAG_OPEN_REPARSE_POINT) flags |= O_NOFOLLOW;
  switch (creationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT; break;  // emptied once admitted, never before
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    default: return INVALID_HANDLE_VALUE;
  }
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    int descriptor = open(path.c_str(), flags, 0600);
    if (descriptor < 0) return INVALID_HANDLE_VALUE;
    struct stat opened;
    bool refused = fstat(descriptor, &opened) != 0 || (sharing.write && opened.st_uid != geteuid());
    bool moved = false;
    if (!refused && S_ISREG(opened.st_mode)) {
      if (!EnterGate(descriptor)) {
        refused = true;
      } else {
        moved = !StillNamed(path, opened);
        refused = moved || !Admit(descriptor, sharing);
        if (!refused && creationDisposition == CREATE_ALWAYS) refused = ftruncate(descriptor, 0) != 0;
        LeaveGate(descriptor);
      }
    }
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

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
  (void)overlapped;
  FileObject* file = FileOf(handle);
  if (bytesRead) *bytesRead = 0;
  if (!file || (!buffer && bytesToRead)) return FALSE;
  ssize_t n;
  do {
    n = read(file->descriptor, buffer, bytesToRead);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return FALSE;
  if (bytesRead) *bytesRead = static_cast<DWORD>(n);
  return TRUE;
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
  // Closing the descriptor drops its share marks with it.
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
    if (fstat(descriptor, &opened) != 0) {
      close(descriptor);
      return FALSE;
    }
    if (!S_ISREG(opened.st_mode)) {
      BOOL deleted = unlink(path.c_str()) == 0;
      close(descriptor);
      return deleted;
    }
    // Deleting shares everything, so only a handle that does not share deletion refuses it.
    bool moved = false;
    BOOL deleted = FALSE;
    if (EnterGate(descriptor)) {
      moved = !StillNamed(path, opened);
      if (!moved && !Marked(descriptor, kRefusesDelete)) deleted = unlink(path.c_str()) == 0;
      LeaveGate(descriptor);
    }
    close(descriptor);
    if (!moved) return deleted;
  }
  return FALSE;
}

}  // extern "C"
