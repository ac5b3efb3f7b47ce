#include "acrohost/CommandLine.h"

#include <errno.h>
#include <stdlib.h>

#include <filesystem>

namespace acrohost {

namespace {

const char kUsage[] =
    "usage: acrohost [OPTIONS] [DOCUMENT.pdf] [ACTION ...]\n"
    "       acrohost export DOCUMENT.pdf OUTPUT.skp [OPTIONS]\n"
    "\n"
    "Loads every *.api plug-in of the plug-ins folder, opens DOCUMENT as the active document and\n"
    "performs each ACTION in order: the internal name of a menu item (ADBE:Vantrell_Export), or\n"
    "button:NAME for a toolbar button. An action runs when its enable test answers true.\n"
    "\"export\" is the shorthand for --save-as OUTPUT.skp DOCUMENT.pdf ADBE:Vantrell_Export.\n"
    "\n"
    "Options:\n"
    "  --plugins DIR             the plug-ins folder (default: plug_ins beside the program)\n"
    "  --save-as PATH            the user's answer to the next save-file dialog (repeatable);\n"
    "                            a dialog without an answer is cancelled\n"
    "  --no-overwrite            the user refuses to replace an existing file\n"
    "  --writer-options N        the user accepts the writer's options with value N\n"
    "  --cancel-options          the user cancels the writer's options\n"
    "  --host-version MAJOR.MINOR  the version the host reports (default 9.0)\n"
    "  --list                    print the menus with their items and the toolbar's buttons,\n"
    "                            once the plug-ins are loaded and before the actions\n"
    "  --trace FILE              write every call into the host's tables to FILE, one a line\n"
    "  --save-document PATH      save the active document as a PDF file after the actions\n"
  "  --take-prc FILE           before the actions, take the PRC file into the active document\n"
  "                            as a plug-in's hand-over does: a new 3D annotation on its first\n"
  "                            page, in a new in-memory document when none is open (repeatable,\n"
  "                            in order; the way to a document where PDF files cannot be read)\n"
    "  --help                    print this text\n"
    "\n"
    "Options for testing the host (V: a number, decimal or 0x hexadecimal):\n"
    "  --lack-table NAME         the host has no table NAME (Core, AcroSupport, Cos, ...)\n"
    "  --grant-table NAME=V,...  grant table NAME at exactly these versions only\n"
    "  --report-version NAME=V   table NAME reports version V (AcroSupport 103)\n"
    "  --offer-handshake V       the handshake version offered to PlugInMain (default 0x20000)\n"
    "  --setup-version V         the setUpVersion of the set-up data (default 0x20000)\n"
    "  --lack-menu NAME          the host has no menu NAME (UsingExtensions, Help, ...)\n"
    "  --fail-new-menus          the host creates no new menu\n"
    "\n"
    "Output: alerts print \"alert: TEXT\" on stderr; the About box \"about: TEXT\" and files\n"
    "opened by the shell \"open: PATH\" on stdout; the host's own messages \"acrohost: TEXT\" on\n"
    "stderr.\n"
    "\n"
    "--list prints one element a line, texts quoted with \\\" \\\\ and \\xHH escapes:\n"
    "  menu \"NAME\" \"TITLE\"       a menu of the menu bar, in order; then its items, two spaces\n"
    "    item \"NAME\" \"TITLE\"     deeper, each followed by its submenu (if any) deeper still\n"
    "  toolbar                   then the toolbar's buttons in order:\n"
    "    button \"NAME\" \"TOOLTIP\"\n"
    "    separator \"NAME\"\n"
    "\n"
    "--trace writes one line a call: TABLE SELECTOR NAME(ARGUMENTS) -> RESULT\n"
    "  (no \" -> RESULT\" for an operation without a result), e.g.\n"
    "  Core 5 HostAtomFromString(\"3D\") -> atom 7 \"3D\"\n"
    "\n"
    "Exit status: 0 when every action ran and no alert was shown; 1 when an alert was shown or an\n"
    "action was disabled; 2 for a usage error, or a document, plug-in or file that could not be\n"
    "opened or written (with a message saying why).\n";

bool ParseNumber(const std::string& text, uint32_t* value) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long parsed = strtoull(text.c_str(), &end, 0);
  if (errno || *end || parsed > 0xFFFFFFFFull) return false;
  *value = static_cast<uint32_t>(parsed);
  return true;
}

bool ParseInt(const std::string& text, long minimum, long maximum, long* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long parsed = strtol(text.c_str(), &end, 10);
  if (errno || *end || parsed < minimum || parsed > maximum) return false;
  *value = parsed;
  return true;
}

bool EndsWithPdf(const std::string& word) {
  if (word.size() < 4) return false;
  std::string tail = word.substr(word.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return tail == ".pdf";
}

bool IsExistingFile(const std::string& word) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(word, ignored);
}

TableGrant* GrantOf(CommandLine* commandLine, int table) {
  for (auto& entry : commandLine->tableGrants)
    if (entry.first == table) return &entry.second;
  commandLine->tableGrants.emplace_back(table, TableGrant());
  return &commandLine->tableGrants.back().second;
}

// "NAME" or "NAME=VALUE" with a known table name.
bool SplitTableArgument(const std::string& argument, bool wantValue, int* table, std::string* value,
                        std::string* error) {
  size_t equals = argument.find('=');
  std::string name = wantValue ? argument.substr(0, equals) : argument;
  *table = TableByName(name);
  if (*table < 0) {
    *error = "no host table is named \"" + name + "\"";
    return false;
  }
  if (wantValue) {
    if (equals == std::string::npos) {
      *error = "\"" + argument + "\" gives no value after the table name";
      return false;
    }
    *value = argument.substr(equals + 1);
  }
  return true;
}

}  // namespace

