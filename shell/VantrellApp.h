// The plug-in module's one application object of the framework. It takes no part in the
// plug-in's work: it exists from module load to unload, and handles no message of its own.
#ifndef VANTRELL_SHELL_VANTRELLAPP_H
#define VANTRELL_SHELL_VANTRELLAPP_H

#include "mfc/WinApp.h"

class CVantrellApp : public CWinApp {
 public:
  CVantrellApp();
  ~CVantrellApp() override;

  DECLARE_MESSAGE_MAP()
};

extern CVantrellApp gApplication;

#endif
