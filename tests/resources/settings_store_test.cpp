// The settings store: key paths as files, the INI text form, damaged files, atomic writes and
// the completed-games counter.
#include "resources/settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<uint8_t> Bytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

bool Inside(const fs::path& root, const fs::path& file) {
  fs::path relative = file.lexically_normal().lexically_relative(root.lexically_normal());
  return !relative.empty() && *relative.begin() != ".." && relative.is_relative();
}

TEST(SettingsFilePathTest, KeyPathsBecomeFilesInsideTheFolder) {
  const fs::path root = "/store/torvel";
  struct Case {
    const char* name;
    std::string keyPath;
    std::string relative;  // worked out by hand from the encoding rules
  };
  const Case cases[] = {
      {"plain", "Software\\Grevholt", "software/grevholt.ini"},
      {"case folded like registry keys", "SOFTWARE\\grevHOLT", "software/grevholt.ini"},
      {"forward slashes", "Software/Grevholt", "software/grevholt.ini"},
      {"empty components dropped", "\\\\Software\\\\Grevholt\\", "software/grevholt.ini"},
      {"dot dot", "..\\..\\etc\\passwd", "%2E%2E/%2E%2E/etc/passwd.ini"},
      {"single dot", ".\\x", "%2E/x.ini"},
      {"absolute path", "/etc/passwd", "etc/passwd.ini"},
      {"hidden file", ".bashrc", "%2Ebashrc.ini"},
      {"dots everywhere", "a.b", "a%2Eb.ini"},
      {"blank and percent", "My Maker%", "my%20maker%25.ini"},
      {"digits, dash and underscore", "x-1_2", "x-1_2.ini"},
      {"control byte", std::string("a\nb"), "a%0Ab.ini"},
      // 0x95 0x5C is one character; its trail byte is not a separator.
      {"two-byte character with a backslash trail byte", "\x95\x5C", "%95%5C.ini"},
      // 0x82 0x61 is one character; its trail byte is not folded into 0x41.
      {"two-byte character with a letter trail byte", "\x82\x61", "%82%61.ini"},
      {"empty key path", "", "@default.ini"},
      {"only separators", "\\/\\", "@default.ini"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::path file = SettingsFilePath(root, c.keyPath);
    EXPECT_EQ(file, root / c.relative);
    EXPECT_TRUE(Inside(root, file));
  }
}

TEST(SettingsFilePathTest, LongAndDeepKeyPathsStayUsable) {
  const fs::path root = "/store";
  fs::path longName = SettingsFilePath(root, std::string(400, 'a'));
  EXPECT_LE(longName.filename().string().size(), 130u);
  EXPECT_NE(SettingsFilePath(root, std::string(400, 'a')), SettingsFilePath(root, std::string(401, 'a')));
  std::string deep;
  for (int i = 0; i < 40; ++i) deep += "k" + std::to_string(i) + "\\";
  fs::path file = SettingsFilePath(root, deep);
  EXPECT_TRUE(Inside(root, file));
  fs::path relative = file.lexically_relative(root);
  EXPECT_EQ(std::distance(relative.begin(), relative.end()), 16);
  // Random key paths never leave the folder.
  std::mt19937 rng(7);
  const std::string alphabet = "./\\a%. \x82\x5C";
  for (int n = 0; n < 500; ++n) {
    std::string key;
    int length = static_cast<int>(rng() % 12);
    for (int i = 0; i < length; ++i) key += alphabet[rng() % alphabet.size()];
    EXPECT_TRUE(Inside(root, SettingsFilePath(root, key))) << key;
  }
}

TEST(IniTextTest, Encoding) {
  struct Case {
    const char* name;
    std::string sjis;
    std::string text;  // worked out by hand
  };
  const Case cases[] = {
      {"plain", "abc 123", "abc 123"},
      {"separators", "a=b[c]", "a\\x3Db\\x5Bc\\x5D"},
      {"backslash", "C:\\x", "C:\\x5Cx"},
      {"outer blanks", " x ", "\\x20x\\x20"},
      {"comment marks at the start", ";a;#b", "\\x3Ba;#b"},
      {"hash at the start", "#a", "\\x23a"},
      {"controls", "\t\n\x7F", "\\x09\\x0A\\x7F"},
      {"kana", "\x82\xA0", "\xE3\x81\x82"},         // あ
      {"half-width kana", "\xB1", "\xEF\xBD\xB1"},  // ｱ
      {"lone lead byte", "\x82", "\\x82"},
      {"unassigned byte", "\xFD", "\\xFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EncodeIniText(c.sjis), c.text);
    EXPECT_EQ(DecodeIniText(c.text), c.sjis);
  }
}

TEST(IniTextTest, EveryByteStringComesBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(DecodeIniText(EncodeIniText(all)), all);
  // NEC-selected IBM extensions convert to Unicode but back to another code: kept as escapes.
  EXPECT_EQ(DecodeIniText(EncodeIniText("\xED\x40")), "\xED\x40");
  std::mt19937 rng(11);
  for (int n = 0; n < 300; ++n) {
    std::string s;
    int length = static_cast<int>(rng() % 20);
    for (int i = 0; i < length; ++i) s += static_cast<char>(rng() & 0xFF);
    std::string encoded = EncodeIniText(s);
    ASSERT_EQ(DecodeIniText(encoded), s);
    // The encoded form is one line that the line grammar cannot misread.
    EXPECT_EQ(encoded.find('\n'), std::string::npos);
    EXPECT_EQ(encoded.find('='), std::string::npos);
  }
}

TEST(IniTextTest, BadTextIsRefused) {
  for (const std::string& bad : std::vector<std::string>{"\\", "\\x", "\\x4", "\\xG0", "\\n", "\xFF", "\xE3\x81",
                                                         std::string("a\0b", 3), "\x01"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(DecodeIniText(bad).has_value());
  }
}

TEST(IniDocumentTest, ParsesSectionsAndValues) {
  std::string text =
      "\xEF\xBB\xBF; heading\r\n"
      "\n"
      "[vesk]\r\n"
      "  Vol1 = -300 \n"
      "PlayerName=\xE6\xB9\x8A\n"  // 湊
      "# comment\n"
      "[Other]\n"
      "vol1=5\n"
      "[VESK]\n"
      "VOL1=-200\n"
      "Empty=\n";
  std::optional<IniDocument> doc = ParseIni(Bytes(text));
  ASSERT_TRUE(doc.has_value());
  ASSERT_EQ(doc->Sections().size(), 2u);
  ASSERT_NE(doc->Find("Vesk", "vol1"), nullptr);
  EXPECT_EQ(*doc->Find("Vesk", "vol1"), "-200");  // the later value wins, names without case
  EXPECT_EQ(*doc->Find("vesk", "PLAYERNAME"), Utf8ToSjis("湊"));
  EXPECT_EQ(*doc->Find("other", "Vol1"), "5");
  EXPECT_EQ(*doc->Find("vesk", "Empty"), "");
  EXPECT_EQ(doc->Find("vesk", "Vol2"), nullptr);
  EXPECT_EQ(doc->Find("none", "Vol1"), nullptr);
}

TEST(IniDocumentTest, DamagedTexts) {
  const std::string cases[] = {
      "Vol1=1\n",                          // before any section
      "[vesk]\ngarbage\n",                 // neither value nor section
      "[vesk\nVol1=1\n",                   // unterminated section
      "[vesk]\n=1\n",                      // empty name
      "[vesk]\nName=\\q\n",                // bad escape
      "[vesk]\nName=\xFF\xFE\n",           // not UTF-8
      std::string("[vesk]\nA=1\0\n", 12),  // NUL byte
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseIni(Bytes(text)).has_value());
  }
  std::string many = "[s]\n";
  for (size_t i = 0; i <= kMaxIniValues; ++i) many += "v" + std::to_string(i) + "=1\n";
  EXPECT_FALSE(ParseIni(Bytes(many)).has_value());
}

TEST(IniDocumentTest, FormatThenParseKeepsEverything) {
  IniDocument doc;
  doc.Set("vesk", "Vol1", "-300");
  doc.Set("vesk", "PlayerName", Utf8ToSjis("湊 "));
  doc.Set("ve]sk", "a=b", "[x]");
  doc.Set("", "Weird\\Name", "\x82");
  doc.Set("VESK", "vol1", "-100");  // same value, other spelling
  std::string text = FormatIni(doc, "heading\nwith a break");
  std::optional<IniDocument> back = ParseIni(Bytes(text));
  ASSERT_TRUE(back.has_value()) << text;
  EXPECT_EQ(*back->Find("vesk", "Vol1"), "-100");
  EXPECT_EQ(back->Sections()[0].values[0].first, "Vol1");  // the stored spelling stays
  EXPECT_EQ(*back->Find("vesk", "PlayerName"), Utf8ToSjis("湊 "));
  EXPECT_EQ(*back->Find("ve]sk", "a=b"), "[x]");
  EXPECT_EQ(*back->Find("", "weird\\name"), "\x82");
  EXPECT_NE(text.find("Vol1=-100\n"), std::string::npos);  // integers as decimal text
}

TEST(SettingIntTest, DecimalTextOnly) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"0", 0},           {"-300", -300},      {"+5", 5},    {"2147483647", 2147483647},
      {"2147483648", {}}, {"-2147483649", {}}, {"", {}},     {"abc", {}},
      {"12a", {}},        {" 1", {}},          {"1 ", {}},   {"+-1", {}},
      {"++1", {}},        {"-", {}},           {"0x10", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseSettingInt(c.text), c.value);
  }
}

