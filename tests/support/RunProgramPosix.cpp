#include <stdlib.h>
#include <sys/wait.h>

#include "RunProgram.h"

namespace testing_support {

namespace {

std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& outFile,
               const std::string& errFile) {
  std::string command = Quote(program);
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  command += " > " + Quote(outFile) + " 2> " + Quote(errFile);
  int status = system(command.c_str());
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testing_support
