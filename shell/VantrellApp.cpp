#include "shell/VantrellApp.h"

#include "host/StaticOrder.h"

CVantrellApp::CVantrellApp() : CWinApp(NULL) {}

CVantrellApp::~CVantrellApp() {}

BEGIN_MESSAGE_MAP(CVantrellApp, CWinApp)
END_MESSAGE_MAP()

// Built before any other static object of the module, so it is the last to go.
CVantrellApp gApplication VANTRELL_STATIC_ORDER(kApplicationOrder);
