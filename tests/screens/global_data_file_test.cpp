// The check value, the global data file and the recollection file, against the files'
// descriptions worked out here.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "screens/global_data_file.h"
#include "screens/recollection_records.h"
#include "screens/save_checksum.h"

namespace torvel {
namespace {

// The update as described: a bit at a time, no table.
uint32_t BitwiseUpdate(uint32_t crc, const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0);
  }
  return crc;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(SaveChecksum, KnownValuesFrom1234) {
  const std::vector<uint8_t> zeros(11136, 0);
  EXPECT_EQ(UpdateSaveChecksum(kSaveChecksumStart, zeros), 0x77F5B8D3u);
  const std::string digits = "123456789";
  const std::vector<uint8_t> d(digits.begin(), digits.end());
  EXPECT_EQ(UpdateSaveChecksum(1234, d), 0x93464ACDu);
  EXPECT_EQ(BitwiseUpdate(1234, d), 0x93464ACDu);  // the model agrees with the known value
  EXPECT_EQ(UpdateSaveChecksum(1234, {}), 1234u);
}

TEST(SaveChecksum, MatchesTheBitwiseModelAndChains) {
  std::mt19937 random(7);
  std::vector<uint8_t> bytes(5000);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  const uint32_t whole = UpdateSaveChecksum(1234, bytes);
  EXPECT_EQ(whole, BitwiseUpdate(1234, bytes));
  const std::span<const uint8_t> all(bytes);
  EXPECT_EQ(UpdateSaveChecksum(UpdateSaveChecksum(1234, all.first(1777)), all.subspan(1777)), whole);
}

GlobalData Marked() {
  GlobalData g;
  g.sceneFlags.front() = 0x01;
  g.sceneFlags.back() = 0x02;
  g.pictureSeen.front() = 0x03;
  g.pictureSeen.back() = 0x04;
  g.sceneSeen.front() = 0x05;
  g.sceneSeen.back() = 0x06;
  g.readMarks.front() = 0x07;
  g.readMarks.back() = 0x08;
  return g;
}

TEST(GlobalDataFile, BlocksAtTheirOffsetsThenTheCheckValue) {
  const std::vector<uint8_t> f = EncodeGlobalData(Marked());
  ASSERT_EQ(f.size(), 11140u);
  std::vector<uint8_t> expected(11140, 0);
  expected[0] = 0x01;
  expected[127] = 0x02;
  expected[128] = 0x03;
  expected[639] = 0x04;
  expected[640] = 0x05;
  expected[895] = 0x06;
  expected[896] = 0x07;
  expected[11135] = 0x08;
  const uint32_t check = BitwiseUpdate(1234, std::vector<uint8_t>(expected.begin(), expected.begin() + 11136));
  for (int i = 0; i < 4; ++i) expected[11136 + i] = static_cast<uint8_t>(check >> (8 * i));
  EXPECT_EQ(f, expected);
  EXPECT_EQ(Le32(EncodeGlobalData(GlobalData{}), 11136), 0x77F5B8D3u);
}

TEST(GlobalDataFile, ReadingRefusesShortFilesAndWrongCheckValues) {
  std::vector<uint8_t> f = EncodeGlobalData(Marked());
  std::optional<GlobalData> read = DecodeGlobalData(f);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->readMarks.back(), 0x08);
  EXPECT_EQ(read->pictureSeen.back(), 0x04);

  std::vector<uint8_t> longer = f;
  longer.push_back(0xFF);
  EXPECT_TRUE(DecodeGlobalData(longer));
  EXPECT_FALSE(DecodeGlobalData(std::span<const uint8_t>(f).first(11139)));
  EXPECT_FALSE(DecodeGlobalData({}));
  for (size_t at : {size_t{0}, size_t{700}, size_t{11135}, size_t{11139}}) {
    std::vector<uint8_t> damaged = f;
    damaged[at] ^= 0x10;
    EXPECT_FALSE(DecodeGlobalData(damaged)) << "byte " << at;
  }
}

TEST(GlobalDataFile, MergingOnlyAddsBits) {
  GlobalData memory;
  memory.sceneFlags[3] = 0b0101;
  memory.readMarks[9000] = 0x80;
  GlobalData file;
  file.sceneFlags[3] = 0b0011;
  file.sceneSeen[255] = 0x40;
  MergeGlobalData(memory, file);
  EXPECT_EQ(memory.sceneFlags[3], 0b0111);
  EXPECT_EQ(memory.readMarks[9000], 0x80);
  EXPECT_EQ(memory.sceneSeen[255], 0x40);
}

TEST(GlobalDataFile, TheSpriteCounterIsTheLastFourBytesOfThePictureSeenBlock) {
  GlobalData g;
  g.SetSpriteCounter(0x11223344);
  const std::vector<uint8_t> f = EncodeGlobalData(g);
  EXPECT_EQ(Le32(f, 128 + 508), 0x11223344u);
  EXPECT_EQ(DecodeGlobalData(f)->SpriteCounter(), 0x11223344u);
}

TEST(RecollectionFile, PlayListsThenNames) {
  RecollectionRecords r;
  r.playLists[0][0] = 17;
  r.playLists[9][49] = -3;
  r.playLists[2][5] = 0x01020304;
  r.names[0] = {'A', 'b'};
  r.names[9][63] = 'z';
  const std::vector<uint8_t> f = EncodeRecollectionRecords(r);
  ASSERT_EQ(f.size(), 2640u);
  std::vector<uint8_t> expected(2640, 0);
  expected[0] = 17;
  for (int i = 0; i < 4; ++i) expected[4 * 499 + i] = 0xFF;
  expected[4 * 499] = 0xFD;
  expected[4 * 105] = 4;
  expected[4 * 105 + 1] = 3;
  expected[4 * 105 + 2] = 2;
  expected[4 * 105 + 3] = 1;
  expected[2000] = 'A';
  expected[2001] = 'b';
  expected[2639] = 'z';
  EXPECT_EQ(f, expected);
  const RecollectionRecords back = DecodeRecollectionRecords(f);
  EXPECT_EQ(back.playLists, r.playLists);
  EXPECT_EQ(back.names, r.names);
  EXPECT_EQ(back.Name(0), "Ab");
  EXPECT_EQ(back.Name(9), "");  // the first NUL ends a name
  EXPECT_EQ(back.Name(10), "");
}

TEST(RecollectionFile, AShortFileReadsAsZeroPastItsEnd) {
  std::vector<uint8_t> f(6, 0);
  f[0] = 5;
  f[4] = 9;
  f[5] = 1;
  const RecollectionRecords r = DecodeRecollectionRecords(f);
  EXPECT_EQ(r.playLists[0][0], 5);
  EXPECT_EQ(r.playLists[0][1], 0x109);
  EXPECT_EQ(r.playLists[5][5], 0);
  EXPECT_EQ(r.names[0][0], 0);
}

}  // namespace
}  // namespace torvel
