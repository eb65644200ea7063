// The programs as the Debian package installs them: the bundled demo found beside the
// executable, saves kept out of the installed tree, and the package's desktop entry and manual
// pages agreeing with the programs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "support/game_fixture.h"
#include "support/program_run.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;

const fs::path kBuild = TORVEL_BINARY_DIR;
const fs::path kSource = TORVEL_SOURCE_DIR;

using testing::ProgramRun;

// Standard output only.
ProgramRun RunProgram(const std::string& command) { return testing::RunCommand(command + " 2>/dev/null"); }

std::string ReadText(const fs::path& file) {
  std::ifstream in(file);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) names.insert(entry.path().string());
  return names;
}

// A copy of the program under PREFIX/bin, with the built demo under PREFIX/share/torvel/demo
// when `withDemo`: the layout of the package.
struct Installation {
  testing::TempFolder root;
  fs::path prefix = root.Path() / "usr";
  fs::path torvel = prefix / "bin" / "torvel";
  fs::path demo = prefix / "share" / "torvel" / "demo";
  fs::path home = root.Path() / "home";

  explicit Installation(bool withDemo) {
    fs::create_directories(prefix / "bin");
    fs::copy_file(kBuild / "src" / "torvel", torvel);
    if (!withDemo) return;
    fs::create_directories(demo);
    for (const auto& entry : fs::directory_iterator(kBuild / "demo" / "game")) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("tq_", 0) == 0) fs::copy_file(entry.path(), demo / name);
    }
  }

  // Runs the installed program as a player whose folders are under `home`.
  ProgramRun Play(const std::string& arguments) const {
    return RunProgram("env XDG_CONFIG_HOME=" + (home / "config").string() +
                      " XDG_DATA_HOME=" + (home / "data").string() + " " + torvel.string() + " " + arguments);
  }
};

TEST(InstallationTest, TheInstalledDemoPlaysWithoutAGameFolderAndKeepsItsSavesOutOfTheInstallation) {
  Installation installed(true);
  const std::set<std::string> before = FilesUnder(installed.prefix);

  ProgramRun paths = installed.Play("--paths");
  ASSERT_EQ(paths.code, 0) << paths.output;
  EXPECT_NE(paths.output.find("game:         " + installed.demo.string()), std::string::npos) << paths.output;
  EXPECT_NE(paths.output.find("saves:        " + (installed.home / "data" / "torvel").string()), std::string::npos)
      << paths.output;

  ProgramRun play = installed.Play("--headless --frames 50");
  ASSERT_EQ(play.code, 0);
  // The folder could be written (the tests may run as root), yet nothing lands in it.
  EXPECT_EQ(FilesUnder(installed.prefix), before);
  bool globalDataKept = false;
  for (const auto& entry : fs::recursive_directory_iterator(installed.home / "data" / "torvel")) {
    globalDataKept |= entry.path().filename() == "save0.dat";
  }
  EXPECT_TRUE(globalDataKept);
}

TEST(InstallationTest, WithoutAnInstalledDemoTheBuildTreesDemoIsPlayedAndWithNeitherTheProgramSaysSo) {
  ProgramRun fromBuildTree = RunProgram((kBuild / "src" / "torvel").string() + " --paths");
  ASSERT_EQ(fromBuildTree.code, 0);
  EXPECT_NE(fromBuildTree.output.find("game:         " + (kBuild / "demo" / "game").string()), std::string::npos)
      << fromBuildTree.output;

  Installation bare(false);
  EXPECT_EQ(bare.Play("--headless --frames 1").code, 2);
}

// Every option the programs' help names is in their manual page, and the version matches.
TEST(InstallationTest, ManualPagesDescribeEveryOptionAndCommandOfTheHelp) {
  struct Case {
    std::string program;
    std::regex word;  // what the help names
  };
  const Case cases[] = {
      {"src/torvel", std::regex(R"(--[a-z-]+)")},
      {"tools/tvx", std::regex(R"(tvx ([a-z-]+))")},
  };
  for (const Case& c : cases) {
    const std::string name = fs::path(c.program).filename().string();
    ProgramRun help = RunProgram((kBuild / c.program).string() + " --help");
    ASSERT_EQ(help.code, 0) << name;
    const std::string page =
        std::regex_replace(ReadText(kSource / "packaging" / (name + ".1")), std::regex(R"(\\-)"), "-");
    int named = 0;
    for (std::sregex_iterator it(help.output.begin(), help.output.end(), c.word), end; it != end; ++it) {
      const std::string word = it->size() > 1 ? (*it)[1].str() : (*it)[0].str();
      EXPECT_NE(page.find(word), std::string::npos) << name << ".1 does not describe " << word;
      ++named;
    }
    EXPECT_GT(named, 3) << name;
    ProgramRun version = RunProgram((kBuild / c.program).string() + " --version");
    EXPECT_EQ(version.code, 0);
    EXPECT_TRUE(std::regex_match(version.output, std::regex(name + R"( \d+\.\d+\.\d+\n)"))) << version.output;
  }
}

TEST(InstallationTest, TheDesktopEntryIsValid) {
  const fs::path entry = kSource / "packaging" / "torvel.desktop";
  EXPECT_EQ(RunProgram("desktop-file-validate " + entry.string()).code, 0);
  const std::string text = ReadText(entry);
  for (const char* line : {"Exec=torvel\n", "Icon=torvel\n", "Categories=Game;AdventureGame;\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace torvel
