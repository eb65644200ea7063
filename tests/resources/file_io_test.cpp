// Whole-file reads that refuse what is not a regular file, atomic writes that survive their
// writer being killed, the clean-up of the temporaries such writers leave, and the lock that
// lets read-modify-write cycles of several processes take turns.
#include "resources/file_io.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <string>

#include "support/game_fixture.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
  return names;
}

// A plain write: an atomic one would already clean the folder.
void Touch(const fs::path& file) {
  std::ofstream out(file);
  out << "x";
  ASSERT_TRUE(out.good());
}

// A process id that no process has: a child that has ended and been reaped.
pid_t EndedProcess() {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return pid;
}

TEST(ReadWholeFileTest, RefusesWhatIsNotARegularFileOrTooLarge) {
  testing::TempFolder folder;
  const fs::path file = folder.Path() / "four.bin";
  ASSERT_TRUE(WriteFileAtomically(file, std::string_view("abcd")));
  const fs::path empty = folder.Path() / "empty.bin";
  ASSERT_TRUE(WriteFileAtomically(empty, std::string_view()));
  const fs::path pipe = folder.Path() / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  struct Case {
    const char* name;
    fs::path file;
    uint64_t limit;
    const char* bytes;  // null: refused
    std::string error;
  };
  const Case cases[] = {
      {"regular file", file, 100, "abcd", ""},
      {"exactly at the limit", file, 4, "abcd", ""},
      {"one byte over the limit", file, 3, nullptr, file.string() + ": is larger than 3 bytes"},
      {"empty file", empty, 0, "", ""},
      {"folder", folder.Path(), 100, nullptr, folder.Path().string() + ": is a folder"},
      // Opening a pipe for reading would wait for a writer for ever.
      {"pipe", pipe, 100, nullptr, pipe.string() + ": is not a regular file"},
      {"device", "/dev/zero", 100, nullptr, "/dev/zero: is not a regular file"},
      {"missing", folder.Path() / "none", 100, nullptr,
       (folder.Path() / "none").string() + ": No such file or directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes{9};
    std::string error;
    const bool read = ReadWholeFile(c.file, bytes, c.limit, error);
    ASSERT_EQ(read, c.bytes != nullptr);
    if (read) {
      EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.bytes);
    } else {
      EXPECT_TRUE(bytes.empty());
      EXPECT_EQ(error, c.error);
    }
  }
}

TEST(AtomicWriteTemporaryTest, NamesOfTheSchemeAndTheirWriters) {
  struct Case {
    const char* name;
    bool temporary;
    long pid;
  };
  const Case cases[] = {
      {".save1.dat.1234-0.torvel-tmp", true, 1234},
      {".a.b.c.77-12.torvel-tmp", true, 77},
      {"..1-0.torvel-tmp", false, 0},  // no target name
      {".x.1234.torvel-tmp", false, 0},
      {".x.12a-0.torvel-tmp", false, 0},
      {".x.1-0x.torvel-tmp", false, 0},
      {".x.-0.torvel-tmp", false, 0},
      {"x.1234-0.torvel-tmp", false, 0},  // not hidden
      {".x.1234-0.torvel-tmpx", false, 0},
      {".x.9999999999-0.torvel-tmp", false, 0},  // no process id
      {"save1.dat.tmp1234", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    long pid = 0;
    EXPECT_EQ(IsAtomicWriteTemporary(c.name, pid), c.temporary);
    if (c.temporary) {
      EXPECT_EQ(pid, c.pid);
    }
  }
}

TEST(WriteFileAtomicallyTest, RemovesOnlyTemporariesWhoseWritersAreGone) {
  testing::TempFolder folder;
  const fs::path& f = folder.Path();
  const std::string gone = std::to_string(EndedProcess());
  const std::string abandoned1 = ".save1.dat." + gone + "-0.torvel-tmp";
  const std::string abandoned2 = ".other.ini." + gone + "-7.torvel-tmp";
  const std::string running = ".save1.dat.1-0.torvel-tmp";  // process 1 always runs
  const std::string locked = ".save2.dat." + gone + "-1.torvel-tmp";
  const std::string lookalike1 = "save1.dat.tmp" + gone;
  const std::string lookalike2 = ".save1.dat." + gone + "-x.torvel-tmp";
  const std::string folderLike = ".d." + gone + "-0.torvel-tmp";
  const std::string linkLike = ".l." + gone + "-0.torvel-tmp";
  for (const std::string& name :
       {abandoned1, abandoned2, running, locked, lookalike1, lookalike2, std::string("notes.txt")}) {
    Touch(f / name);
  }
  fs::create_directory(f / folderLike);
  fs::create_symlink(f / "notes.txt", f / linkLike);
  // A writer whose process id means nothing here (another namespace) still holds its lock.
  int held = ::open((f / locked).c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  ASSERT_TRUE(WriteFileAtomically(f / "save1.dat", std::string_view("new")));
  ::close(held);
  EXPECT_EQ(Names(f), (std::set<std::string>{"save1.dat", running, locked, lookalike1, lookalike2, folderLike, linkLike,
                                             "notes.txt"}));
}

std::vector<uint8_t> Version(uint8_t v) { return std::vector<uint8_t>(size_t{1} << 20, v); }

bool IsAVersion(const std::vector<uint8_t>& bytes) {
  return bytes.size() == (size_t{1} << 20) && bytes == Version(bytes[0]);
}

TEST(WriteFileAtomicallyTest, WritersKilledAtAnyMomentLeaveAWholeFileAndNoTemporaries) {
  testing::TempFolder folder;
  const fs::path file = folder.Path() / "data.bin";
  ASSERT_TRUE(WriteFileAtomically(file, Version(0)));
  std::mt19937 random(5);
  int temporariesSeen = 0;
  for (int trial = 0; trial < 24; ++trial) {
    pid_t writer = ::fork();
    if (writer == 0) {
      for (uint8_t v = 1;; ++v) WriteFileAtomically(file, Version(v));
    }
    ::usleep(1000 + random() % 20000);
    ::kill(writer, SIGKILL);
    int status = 0;
    ::waitpid(writer, &status, 0);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes));
    ASSERT_TRUE(IsAVersion(bytes)) << "trial " << trial;
    temporariesSeen += static_cast<int>(Names(folder.Path()).size()) - 1;
  }
  ASSERT_TRUE(WriteFileAtomically(file, Version(7)));
  EXPECT_EQ(Names(folder.Path()), std::set<std::string>{"data.bin"}) << temporariesSeen << " temporaries were seen";
}

