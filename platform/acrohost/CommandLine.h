// The command line of the host program:
//
//   acrohost [OPTIONS] [DOCUMENT.pdf] [ACTION ...]
//   acrohost export DOCUMENT.pdf OUTPUT.skp [OPTIONS]
//
// Options may stand anywhere; "--" ends them. The first word that is not an option is the
// document when it ends in ".pdf" (in any case) or names an existing file; every other word is an
// action. "export" is the shorthand for --save-as OUTPUT DOCUMENT ADBE:Vantrell_Export.
#ifndef VANTRELL_ACROHOST_COMMANDLINE_H
#define VANTRELL_ACROHOST_COMMANDLINE_H

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include "acrohost/Host.h"

namespace acrohost {

struct CommandLine {
  bool help = false;
  std::string pluginsFolder;  // empty: plug_ins beside the program
  std::vector<std::string> saveAnswers;
  bool noOverwrite = false;
  enum WriterOptions { kWriterDefault, kWriterValue, kWriterCancel } writerOptions = kWriterDefault;
  int writerValue = 0;
  bool list = false;
  std::string traceFile;
  std::string saveDocument;
  std::string document;
  std::vector<std::string> prcFiles;  // taken into the active document before the actions
  std::vector<std::string> actions;
  HostOptions host;
  std::vector<std::pair<int, TableGrant>> tableGrants;  // tables whose grant differs from the default
};

// False, with the reason, for a usage error.
bool ParseCommandLine(int argc, const char* const* argv, CommandLine* commandLine, std::string* error);
// The text of --help.
const char* UsageText();

}  // namespace acrohost

#endif
