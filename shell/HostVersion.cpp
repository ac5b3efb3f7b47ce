#include "shell/HostVersion.h"

#include <stdio.h>

#include "host/HostCalls.h"
#include "host/StaticOrder.h"

const CStringT<char> gHostNames[2] VANTRELL_STATIC_ORDER(kHostNamesOrder) = {CStringT<char>("Acrobat ????"),
                                                                              CStringT<char>("Acrobat 9")};

char gProductTitle[256];

namespace {

const char kProductName[] = "Vantrell for";
const int kProductMajorVersion = 1;
const int kProductMinorVersion = 0;

}  // namespace

int IsHostVersion9() {
  int16_t major = 0;
  int16_t minor = 0;
  HostAppGetVersion(&major, &minor);
  return major == 9 ? 1 : 0;
}

int CheckHostVersion(int wanted) {
  if (IsHostVersion9() == wanted) return 1;
  CStringT<char> text;
  text.Format("This plug-in is designed to work with %s only", gHostNames[wanted].GetString());
  HostAlertNote(text);
  return 0;
}

void BuildProductStrings() {
  int h = IsHostVersion9();
  snprintf(gProductTitle, sizeof gProductTitle, "%s %s version %d.%d", kProductName, gHostNames[h].GetString(),
           kProductMajorVersion, kProductMinorVersion);
}
