// The host version check and the product title.
//
// The plug-in is made for major version 9 of the host. Export refuses any other major version
// with the version alert; the About box names "Acrobat 9" only in a host of major version 9.
#ifndef VANTRELL_SHELL_HOSTVERSION_H
#define VANTRELL_SHELL_HOSTVERSION_H

#include "mfc/CStringT.h"

// "Acrobat ????" (index 0) and "Acrobat 9" (index 1), indexed by the result of IsHostVersion9.
extern const CStringT<char> gHostNames[2];

// The product title, rebuilt by BuildProductStrings; empty until its first build.
extern char gProductTitle[256];

// 1 when the running host's major version is 9, else 0. Asks the host at every call.
int IsHostVersion9();

// 1 when IsHostVersion9() equals wanted (0 or 1); otherwise shows "This plug-in is designed to
// work with %s only" with the name of the wanted host and returns 0.
int CheckHostVersion(int wanted);

// Rewrites gProductTitle for the running host: "Vantrell for Acrobat 9 version 1.0" in a host of
// major version 9, "Vantrell for Acrobat ???? version 1.0" in any other.
void BuildProductStrings();

#endif
