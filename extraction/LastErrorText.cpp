#include "extraction/LastErrorText.h"

#include "host/StaticOrder.h"

// A static object of the module: empty from load, gone at unload.
static CStringT<char> gLastErrorText VANTRELL_STATIC_ORDER(kLastErrorTextOrder);

void SetLastErrorText(const CStringT<char>& text) { gLastErrorText = text; }

CStringT<char> GetLastErrorText() { return gLastErrorText; }
