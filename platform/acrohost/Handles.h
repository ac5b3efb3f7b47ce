// Handles that the host gives out: documents, pages, views, readers, path names, containers,
// menus, items, buttons, extensions and host callbacks.
//
// A handle is a serial number dressed as the handle's type. Serials come from one process-wide
// counter, so a handle is never given out twice in a run, not even by a later host, and a stale or
// forged handle is recognised as unknown instead of being followed.
#ifndef VANTRELL_ACROHOST_HANDLES_H
#define VANTRELL_ACROHOST_HANDLES_H

#include <stdint.h>

namespace acrohost {

// A new serial, never 0.
uintptr_t NextHandleSerial();

template <typename Handle>
Handle NewHandle() {
  return reinterpret_cast<Handle>(NextHandleSerial());
}

template <typename Handle>
uintptr_t HandleKey(Handle handle) {
  return reinterpret_cast<uintptr_t>(handle);
}

}  // namespace acrohost

#endif
