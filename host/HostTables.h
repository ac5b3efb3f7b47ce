// The host function tables as the plug-in holds them: one process-wide pointer and one version
// per table, zero from module load until the set-up stores what the host granted.
#ifndef VANTRELL_HOST_HOSTTABLES_H
#define VANTRELL_HOST_HOSTTABLES_H

#include "host/HostTypes.h"

// HOST_TABLES(X) expands X(name) once per table of the set-up.
#define HOST_TABLES(X) \
  X(Core)                \
  X(AcroSupport)         \
  X(Cos)                 \
  X(PDModel)             \
  X(PDFEditWrite)        \
  X(PDFEditRead)         \
  X(PDSysFont)           \
  X(PagePDEContent)      \
  X(AcroView)            \
  X(PDSWrite)            \
  X(PDSRead)             \
  X(Win)                 \
  X(ASExtra)

#define VANTRELL_HOST_TABLE_DECLARATION(name) \
  extern HostTable g##name##Table;            \
  extern uint32_t g##name##TableVersion;
HOST_TABLES(VANTRELL_HOST_TABLE_DECLARATION)
#undef VANTRELL_HOST_TABLE_DECLARATION

#endif
