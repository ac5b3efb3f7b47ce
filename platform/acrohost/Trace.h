// The record of every call into the host's tables: table, selector, operation, a summary of the
// arguments and the result. Kept in memory for tests and, with an output file, written one line
// per call as the calls happen:
//
//   TABLE SELECTOR NAME(ARGUMENTS) -> RESULT
//
// for instance `Core 5 HostAtomFromString("3D") -> atom 7 "3D"`; an operation without a result
// has no " -> RESULT". Values are shown by their declared type: C strings quoted with C escapes
// (cut after 120 characters), atoms as `atom N "TEXT"`, u32 values in hexadecimal, Cos objects as
// `cos D:N` and annotations as `annot D:N` (document D, object N; `cos null`), tables by name
// (`table Cos`), handles as `KIND#N` (menu#12, view#3), other pointers in hexadecimal, and every
// null handle or pointer as `null`.
#ifndef VANTRELL_ACROHOST_TRACE_H
#define VANTRELL_ACROHOST_TRACE_H

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <type_traits>
#include <vector>

#include "host/HostTypes.h"

namespace acrohost {

class Atoms;
class Tables;

struct HostCall {
  std::string table;      // "Core"
  int selector = 0;       // 5
  std::string name;       // "HostAtomFromString"
  std::string arguments;  // "\"3D\""
  std::string result;     // "atom 7 \"3D\""; empty when the operation has none
  // The call as one line of the trace file.
  std::string Line() const;
};

class Trace {
 public:
  Trace() = default;
  ~Trace();
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // Keeping calls in memory (off by default).
  void SetRecording(bool on) { m_recording = on; }
  bool recording() const { return m_recording; }
  // Writes every later call to the file as well; false, with the reason, when it cannot be created.
  bool WriteTo(const std::string& path, std::string* error);
  // Whether calls are to be summarised at all.
  bool active() const { return m_recording || m_output != nullptr; }

  void Add(const HostCall& call);
  const std::vector<HostCall>& calls() const { return m_calls; }
  void Clear() { m_calls.clear(); }
  // The recorded calls of one operation.
  std::vector<HostCall> CallsOf(const std::string& table, int selector) const;
  size_t CountOf(const std::string& table, int selector) const;

 private:
  bool m_recording = false;
  FILE* m_output = nullptr;
  std::vector<HostCall> m_calls;
};

// ---- Summaries of values, for the dispatch ----

// A value as it was passed, before its declared type says how to show it.
struct RawValue {
  uint64_t bits = 0;      // an integer, or a pointer's address
  bool isSigned = false;  // bits holds a sign-extended negative integer
  uint32_t a = 0, b = 0;  // a Cos object or an annotation
};

template <typename T>
RawValue Raw(T value) {
  RawValue raw;
  if constexpr (std::is_integral_v<T>) {
    raw.isSigned = std::is_signed_v<T> && value < 0;
    raw.bits = static_cast<uint64_t>(static_cast<int64_t>(value));
  } else {
    static_assert(std::is_pointer_v<T>, "a traced value is an integer, a pointer or a Cos value");
    raw.bits = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(value));
  }
  return raw;
}
inline RawValue Raw(HostCosObj value) {
  RawValue raw;
  raw.a = value.a;
  raw.b = value.b;
  return raw;
}
inline RawValue Raw(HostAnnot value) {
  RawValue raw;
  raw.a = value.a;
  raw.b = value.b;
  return raw;
}

// How values of one declared type are shown.
struct ValueFormat {
  enum Kind { kCString, kBuffer, kAtom, kNumber, kHex, kPointer, kCos, kAnnot, kTable, kHandle } kind = kPointer;
  std::string label;  // the kind of handle: "menu", "view", ...
};

// The formats of a parameter list as the operation list writes it: "(HostAtom name, uint32_t version)".
std::vector<ValueFormat> ParameterFormats(const char* parameters);
// The format of one declared type: "HostAtom", "const char*", ...
ValueFormat TypeFormat(const std::string& type);
// Text in double quotes, with \" \\ and \xHH (bytes below 0x20 and from 0x7F) escapes; cut after
// limit bytes, with "..." before the closing quote.
std::string QuotedText(const std::string& text, size_t limit = std::string::npos);
// One value shown; atoms with their text and tables with their names when the host knows them.
std::string FormatValue(const ValueFormat& format, const RawValue& value, const Atoms* atoms, const Tables* tables);

}  // namespace acrohost

#endif
