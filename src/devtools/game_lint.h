#pragma once
// The game checker behind `torvel --lint GAME_DIR`: reads a game's archives (and nothing else is
// touched: no window, no sound, no lock, no file written) and reports what the engine would pass
// over silently while playing: commands it does not know, arguments that are missing, conditions
// and assignments it cannot read, blocks that do not close, and names of labels, scripts,
// pictures, sounds, animations and files that nothing answers to.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace torvel {

struct LintFinding {
  std::string where;   // the script or table (entry name, UTF-8), or the archive file name
  int line = 0;        // counted from 1; 0 for an archive
  std::string kind;    // "unknown command", "missing picture", "bad archive" ...
  std::string detail;  // UTF-8

  // "SCRIPT:LINE: KIND: DETAIL", or "FILE: bad archive: DETAIL".
  std::string Text() const;
};

struct LintResult {
  bool gameFound = false;             // false: no data archive in the folder
  std::vector<LintFinding> findings;  // sorted by place, then line, then text; no duplicates
};

LintResult LintGame(const std::filesystem::path& gameDir);

// Prints one line per finding to `out` and a reason to `err` when there is no game; returns the
// program's exit status: 0 clean, 1 findings, 2 no game.
int RunLint(const std::filesystem::path& gameDir, std::ostream& out, std::ostream& err);

}  // namespace torvel
