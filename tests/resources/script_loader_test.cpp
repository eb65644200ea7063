// The script loader and the auxiliary line reader.
#include <gtest/gtest.h>

#include "script/script_state.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;

TEST(ScriptLoaderTest, SecondDataArchiveTakesPrecedence) {
  GameFixture game;
  game.Script("main", "\\from data\n").Script2("main", "\\from data2\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\from data2");
}

TEST(ScriptLoaderTest, RunsFromTheFirstDataArchiveAlone) {
  GameFixture game;
  game.Script("main", "\\from data\n");
  game.Start();
  EXPECT_EQ(game.RunToWait(), "\\from data");
}

TEST(ScriptLoaderTest, StoredBytesAreNegatedBack) {
  GameFixture game;
  game.Script("main", "\\x\n").ScriptBytes("table", {0x01, 0x7F, 0x80, 0x00, 'b', 0x00, 'c'});
  TForm1& engine = game.Start();
  ASSERT_TRUE(engine.LoadScript("TABLE", 2));
  int pos = 0;
  EXPECT_EQ(engine.ReadAuxLine(pos), std::string("\x01\x7F\x80"));
  EXPECT_EQ(engine.ReadAuxLine(pos), "b");
  EXPECT_EQ(engine.ReadAuxLine(pos), "c");  // the last line needs no NUL
  EXPECT_TRUE(engine.AuxAtEnd(pos));
  EXPECT_EQ(engine.ReadAuxLine(pos), "");
}

TEST(ScriptLoaderTest, MissingScriptChangesNothing) {
  GameFixture game;
  game.Script("main", "\\x\n");
  TForm1& engine = game.Start();
  game.RunToWait();
  int pc = engine.script.pc;
  EXPECT_FALSE(engine.LoadScript("nothing", 1));
  EXPECT_EQ(engine.script.pc, pc);
  EXPECT_EQ(engine.script.loadedScript, "main");
}

TEST(ScriptLoaderTest, EntryLargerThanTheBufferIsRefused) {
  GameFixture game;
  game.Script("main", "\\x\n").ScriptBytes("big", std::vector<uint8_t>(kScriptBufferSize + 1, 'a'));
  game.ScriptBytes("fits", std::vector<uint8_t>(kScriptBufferSize, 'a'));
  TForm1& engine = game.Start();
  EXPECT_FALSE(engine.LoadScript("big", 2));
  EXPECT_TRUE(engine.LoadScript("fits", 2));
  EXPECT_EQ(engine.script.auxSize, static_cast<int>(kScriptBufferSize));
}

TEST(ScriptLoaderTest, LoadingTheScenarioResetsItsPosition) {
  GameFixture game;
  game.Script("main", "\\x\n").Script("other", "\\y\n");
  TForm1& engine = game.Start();
  game.RunToWait();
  engine.vars.S(10) = 77;
  ASSERT_TRUE(engine.LoadScript("Other", 1));
  EXPECT_EQ(engine.script.pc, 0);
  EXPECT_EQ(engine.vars.S(10), 0);
  EXPECT_TRUE(engine.ctl.scriptRunning);
  EXPECT_EQ(engine.script.loadedScript, "Other");
}

TEST(ScriptLoaderTest, LoadingEmptiesTheTextBeingInserted) {
  GameFixture game;
  game.Script("main", "@string 3 Kaede\n[$3]\n\\x\n").Script("other", "\\y\n");
  TForm1& engine = game.Start();
  engine.settings.Delay = 0;
  game.Host().RunFrames(2);
  ASSERT_FALSE(engine.text.insertText.empty());  // the name is being typed
  ASSERT_TRUE(engine.LoadScript("other", 1));
  EXPECT_EQ(engine.text.insertText, "");
  engine.text.insertText = "left";
  EXPECT_FALSE(engine.LoadScript("missing", 1));
  EXPECT_EQ(engine.text.insertText, "");
}

TEST(ScriptLoaderTest, AScenarioNameLongerThanTwentyNineBytesIsRefused) {
  const std::string thirty(30, 't');
  GameFixture game;
  game.Script("main", "\\x\n").Script(thirty, "\\y\n");
  TForm1& engine = game.Start();
  game.RunToWait();
  EXPECT_FALSE(engine.LoadScript(thirty, 1));
  EXPECT_EQ(engine.script.loadedScript, "main");
  // A table keeps no name: it loads.
  EXPECT_TRUE(engine.LoadScript(thirty, 2));
}

}  // namespace
}  // namespace torvel
