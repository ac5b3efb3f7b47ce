#include "extraction/TemporaryPrcPath.h"

#include <windows.h>

#include <stdlib.h>
#include <string.h>

CStringT<char> MakeTemporaryPrcPath() {
  CStringT<char> path;
  const char* folder = getenv("temp");
  if (folder && folder[0]) {
    path.Format("%s\\QNFTemp.prc", folder);
    return path;
  }
  char fallback[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof fallback, fallback);
  if (length == 0 || length >= sizeof fallback) {
    strcpy(fallback, ".");
    length = 1;
  }
  // GetTempPathA ends the folder with a separator; the format adds its own.
  if (length > 1 && (fallback[length - 1] == '\\' || fallback[length - 1] == '/')) fallback[length - 1] = '\0';
  path.Format("%s\\QNFTemp.prc", fallback);
  return path;
}
