#include "host/HostTables.h"

#define VANTRELL_HOST_TABLE_DEFINITION(name) \
  HostTable g##name##Table = nullptr;        \
  uint32_t g##name##TableVersion = 0;
HOST_TABLES(VANTRELL_HOST_TABLE_DEFINITION)
#undef VANTRELL_HOST_TABLE_DEFINITION
