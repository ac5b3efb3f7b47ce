#include "opennurbs/Arrays.h"

#include <cstdio>

void ON_OutOfMemory() {
  std::fputs("openNURBS: out of memory\n", stderr);
  std::abort();
}
