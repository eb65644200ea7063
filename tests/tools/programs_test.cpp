// The programs as an author runs them: torvel --headless on the demo game, and tvx's archive
// commands on files it made itself.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/instance_lock.h"
#include "resources/archive.h"
#include "resources/file_io.h"
#include "support/built_demo.h"
#include "support/game_fixture.h"
#include "support/program_run.h"

namespace torvel {
namespace {

const std::string kTorvel = std::string(TORVEL_BINARY_DIR) + "/src/torvel";
const std::string kTvx = std::string(TORVEL_BINARY_DIR) + "/tools/tvx";
const std::string kDemo = std::string(TORVEL_BINARY_DIR) + "/demo/game";

using testing::ProgramRun;

// Standard output and error together.
ProgramRun Execute(const std::string& command) { return testing::RunCommand(command + " 2>&1"); }

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(TorvelHeadlessTest, PlaysTheDemoAndWritesPictureAndState) {
  testing::TempFolder out;
  std::filesystem::path input = out.Path() / "input.txt";
  ASSERT_TRUE(WriteFileAtomically(
      // "はじめから" on the title menu, then a click past the story's first page into the notice board.
      input, std::string_view("2000 click 400 88\n2100 state " + (out.Path() / "mid.json").string() +
                              "\n6000 click 400 560\n")));
  // A copy, since the program keeps its saves beside a game it can write to.
  testing::CopyBuiltDemo("game", out.Path() / "game");
  ProgramRun run = Execute("XDG_CONFIG_HOME=" + out.Path().string() + " " + kTorvel + " --headless --seed 7 --input " +
                           input.string() + " --shot " + (out.Path() / "end.png").string() + " --state " +
                           (out.Path() / "end.json").string() + " " + (out.Path() / "game").string());
  ASSERT_EQ(run.code, 0) << run.output;
  std::string state = ReadText(out.Path() / "end.json");
  for (const char* key :
       {"\"script\"", "\"current\"", "\"pc\"", "\"callDepth\"", "\"replayMode\"", "\"V\"", "\"S\"", "\"G\"", "\"E\"",
        "\"F\"", "\"T\"", "\"waitKind\"", "\"screenMode\"", "\"frame\"", "\"tick\""}) {
    EXPECT_NE(state.find(key), std::string::npos) << key;
  }
  EXPECT_NE(state.find("\"callDepth\":1"), std::string::npos) << state.substr(0, 200);
  EXPECT_FALSE(ReadText(out.Path() / "mid.json").empty());
  std::vector<uint8_t> png;
  ASSERT_TRUE(ReadWholeFile(out.Path() / "end.png", png));
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
}

TEST(TorvelHeadlessTest, RunsAGivenNumberOfFrames) {
  testing::TempFolder out;
  testing::CopyBuiltDemo("game", out.Path() / "game");
  ProgramRun run = Execute(kTorvel + " --headless --frames 7 --state " + (out.Path() / "s.json").string() + " " +
                           (out.Path() / "game").string());
  ASSERT_EQ(run.code, 0) << run.output;
  EXPECT_NE(ReadText(out.Path() / "s.json").find("\"frame\":7,"), std::string::npos);
}

TEST(TorvelHeadlessTest, MissingGameDataFailsWithTheMessage) {
  testing::TempFolder empty;
  ProgramRun run = Execute(kTorvel + " --headless " + empty.Path().string());
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.output.find("Error!: ゲームデータを読み込めません。"), std::string::npos) << run.output;
}

TEST(TorvelHeadlessTest, BadInputLineIsReportedAndExitsTwo) {
  testing::TempFolder out;
  std::filesystem::path input = out.Path() / "input.txt";
  ASSERT_TRUE(WriteFileAtomically(input, std::string_view("10 click 1 2\n20 dance\n")));
  ProgramRun run = Execute(kTorvel + " --headless --input " + input.string() + " " + kDemo);
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.output.find("line 2"), std::string::npos) << run.output;
}