TEST(SettingsStoreTest, WriteThenRead) {
  testing::TempFolder folder;
  SettingsStore store(folder.Path(), "Software\\Maker", "game");
  store.Load();
  EXPECT_EQ(store.State(), SettingsStore::FileState::Missing);
  EXPECT_EQ(store.ReadInt("Vol1", -7), -7);
  EXPECT_EQ(store.ReadText("FontName", "def"), "def");
  EXPECT_FALSE(fs::exists(store.File()));  // reading creates nothing

  ASSERT_TRUE(store.WriteInt("Vol1", -300));
  ASSERT_TRUE(store.Write("PlayerName", Utf8ToSjis("湊")));
  ASSERT_TRUE(store.Write("Vol2", "loud"));
  EXPECT_EQ(store.File(), folder.Path() / "software" / "maker.ini");

  SettingsStore again(folder.Path(), "software\\MAKER", "GAME");
  again.Load();
  EXPECT_EQ(again.State(), SettingsStore::FileState::Read);
  EXPECT_EQ(again.ReadInt("VOL1", 0), -300);
  EXPECT_EQ(again.ReadInt("vol2", 9), 9);  // not a number: the default
  EXPECT_EQ(again.ReadText("playername", ""), Utf8ToSjis("湊"));
  std::string text = ReadText(store.File());
  EXPECT_NE(text.find("[game]\nVol1=-300\nPlayerName=湊\n"), std::string::npos) << text;

  // No temporary files are left beside it.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(store.File().parent_path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(SettingsStoreTest, SectionsAreIndependent) {
  testing::TempFolder folder;
  SettingsStore a(folder.Path(), "Software\\Maker", "one");
  SettingsStore b(folder.Path(), "Software\\Maker", "two");
  ASSERT_TRUE(a.WriteInt("Vol1", -100));
  ASSERT_TRUE(b.WriteInt("Vol1", -200));
  ASSERT_TRUE(a.WriteInt("Seen", 0));
  a.Load();
  b.Load();
  EXPECT_EQ(a.ReadInt("Vol1", 0), -100);
  EXPECT_EQ(b.ReadInt("Vol1", 0), -200);
  EXPECT_EQ(b.ReadInt("Seen", 1), 1);
}

