// The file dialog over the desktop.
#include "mfc/FileDialog.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/Desktop.h"

namespace {

// Room for the longest path Windows takes; the desktop cancels a longer answer.
const size_t kPathCapacity = 32768;

// Whether a file (anything but a folder) exists at the path. Paths use Windows separators on
// every platform; Linux takes the backslash as a separator too.
bool FileExists(const char* path) {
  std::string native = path;
#if !defined(_WIN32)
  std::replace(native.begin(), native.end(), '\\', '/');
#endif
  struct stat status;
  return stat(native.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExt, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parentWnd, DWORD /*structSize*/)
    : m_openFileDialog(openFileDialog != FALSE),
      m_defaultExt(defaultExt),
      m_fileName(fileName),
      m_flags(flags),
      m_filter(filter),
      m_parentWnd(parentWnd),
      m_pathName(fileName) {}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal() {
  DesktopSaveRequest request{};
  request.isSaveDialog = m_openFileDialog ? 0 : 1;
  request.defaultExt = m_defaultExt.Get();
  request.initialName = m_fileName.Get();
  request.flags = m_flags;
  request.filter = m_filter.Get();
  request.parentWindow = m_parentWnd;

  std::vector<char> chosen(kPathCapacity);
  if (!DesktopAskSavePath(&request, chosen.data(), chosen.size())) return IDCANCEL;
  if (!m_openFileDialog && (m_flags & OFN_OVERWRITEPROMPT) && FileExists(chosen.data()) &&
      !DesktopAskOverwrite(chosen.data()))
    return IDCANCEL;
  m_pathName = chosen.data();
  return IDOK;
}

CString CFileDialog::GetPathName() const { return m_pathName; }