TEST(TorvelWindowTest, SecondWindowedCopyExitsAtOnceWithCodeOne) {
  testing::TempFolder runtime;
  InstanceLock running(runtime.Path());
  ASSERT_TRUE(running.Held());
  ProgramRun run =
      Execute("XDG_RUNTIME_DIR=" + runtime.Path().string() + " QT_QPA_PLATFORM=offscreen " + kTorvel + " " + kDemo);
  if (run.code == 2 && run.output.find("without the window") != std::string::npos) GTEST_SKIP();
  EXPECT_EQ(run.code, 1) << run.output;
  EXPECT_EQ(run.output, "");
}

TEST(TvxTest, PackDataRefusesTextItCannotKeepNamingTheFileAndLine) {
  struct Case {
    const char* text;
    const char* message;  // empty: packed
  };
  for (const Case& c :
       {Case{"\xEF\xBB\xBF\xE3\x81\x82\r\n@end\r\n", ""}, Case{"ok\n\xFF bad\n", "main.txt:2: not UTF-8 text"},
        Case{"ok\n\n\xE3\x81 cut\n", "main.txt:3: not UTF-8 text"},
        Case{"\xF0\x9F\x98\x80\n", "main.txt:1: a character that Shift-JIS cannot hold"}}) {
    SCOPED_TRACE(c.message);
    testing::TempFolder work;
    const std::filesystem::path src = work.Path() / "src";
    std::filesystem::create_directories(src);
    ASSERT_TRUE(WriteFileAtomically(src / "main.txt", std::string_view(c.text)));
    const std::filesystem::path out = work.Path() / "tq_data.tvx";
    ProgramRun run = Execute(kTvx + " pack-data " + src.string() + " " + out.string());
    if (std::string(c.message).empty()) {
      EXPECT_EQ(run.code, 0) << run.output;
      EXPECT_TRUE(std::filesystem::exists(out));
    } else {
      EXPECT_EQ(run.code, 1);
      EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
      EXPECT_FALSE(std::filesystem::exists(out));
    }
  }
}

TEST(TvxTest, PackListExtractRoundTrip) {
  testing::TempFolder work;
  std::filesystem::path src = work.Path() / "src";
  std::filesystem::create_directories(src);
  ASSERT_TRUE(WriteFileAtomically(src / "main.txt", std::string_view("あ\n@end\n")));
  ASSERT_TRUE(WriteFileAtomically(src / "raw.bin", std::string_view("\x01\x02", 2)));

  ProgramRun data = Execute(kTvx + " pack-data " + src.string() + " " + (work.Path() / "tq_data.tvx").string());
  ASSERT_EQ(data.code, 0) << data.output;
  ArchiveIndex index = ReadArchiveIndex(work.Path() / "tq_data.tvx", ArchiveLayout::Data);
  ASSERT_EQ(index.count, 2u);
  EXPECT_EQ(index.names[0], "MAIN");
  std::vector<uint8_t> body;
  ASSERT_TRUE(ReadEntry(index, 0, body));
  NegateBytes(body);
  EXPECT_EQ(body, (std::vector<uint8_t>{0x82, 0xA0, 0, '@', 'e', 'n', 'd', 0}));

  ProgramRun general =
      Execute(kTvx + " pack --name-length 16 " + src.string() + " " + (work.Path() / "g.tvx").string());
  ASSERT_EQ(general.code, 0) << general.output;
  ArchiveIndex g = ReadArchiveIndex(work.Path() / "g.tvx", ArchiveLayout::General);
  EXPECT_EQ(g.nameLength, 16u);

  ProgramRun list = Execute(kTvx + " list " + (work.Path() / "g.tvx").string());
  ASSERT_EQ(list.code, 0);
  EXPECT_NE(list.output.find("RAW.BIN " + std::to_string(g.offsets[1]) + " 2"), std::string::npos) << list.output;

  ProgramRun extract =
      Execute(kTvx + " extract " + (work.Path() / "tq_data.tvx").string() + " " + (work.Path() / "out").string());
  ASSERT_EQ(extract.code, 0) << extract.output;
  std::vector<uint8_t> raw;
  ASSERT_TRUE(ReadWholeFile(work.Path() / "out" / "RAW.BIN", raw));
  EXPECT_EQ(raw, (std::vector<uint8_t>{1, 2}));
}

