#include "acrohost/Callbacks.h"

#include "acrohost/Handles.h"
#include "acrohost/Host.h"
#include "acrohost/Operations.h"

namespace acrohost {

HostCallback Callbacks::Create(HostExtensionId extension, HostRoutine routine) {
  HostCallback callback = NewHandle<HostCallback>();
  m_records[HandleKey(callback)] = CallbackRecord{extension, routine};
  return callback;
}

const CallbackRecord* Callbacks::Find(HostCallback callback) const {
  auto found = m_records.find(HandleKey(callback));
  return found == m_records.end() ? nullptr : &found->second;
}

HostRoutine Callbacks::RoutineOf(HostCallback callback) const {
  const CallbackRecord* record = Find(callback);
  return record ? record->routine : nullptr;
}

bool Callbacks::Execute(HostCallback callback, void* clientData) const {
  HostRoutine routine = RoutineOf(callback);
  if (!routine) return false;
  reinterpret_cast<HostExecuteProc>(routine)(clientData);
  return true;
}

bool Callbacks::Enable(HostCallback callback, void* clientData, HostBool* answer) const {
  HostRoutine routine = RoutineOf(callback);
  if (!routine) return false;
  *answer = reinterpret_cast<HostEnableProc>(routine)(clientData);
  return true;
}

bool Callbacks::Stage(HostCallback callback, HostBool* answer) const {
  HostRoutine routine = RoutineOf(callback);
  if (!routine) return false;
  *answer = reinterpret_cast<HostStageProc>(routine)();
  return true;
}

bool Callbacks::Handshake(HostCallback callback, uint32_t version, HostHandshakeRecord* record,
                          HostBool* answer) const {
  HostRoutine routine = RoutineOf(callback);
  if (!routine) return false;
  *answer = reinterpret_cast<HostHandshakeProc>(routine)(version, record);
  return true;
}

namespace ops {

HostCallback HostCallbackCreate(HostExtensionId extension, HostRoutine routine) {
  Host* host = Host::Current();
  return host ? host->callbacks().Create(extension, routine) : nullptr;
}

}  // namespace ops
}  // namespace acrohost
