// The application class family: construction and destruction, and the maps of the bases.
#include "mfc/WinApp.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

CObject::CObject() = default;
CObject::~CObject() = default;

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

CWinThread::CWinThread() = default;
CWinThread::~CWinThread() = default;

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

namespace {

char* CopyText(const char* text) {
  size_t size = strlen(text) + 1;
  char* copy = static_cast<char*>(malloc(size));
  if (!copy) abort();  // as the framework's own allocation failure, which nobody here catches
  memcpy(copy, text, size);
  return copy;
}

// The framework stand-in records its application objects' lives in the file that
// VANTRELL_MFC_LOG names, one line each, so that tests can see when a module builds and
// destroys its application object.
void RecordLife(const char* event, const char* name) {
  const char* path = getenv("VANTRELL_MFC_LOG");
  if (!path || !path[0]) return;
  if (FILE* log = fopen(path, "ab")) {
    fprintf(log, "CWinApp %s name=%s\n", event, name ? name : "(none)");
    fclose(log);
  }
}

}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName ? CopyText(appName) : nullptr) {
  RecordLife("constructed", m_pszAppName);
}

CWinApp::~CWinApp() {
  RecordLife("destroyed", m_pszAppName);
  free(const_cast<char*>(m_pszAppName));
}

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()
