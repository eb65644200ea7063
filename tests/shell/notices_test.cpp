// What the player is told when a game cannot be read whole or its settings cannot be kept: a
// main script too large to load ends the start, other troubles are told once and the game goes
// on.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

// A script of `size` bytes: comment lines up to the size, then a click wait.
std::vector<uint8_t> ScriptOfSize(size_t size) {
  const std::string wait = "\\wait";
  std::vector<uint8_t> body(size - wait.size() - 1, ';');
  for (size_t i = 79; i < body.size(); i += 80) body[i] = 0;
  body.back() = 0;
  body.insert(body.end(), wait.begin(), wait.end());
  body.push_back(0);
  return body;
}

TEST(ScriptSizeNoticeTest, AMainScriptTooLargeToLoadEndsTheStartWithItsName) {
  GameFixture game;
  game.ScriptBytes("main", ScriptOfSize(0x40001));
  TForm1& engine = game.Start();
  game.Host().RunFrames(3);
  EXPECT_TRUE(game.Host().Closed());
  EXPECT_TRUE(engine.ctl.startupFailed);
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  EXPECT_EQ(game.Host().Messages()[0].text, "The script main is larger than 262144 bytes and cannot be loaded.");
}

TEST(ScriptSizeNoticeTest, AMainScriptThatFillsTheBufferExactlyRuns) {
  GameFixture game;
  game.ScriptBytes("main", ScriptOfSize(0x40000));
  TForm1& engine = game.Start();
  EXPECT_EQ(game.RunToWait(), "\\wait");
  EXPECT_FALSE(engine.ctl.startupFailed);
  EXPECT_TRUE(game.Host().Messages().empty());
}

TEST(ScriptSizeNoticeTest, OtherScriptsTooLargeAreNamedOnceAndTheStoryGoesOn) {
  GameFixture game;
  game.Script("main", "@call big\n@chain big\n\\after\n").ScriptBytes("big", ScriptOfSize(0x50000));
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\after");
  EXPECT_FALSE(game.Host().Closed());
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  EXPECT_EQ(game.Host().Messages()[0].caption, "Torvel");
  EXPECT_EQ(game.Host().Messages()[0].text, "The script big is larger than 262144 bytes and cannot be loaded.");
}

TEST(SettingsNoticeTest, SettingsThatCannotBeSavedAreToldOnceAndKeptInMemory) {
  GameFixture game;
  game.Script("main", "@gameclr\n@gameclr\n\\wait\n");
  game.Write();
  // The settings folder's place is taken by a file.
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "config", std::string_view("not a folder")));
  TForm1& engine = game.Start();
  // An answer queued for a question is not taken by the notice, which has OK alone.
  game.Host().QueueAnswer(MessageResult::Cancel);
  EXPECT_EQ(game.RunToWait(), "\\wait");
  EXPECT_EQ(engine.vars.S(100), 2);
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  const std::string text = SjisToUtf8(game.Host().Messages()[0].text);
  EXPECT_EQ(game.Host().Messages()[0].caption, "Torvel");
  EXPECT_EQ(text.rfind("The settings could not be saved (" +
                           (game.Dir() / "config" / "software" / "grevholt.ini").string() + ": Not a directory).",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find("Make sure that " + (game.Dir() / "config").string() + " can be written"), std::string::npos)
      << text;
  EXPECT_FALSE(engine.FormCloseQuery());  // the quit question, answered Cancel
}

// Fontconfig with a configuration of the test's own: no fonts, or only a face without kana.
class FontNoticeTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("FONTCONFIG_FILE")) saved_ = old;
    std::string dirs = GetParam();
    if (!dirs.empty() && !std::filesystem::is_directory(dirs)) GTEST_SKIP() << dirs << " is not installed";
    const std::filesystem::path conf = folder_.Path() / "fonts.conf";
    ASSERT_TRUE(WriteFileAtomically(
        conf, "<?xml version=\"1.0\"?>\n<fontconfig>" + (dirs.empty() ? std::string() : "<dir>" + dirs + "</dir>") +
                  "<cachedir>" + (folder_.Path() / "cache").string() + "</cachedir></fontconfig>\n"));
    ::setenv("FONTCONFIG_FILE", conf.c_str(), 1);
  }
  void TearDown() override {
    if (saved_) {
      ::setenv("FONTCONFIG_FILE", saved_->c_str(), 1);
    } else {
      ::unsetenv("FONTCONFIG_FILE");
    }
  }

 private:
  testing::TempFolder folder_;
  std::optional<std::string> saved_;
};

TEST_P(FontNoticeTest, TheMissingFontIsToldOnceWithItsPackageAndTheGameGoesOn) {
  GameFixture game;
  game.Script("main", "あいう\n\\wait\n");
  TForm1& engine = game.Start();
  EXPECT_EQ(game.RunToWait(), "\\wait");
  engine.ResetGlyphCache();  // the font settings changed again: not told twice
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  EXPECT_EQ(game.Host().Messages()[0].caption, "Torvel");
  EXPECT_NE(game.Host().Messages()[0].text.find("sudo apt install fonts-ipafont-gothic"), std::string::npos);
  EXPECT_FALSE(game.Host().Closed());
}

INSTANTIATE_TEST_SUITE_P(Fonts, FontNoticeTest, ::testing::Values("", "/usr/share/fonts/truetype/dejavu"),
                         [](const auto& info) { return info.index == 0 ? std::string("NoFonts") : "LatinOnly"; });

}  // namespace
}  // namespace torvel
