#pragma once
// `torvel --headless`: plays a game on the headless host and writes the picture and the state.
#include <filesystem>
#include <optional>
#include <string>

namespace torvel {

struct HeadlessRunOptions {
  std::filesystem::path gameDir;
  std::optional<std::filesystem::path> inputFile;
  std::optional<int> frames;  // idle frames to run; else until the input is used up and the story waits
  std::optional<std::filesystem::path> shotFile;
  std::optional<std::filesystem::path> stateFile;
  std::optional<uint32_t> seed;
  std::filesystem::path settingsFolder;
  std::filesystem::path dataFolder;     // save files when the game's folder cannot be written
  std::optional<bool> gameDirWritable;  // unset: probed
};

// Returns the process exit code: 0 done, 1 the game could not start, 2 bad input file or a
// file that could not be written.
int RunHeadless(const HeadlessRunOptions& options);

}  // namespace torvel
