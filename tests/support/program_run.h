#pragma once
// Runs a shell command line as an author or player would and keeps what it printed.
#include <string>

namespace torvel::testing {

struct ProgramRun {
  int code;            // exit status, or -1 when the program did not end normally
  std::string output;  // what the command line sends to its standard output (redirect to choose)
};

ProgramRun RunCommand(const std::string& commandLine);

}  // namespace torvel::testing
