#include "shell/HelpAndAbout.h"

#include <windows.h>

#include <stdlib.h>

#include "gui/QNFGUIUtils.h"
#include "host/HostCalls.h"
#include "shell/HostVersion.h"

namespace {

const char kHelpError[] = "Error displaying Vantrell for Acrobat help file.";

}  // namespace

void ShowHelp() {
  char modulePath[260];
  DWORD length = GetModuleFileNameA(GetModuleHandleA("Vantrell.api"), modulePath, sizeof modulePath);
  // A path cut to fit the buffer names some other file.
  if (length == 0 || length >= sizeof modulePath) {
    HostAlertNote(kHelpError);
    return;
  }
  char drive[_MAX_DRIVE];
  char folder[_MAX_DIR];
  _splitpath(modulePath, drive, folder, NULL, NULL);
  CStringT<char> helpPath;
  helpPath.Format("%s%sVantrell.chm", drive, folder);
  HINSTANCE result = ShellExecuteA(NULL, "open", helpPath, "", NULL, SW_SHOW);
  if (reinterpret_cast<uintptr_t>(result) <= 32) HostAlertNote(kHelpError);
}

void ShowAbout() {
  BuildProductStrings();
  CStringT<char> title(gProductTitle);
  QNFGUIUtils::About(title, NULL);
}
