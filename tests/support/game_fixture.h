#pragma once
// Builds a small game folder from inline scripts and entries, with the same archive writer as
// the authoring tool, and runs the real engine on the headless host.
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_host.h"
#include "shell/engine.h"

namespace torvel::testing {

// A temporary folder removed at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Headless input lines whose times count from `now` ("200 click 10 20" → now + 200), as the
// input file gives them.
std::string InputLinesFrom(uint32_t now, const std::string& lines);

class GameFixture {
 public:
  GameFixture();

  // A script or table of "tq_data.tvx" (or "tq_data2.tvx"), written as UTF-8 text.
  GameFixture& Script(const std::string& name, const std::string& utf8Text);
  GameFixture& Script2(const std::string& name, const std::string& utf8Text);
  // A data-archive entry given as its plain bytes (NUL line ends included).
  GameFixture& ScriptBytes(const std::string& name, std::vector<uint8_t> body);
  // An entry of a general-layout archive such as "tq_gra.tvx", stored as given.
  GameFixture& Entry(const std::string& archive, const std::string& name, std::vector<uint8_t> body);
  // Leaves out an archive that is otherwise always written (tq_data.tvx, tq_gra.tvx).
  GameFixture& Without(const std::string& archive);
  // Tells the engine whether files can be created in the game folder (probed when not told).
  GameFixture& GameDirWritable(bool writable);

  // Writes the archives into the game folder.
  void Write();
  // Writes the game, creates the engine on a headless host and runs FormCreate.
  TForm1& Start(uint32_t seed = 1);

  const std::filesystem::path& Dir() const { return folder_.Path(); }
  HeadlessHost& Host() { return *host_; }
  TForm1& Engine() { return *engine_; }

  // Runs until the engine waits for the player; returns the line it stopped at.
  std::string RunToWait();
  // A left click at the middle of the picture, delivered at once.
  void Click();
  // The pointer moved to (x, y) on the picture, delivered at once.
  void Move(int x, int y);
  // The pointer moved to (x, y), then `button` pressed and released there, delivered at once (the
  // click debounce is not waited out).
  void Press(int x, int y, MouseButton button = MouseButton::Left);

 private:
  TempFolder folder_;
  std::map<std::string, std::vector<std::pair<std::string, std::vector<uint8_t>>>> archives_;
  std::vector<std::string> without_;
  std::optional<bool> gameDirWritable_;
  std::unique_ptr<HeadlessHost> host_;
  std::unique_ptr<TForm1> engine_;
};

}  // namespace torvel::testing
