#include "support/program_run.h"

#include <sys/wait.h>

#include <cstdio>

namespace torvel::testing {

ProgramRun RunCommand(const std::string& commandLine) {
  ProgramRun run{-1, ""};
  FILE* pipe = popen(commandLine.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace torvel::testing
