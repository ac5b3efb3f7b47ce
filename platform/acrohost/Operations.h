// The host's routine for every operation of the operation list, declared from that list so that
// each has exactly the signature the plug-in calls it with. Each table's routines are defined
// beside what they serve (Atoms.cpp, Documents.cpp, ...); Tables.cpp puts them in the tables.
#ifndef VANTRELL_ACROHOST_OPERATIONS_H
#define VANTRELL_ACROHOST_OPERATIONS_H

#include "host/HostOperations.h"

namespace acrohost {
namespace ops {

#define ACROHOST_DECLARE_OPERATION(table, selector, name, result, parameters, arguments) result name parameters;
HOST_OPERATIONS(ACROHOST_DECLARE_OPERATION)
#undef ACROHOST_DECLARE_OPERATION

}  // namespace ops
}  // namespace acrohost

#endif
