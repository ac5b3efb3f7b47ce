#include "acrohost/Trace.h"

#include <stdio.h>
#include <string.h>

#include "acrohost/Atoms.h"
#include "acrohost/Tables.h"

namespace acrohost {

namespace {

const size_t kQuotedLimit = 120;

std::string Hex(uint64_t value) {
  char text[32];
  snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

struct HandleLabel {
  const char* type;
  const char* label;
};

const HandleLabel kHandleLabels[] = {
    {"HostDoc", "doc"},         {"HostPage", "page"},       {"HostDocumentView", "view"},
    {"HostStream", "stream"},   {"HostFileSys", "filesys"}, {"HostPathName", "path"},
    {"HostContainer", "container"}, {"HostMenuBar", "menubar"}, {"HostMenu", "menu"},
    {"HostMenuItem", "item"},   {"HostToolBar", "toolbar"}, {"HostToolButton", "button"},
    {"HostExtensionId", "extension"}, {"HostCallback", "callback"},
};

}  // namespace

std::string QuotedText(const std::string& text, size_t limit) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == limit) {
      out += "...";
      break;
    }
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char escape[8];
      snprintf(escape, sizeof escape, "\\x%02X", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string HostCall::Line() const {
  std::string line = table + " " + std::to_string(selector) + " " + name + "(" + arguments + ")";
  if (!result.empty()) line += " -> " + result;
  return line;
}

Trace::~Trace() {
  if (m_output) fclose(m_output);
}

bool Trace::WriteTo(const std::string& path, std::string* error) {
  FILE* file = fopen(path.c_str(), "w");
  if (!file) {
    if (error) *error = "cannot create the trace file " + path;
    return false;
  }
  if (m_output) fclose(m_output);
  m_output = file;
  return true;
}

void Trace::Add(const HostCall& call) {
  if (m_recording) m_calls.push_back(call);
  if (m_output) {
    std::string line = call.Line() + "\n";
    fwrite(line.data(), 1, line.size(), m_output);
    fflush(m_output);
  }
}

std::vector<HostCall> Trace::CallsOf(const std::string& table, int selector) const {
  std::vector<HostCall> found;
  for (const HostCall& call : m_calls)
    if (call.table == table && call.selector == selector) found.push_back(call);
  return found;
}

size_t Trace::CountOf(const std::string& table, int selector) const { return CallsOf(table, selector).size(); }

ValueFormat TypeFormat(const std::string& type) {
  ValueFormat format;
  if (type == "const char*") {
    format.kind = ValueFormat::kCString;
  } else if (type == "char*") {
    format.kind = ValueFormat::kBuffer;
  } else if (type == "HostAtom") {
    format.kind = ValueFormat::kAtom;
  } else if (type == "uint32_t") {
    format.kind = ValueFormat::kHex;
  } else if (type == "HostBool" || type == "int32_t" || type == "size_t" || type == "uint16_t" || type == "char" ||
             type == "int16_t") {
    format.kind = ValueFormat::kNumber;
  } else if (type == "HostCosObj") {
    format.kind = ValueFormat::kCos;
  } else if (type == "HostAnnot") {
    format.kind = ValueFormat::kAnnot;
  } else if (type == "HostTable") {
    format.kind = ValueFormat::kTable;
  } else {
    format.kind = ValueFormat::kPointer;
    for (const HandleLabel& handle : kHandleLabels) {
      if (type == handle.type) {
        format.kind = ValueFormat::kHandle;
        format.label = handle.label;
      }
    }
  }
  return format;
}

std::vector<ValueFormat> ParameterFormats(const char* parameters) {
  std::string list = Trim(parameters);
  if (list.size() >= 2 && list.front() == '(' && list.back() == ')') list = list.substr(1, list.size() - 2);
  std::vector<ValueFormat> formats;
  if (Trim(list).empty() || Trim(list) == "void") return formats;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string declaration = Trim(list.substr(start, comma - start));
    size_t nameStart = declaration.size();
    while (nameStart > 0 && IsIdentifierChar(declaration[nameStart - 1])) --nameStart;
    formats.push_back(TypeFormat(Trim(declaration.substr(0, nameStart))));
    start = comma + 1;
  }
  return formats;
}

std::string FormatValue(const ValueFormat& format, const RawValue& value, const Atoms* atoms, const Tables* tables) {
  switch (format.kind) {
    case ValueFormat::kCString:
      if (!value.bits) return "null";
      {
        // Only what can be shown is read, however long the string.
        const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(value.bits));
        return QuotedText(std::string(text, strnlen(text, kQuotedLimit + 1)), kQuotedLimit);
      }
    case ValueFormat::kAtom: {
      std::string text = "atom " + std::to_string(value.bits);
      const std::string* name = atoms ? atoms->Text(static_cast<HostAtom>(value.bits)) : nullptr;
      return name ? text + " " + QuotedText(*name, kQuotedLimit) : text;
    }
    case ValueFormat::kNumber:
      return value.isSigned ? std::to_string(static_cast<int64_t>(value.bits)) : std::to_string(value.bits);
    case ValueFormat::kHex:
      return Hex(value.bits);
    case ValueFormat::kCos:
    case ValueFormat::kAnnot: {
      std::string kind = format.kind == ValueFormat::kCos ? "cos " : "annot ";
      if (value.a == 0 && value.b == 0) return kind + "null";
      return kind + std::to_string(value.a) + ":" + std::to_string(value.b);
    }
    case ValueFormat::kTable: {
      if (!value.bits) return "null";
      int which = tables ? tables->Which(reinterpret_cast<HostTable>(static_cast<uintptr_t>(value.bits))) : -1;
      return which >= 0 ? std::string("table ") + TableName(which) : Hex(value.bits);
    }
    case ValueFormat::kHandle:
      return value.bits ? format.label + "#" + std::to_string(value.bits) : "null";
    case ValueFormat::kBuffer:
    case ValueFormat::kPointer:
      break;
  }
  return value.bits ? Hex(value.bits) : "null";
}

}  // namespace acrohost
