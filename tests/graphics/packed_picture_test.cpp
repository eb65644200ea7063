// The packed picture decoder against streams written out by hand, token by token.
#include "graphics/packed_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

struct Header {
  uint8_t flags = 0;
  uint8_t bytesPerPixel = 3;
  uint32_t dictionarySize = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t ignored0 = 0;
  uint8_t ignored1 = 0;
};

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A whole entry: the header (C set from the data unless given) and the compressed data.
Bytes Entry(const Header& h, const Bytes& data, int64_t compressedSize = -1) {
  Bytes out{h.ignored0, h.ignored1, h.flags, h.bytesPerPixel};
  Put32(out, compressedSize < 0 ? static_cast<uint32_t>(data.size()) : static_cast<uint32_t>(compressedSize));
  Put32(out, h.dictionarySize);
  Put16(out, h.width);
  Put16(out, h.height);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// All pixel bytes of a bitmap, row after row.
Bytes PixelBytes(const Bitmap& b) {
  Bytes out;
  for (int y = 0; y < b.height; ++y) out.insert(out.end(), b.Row(y), b.Row(y) + b.width * 3);
  return out;
}

Bytes Repeat(uint8_t value, size_t count) { return Bytes(count, value); }
Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(PackedPictureTest, MatchOfDistanceOneRepeatsTheLastByte) {
  // Items: literal 7A, match (u 0x80, b 0x0F: distance 1, length 18), literal 01, literal 02.
  Bytes data{0x40, 0x7A, 0x80, 0x0F, 0x01, 0x02};
  Bitmap b;
  ASSERT_TRUE(DecodePackedPicture(Entry({.width = 7, .height = 1}, data), b));
  EXPECT_EQ(b.width, 7);
  EXPECT_EQ(b.height, 1);
  EXPECT_EQ(PixelBytes(b), Concat({Repeat(0x7A, 19), {0x01, 0x02}}));
}

TEST(PackedPictureTest, LongMatchWithLengthByte253CopiesExactly256Bytes) {
  // Items: literals 'A' 'B', long match (distance 2, c 253), literals 1 2 3.
  Bytes data{0x20, 'A', 'B', 0xC0, 0x01, 253, 1, 2, 3};
  Bitmap b;
  ASSERT_TRUE(DecodePackedPicture(Entry({.width = 87, .height = 1}, data), b));
  Bytes expected;
  for (int i = 0; i < 258; ++i) expected.push_back(i % 2 ? 'B' : 'A');
  expected.insert(expected.end(), {1, 2, 3});
  EXPECT_EQ(PixelBytes(b), expected);
}

TEST(PackedPictureTest, EveryTokenOfTheDictionaryStage) {
  struct Case {
    std::string name;
    Bytes in;
    Bytes out;
  };
  const Case cases[] = {
      // Eight literals use up a flag byte; the ninth item reads the next one.
      {"flag byte refill", {0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0x00, 9}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      // u = 0x03: a literal run of (0 >> 2) + 9 = 9 bytes.
      {"literal run of 9", {0x80, 0x03, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      // u = 0x7F: (31) + 9 = 40 bytes.
      {"literal run of 40", Concat({{0x80, 0x7F}, Repeat(5, 40)}), Repeat(5, 40)},
      // Short match u = (2 << 2) | 2: distance 3, length 4, overlapping its own output.
      {"short match", {0x10, 1, 2, 3, 0x0A}, {1, 2, 3, 1, 2, 3, 1}},
      // Short match u = (0 << 2) | 0: distance 1, length 2.
      {"short match 2", {0x40, 9, 0x00}, {9, 9, 9}},
      // Medium match u 0x80 | 0, b 0x2F: distance (0 << 4 | 2) + 1 = 3, length 15 + 3 = 18.
      {"medium match",
       {0x10, 1, 2, 3, 0x80, 0x2F},
       Concat({{1, 2, 3}, {1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3}})},
      // Long match u 0xC0, b 2, c 0: distance 3, length 3.
      {"long match short length", {0x10, 4, 5, 6, 0xC0, 0x02, 0x00}, {4, 5, 6, 4, 5, 6}},
      // Long match c 254: 1024 bytes; c 255: 4096 bytes.
      {"long match 1024", {0x40, 7, 0xC0, 0x00, 254}, Repeat(7, 1025)},
      {"long match 4096", {0x40, 7, 0xC0, 0x00, 255}, Repeat(7, 4097)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes out(c.out.size() + 8, 0xEE);
    size_t n = ExpandDictionary(c.in, std::span<uint8_t>(out.data(), c.out.size()));
    EXPECT_EQ(n, c.out.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + static_cast<long>(c.out.size())), c.out);
    EXPECT_EQ(out[c.out.size()], 0xEE) << "wrote past the target";
  }
}

// Writes dictionary-stage items with their flag bytes.
class ItemWriter {
 public:
  void Literal(uint8_t v) { Item(false, {v}); }
  void Token(const Bytes& bytes) { Item(true, bytes); }
  const Bytes& Stream() const { return stream_; }

 private:
  void Item(bool flag, const Bytes& bytes) {
    if (used_ == 8) {
      flagPos_ = stream_.size();
      stream_.push_back(0);
      used_ = 0;
    }
    if (flag) stream_[flagPos_] |= static_cast<uint8_t>(0x80 >> used_);
    ++used_;
    stream_.insert(stream_.end(), bytes.begin(), bytes.end());
  }
  Bytes stream_;
  size_t flagPos_ = 0;
  int used_ = 8;
};

TEST(PackedPictureTest, FarthestDistancesOfTheMediumAndLongMatches) {
  // 1024 varied literals, then a medium match of distance 1024 (u 0xBF, b 0xF0, length 3).
  ItemWriter w;
  Bytes expected;
  for (int i = 0; i < 1024; ++i) {
    uint8_t v = static_cast<uint8_t>(i * 7 + i / 256);
    w.Literal(v);
    expected.push_back(v);
  }
  w.Token({0xBF, 0xF0});
  expected.insert(expected.end(), expected.begin(), expected.begin() + 3);
  Bytes out(expected.size(), 0);
  EXPECT_EQ(ExpandDictionary(w.Stream(), out), expected.size());
  EXPECT_EQ(out, expected);

  // 'X', 'A', then runs of 'A' up to 16384 bytes, then a long match of distance 16384 (u 0xFF,
  // b 0xFF, c 0: length 3) that reaches back to the 'X'.
  ItemWriter far;
  far.Literal('X');
  far.Literal('A');
  for (uint8_t c : {255, 255, 255, 254, 254, 254, 253, 253, 253, 251}) far.Token({0xC0, 0x00, c});
  far.Token({0xFF, 0xFF, 0x00});
  Bytes farOut(16387, 0);
  EXPECT_EQ(ExpandDictionary(far.Stream(), farOut), 16387u);
  EXPECT_EQ(farOut[0], 'X');
  EXPECT_EQ(farOut[16383], 'A');
  EXPECT_EQ(farOut[16384], 'X');
  EXPECT_EQ(farOut[16385], 'A');
  EXPECT_EQ(farOut[16386], 'A');
}

TEST(PackedPictureTest, RunOfUnitThreeWritesTheValueCountTimes) {
  // Run-length stream: x = 0x80 | (3 - 1) << 5 | 299 >> 8, y = 299 & 0xFF, value 10 20 30.
  Bytes runs{0xC1, 0x2B, 10, 20, 30};
  Bytes data{0x00, 0xC1, 0x2B, 10, 20, 30};  // five literals
  Bitmap b;
  ASSERT_TRUE(DecodePackedPicture(Entry({.flags = 0x40, .dictionarySize = 5, .width = 300, .height = 1}, data), b));
  Bytes expected;
  for (int i = 0; i < 300; ++i) expected.insert(expected.end(), {10, 20, 30});
  EXPECT_EQ(PixelBytes(b), expected);
}

TEST(PackedPictureTest, EveryTokenOfTheRunLengthStage) {
  struct Case {
    std::string name;
    Bytes in;
    Bytes out;  // the stage target is its size
  };
  const Case cases[] = {
      {"literals", {0x02, 1, 2, 3}, {1, 2, 3}},
      {"128 literals", Concat({{0x7F}, Repeat(4, 128)}), Repeat(4, 128)},
      {"unit 1", {0x80, 0x04, 9}, Repeat(9, 5)},
      {"unit 2", {0xA0, 0x02, 1, 2}, {1, 2, 1, 2, 1, 2}},
      {"unit 4", {0xE0, 0x01, 1, 2, 3, 4}, {1, 2, 3, 4, 1, 2, 3, 4}},
      {"count 8192", {0x9F, 0xFF, 6}, Repeat(6, 8192)},
      // count x unit would pass the target: count := (6 - 0) / 4 = 1, then two literals.
      {"run clamped to the target", {0xE0, 99, 1, 2, 3, 4, 0x01, 5, 6}, {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes out(c.out.size() + 8, 0xEE);
    size_t n = ExpandRuns(c.in, std::span<uint8_t>(out.data(), c.out.size()));
    EXPECT_EQ(n, c.out.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + static_cast<long>(c.out.size())), c.out);
    EXPECT_EQ(out[c.out.size()], 0xEE) << "wrote past the target";
  }
}

TEST(PackedPictureTest, StagesApplyInTheOrderDictionaryRunLengthDelta) {
  // Pixels (10,20,30) (11,22,33) (12,24,36) (13,26,39) as channel deltas 10 20 30, then 1 2 3
  // three times: literals x = 2, then a run of unit 3, count 3. The dictionary stage holds that
  // run-length stream as one literal run of nine bytes.
  Bytes runs{0x02, 10, 20, 30, 0xC0, 0x02, 1, 2, 3};
  Bytes data = Concat({{0x80, 0x03}, runs});
  Bitmap b;
  ASSERT_TRUE(DecodePackedPicture(Entry({.flags = 0xC0, .dictionarySize = 9, .width = 4, .height = 1}, data), b));
  EXPECT_EQ(PixelBytes(b), (Bytes{10, 20, 30, 11, 22, 33, 12, 24, 36, 13, 26, 39}));
}

TEST(PackedPictureTest, DeltaRunsAcrossRowEnds) {
  // 1 × 2 picture, delta only: the second row continues the first row's channels.
  Bytes data{0x00, 5, 6, 7, 1, 1, 1};
  Bitmap b;
  ASSERT_TRUE(DecodePackedPicture(Entry({.flags = 0x80, .width = 1, .height = 2}, data), b));
  EXPECT_EQ(PixelBytes(b), (Bytes{5, 6, 7, 6, 7, 8}));
}

TEST(PackedPictureTest, RowsOfAWidthWhoseBytesAreNotAMultipleOfFour) {
  // 3 × 2: rows of 9 bytes, unpadded in the data.
  Bytes data{0x80, 0x27};  // a literal run of (9) + 9 = 18 bytes
  for (uint8_t i = 0; i < 18; ++i) data.push_back(i);
  Bitmap b;
  ASSERT_TRUE(DecodePackedPicture(Entry({.width = 3, .height = 2}, data), b));
  ASSERT_EQ(b.width, 3);
  ASSERT_EQ(b.height, 2);
  EXPECT_EQ(Bytes(b.Row(0), b.Row(0) + 9), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(Bytes(b.Row(1), b.Row(1) + 9), (Bytes{9, 10, 11, 12, 13, 14, 15, 16, 17}));
}

TEST(PackedPictureTest, HeaderBytesAndFlagBitsThatAreNotInterpretedChangeNothing) {
  Bytes data{0x00, 1, 2, 3};
  Bitmap plain, odd;
  ASSERT_TRUE(DecodePackedPicture(Entry({.width = 1, .height = 1}, data), plain));
  ASSERT_TRUE(DecodePackedPicture(
      Entry({.flags = 0x3F, .width = 1, .height = 1, .ignored0 = 0xAB, .ignored1 = 0xCD}, data), odd));
  EXPECT_EQ(PixelBytes(plain), PixelBytes(odd));
}

TEST(PackedPictureTest, AbsurdHeadersAreRejectedAndLeaveTheBitmapAlone) {
  struct Case {
    std::string name;
    Bytes entry;
  };
  const Case cases[] = {
      {"shorter than the header", Bytes(15, 0)},
      {"compressed size past the entry", Entry({.width = 1, .height = 1}, {0x00, 1, 2, 3}, 5)},
      {"compressed size near 4 GiB", Entry({.width = 1, .height = 1}, {0x00, 1, 2, 3}, 0xFFFFFFFF)},
      {"65535 x 65535 pixels", Entry({.width = 0xFFFF, .height = 0xFFFF}, {0x00})},
      {"W x H x B over 64 MiB", Entry({.bytesPerPixel = 255, .width = 1000, .height = 1000}, {0x00})},
      {"dictionary output over 64 MiB",
       Entry({.flags = 0x40, .dictionarySize = 0x7FFFFFFF, .width = 1, .height = 1}, {0x00})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b(2, 2);
    b.Fill(9, 9, 9);
    EXPECT_FALSE(DecodePackedPicture(c.entry, b));
    EXPECT_EQ(b.width, 2);
    EXPECT_EQ(PixelBytes(b), Repeat(9, 12));
  }
  // Without the run-length flag the dictionary size is not used, so it may hold anything.
  Bitmap b;
  EXPECT_TRUE(DecodePackedPicture(Entry({.dictionarySize = 0xFFFFFFFF, .width = 1, .height = 1}, {0x00, 1, 2, 3}), b));
}

TEST(PackedPictureTest, DamagedStreamsLeaveTheRestBlack) {
  struct Case {
    std::string name;
    Header header;
    Bytes data;
    Bytes expected;
  };
  const Case cases[] = {
      {"stream ends early", {.width = 2, .height = 1}, {0x00, 1, 2, 3}, {1, 2, 3, 0, 0, 0}},
      {"stream ends inside a literal run",
       {.width = 4, .height = 1},
       {0x80, 0x03, 1, 2, 3, 4},
       Concat({{1, 2, 3, 4}, Repeat(0, 8)})},
      {"stream ends inside a long match", {.width = 2, .height = 1}, {0x20, 1, 2, 0xC0, 0x01}, {1, 2, 0, 0, 0, 0}},
      {"match reaches before the first byte", {.width = 2, .height = 1}, {0x40, 1, 0x0C, 7}, {1, 0, 0, 0, 0, 0}},
      {"match longer than what is left", {.width = 2, .height = 1}, {0x40, 4, 0x80, 0x0F, 9}, Repeat(4, 6)},
      {"delta stops where the stream stops",
       {.flags = 0x80, .width = 3, .height = 1},
       {0x00, 10, 20, 30, 1, 1, 1},
       {10, 20, 30, 11, 21, 31, 0, 0, 0}},
      {"run-length stream ends early",
       {.flags = 0x40, .dictionarySize = 3, .width = 2, .height = 1},
       {0x00, 0x80, 0x02, 8},
       {8, 8, 8, 0, 0, 0}},
      {"run-length value cut short",
       {.flags = 0x40, .dictionarySize = 4, .width = 2, .height = 1},
       {0x00, 0xE0, 0x02, 8, 9},
       Repeat(0, 6)},
      {"dictionary output shorter than its size",
       {.flags = 0x40, .dictionarySize = 100, .width = 2, .height = 1},
       {0x00, 0x01, 5, 6},
       {5, 6, 0, 0, 0, 0}},
      {"no compressed data", {.width = 1, .height = 1}, {}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b;
    ASSERT_TRUE(DecodePackedPicture(Entry(c.header, c.data), b));
    EXPECT_EQ(PixelBytes(b), c.expected);
  }
}

TEST(PackedPictureTest, ABitmapOfTheSameSizeIsOverwrittenWhole) {
  Bitmap b(2, 1);
  b.Fill(200, 200, 200);
  ASSERT_TRUE(DecodePackedPicture(Entry({.width = 2, .height = 1}, {0x00, 1, 2}), b));
  EXPECT_EQ(PixelBytes(b), (Bytes{1, 2, 0, 0, 0, 0}));
  // A different size replaces the bitmap's shape.
  ASSERT_TRUE(DecodePackedPicture(Entry({.width = 1, .height = 2}, {0x00, 1, 2, 3, 4, 5, 6}), b));
  EXPECT_EQ(b.width, 1);
  EXPECT_EQ(b.height, 2);
  EXPECT_EQ(b.stride, 3);
}

TEST(PackedPictureTest, OtherPixelSizesKeepTheFirstThreeBytesPerPixelOfTheData) {
  struct Case {
    std::string name;
    uint8_t bytesPerPixel;
    Bytes expected;
  };
  // The data always holds 8 bytes 1..8; the picture is 2 x 1.
  const Case cases[] = {
      {"four bytes a pixel: the first six bytes", 4, {1, 2, 3, 4, 5, 6}},
      {"one byte a pixel: two bytes, then black", 1, {1, 2, 0, 0, 0, 0}},
      {"none: black", 0, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bitmap b;
    ASSERT_TRUE(DecodePackedPicture(
        Entry({.bytesPerPixel = c.bytesPerPixel, .width = 2, .height = 1}, {0x00, 1, 2, 3, 4, 5, 6, 7, 8}), b));
    EXPECT_EQ(PixelBytes(b), c.expected);
  }
}

TEST(PackedPictureTest, UndoDeltaKeepsThreeChannels) {
  Bytes data{1, 2, 3, 1, 1, 1, 255, 0, 0, 1};
  UndoDelta(data);
  EXPECT_EQ(data, (Bytes{1, 2, 3, 2, 3, 4, 1, 3, 4, 2}));
}

}  // namespace
}  // namespace torvel
