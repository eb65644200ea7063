#pragma once
// A folder of the fuzz target's own for what its engine may write (settings, save data), made
// at the first use and removed when the target exits, so that runs leave no files behind.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace torvel::fuzzing {

inline const std::filesystem::path& ScratchFolder() {
  // Never destroyed: the clean-up at exit still needs the name, whatever order the exit
  // handlers and the destructors of statics run in.
  static const std::filesystem::path* const folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "torvel-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    return new std::filesystem::path(pattern);
  }();
  static const bool cleanUpAtExit = [] {
    return std::atexit([] {
             std::error_code ec;
             std::filesystem::remove_all(*folder, ec);
           }) == 0;
  }();
  (void)cleanUpAtExit;
  return *folder;
}

}  // namespace torvel::fuzzing
