// C run-time names of Windows: path splitting, files, the environment, the temporary folder.
#include <windows.h>

#include <strings.h>
#include <unistd.h>

#include <string>

#include "PathNames.h"

// The implementations below call the C library's own names.
#undef fopen
#undef getenv

extern char** environ;

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Copies [begin, end) into out, cut to fit `capacity` bytes with its terminator.
void CopyPart(char* out, size_t capacity, const char* begin, const char* end) {
  if (!out) return;
  size_t length = static_cast<size_t>(end - begin);
  if (length > capacity - 1) length = capacity - 1;
  memcpy(out, begin, length);
  out[length] = '\0';
}

}  // namespace

extern "C" {

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  if (!path) path = "";
  const char* end = path + strlen(path);
  const char* rest = path;
  if (path[0] && path[1] == ':') rest = path + 2;
  CopyPart(drive, _MAX_DRIVE, path, rest);

  const char* lastSeparator = nullptr;
  for (const char* p = rest; p < end; ++p)
    if (IsSeparator(*p)) lastSeparator = p;
  const char* name = lastSeparator ? lastSeparator + 1 : rest;
  CopyPart(dir, _MAX_DIR, rest, name);

  const char* dot = nullptr;
  for (const char* p = name; p < end; ++p)
    if (*p == '.') dot = p;
  const char* nameEnd = dot ? dot : end;
  CopyPart(fname, _MAX_FNAME, name, nameEnd);
  CopyPart(ext, _MAX_EXT, nameEnd, end);
}

int _unlink(const char* path) { return DeleteFileA(path) ? 0 : -1; }

FILE* Win32Fopen(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  return ::fopen(win32::ToNativePath(path).c_str(), mode);
}

// An exact match wins; otherwise the first variable whose name differs only in case.
char* Win32Getenv(const char* name) {
  if (!name) return nullptr;
  size_t length = strlen(name);
  char* folded = nullptr;
  for (char** entry = environ; entry && *entry; ++entry) {
    const char* text = *entry;
    // The comparisons stop at the entry's end, so the '=' is looked for only within it.
    if (strncmp(text, name, length) == 0 && text[length] == '=') return *entry + length + 1;
    if (!folded && strncasecmp(text, name, length) == 0 && text[length] == '=') folded = *entry + length + 1;
  }
  return folded;
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
  const char* folder = nullptr;
  for (const char* variable : {"TMPDIR", "TMP", "TEMP"}) {
    folder = Win32Getenv(variable);
    if (folder && folder[0]) break;
    folder = nullptr;
  }
  std::string path = win32::ToNativePath(folder ? folder : "/tmp");
  if (path.empty() || path.back() != '/') path += '/';
  if (path.size() + 1 > size) return static_cast<DWORD>(path.size() + 1);
  memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}

}  // extern "C"