const char* UsageText() { return kUsage; }

bool ParseCommandLine(int argc, const char* const* argv, CommandLine* out, std::string* error) {
  std::vector<std::string> words;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      if (arg == "-h") {
        out->help = true;
        continue;
      }
      words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    // Options that take a value.
    auto value = [&](std::string* to) {
      if (i + 1 >= argc) {
        *error = arg + " needs a value";
        return false;
      }
      *to = argv[++i];
      return true;
    };
    std::string text;
    if (arg == "--help") {
      out->help = true;
    } else if (arg == "--no-overwrite") {
      out->noOverwrite = true;
    } else if (arg == "--list") {
      out->list = true;
    } else if (arg == "--fail-new-menus") {
      out->host.failNewMenus = true;
    } else if (arg == "--cancel-options") {
      if (out->writerOptions == CommandLine::kWriterValue) {
        *error = "--cancel-options and --writer-options exclude each other";
        return false;
      }
      out->writerOptions = CommandLine::kWriterCancel;
    } else if (arg == "--plugins") {
      if (!value(&out->pluginsFolder)) return false;
    } else if (arg == "--save-as") {
      if (!value(&text)) return false;
      out->saveAnswers.push_back(text);
    } else if (arg == "--trace") {
      if (!value(&out->traceFile)) return false;
    } else if (arg == "--save-document") {
      if (!value(&out->saveDocument)) return false;
    } else if (arg == "--take-prc") {
      if (!value(&text)) return false;
      out->prcFiles.push_back(text);
    } else if (arg == "--writer-options") {
      long number = 0;
      if (!value(&text)) return false;
      if (!ParseInt(text, -2147483647L - 1, 2147483647L, &number)) {
        *error = "--writer-options takes a whole number, not \"" + text + "\"";
        return false;
      }
      if (out->writerOptions == CommandLine::kWriterCancel) {
        *error = "--cancel-options and --writer-options exclude each other";
        return false;
      }
      out->writerOptions = CommandLine::kWriterValue;
      out->writerValue = static_cast<int>(number);
    } else if (arg == "--host-version") {
      if (!value(&text)) return false;
      size_t dot = text.find('.');
      long major = 0, minor = 0;
      if (dot == std::string::npos || !ParseInt(text.substr(0, dot), -32768, 32767, &major) ||
          !ParseInt(text.substr(dot + 1), -32768, 32767, &minor)) {
        *error = "--host-version takes MAJOR.MINOR, not \"" + text + "\"";
        return false;
      }
      out->host.versionMajor = static_cast<int16_t>(major);
      out->host.versionMinor = static_cast<int16_t>(minor);
    } else if (arg == "--offer-handshake" || arg == "--setup-version") {
      uint32_t number = 0;
      if (!value(&text)) return false;
      if (!ParseNumber(text, &number)) {
        *error = arg + " takes a number, not \"" + text + "\"";
        return false;
      }
      (arg == "--offer-handshake" ? out->host.offeredHandshakeVersion : out->host.setUpVersion) = number;
    } else if (arg == "--lack-menu") {
      if (!value(&text)) return false;
      out->host.lackingMenus.push_back(text);
    } else if (arg == "--lack-table") {
      int table = 0;
      if (!value(&text) || !SplitTableArgument(text, false, &table, nullptr, error)) return false;
      GrantOf(out, table)->present = false;
    } else if (arg == "--grant-table" || arg == "--report-version") {
      int table = 0;
      std::string numbers;
      if (!value(&text) || !SplitTableArgument(text, true, &table, &numbers, error)) return false;
      std::vector<uint32_t> versions;
      size_t start = 0;
      while (start <= numbers.size()) {
        size_t comma = numbers.find(',', start);
        if (comma == std::string::npos) comma = numbers.size();
        uint32_t number = 0;
        if (!ParseNumber(numbers.substr(start, comma - start), &number)) {
          *error = arg + " takes NAME=V" + (arg == "--grant-table" ? ",..." : "") + ", not \"" + text + "\"";
          return false;
        }
        versions.push_back(number);
        start = comma + 1;
      }
      if (arg == "--report-version") {
        if (versions.size() != 1) {
          *error = "--report-version takes one version, not \"" + text + "\"";
          return false;
        }
        GrantOf(out, table)->reportedVersion = versions[0];
      } else {
        GrantOf(out, table)->versions = versions;
      }
    } else {
      *error = "unknown option " + arg;
      return false;
    }
  }
  if (out->help) return true;

  if (!words.empty() && words[0] == "export") {
    if (words.size() != 3) {
      *error = "export takes DOCUMENT.pdf OUTPUT.skp";
      return false;
    }
    out->document = words[1];
    out->saveAnswers.insert(out->saveAnswers.begin(), words[2]);
    out->actions.push_back("ADBE:Vantrell_Export");
    return true;
  }
  size_t first = 0;
  if (!words.empty() && (EndsWithPdf(words[0]) || IsExistingFile(words[0]))) {
    out->document = words[0];
    first = 1;
  }
  out->actions.assign(words.begin() + static_cast<std::ptrdiff_t>(first), words.end());
  return true;
}

}  // namespace acrohost