TEST(SettingsStoreTest, DamagedFileReadsAsDefaultsAndIsSetAsideOnWrite) {
  testing::TempFolder folder;
  SettingsStore store(folder.Path(), "Software\\Maker", "game");
  fs::create_directories(store.File().parent_path());
  const std::string damaged = "[game]\nVol1=-300\nthis line is damaged\n";
  ASSERT_TRUE(WriteFileAtomically(store.File(), damaged));
  store.Load();
  EXPECT_EQ(store.State(), SettingsStore::FileState::Damaged);
  EXPECT_EQ(store.ReadInt("Vol1", 0), 0);
  EXPECT_EQ(ReadText(store.File()), damaged);

  ASSERT_TRUE(store.WriteInt("Seen", 0));
  fs::path aside = store.File();
  aside += ".damaged";
  EXPECT_EQ(ReadText(aside), damaged);
  SettingsStore fresh(folder.Path(), "Software\\Maker", "game");
  fresh.Load();
  EXPECT_EQ(fresh.State(), SettingsStore::FileState::Read);
  EXPECT_EQ(fresh.ReadInt("Seen", 1), 0);
  EXPECT_EQ(fresh.ReadInt("Vol1", 5), 5);
}

TEST(SettingsStoreTest, UnusableFileDoesNotCrash) {
  testing::TempFolder folder;
  SettingsStore store(folder.Path(), "Maker", "game");
  fs::create_directories(store.File());  // a folder where the file should be
  store.Load();
  EXPECT_EQ(store.State(), SettingsStore::FileState::Unreadable);
  EXPECT_EQ(store.ReadInt("Vol1", 3), 3);
  EXPECT_FALSE(store.WriteInt("Vol1", 1));
  EXPECT_EQ(store.WriteError(), store.File().string() + ": Is a directory");
  EXPECT_TRUE(fs::is_directory(store.File()));
}

