// The one desktop of the process: scripted answers, and a record of what was shown.
#include "desktop/Desktop.h"

#include <stdio.h>
#include <string.h>

#include <deque>
#include <string>
#include <vector>

namespace {

const char kDefaultOpenable[] = ".chm .pdf .skp .dae .obj .txt .html";

struct Event {
  int kind;
  std::string text;
};

struct SaveRequestCopy {
  bool present = false;
  DesktopSaveRequest request{};
  std::string defaultExt, initialName, filter;
};

struct State {
  bool echo = false;
  std::deque<std::pair<bool, std::string>> saveAnswers;  // (accepted, path)
  bool overwriteYes = true;
  bool optionsAccept = true;
  bool optionsDefault = true;
  int optionsValue = 0;
  std::vector<std::string> openable;
  std::vector<Event> events;
  SaveRequestCopy lastSave;
};

std::vector<std::string> SplitWords(const char* text) {
  std::vector<std::string> words;
  std::string word;
  for (const char* p = text;; ++p) {
    if (*p == ' ' || *p == '\0') {
      if (!word.empty()) words.push_back(word);
      word.clear();
      if (*p == '\0') break;
    } else {
      word += *p;
    }
  }
  return words;
}

State& Desktop() {
  static State* state = [] {
    State* s = new State;
    s->openable = SplitWords(kDefaultOpenable);
    return s;
  }();
  return *state;
}

void Record(int kind, const char* text) { Desktop().events.push_back(Event{kind, text ? text : ""}); }

bool HasExtension(const std::string& name) {
  size_t slash = name.find_last_of("/\\");
  size_t dot = name.rfind('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash);
}

std::string ExtensionOf(const std::string& name) {
  if (!HasExtension(name)) return std::string();
  return name.substr(name.rfind('.'));
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

void CopyOut(const std::string& text, char* out, size_t outSize) {
  if (!out || outSize == 0) return;
  size_t length = text.size() < outSize - 1 ? text.size() : outSize - 1;
  memcpy(out, text.data(), length);
  out[length] = '\0';
}

}  // namespace

extern "C" {

void DesktopReset(void) {
  State& state = Desktop();
  state = State();
  state.openable = SplitWords(kDefaultOpenable);
}

void DesktopSetEcho(int on) { Desktop().echo = on != 0; }

void DesktopQueueSaveAnswer(const char* pathOrNull) {
  Desktop().saveAnswers.emplace_back(pathOrNull != nullptr, pathOrNull ? pathOrNull : "");
}

void DesktopSetOverwriteAnswer(int yes) { Desktop().overwriteYes = yes != 0; }

void DesktopSetWriterOptionsAnswer(int accept, int useDefault, int value) {
  State& state = Desktop();
  state.optionsAccept = accept != 0;
  state.optionsDefault = useDefault != 0;
  state.optionsValue = value;
}

void DesktopSetOpenableExtensions(const char* spaceSeparatedOrNull) {
  Desktop().openable = SplitWords(spaceSeparatedOrNull ? spaceSeparatedOrNull : kDefaultOpenable);
}

int DesktopAskSavePath(const DesktopSaveRequest* request, char* out, size_t outSize) {
  State& state = Desktop();
  SaveRequestCopy& copy = state.lastSave;
  copy.present = true;
  copy.request = request ? *request : DesktopSaveRequest{};
  copy.defaultExt = copy.request.defaultExt ? copy.request.defaultExt : "";
  copy.initialName = copy.request.initialName ? copy.request.initialName : "";
  copy.filter = copy.request.filter ? copy.request.filter : "";
  copy.request.defaultExt = copy.request.defaultExt ? copy.defaultExt.c_str() : nullptr;
  copy.request.initialName = copy.request.initialName ? copy.initialName.c_str() : nullptr;
  copy.request.filter = copy.request.filter ? copy.filter.c_str() : nullptr;
  Record(kDesktopSaveDialog, copy.initialName.c_str());

  if (state.saveAnswers.empty()) return 0;
  std::pair<bool, std::string> answer = state.saveAnswers.front();
  state.saveAnswers.pop_front();
  if (!answer.first) return 0;
  std::string path = answer.second;
  if (!HasExtension(path) && !copy.defaultExt.empty()) path += "." + copy.defaultExt;
  if (!out || path.size() + 1 > outSize) return 0;
  CopyOut(path, out, outSize);
  return 1;
}

int DesktopAskOverwrite(const char* path) {
  Record(kDesktopOverwrite, path);
  return Desktop().overwriteYes ? 1 : 0;
}

int DesktopAskWriterOptions(int* value) {
  State& state = Desktop();
  Record(kDesktopWriterOptions, "");
  if (!state.optionsAccept) return 0;
  if (!state.optionsDefault && value) *value = state.optionsValue;
  return 1;
}

void DesktopShowAlert(const char* text) {
  Record(kDesktopAlert, text);
  if (Desktop().echo) {
    fprintf(stderr, "alert: %s\n", text ? text : "");
    fflush(stderr);
  }
}

void DesktopShowAbout(const char* title) {
  Record(kDesktopAbout, title);
  if (Desktop().echo) {
    printf("about: %s\n", title ? title : "");
    fflush(stdout);
  }
}

int DesktopOpenFile(const char* path) {
  State& state = Desktop();
  std::string extension = ExtensionOf(path ? path : "");
  bool openable = false;
  for (const std::string& known : state.openable)
    if (SameTextIgnoringCase(known, extension)) openable = true;
  if (!openable) return 0;
  Record(kDesktopOpen, path);
  if (state.echo) {
    printf("open: %s\n", path ? path : "");
    fflush(stdout);
  }
  return 1;
}

int DesktopEventCount(void) { return static_cast<int>(Desktop().events.size()); }

int DesktopEvent(int i, char* text, size_t textSize) {
  State& state = Desktop();
  if (i < 0 || static_cast<size_t>(i) >= state.events.size()) return 0;
  CopyOut(state.events[static_cast<size_t>(i)].text, text, textSize);
  return state.events[static_cast<size_t>(i)].kind;
}

int DesktopCountEvents(int kind) {
  int count = 0;
  for (const Event& event : Desktop().events)
    if (event.kind == kind) ++count;
  return count;
}

int DesktopLastSaveRequest(DesktopSaveRequest* out) {
  const SaveRequestCopy& copy = Desktop().lastSave;
  if (!copy.present) return 0;
  if (out) *out = copy.request;
  return 1;
}

}  // extern "C"
