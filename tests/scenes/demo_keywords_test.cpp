// The demo shows every command and every text tag at least once: the scripts of both demos, read
// as the interpreter reads them, use each keyword of the engine's command table and each tag of
// a text line.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "resources/file_io.h"
#include "script/command_table.h"

namespace torvel {
namespace {

const std::filesystem::path kSource = std::filesystem::path(TORVEL_SOURCE_DIR) / "demo";

// Every line of every script of the demo and the plain demo, without line ends.
std::vector<std::string> DemoLines() {
  std::vector<std::string> lines;
  for (const char* folder : {"data", "plain/data"}) {
    for (const auto& entry : std::filesystem::directory_iterator(kSource / folder)) {
      std::vector<uint8_t> bytes;
      EXPECT_TRUE(ReadWholeFile(entry.path(), bytes)) << entry.path();
      std::string line;
      for (uint8_t b : bytes) {
        if (b == '\n') {
          lines.push_back(line);
          line.clear();
        } else if (b != '\r') {
          line.push_back(static_cast<char>(b));
        }
      }
      lines.push_back(line);
    }
  }
  return lines;
}

bool IsCommandLine(std::string_view line) { return !line.empty() && (line[0] == '@' || line[0] == '*'); }

// Text lines: not a command, calculation, label, comment, speaker, block or wait line.
bool IsTextLine(std::string_view line) {
  return !line.empty() && std::string_view("@*!:;>{}\\=").find(line[0]) == std::string_view::npos;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

TEST(DemoKeywordsTest, EveryKeywordOfTheCommandTableIsInSomeScript) {
  const std::vector<std::string> lines = DemoLines();
  ASSERT_GT(lines.size(), 100u);
  std::set<int> used;
  for (const std::string& line : lines) {
    if (IsCommandLine(line)) used.insert(MatchCommand(line));
  }
  std::string missing;
  for (int i = 0; i < kCommandCount; ++i) {
    if (!used.count(i)) missing += " \"" + std::string(CommandTable()[static_cast<size_t>(i)].keyword) + "\"";
  }
  EXPECT_EQ(missing, "") << "keywords in none of the demo's scripts";
}

TEST(DemoKeywordsTest, EveryTextTagAndControlCharacterIsInSomeScript) {
  // The tags in the order the message processor compares them; the first match wins.
  const std::vector<std::string> tags = {"gra", "1", "2", "col", "wait", "cv ", "clrb", "delay", "?", "$", "spr", "bg"};
  // Waits, new pages, name insertion and ruby, as Shift-JIS text written in UTF-8 sources.
  const std::vector<std::string> controls = {"%", "▼", "▽", "〓", "＄", "<"};
  std::set<std::string> usedTags, usedControls;
  for (const std::string& line : DemoLines()) {
    if (!IsTextLine(line)) continue;
    for (size_t open = line.find('['); open != std::string::npos; open = line.find('[', open + 1)) {
      const std::string name = Lower(std::string_view(line).substr(open + 1));
      for (const std::string& tag : tags) {
        if (name.compare(0, tag.size(), tag) == 0) {
          usedTags.insert(tag);
          break;
        }
      }
    }
    for (const std::string& c : controls) {
      if (line.find(c) != std::string::npos) usedControls.insert(c);
    }
  }
  std::string missing;
  for (const std::string& tag : tags) {
    if (!usedTags.count(tag)) missing += " [" + tag;
  }
  for (const std::string& c : controls) {
    if (!usedControls.count(c)) missing += " " + c;
  }
  EXPECT_EQ(missing, "") << "text tags and control characters in none of the demo's scripts";
}

}  // namespace
}  // namespace torvel
