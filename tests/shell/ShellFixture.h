// The shell linked into the test, entered by an in-process host through its own entry point.
#ifndef VANTRELL_TESTS_SHELL_SHELLFIXTURE_H
#define VANTRELL_TESTS_SHELL_SHELLFIXTURE_H

#include <string>
#include <vector>

#include "HostFixture.h"

namespace testing_support {

// Forgets the host tables, extension ID and module instance a set-up stored, as a fresh module
// load would.
void ResetPlugInState();

// Resets the plug-in's state, then has the host walk PlugInMain, set-up, handshake and the stages.
// The module instance is the test program, which carries the toolbar bitmap too, unless another
// is given.
class EnteredShell {
 public:
  explicit EnteredShell(const acrohost::HostOptions& options = acrohost::HostOptions());
  EnteredShell(const acrohost::HostOptions& options, void* moduleInstance);
  ~EnteredShell();
  HostFixture& host() { return m_host; }
  bool entered() const { return m_entered; }
  const std::string& error() const { return m_error; }

  // The desktop's alerts since the last reset, in order.
  static std::vector<std::string> Alerts();
  static std::vector<std::string> EventsOfKind(int kind);

 private:
  HostFixture m_host;
  bool m_entered;
  std::string m_error;
};

}  // namespace testing_support

#endif
