// Started with CreateProcessA rather than through the command interpreter, which would take
// quotes, percent signs and carets in the arguments for its own.
#include <windows.h>

#include "RunProgram.h"

namespace testing_support {

namespace {

// One argument as the C run-time's reading of a command line gives it back: in quotes, with the
// backslashes before a quote (or before the closing one) doubled.
std::string Quote(const std::string& word) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

// A file the child writes its output into.
HANDLE InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, TRUE};
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& outFile,
               const std::string& errFile) {
  std::string command = Quote(program);
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');

  HANDLE out = InheritableFile(outFile);
  HANDLE err = InheritableFile(errFile);
  int status = -1;
  if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process;
    if (CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
      DWORD code = 0;
      if (WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code))
        status = static_cast<int>(code);
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
  return status;
}

}  // namespace testing_support
