// The shell hands a file to the program that the desktop has for it.
#include <windows.h>

#include <strings.h>
#include <sys/stat.h>

#include "PathNames.h"
#include "desktop/Desktop.h"

extern "C" HINSTANCE ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, int) {
  if (!file) return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(SE_ERR_FNF));
  struct stat status;
  if (stat(win32::ToNativePath(file).c_str(), &status) != 0 || !S_ISREG(status.st_mode))
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(SE_ERR_FNF));
  if ((verb && verb[0] && strcasecmp(verb, "open") != 0) || !DesktopOpenFile(file))
    return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(SE_ERR_NOASSOC));
  return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(42));
}
