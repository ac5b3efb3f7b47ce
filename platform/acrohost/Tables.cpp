// The tables and the dispatch: every routine of the operation list goes into its table behind a
// wrapper that summarises the call for the trace when the trace is on.
#include "acrohost/Tables.h"

#include <algorithm>
#include <type_traits>

#include "acrohost/Host.h"
#include "acrohost/Operations.h"

namespace acrohost {

namespace {

const char* const kTableNames[kTableCount] = {
    "Core",     "AcroSupport", "Cos",     "PDModel", "PDFEditWrite", "PDFEditRead", "PDSysFont",
    "PagePDEContent", "AcroView", "PDSWrite", "PDSRead", "Win",     "ASExtra",
};

// What the trace needs to know of one operation.
struct OperationInfo {
  const char* table;
  int selector;
  const char* name;
  const char* parameters;
  const char* result;
};
#define ACROHOST_OPERATION_INFO(table, selector, name, result, parameters, arguments) \
  constexpr OperationInfo k##name##Info = {#table, selector, #name, #parameters, #result};
HOST_OPERATIONS(ACROHOST_OPERATION_INFO)
#undef ACROHOST_OPERATION_INFO

template <typename Fn, Fn Routine, const OperationInfo& Info>
struct Traced;

template <typename R, typename... A, R (*Routine)(A...), const OperationInfo& Info>
struct Traced<R (*)(A...), Routine, Info> {
  static R Call(A... arguments) {
    Host* host = Host::Current();
    if (!host || !host->trace().active()) return Routine(arguments...);

    static const std::vector<ValueFormat> formats = ParameterFormats(Info.parameters);
    HostCall call;
    call.table = Info.table;
    call.selector = Info.selector;
    call.name = Info.name;
    // The arguments are summarised before the call: a block or a reader may be gone after it.
    const std::vector<RawValue> raw{Raw(arguments)...};
    for (size_t i = 0; i < raw.size() && i < formats.size(); ++i) {
      if (i) call.arguments += ", ";
      call.arguments += FormatValue(formats[i], raw[i], &host->atoms(), &host->tables());
    }
    if constexpr (std::is_void_v<R>) {
      Routine(arguments...);
      host->trace().Add(call);
    } else {
      R result = Routine(arguments...);
      call.result = FormatValue(TypeFormat(Info.result), Raw(result), &host->atoms(), &host->tables());
      host->trace().Add(call);
      return result;
    }
  }
};

}  // namespace

const char* TableName(int table) { return table >= 0 && table < kTableCount ? kTableNames[table] : ""; }

int TableByName(const std::string& name) {
  for (int table = 0; table < kTableCount; ++table)
    if (name == kTableNames[table]) return table;
  return -1;
}

Tables::Tables() {
  for (auto& entries : m_entries) entries.assign(kTableLength, nullptr);
#define ACROHOST_INSTALL_OPERATION(table, selector, name, result, parameters, arguments)                    \
  static_assert(selector < kTableLength, "selector outside the table");                                     \
  m_entries[k##table##Table][selector] =                                                                    \
      reinterpret_cast<HostRoutine>(static_cast<name##Fn>(&Traced<name##Fn, &ops::name, k##name##Info>::Call));
  HOST_OPERATIONS(ACROHOST_INSTALL_OPERATION)
#undef ACROHOST_INSTALL_OPERATION
}

HostTable Tables::Request(const std::string& name, uint32_t version) {
  int table = TableByName(name);
  if (table < 0) return nullptr;
  const TableGrant& grant = m_grants[table];
  if (!grant.present) return nullptr;
  bool granted = grant.versions.empty()
                     ? version <= kHostTableVersion
                     : std::find(grant.versions.begin(), grant.versions.end(), version) != grant.versions.end();
  return granted ? Table(table) : nullptr;
}

int Tables::Which(HostTable table) const {
  for (int i = 0; i < kTableCount; ++i)
    if (table && table == m_entries[i].data()) return i;
  return -1;
}

bool Tables::ReportedVersion(HostTable table, uint32_t* version) const {
  int which = Which(table);
  if (which < 0) return false;
  *version = m_grants[which].reportedVersion;
  return true;
}

namespace ops {

HostTable HostGetTable(HostAtom name, uint32_t version) {
  Host* host = Host::Current();
  if (!host) return nullptr;
  const std::string* text = host->atoms().Text(name);
  return text ? host->tables().Request(*text, version) : nullptr;
}

uint32_t HostTableGetVersion(HostTable table) {
  Host* host = Host::Current();
  uint32_t version = 0;
  if (host && !host->tables().ReportedVersion(table, &version)) host->Note("AcroSupport 103 was given no table of the host");
  return version;
}

}  // namespace ops
}  // namespace acrohost