TEST(SettingsStoreTest, CompletedGamesCounterHasAFixedPlace) {
  testing::TempFolder folder;
  EXPECT_EQ(IncrementCompletedGames(folder.Path()), 1);
  EXPECT_EQ(IncrementCompletedGames(folder.Path()), 2);
  SettingsStore store(folder.Path(), "Software\\Grevholt", "vesk");
  store.Load();
  EXPECT_EQ(store.ReadInt("Clear", 0), 2);
  EXPECT_EQ(store.File(), folder.Path() / "software" / "grevholt.ini");
  // A stored count that is not a number starts again from 0.
  ASSERT_TRUE(store.Write("Clear", "many"));
  EXPECT_EQ(IncrementCompletedGames(folder.Path()), 1);
}

TEST(SettingsStoreTest, SeveralValuesGoInOneWrite) {
  testing::TempFolder folder;
  SettingsStore store(folder.Path(), "Software\\Maker", "game");
  ASSERT_TRUE(store.WriteInt("Keep", 5));
  const std::vector<std::pair<std::string, std::string>> values = {{"GV00", "1"}, {"gv00", "2"}, {"GV01", "-3"}};
  ASSERT_TRUE(store.WriteValues(values));
  SettingsStore fresh(folder.Path(), "Software\\Maker", "game");
  fresh.Load();
  EXPECT_EQ(fresh.ReadInt("Keep", 0), 5);
  EXPECT_EQ(fresh.ReadInt("GV00", 0), 2);
  EXPECT_EQ(fresh.ReadInt("GV01", 0), -3);
}

TEST(SettingsStoreTest, AGamesDataFolderIsNamedLikeItsSettingsFile) {
  EXPECT_EQ(GameDataFolder("/r", "Software\\TestMaker", "ALPHA"), fs::path("/r/software/testmaker/alpha"));
  EXPECT_EQ(GameDataFolder("/r", "", ""), fs::path("/r/@default/@default"));
  const fs::path odd = GameDataFolder("/r", "..\\.", "../x");
  EXPECT_EQ(odd, odd.lexically_normal());
  EXPECT_EQ(odd.string().rfind("/r/", 0), 0u) << odd;
}

