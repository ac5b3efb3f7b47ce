// Runs a program of the build as a separate process, its output captured in files.
#ifndef VANTRELL_TESTS_RUNPROGRAM_H
#define VANTRELL_TESTS_RUNPROGRAM_H

#include <string>
#include <vector>

namespace testing_support {

// Runs the program with the arguments, each passed as it is, in the current folder; its standard
// output and error go to the files (replaced). Waits for it and returns its exit status, or -1
// when it could not be started or did not exit normally.
int RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& outFile,
               const std::string& errFile);

}  // namespace testing_support

#endif
