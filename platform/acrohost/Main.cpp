// The host program: loads the plug-ins, opens the document, performs the actions.
#include <stdio.h>

#include <filesystem>
#include <string>

#include "acrohost/CommandLine.h"
#include "acrohost/HandOver.h"
#include "acrohost/Host.h"
#include "desktop/Desktop.h"

// Last: on Linux its names stand in for the Windows API.
#include <windows.h>

namespace {

enum ExitStatus { kSuccess = 0, kAlerted = 1, kFailed = 2 };

std::string DefaultPlugInsFolder() {
  char path[4096];
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  if (length == 0 || length >= sizeof path) return "plug_ins";
  return (std::filesystem::path(path).parent_path() / "plug_ins").string();
}

int Fail(const std::string& message) {
  fprintf(stderr, "acrohost: %s\n", message.c_str());
  return kFailed;
}

void ScriptTheUser(const acrohost::CommandLine& commandLine) {
  DesktopReset();
  DesktopSetEcho(1);
  for (const std::string& answer : commandLine.saveAnswers) DesktopQueueSaveAnswer(answer.c_str());
  DesktopSetOverwriteAnswer(commandLine.noOverwrite ? 0 : 1);
  if (commandLine.writerOptions == acrohost::CommandLine::kWriterValue)
    DesktopSetWriterOptionsAnswer(1, 0, commandLine.writerValue);
  else if (commandLine.writerOptions == acrohost::CommandLine::kWriterCancel)
    DesktopSetWriterOptionsAnswer(0, 0, 0);
}

int Run(const acrohost::CommandLine& commandLine) {
  acrohost::Host host(commandLine.host);
  host.SetPrintNotes(true);
  for (const auto& grant : commandLine.tableGrants) host.tables().Grant(grant.first) = grant.second;
  std::string error;
  if (!commandLine.traceFile.empty() && !host.trace().WriteTo(commandLine.traceFile, &error)) return Fail(error);

  std::string folder = commandLine.pluginsFolder.empty() ? DefaultPlugInsFolder() : commandLine.pluginsFolder;
  std::error_code ignored;
  bool haveFolder = std::filesystem::is_directory(folder, ignored);
  if (!haveFolder && !commandLine.pluginsFolder.empty()) return Fail("no plug-ins folder " + folder);
  // Without a plug-ins folder beside it the host simply runs without plug-ins.
  if (haveFolder && !host.plugIns().LoadFolder(folder, &error)) return Fail(error);
  host.plugIns().RunStages();

  if (!commandLine.document.empty() && !host.documents().OpenPdf(commandLine.document, &error)) return Fail(error);
  for (const std::string& file : commandLine.prcFiles) {
    size_t bytes = 0;
    if (!acrohost::TakePrcFile(host, file, &bytes, &error)) return Fail("cannot take the PRC file: " + error);
  }
  for (const std::string& action : commandLine.actions)
    if (!host.menus().HasAction(action)) return Fail("no menu item or button for the action " + action);

  if (commandLine.list) {
    std::string listing = host.menus().Listing();
    fwrite(listing.data(), 1, listing.size(), stdout);
    fflush(stdout);
  }

  bool disabled = false;
  for (const std::string& action : commandLine.actions) {
    if (host.menus().Perform(action, host.callbacks()) == acrohost::MenusAndToolBar::kActionDisabled) {
      host.Note(action + " is disabled");
      disabled = true;
    }
  }

  if (!commandLine.saveDocument.empty()) {
    acrohost::Document* document = host.documents().active();
    if (!document) return Fail("no document to save");
    if (!document->Save(commandLine.saveDocument, &error)) return Fail(error);
  }

  host.plugIns().UnloadAll();
  if (!host.plugIns().failures().empty()) return kFailed;
  return disabled || DesktopCountEvents(kDesktopAlert) > 0 ? kAlerted : kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  acrohost::CommandLine commandLine;
  std::string error;
  if (!acrohost::ParseCommandLine(argc, argv, &commandLine, &error)) {
    fprintf(stderr, "acrohost: %s (see acrohost --help)\n", error.c_str());
    return kFailed;
  }
  if (commandLine.help) {
    fputs(acrohost::UsageText(), stdout);
    return kSuccess;
  }
  ScriptTheUser(commandLine);
  return Run(commandLine);
}
