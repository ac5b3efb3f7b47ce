#include "extraction/TemporaryPrcFile.h"

#include <stdio.h>

HANDLE HoldTemporaryPrcFile(const CStringT<char>& path) {
  // Sharing reads only: another Export's open for writing fails, and so does a delete or a rename
  // of the file while it is held. A link at the path is opened as the link, and refused below.
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, NULL);
  if (file == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
  BY_HANDLE_FILE_INFORMATION information;
  // A file known by a second name (a hard link) might be another's file seen through our folder.
  bool plain = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &information) &&
               (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
               information.nNumberOfLinks == 1;
  if (!plain) {
    CloseHandle(file);
    return INVALID_HANDLE_VALUE;
  }
  return file;
}

int EmptyTemporaryPrcFile(HANDLE file) {
  if (SetFilePointer(file, 0, NULL, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return 0;
  return SetEndOfFile(file) ? 1 : 0;
}

int AppendToTemporaryPrcFile(HANDLE file, const void* bytes, DWORD size) {
  DWORD written = 0;
  if (!WriteFile(file, bytes, size, &written, NULL)) return 0;
  return written == size ? 1 : 0;
}

void ReleaseTemporaryPrcFile(HANDLE file, const CStringT<char>& path) {
  // Windows deletes no file that a handle holds without sharing deletion, ours included, so the
  // file is let go first; should another Export take it in between, the deletion fails and its
  // file stays.
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  _unlink(path);
}
