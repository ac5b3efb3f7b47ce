// The outside controls of the stand-in 3D library: its environment variables and its call log
// (documented in StandInControl.h).
#ifndef VANTRELL_A3DLIB_CONTROL_H
#define VANTRELL_A3DLIB_CONTROL_H

#include <stdint.h>

#include <string>

namespace a3d {

// The version to report: true with both numbers set, or false when the call must fail.
bool ReportedVersion(int* major, int* minor);
// Whether A3DDllInitialize must fail.
bool InitialisationRefused();
// Whether a failure rule matches this call: the `callNumber`-th call of `entryPoint` since load,
// given an entity named `entityName` (null when the call takes no entity).
bool CallFails(const char* entryPoint, uint32_t callNumber, const std::string* entityName);

// Whether the call log is on; checked before building any line.
bool LogEnabled();
// Appends one line to the call log, when it is on.
void LogLine(const std::string& line);
// A text in double quotes, with \" \\ and \xNN escapes.
std::string Quoted(const std::string& text);

}  // namespace a3d

#endif
