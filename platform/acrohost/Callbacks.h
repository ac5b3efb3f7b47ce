// Host callbacks (Core 8): the host keeps the extension and the routine behind a handle, and
// calls the routine through it.
#ifndef VANTRELL_ACROHOST_CALLBACKS_H
#define VANTRELL_ACROHOST_CALLBACKS_H

#include <stdint.h>

#include <map>

#include "host/HostTypes.h"

namespace acrohost {

struct CallbackRecord {
  HostExtensionId extension;
  HostRoutine routine;
};

class Callbacks {
 public:
  HostCallback Create(HostExtensionId extension, HostRoutine routine);
  // The record behind a callback, or null for a value the host did not give out.
  const CallbackRecord* Find(HostCallback callback) const;

  // Each call returns false, without calling anything, when the callback is unknown or holds a
  // null routine; otherwise it calls the routine with the signature of its use and stores the
  // routine's answer.
  bool Execute(HostCallback callback, void* clientData) const;
  bool Enable(HostCallback callback, void* clientData, HostBool* answer) const;
  bool Stage(HostCallback callback, HostBool* answer) const;
  bool Handshake(HostCallback callback, uint32_t version, HostHandshakeRecord* record, HostBool* answer) const;

  size_t size() const { return m_records.size(); }

 private:
  HostRoutine RoutineOf(HostCallback callback) const;
  std::map<uintptr_t, CallbackRecord> m_records;
};

}  // namespace acrohost

#endif
