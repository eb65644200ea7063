// The archive index reader and entry reader, against archives laid out byte by byte here.
#include "resources/archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "resources/archive_writer.h"
#include "resources/file_io.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutName(std::vector<uint8_t>& out, const std::string& name, size_t field, uint8_t padding = 0) {
  size_t start = out.size();
  out.insert(out.end(), field, padding);
  std::memcpy(out.data() + start, name.data(), std::min(name.size(), field));
  if (name.size() < field) out[start + name.size()] = 0;
}

// A data-layout archive with one entry "main" whose body is {0x01, 0x00}, stored negated.
std::vector<uint8_t> OneEntryDataArchive() {
  std::vector<uint8_t> a;
  PutU32(a, 1);
  PutName(a, "main", 56, 0xAA);  // padding after the NUL may be anything
  PutU32(a, 68);
  PutU32(a, 2);
  a.push_back(0xFF);  // 256 - 1
  a.push_back(0x00);
  return a;
}

TEST(ArchiveIndexTest, ReadsDataLayoutAndUpperCasesNames) {
  std::vector<uint8_t> a = OneEntryDataArchive();
  ArchiveIndex index = ParseArchiveIndex(a, a.size(), ArchiveLayout::Data);
  ASSERT_EQ(index.count, 1u);
  EXPECT_EQ(index.names[0], "MAIN");
  EXPECT_EQ(index.offsets[0], 68u);
  EXPECT_EQ(index.sizes[0], 2u);
  EXPECT_TRUE(index.bodyFits[0]);
  for (const char* name : {"main", "MAIN", "Main"}) EXPECT_EQ(index.FindEntry(name), 0) << name;
  EXPECT_EQ(index.FindEntry("mai"), -1);
  EXPECT_EQ(index.FindEntry("main.txt"), -1);
}

TEST(ArchiveIndexTest, ReadsGeneralLayoutWithItsNameLength) {
  std::vector<uint8_t> a;
  PutU32(a, 2);
  PutU32(a, 12);
  PutName(a, "bg01", 12);
  PutU32(a, 48);
  PutU32(a, 1);
  PutName(a, "abcdefghijkl", 12);  // fills its field: the name ends at the field
  PutU32(a, 49);
  PutU32(a, 1);
  a.push_back('x');
  a.push_back('y');
  ArchiveIndex index = ParseArchiveIndex(a, a.size(), ArchiveLayout::General);
  ASSERT_EQ(index.count, 2u);
  EXPECT_EQ(index.nameLength, 12u);
  EXPECT_EQ(index.names[0], "BG01");
  EXPECT_EQ(index.names[1], "ABCDEFGHIJKL");
}

TEST(ArchiveIndexTest, UpperCasingLeavesTrailBytesAlone) {
  // "ア" is 0x83 0x41 and "ャ" 0x83 0x61: the trail 0x61 is not a letter "a".
  std::vector<uint8_t> a;
  PutU32(a, 1);
  PutName(a,
          "\x83\x61"
          "a",
          56);
  PutU32(a, 68);
  PutU32(a, 0);
  ArchiveIndex index = ParseArchiveIndex(a, a.size(), ArchiveLayout::Data);
  ASSERT_EQ(index.count, 1u);
  EXPECT_EQ(index.names[0],
            "\x83\x61"
            "A");
  EXPECT_EQ(index.FindEntry("\x83\x41"
                            "A"),
            -1);
  EXPECT_EQ(index.FindEntry("\x83\x61"
                            "a"),
            0);
}

TEST(ArchiveIndexTest, DuplicateNamesFindTheFirst) {
  std::vector<ArchiveEntry> entries = {{"same", {1}}, {"SAME", {2}}};
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(BuildGeneralArchive(entries, 32, bytes));
  ArchiveIndex index = ParseArchiveIndex(bytes, bytes.size(), ArchiveLayout::General);
  EXPECT_EQ(index.count, 2u);
  EXPECT_EQ(index.FindEntry("same"), 0);
}

struct DamagedCase {
  const char* name;
  std::vector<uint8_t> bytes;
  ArchiveLayout layout;
  uint32_t expectedCount;
  std::vector<bool> fits;
  std::string damage;  // what is wrong with the header or index; empty when it is whole
};

constexpr const char* kPastEnd = "the archive index runs past the end of the file";
constexpr const char* kCutShort = "the archive header is cut short";