// Several processes counting completed games at once: each increment is a read-modify-write of
// the same file, and none may be lost.
TEST(SettingsStoreTest, IncrementsFromSeveralProcessesAtOnceAreAllKept) {
  testing::TempFolder folder;
  constexpr int kProcesses = 4;
  constexpr int kIncrements = 20;
  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    pid_t child = ::fork();
    if (child == 0) {
      char go;
      ::close(start[1]);
      if (::read(start[0], &go, 1) != 0) ::_exit(2);  // all begin when the pipe closes
      for (int i = 0; i < kIncrements; ++i) {
        std::string error;
        IncrementCompletedGames(folder.Path(), &error);
        if (!error.empty()) ::_exit(1);
      }
      ::_exit(0);
    }
    children.push_back(child);
  }
  ::close(start[0]);
  ::close(start[1]);
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  SettingsStore store(folder.Path(), "Software\\Grevholt", "vesk");
  store.Load();
  EXPECT_EQ(store.ReadInt("Clear", 0), kProcesses * kIncrements);
}

// Writers killed at any moment, locks held or not: the file always parses, every increment that
// was reported done is in it, and a lock left by a killed writer does not stop the next one.
TEST(SettingsStoreTest, KilledWritersNeverLoseACompletedIncrement) {
  testing::TempFolder folder;
  int done[2];
  ASSERT_EQ(::pipe(done), 0);
  std::mt19937 random(3);
  int killed = 0;
  int completed = 0;
  for (int round = 0; round < 4; ++round) {
    std::vector<pid_t> writers;
    for (int w = 0; w < 2; ++w) {
      pid_t child = ::fork();
      if (child == 0) {
        ::close(done[0]);
        for (;;) {
          std::string error;
          IncrementCompletedGames(folder.Path(), &error);
          if (error.empty() && ::write(done[1], "+", 1) != 1) ::_exit(1);
        }
      }
      writers.push_back(child);
    }
    // Once the writers are under way, they are killed at a moment of chance.
    char first;
    ASSERT_EQ(::read(done[0], &first, 1), 1);
    ++completed;
    ::usleep(random() % 30000);
    for (pid_t child : writers) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
      ++killed;
    }
    SettingsStore store(folder.Path(), "Software\\Grevholt", "vesk");
    store.Load();
    ASSERT_EQ(store.State(), SettingsStore::FileState::Read) << "round " << round;
    ASSERT_GT(store.ReadInt("Clear", 0), 0);
  }
  ::close(done[1]);
  char buffer[256];
  for (ssize_t n; (n = ::read(done[0], buffer, sizeof buffer)) > 0;) completed += static_cast<int>(n);
  ::close(done[0]);
  SettingsStore store(folder.Path(), "Software\\Grevholt", "vesk");
  store.Load();
  const int count = store.ReadInt("Clear", 0);
  // An increment may be stored by a writer killed before it could report it.
  EXPECT_GE(count, completed);
  EXPECT_LE(count, completed + killed);
}

TEST(SettingsStoreTest, AFailedWriteSaysWhyAndNamesTheFile) {
  testing::TempFolder folder;
  // The settings folder's place is taken by a file: nothing can be written below it.
  ASSERT_TRUE(WriteFileAtomically(folder.Path() / "store", std::string_view("x")));
  SettingsStore store(folder.Path() / "store", "Software\\Maker", "game");
  EXPECT_FALSE(store.WriteInt("Vol1", -300));
  EXPECT_EQ(store.WriteError(), store.File().string() + ": Not a directory");
  std::string error;
  EXPECT_EQ(IncrementCompletedGames(folder.Path() / "store", &error), 1);
  EXPECT_NE(error.find(": Not a directory"), std::string::npos) << error;
}

}  // namespace
}  // namespace torvel