TEST(WriteFileAtomicallyTest, AWriteThatRunsOutOfRoomKeepsTheOldFile) {
  testing::TempFolder folder;
  const fs::path file = folder.Path() / "settings.ini";
  ASSERT_TRUE(WriteFileAtomically(file, std::string_view("old")));
  // A full disk, for one process: writes past 8 bytes fail.
  pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{8, 8};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    const bool written = WriteFileAtomically(file, std::string_view("a new text longer than the room"), &error);
    ::_exit(!written && error == file.string() + ": File too large" ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(file, bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
  EXPECT_EQ(Names(folder.Path()), std::set<std::string>{"settings.ini"});
}

TEST(WriteFileAtomicallyTest, FailureNamesTheFileAndTheReason) {
  testing::TempFolder folder;
  Touch(folder.Path() / "plain");
  std::string error;
  // A folder where a file should be, and a file where a folder should be.
  fs::create_directory(folder.Path() / "taken");
  EXPECT_FALSE(WriteFileAtomically(folder.Path() / "taken", std::string_view("x"), &error));
  EXPECT_EQ(error, (folder.Path() / "taken").string() + ": Is a directory");
  EXPECT_FALSE(WriteFileAtomically(folder.Path() / "plain" / "x", std::string_view("x"), &error));
  EXPECT_EQ(error, (folder.Path() / "plain" / "x").string() + ": Not a directory");
  EXPECT_EQ(Names(folder.Path()), (std::set<std::string>{"plain", "taken"}));
}

TEST(ReplacedFileLockTest, SecondLockWaitsForTheFirst) {
  testing::TempFolder folder;
  const fs::path file = folder.Path() / "s.ini";
  {
    ReplacedFileLock first(file);
    ASSERT_TRUE(first.Held());
    EXPECT_TRUE(fs::is_regular_file(file));  // made empty when missing
    ReplacedFileLock second(file, 30);
    EXPECT_FALSE(second.Held());
    EXPECT_EQ(second.Error(), file.string() + ": is locked by another program");
  }
  ReplacedFileLock third(file, 30);
  EXPECT_TRUE(third.Held());
}

TEST(ReplacedFileLockTest, AWaiterDoesNotTakeTheLockOfAFileThatWasReplaced) {
  testing::TempFolder folder;
  const fs::path file = folder.Path() / "s.ini";
  const fs::path marker = folder.Path() / "second-released";
  std::optional<ReplacedFileLock> first(std::in_place, file);
  ASSERT_TRUE(first->Held());
  // Another process waits for the lock on the file as it is now.
  pid_t waiter = ::fork();
  if (waiter == 0) {
    // Long enough for the parent's synced writes on a busy disk; only a bound.
    ReplacedFileLock lock(file, 60000);
    ::_exit(lock.Held() && fs::exists(marker) ? 0 : 1);
  }
  ::usleep(50000);
  // The file is replaced by one that is locked before it takes the name, and only then is the
  // old one's lock let go: a waiter that locks the old file holds a file that no longer has the
  // name and must take the new one. The name never leads to an unlocked file, so a waiter that
  // starts late cannot take the lock early either.
  const fs::path replacement = folder.Path() / "s.ini.new";
  ASSERT_TRUE(WriteFileAtomically(replacement, std::string_view("2")));
  std::optional<ReplacedFileLock> second(std::in_place, replacement);
  ASSERT_TRUE(second->Held());
  fs::rename(replacement, file);
  first.reset();
  ::usleep(100000);
  Touch(marker);
  second.reset();
  int status = 0;
  ::waitpid(waiter, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ReplacedFileLockTest, RefusesWhatIsNotARegularFile) {
  testing::TempFolder folder;
  EXPECT_FALSE(ReplacedFileLock(folder.Path()).Held());
  ReplacedFileLock lock(folder.Path() / "missing" / "s.ini");
  EXPECT_FALSE(lock.Held());
  EXPECT_EQ(lock.Error(), (folder.Path() / "missing" / "s.ini").string() + ": No such file or directory");
}

}  // namespace
}  // namespace torvel