std::vector<DamagedCase> DamagedCases() {
  std::vector<DamagedCase> cases;
  {
    std::vector<uint8_t> a = OneEntryDataArchive();
    a[0] = a[1] = a[2] = a[3] = 0xFF;  // a count of four billion
    cases.push_back({"HugeCount", a, ArchiveLayout::Data, 1, {true}, kPastEnd});
  }
  {
    std::vector<uint8_t> a = OneEntryDataArchive();
    a.resize(40);  // the index itself is cut short
    cases.push_back({"TruncatedIndex", a, ArchiveLayout::Data, 0, {}, kPastEnd});
  }
  {
    std::vector<uint8_t> a = OneEntryDataArchive();
    a[60] = 0xF0;  // offset far past the end
    cases.push_back({"OffsetPastEnd", a, ArchiveLayout::Data, 1, {false}, ""});
  }
  {
    std::vector<uint8_t> a = OneEntryDataArchive();
    a[64] = 3;  // size one byte too many
    cases.push_back({"SizePastEnd", a, ArchiveLayout::Data, 1, {false}, ""});
  }
  {
    std::vector<uint8_t> a = OneEntryDataArchive();
    a[60] = 0xFF;
    a[61] = 0xFF;
    a[62] = 0xFF;
    a[63] = 0xFF;  // offset + size wraps around 32 bits
    cases.push_back({"OffsetPlusSizeWraps", a, ArchiveLayout::Data, 1, {false}, ""});
  }
  {
    std::vector<uint8_t> a;
    PutU32(a, 3);
    PutU32(a, 0xFFFFFFF0u);  // a name field longer than the file
    a.resize(64, 0);
    cases.push_back({"HugeNameLength", a, ArchiveLayout::General, 0, {}, kPastEnd});
  }
  cases.push_back({"Whole", OneEntryDataArchive(), ArchiveLayout::Data, 1, {true}, ""});
  cases.push_back({"EmptyFile", {}, ArchiveLayout::General, 0, {}, kCutShort});
  cases.push_back({"ThreeBytes", {1, 0, 0}, ArchiveLayout::Data, 0, {}, kCutShort});
  return cases;
}

class DamagedArchiveTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedArchiveTest, IndexIsCutToWhatFitsAndSaysSo) {
  const DamagedCase& c = GetParam();
  ArchiveIndex index = ParseArchiveIndex(c.bytes, c.bytes.size(), c.layout);
  EXPECT_EQ(index.count, c.expectedCount);
  EXPECT_EQ(index.names.size(), c.expectedCount);
  EXPECT_EQ(index.bodyFits, c.fits);
  EXPECT_EQ(index.error, c.damage);
  // The same through the file reader, and a body that does not fit reads as missing.
  testing::TempFolder folder;
  std::filesystem::path file = folder.Path() / "a.tvx";
  ASSERT_TRUE(WriteFileAtomically(file, c.bytes));
  ArchiveIndex fromFile = ReadArchiveIndex(file, c.layout);
  EXPECT_EQ(fromFile.count, c.expectedCount);
  EXPECT_TRUE(fromFile.Present());
  EXPECT_EQ(fromFile.Damaged(), !c.damage.empty());
  EXPECT_EQ(fromFile.error, c.damage.empty() ? "" : file.string() + ": " + c.damage);
  for (size_t i = 0; i < fromFile.names.size(); ++i) {
    std::vector<uint8_t> body;
    EXPECT_EQ(ReadEntry(fromFile, static_cast<int>(i), body), c.fits[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(Archives, DamagedArchiveTest, ::testing::ValuesIn(DamagedCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveIndexTest, MissingFileGivesAnEmptyIndex) {
  ArchiveIndex index = ReadArchiveIndex("/nonexistent/tq_gra.tvx", ArchiveLayout::General);
  EXPECT_FALSE(index.Present());
  EXPECT_EQ(index.error, "/nonexistent/tq_gra.tvx: No such file or directory");
  EXPECT_EQ(index.FindEntry("x"), -1);
  std::vector<uint8_t> body;
  EXPECT_FALSE(ReadEntry(index, 0, body));
}

TEST(ArchiveIndexTest, FoldersAndPipesAreNotRead) {
  testing::TempFolder folder;
  const std::filesystem::path pipe = folder.Path() / "tq_gra.tvx";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // A pipe would block the reader until something writes to it.
  ArchiveIndex fromPipe = ReadArchiveIndex(pipe, ArchiveLayout::General);
  EXPECT_FALSE(fromPipe.Present());
  EXPECT_EQ(fromPipe.error, pipe.string() + ": is not a regular file");
  ArchiveIndex fromFolder = ReadArchiveIndex(folder.Path(), ArchiveLayout::Data);
  EXPECT_FALSE(fromFolder.Present());
  EXPECT_EQ(fromFolder.error, folder.Path().string() + ": is a folder");
}

TEST(ArchiveWriterTest, DataLayoutBytes) {
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(BuildDataArchive({{"main", {0x01, 0x00, 0x80}}}, bytes));
  std::vector<uint8_t> expected;
  PutU32(expected, 1);
  PutName(expected, "main", 56);
  PutU32(expected, 68);
  PutU32(expected, 3);
  expected.insert(expected.end(), {0xFF, 0x00, 0x80});
  EXPECT_EQ(bytes, expected);
}

TEST(ArchiveWriterTest, RefusesNamesThatDoNotFit) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(BuildDataArchive({{std::string(55, 'a'), {}}}, bytes));
  EXPECT_FALSE(BuildDataArchive({{std::string(56, 'a'), {}}}, bytes));
  EXPECT_TRUE(BuildGeneralArchive({{std::string(31, 'a'), {}}}, 32, bytes));
  EXPECT_FALSE(BuildGeneralArchive({{std::string(32, 'a'), {}}}, 32, bytes));
}

TEST(ScriptTextTest, LinesEndInNulAndTextBecomesShiftJis) {
  std::vector<uint8_t> body = ScriptTextToBody("\xEF\xBB\xBF@go a\r\n\nあ\rz");
  std::vector<uint8_t> expected = {'@', 'g', 'o', ' ', 'a', 0, 0, 0x82, 0xA0, 0, 'z', 0};
  EXPECT_EQ(body, expected);
}

}  // namespace
}  // namespace torvel
