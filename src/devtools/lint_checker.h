#pragma once
// The parts of the game checker: one object that holds the game's archives in an engine object
// that is never started (so names resolve through the engine's own lookups) and collects the
// findings of the script and table checks.
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devtools/game_lint.h"
#include "graphics/picture_definitions.h"
#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace torvel {

// The lines of a script or table as stored (NUL-ended; a last line without its NUL counts).
std::vector<std::string_view> LintLines(std::span<const uint8_t> body);

class GameChecker {
 public:
  explicit GameChecker(const std::filesystem::path& gameDir);
  LintResult Run();

  // ---- names, resolved as the engine resolves them (lint_checker.cpp) ----
  // A script or table from the data archives (the second first), as plain bytes; nothing when
  // neither has it or it cannot be read. `scenario`: loaded as the running script, whose name the
  // interpreter keeps at most 29 bytes of.
  const std::vector<uint8_t>* Body(std::string_view name, bool scenario = false);
  // A background or parts picture: solid colours ("S...") always, composites ("#NAME") when
  // `_bgset` defines them, other names when an archive has them.
  bool BackgroundExists(std::string_view name) const;
  // A sprite position: composites when `_sprset` defines them, other names when an archive has
  // the picture.
  bool SpriteExists(std::string_view name) const;
  bool ImageExists(std::string_view name) const { return engine_.ImageExists(name); }
  bool SoundExists(std::string_view name) const { return engine_.VoiceExists(name); }
  bool MusicExists(int track) const;
  bool AnimationExists(std::string_view name) const;
  bool MovieExists(std::string_view path) const;

  // A finding in a script or table; `where` is shown as the archive index keeps names (upper case).
  void Report(std::string_view where, int line, std::string_view kind, std::string_view detail);

  // ---- scripts (lint_scripts.cpp) ----
  void CheckScript(const std::string& name, std::span<const uint8_t> body);
  // Names that `roll` (false) and `sroll` (true) load: staff-roll scripts, not scenario scripts.
  void CollectRollScripts(std::span<const uint8_t> body, std::map<std::string, bool>& rolls) const;
  // A staff-roll script: the pictures its lines show.
  void CheckRollScript(const std::string& name, std::span<const uint8_t> body, bool slide);

  // ---- tables (lint_tables.cpp) ----
  void CheckTables();

 private:
  void CheckArchives();
  void CheckLine(const std::string& script, std::span<const uint8_t> body, int number, std::string_view line,
                 int depth);
  void CheckCommand(const std::string& script, std::span<const uint8_t> body, int number, std::string_view line,
                    int depth);
  void CheckJump(const std::string& script, std::span<const uint8_t> body, int number, std::string_view label);
  void CheckScriptTarget(const std::string& script, int number, std::string_view name, std::string_view label,
                         bool scenario);
  void CheckConfig();
  void CheckDefinitions(std::string_view table, const PictureDefinitions& list);
  void CheckViewTable();
  void CheckSelectionTrees();
  void CheckRecollectionTable();
  void CheckTitleMapTable();

  std::filesystem::path gameDir_;
  HeadlessHost host_;
  TForm1 engine_;
  std::map<std::string, std::optional<std::vector<uint8_t>>> bodies_;
  std::vector<LintFinding> findings_;
};

}  // namespace torvel
