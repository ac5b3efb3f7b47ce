// The plug-in's typed calls of the host operations.
//
// Each call reads its table pointer anew, so it always goes through the table that the set-up
// stored last, and calls the table's entry whose index is the operation's selector.
#ifndef VANTRELL_HOST_HOSTCALLS_H
#define VANTRELL_HOST_HOSTCALLS_H

#include "host/HostOperations.h"
#include "host/HostTables.h"

#define VANTRELL_HOST_CALL(table, selector, name, result, parameters, arguments) \
  inline result name parameters {                                               \
    return reinterpret_cast<name##Fn>(g##table##Table[selector]) arguments;     \
  }
HOST_OPERATIONS(VANTRELL_HOST_CALL)
#undef VANTRELL_HOST_CALL

#endif