TEST(TvxTest, RefusesANameThatDoesNotFit) {
  testing::TempFolder work;
  std::filesystem::create_directories(work.Path() / "src");
  ASSERT_TRUE(WriteFileAtomically(work.Path() / "src" / std::string(40, 'n'), std::string_view("x")));
  ProgramRun run = Execute(kTvx + " pack " + (work.Path() / "src").string() + " " + (work.Path() / "g.tvx").string());
  EXPECT_NE(run.code, 0);
  EXPECT_FALSE(std::filesystem::exists(work.Path() / "g.tvx"));
}

// A folder or a pipe given where a file is expected: refused with the path and the reason, never
// an abort (or, for a pipe, a wait for a writer that never comes).
TEST(ProgramInputTest, FoldersAndPipesWhereAFileIsExpectedAreRefused) {
  testing::TempFolder work;
  const std::string dir = (work.Path() / "dir").string();
  const std::string pipe = (work.Path() / "pipe").string();
  std::filesystem::create_directory(dir);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string out = (work.Path() / "out").string();
  struct Case {
    std::string command;  // IN stands for the folder or the pipe
    int code;
    std::string program;
  };
  const Case cases[] = {
      {kTvx + " pic encode IN " + out, 1, "tvx"},
      {kTvx + " pic decode IN " + out, 1, "tvx"},
      {kTvx + " wady encode --type a IN " + out, 1, "tvx"},
      {kTvx + " wady decode --type b IN " + out, 1, "tvx"},
      {kTorvel + " --headless --input IN " + kDemo, 2, "torvel"},
  };
  for (const Case& c : cases) {
    for (const auto& [in, reason] : {std::pair{dir, "is a folder"}, std::pair{pipe, "is not a regular file"}}) {
      std::string command = c.command;
      command.replace(command.find("IN"), 2, in);
      SCOPED_TRACE(command);
      ProgramRun run = Execute("timeout 60 " + command);
      EXPECT_EQ(run.code, c.code);
      EXPECT_EQ(run.output, c.program + ": " + in + ": " + reason + "\n");
    }
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

// Games that cannot start, run headless: the message on standard error and exit code 1.
TEST(TorvelHeadlessTest, AGameThatCannotBeReadExitsOneWithTheFileNamed) {
  testing::GameFixture damaged;
  damaged.Script("main", "\\wait\n");
  damaged.Write();
  const std::filesystem::path data = damaged.Dir() / "tq_data.tvx";
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(data, bytes));
  bytes[3] = 0x40;  // the entry count claims more than the file holds
  ASSERT_TRUE(WriteFileAtomically(data, bytes));
  ProgramRun run = Execute(kTorvel + " --headless " + damaged.Dir().string());
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.output.find("Error!: ゲームデータを読み込めません。\n" + data.string() +
                            ": the archive index runs past the end of the file"),
            std::string::npos)
      << run.output;

  testing::GameFixture large;
  large.ScriptBytes("main", std::vector<uint8_t>(0x40001, 0));
  large.Write();
  run = Execute(kTorvel + " --headless " + large.Dir().string());
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.output.find("The script main is larger than 262144 bytes and cannot be loaded."), std::string::npos)
      << run.output;
}

TEST(TorvelHeadlessTest, SettingsThatCannotBeSavedAreReportedAndTheRunGoesOn) {
  testing::GameFixture game;
  game.Script("main", "@gameclr\n\\wait\n");
  game.Write();
  const std::filesystem::path notAFolder = game.Dir() / "xdg";
  ASSERT_TRUE(WriteFileAtomically(notAFolder, std::string_view("x")));
  ProgramRun run =
      Execute("XDG_CONFIG_HOME=" + notAFolder.string() + " " + kTorvel + " --headless " + game.Dir().string());
  EXPECT_EQ(run.code, 0);
  // The first write that fails is start-up's write of the game's global variables.
  EXPECT_NE(run.output.find("Torvel: The settings could not be saved (" +
                            (notAFolder / "torvel" / "@default.ini").string() + ": Not a directory)"),
            std::string::npos)
      << run.output;
}

}  // namespace
}  // namespace torvel
