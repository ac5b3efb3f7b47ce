#include "a3dlib/Control.h"

#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include "a3dlib/StandInControl.h"

namespace a3d {

namespace {

// A variable's value, or "" when it is unset.
std::string Variable(const char* name) {
  const char* value = ::getenv(name);
  return value ? std::string(value) : std::string();
}

// A whole signed decimal int, and nothing else.
bool ParseInt(const std::string& text, int* value) {
  if (text.empty() || text.find_first_of(" \t\n") != std::string::npos) return false;
  char* end = nullptr;
  errno = 0;
  long number = strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || number < INT32_MIN || number > INT32_MAX) return false;
  *value = static_cast<int>(number);
  return true;
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool RuleMatches(const std::string& rule, const std::string& entryPoint, uint32_t callNumber,
                 const std::string* entityName) {
  if (rule.compare(0, entryPoint.size(), entryPoint) != 0) return false;
  std::string rest = rule.substr(entryPoint.size());
  if (rest.empty()) return true;
  if (rest[0] == '@') return entityName && *entityName == rest.substr(1);
  int number = 0;
  return rest[0] == '#' && ParseInt(rest.substr(1), &number) && number > 0 &&
         static_cast<uint32_t>(number) == callNumber;
}

}  // namespace

bool ReportedVersion(int* major, int* minor) {
  std::string setting = Variable(VANTRELL_A3D_ENV_VERSION);
  if (setting.empty()) {
    *major = VANTRELL_A3D_DEFAULT_MAJOR;
    *minor = VANTRELL_A3D_DEFAULT_MINOR;
    return true;
  }
  size_t dot = setting.find('.');
  int m = 0;
  int n = 0;
  if (dot == std::string::npos || !ParseInt(setting.substr(0, dot), &m) || !ParseInt(setting.substr(dot + 1), &n))
    return false;
  *major = m;
  *minor = n;
  return true;
}

bool InitialisationRefused() { return Variable(VANTRELL_A3D_ENV_INIT) == "fail"; }

bool CallFails(const char* entryPoint, uint32_t callNumber, const std::string* entityName) {
  const char* rules = ::getenv(VANTRELL_A3D_ENV_FAIL);
  if (!rules || !rules[0]) return false;
  const std::string list(rules);
  const std::string name(entryPoint);
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    if (RuleMatches(Trimmed(list.substr(start, end - start)), name, callNumber, entityName)) return true;
    start = end + 1;
  }
  return false;
}

bool LogEnabled() {
  const char* path = ::getenv(VANTRELL_A3D_ENV_LOG);
  return path && path[0];
}

void LogLine(const std::string& line) {
  const char* path = ::getenv(VANTRELL_A3D_ENV_LOG);
  if (!path || !path[0]) return;
  // Opened for each line, so that lines of several loads and processes interleave whole.
  FILE* file = fopen(path, "ab");
  if (!file) return;
  std::string text = line + "\n";
  fwrite(text.data(), 1, text.size(), file);
  fclose(file);
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      char escape[8];
      snprintf(escape, sizeof escape, "\\x%02X", c);
      out += escape;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace a3d
