// Both compressed wave decoders against values worked by hand from the format's rules and
// against a tiny model of the rules written here.
#include "sound/wady_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<int16_t> Samples(const Bytes& pcm) {
  std::vector<int16_t> s(pcm.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
  return s;
}

// A 48-byte header with the fields both decoders read.
Bytes Header(uint8_t scale, uint16_t channels, uint32_t frames, uint32_t decodedLength) {
  Bytes h(48, 0);
  std::memcpy(h.data(), "WADY", 4);
  h[5] = scale;
  Put16(h, 0x06, channels);
  Put32(h, 0x08, 22050);
  Put32(h, 0x10, frames);
  Put32(h, 0x14, decodedLength);
  Put16(h, 0x20, 1);
  Put16(h, 0x22, channels);
  Put32(h, 0x24, 22050);
  Put32(h, 0x28, 22050u * 2 * channels);
  Put16(h, 0x2C, static_cast<uint16_t>(2 * channels));
  Put16(h, 0x2E, 16);
  return h;
}

// ---- Type A ----

struct CodeCase {
  const char* name;
  uint8_t scale;
  int16_t before;
  uint8_t code;
  int16_t after;
};

class TypeACode : public testing::TestWithParam<CodeCase> {};

TEST_P(TypeACode, SetsTheRunningValue) {
  const CodeCase& c = GetParam();
  Bytes in = {c.code};
  Bytes out(2);
  int16_t left = c.before;
  int16_t right = 77;
  EXPECT_EQ(DecodeTypeA(in, out, c.scale, left, right, 1, 1, false), 1u);
  EXPECT_EQ(left, c.after);
  EXPECT_EQ(right, 77);
  EXPECT_EQ(Samples(out)[0], c.after);
}

INSTANTIATE_TEST_SUITE_P(Codes, TypeACode,
                         testing::Values(CodeCase{"Absolute0x80IsZero", 1, 1234, 0x80, 0},
                                         CodeCase{"Absolute0xFFIsMinus512", 1, 1234, 0xFF, -512},
                                         CodeCase{"Absolute0xC0IsMinus32768", 1, 1234, 0xC0, -32768},
                                         CodeCase{"Absolute0xBFIs32256", 1, 0, 0xBF, 32256},
                                         CodeCase{"Code64AddsNothing", 3, 100, 64, 100},
                                         CodeCase{"Code65Scale3SubtractsSix", 3, 100, 65, 94},
                                         CodeCase{"Code63Scale3Adds3000", 3, -5000, 63, -2000},
                                         CodeCase{"DeltaWrapsAround", 3, 32760, 63, -29776},
                                         CodeCase{"NegativeDeltaWraps", 2, -32000, 127, 31536},
                                         CodeCase{"Scale255", 255, 0, 7, 3825}),
                         [](const testing::TestParamInfo<CodeCase>& i) { return std::string(i.param.name); });

TEST(TypeA, StereoWritesLeftThenRightAndKeepsBothRunningValues) {
  Bytes in = {0x81, 0xFF, 0x01, 0x41};  // L=512, R=-512, L+=2, R-=2 (scale 1)
  Bytes out(8);
  int16_t left = 0;
  int16_t right = 0;
  EXPECT_EQ(DecodeTypeA(in, out, 1, left, right, 2, 2, false), 2u);
  EXPECT_EQ(Samples(out), (std::vector<int16_t>{512, -512, 514, -514}));
  EXPECT_EQ(left, 514);
  EXPECT_EQ(right, -514);
}

TEST(TypeA, SilencedOutputIsZeroWhileRunningValuesFollowTheCodes) {
  Bytes in = {0x90, 0x05, 0x05};  // 16 × 512 = 8192, then + 2 × 10 twice
  Bytes out(6, 0xAA);
  int16_t left = 0;
  int16_t right = 0;
  EXPECT_EQ(DecodeTypeA(in, out, 2, left, right, 1, 3, true), 3u);
  EXPECT_EQ(Samples(out), (std::vector<int16_t>{0, 0, 0}));
  EXPECT_EQ(left, 8192 + 40);
}

TEST(TypeA, BlockwiseDecodingCarriesTheRunningValues) {
  Bytes in = {0x84, 0x01, 0x02, 0x43, 0x01};
  Bytes whole(10);
  int16_t l = 0;
  int16_t r = 0;
  DecodeTypeA(in, whole, 1, l, r, 1, 5, false);
  Bytes pieces(10);
  int16_t pl = 0;
  int16_t pr = 0;
  DecodeTypeA(std::span(in).first(2), std::span(pieces).first(4), 1, pl, pr, 1, 2, false);
  DecodeTypeA(std::span(in).subspan(2), std::span(pieces).subspan(4), 1, pl, pr, 1, 3, false);
  EXPECT_EQ(pieces, whole);
  EXPECT_EQ(Samples(whole), (std::vector<int16_t>{2048, 2050, 2054, 2048, 2050}));
}

TEST(TypeA, StopsAtTheEndOfInputOrOutput) {
  int16_t l = 0;
  int16_t r = 0;
  Bytes in = {0x81, 0x82, 0x83};
  Bytes out(100, 0xEE);
  EXPECT_EQ(DecodeTypeA(in, std::span(out).first(4), 1, l, r, 1, 50, false), 2u);  // output holds 2
  EXPECT_EQ(out[4], 0xEE);
  EXPECT_EQ(DecodeTypeA(in, out, 1, l, r, 1, 50, false), 3u);  // input holds 3
  EXPECT_EQ(out[6], 0xEE);
  EXPECT_EQ(DecodeTypeA(in, out, 1, l, r, 2, 50, false), 1u);  // one whole stereo frame
  EXPECT_EQ(DecodeTypeA(in, out, 1, l, r, 0, 50, false), 0u);
  EXPECT_EQ(DecodeTypeA(in, out, 1, l, r, 3, 50, false), 0u);
}

// The format's rules for type A, kept apart from the decoder.
const int16_t kModelA[64] = {0,   2,   4,   6,   8,   10,  12,  15,  18,  21,  24,  28,  32,  36,  40,  44,
                             49,  54,  59,  64,  70,  76,  82,  88,  95,  102, 109, 116, 124, 132, 140, 148,
                             160, 170, 180, 190, 200, 210, 220, 230, 240, 255, 270, 285, 300, 320, 340, 360,
                             380, 400, 425, 450, 475, 500, 525, 550, 580, 610, 650, 700, 750, 800, 900, 1000};

std::vector<int16_t> ModelTypeA(const Bytes& data, int scale, int channels, size_t frames) {
  std::vector<int16_t> out;
  int v[2] = {0, 0};
  for (size_t i = 0; i < frames * channels; ++i) {
    int& x = v[i % channels];
    int c = data[i];
    if (c >= 128) {
      x = (c * 512) % 65536;
    } else {
      int d = c < 64 ? kModelA[c] : -kModelA[c - 64];
      x = ((x + scale * d) % 65536 + 65536) % 65536;
    }
    if (x >= 32768) x -= 65536;
    out.push_back(static_cast<int16_t>(x));
  }
  return out;
}

TEST(TypeA, WholeEntriesMatchTheModel) {
  std::mt19937 rng(5);
  for (int channels : {1, 2}) {
    for (int scale : {1, 7, 40, 255}) {
      SCOPED_TRACE(testing::Message() << channels << " channels, scale " << scale);
      const uint32_t frames = 3000;
      Bytes data(frames * channels);
      for (uint8_t& b : data) b = static_cast<uint8_t>(rng() % 10 == 0 ? rng() : rng() % 128);
      Bytes entry = Header(static_cast<uint8_t>(scale), static_cast<uint16_t>(channels), frames, frames * channels * 2);
      entry.insert(entry.end(), data.begin(), data.end());
      EXPECT_EQ(Samples(DecodeTypeAEntry(entry, false)), ModelTypeA(data, scale, channels, frames));
    }
  }
}

TEST(TypeA, EntryHeaderPromisingMoreThanTheDataDecodesWhatIsThere) {
  Bytes entry = Header(1, 1, 1000000, 0xFFFFFFFF);
  entry.push_back(0x81);
  entry.push_back(0x01);
  Bytes pcm = DecodeTypeAEntry(entry, false);
  EXPECT_EQ(Samples(pcm), (std::vector<int16_t>{512, 514}));
  // A decoded length longer than the frame count keeps its silent tail.
  Bytes padded = Header(1, 1, 1, 4);
  padded.push_back(0x81);
  padded.push_back(0x81);
  EXPECT_EQ(Samples(DecodeTypeAEntry(padded, false)), (std::vector<int16_t>{512, 0}));
  EXPECT_TRUE(DecodeTypeAEntry(Bytes{'W', 'A', 'D', 'Y'}, false).empty());
  Bytes wrongMagic = Header(1, 1, 1, 2);
  wrongMagic[0] = 'X';
  EXPECT_TRUE(DecodeTypeAEntry(wrongMagic, false).empty());
}

// ---- Type B ----

Bytes Block(uint32_t count, int16_t initial, const Bytes& tokens) {
  Bytes b(10 + tokens.size(), 0);
  Put32(b, 4, count);
  Put16(b, 8, static_cast<uint16_t>(initial));
  for (size_t i = 0; i < tokens.size(); ++i) b[10 + i] = tokens[i];
  return b;
}

std::vector<int16_t> DecodeBlock(const Bytes& block, size_t samples) {
  Bytes out(samples * 2);
  DecodeTypeBChannel(block, out, 1);
  return Samples(out);
}

struct TokenCase {
  const char* name;
  int16_t initial;
  Bytes tokens;
  std::vector<int16_t> expected;
};

class TypeBToken : public testing::TestWithParam<TokenCase> {};

TEST_P(TypeBToken, Decodes) {
  const TokenCase& c = GetParam();
  EXPECT_EQ(DecodeBlock(Block(static_cast<uint32_t>(c.tokens.size()), c.initial, c.tokens), c.expected.size()),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, TypeBToken,
    testing::Values(TokenCase{"Absolute0x81IsZero", 500, {0x81}, {500, 0}},
                    TokenCase{"Absolute0xFFIsMinus1024", 500, {0xFF}, {500, -1024}},
                    TokenCase{"Absolute0xBFIs31744", 0, {0xBF}, {0, 31744}},
                    TokenCase{"Delta0x7FAddsMinus8000", 0, {0x7F}, {0, -8000}},
                    TokenCase{"Delta0x03Adds4", 10, {0x03}, {10, 14}},
                    TokenCase{"DeltaWraps", 30000, {0x3F}, {30000, -27536}},
                    // One token-count per byte here; the run token is two bytes and ends the stream.
                    TokenCase{"RunOfThreeTo1600", 0, {0x40, 0x06}, {0, 533, 1066, 1600}},
                    TokenCase{"RunTargetDropsLowBits", 0, {0x4E, 0x00}, {0, 0, 0, 0}}),
    [](const testing::TestParamInfo<TokenCase>& i) { return std::string(i.param.name); });

TEST(TypeB, RunTokensCountOnceAndNegativeTargetsTruncateTowardZero) {
  // One run (word 0xFF02: four samples to -256 from 100): steps of -89, truncated toward zero.
  Bytes block = Block(1, 100, {0x02, 0xFF});
  EXPECT_EQ(DecodeBlock(block, 5), (std::vector<int16_t>{100, 11, -78, -167, -256}));
}

TEST(TypeB, TheLastThreeHundredTokensDecodeFromZero) {
  for (uint32_t count : {299u, 300u, 301u}) {
    SCOPED_TRACE(count);
    Bytes tokens(count, 0x03);  // +4 each
    std::vector<int16_t> got = DecodeBlock(Block(count, 700, tokens), count + 1);
    std::vector<int16_t> expected = {700};
    int v = 700;
    for (uint32_t i = 0; i < count; ++i) {
      if (count >= 300 && i == count - 300) v = 0;
      v += 4;
      expected.push_back(static_cast<int16_t>(v));
    }
    EXPECT_EQ(got, expected);
  }
  // With N = 300 the value is 0 before the first token.
  EXPECT_EQ(DecodeBlock(Block(300, 700, Bytes(300, 0x03)), 2), (std::vector<int16_t>{700, 4}));
}

TEST(TypeB, StereoEntryWithDistanceZeroStartsTheRightBlockAt0x38) {
  // The blocks overlap: the left block's count is the right block's unread bytes, the left
  // block's initial value and first token are the right block's count.
  Bytes entry = Header(0, 2, 4, 16);
  Bytes body = {0,   0, 0,    0,      // 0x30 distance 0
                0,   0, 0,    0,      // 0x34 left: unread
                1,   0, 0,    0,      // 0x38 left count 1 / right: unread
                2,   0, 0x00, 0x00,   // 0x3C left initial 2, run of 3 to 0 / right count 2
                100, 0, 0x03, 0x81};  // 0x40 right initial 100, +4, absolute 0
  entry.insert(entry.end(), body.begin(), body.end());
  EXPECT_EQ(Samples(DecodeTypeB(entry)), (std::vector<int16_t>{2, 100, 1, 104, 0, 0, 0, 0}));
}

TEST(TypeB, MonoEntryDecodesTheBlockAfterTheHeader) {
  Bytes entry = Header(0, 1, 3, 6);
  Bytes block = Block(2, -3, {0x05, 0x81});
  entry.insert(entry.end(), block.begin(), block.end());
  EXPECT_EQ(Samples(DecodeTypeB(entry)), (std::vector<int16_t>{-3, 5, 0}));
}

TEST(TypeB, NeverReadsOrWritesPastItsBounds) {
  // Counts past the tokens, a run past the decoded length, a two-byte token cut by the end.
  EXPECT_EQ(DecodeBlock(Block(1000, 1, {0x03}), 4), (std::vector<int16_t>{1, 5, 0, 0}));
  Bytes out(6, 0xEE);
  EXPECT_EQ(DecodeTypeBChannel(Block(1, 0, {0x0E, 0x10}), std::span(out).first(4), 1), 2u);  // run of 256
  EXPECT_EQ(out[4], 0xEE);
  EXPECT_EQ(DecodeBlock(Block(2, 9, {0x03, 0x40}), 4), (std::vector<int16_t>{9, 13, 0, 0}));
  EXPECT_EQ(DecodeTypeBChannel(Bytes(9, 0), out, 1), 0u);
  // A stereo distance far past the entry decodes the left channel only.
  Bytes entry = Header(0, 2, 2, 8);
  Bytes body = {0xFF, 0xFF, 0xFF, 0xFF};
  Bytes left = Block(1, 7, {0x03});
  body.insert(body.end(), left.begin(), left.end());
  entry.insert(entry.end(), body.begin(), body.end());
  EXPECT_EQ(Samples(DecodeTypeB(entry)), (std::vector<int16_t>{7, 0, 11, 0}));
  // A decoded length the tokens could never fill is not allocated.
  Bytes huge = Header(0, 1, 1, 0xFFFFFFFF);
  Bytes block = Block(1, 7, {0x03});
  huge.insert(huge.end(), block.begin(), block.end());
  Bytes pcm = DecodeTypeB(huge);
  EXPECT_LE(pcm.size(), 2u * 2 * (1 + 128 * huge.size()));
  EXPECT_EQ(Samples(pcm)[1], 11);
  EXPECT_TRUE(DecodeTypeB(Bytes{'W', 'A', 'D', 'Y', 0}).empty());
}

// The format's rules for type B, kept apart from the decoder.
const int16_t kModelB[32] = {0,   4,   8,   12,  19,  24,  30,   38,   47,   59,   74,   92,   115,  144,  180,  225,
                             281, 352, 440, 550, 687, 859, 1073, 1342, 1678, 2097, 2621, 3277, 4096, 5120, 6400, 8000};
const int kModelRuns[8] = {3, 4, 5, 6, 8, 16, 32, 256};

std::vector<int16_t> ModelTypeB(const Bytes& tokens, uint32_t count, int16_t initial) {
  std::vector<int16_t> out = {initial};
  int v = initial;
  size_t p = 0;
  auto wrap = [](int x) { return static_cast<int16_t>(static_cast<uint16_t>(x & 0xFFFF)); };
  for (uint32_t i = 0; i < count && p < tokens.size(); ++i) {
    if (count >= 300 && i == count - 300) v = 0;
    int first = tokens[p];
    if (first & 1) {
      p += 1;
      int k = first >> 1;
      if (k & 0x40) {
        v = wrap((k & 0x3F) << 10);
      } else {
        v = wrap(v + (k < 32 ? kModelB[k] : -kModelB[k - 32]));
      }
      out.push_back(static_cast<int16_t>(v));
    } else {
      if (p + 1 >= tokens.size()) break;
      int w = first | (tokens[p + 1] << 8);
      p += 2;
      int n = kModelRuns[(w >> 1) & 7];
      int target = wrap(w & 0xFFF0);
      float step = static_cast<float>(static_cast<long double>(target - v) / n);
      volatile float x = static_cast<float>(v);
      for (int j = 0; j < n; ++j) {
        x = x + step;
        out.push_back(wrap(static_cast<int>(x)));
      }
      v = target;
    }
  }
  return out;
}

TEST(TypeB, RandomTokenStreamsMatchTheModel) {
  std::mt19937 rng(11);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    Bytes tokens(200 + rng() % 600);
    for (uint8_t& b : tokens) b = static_cast<uint8_t>(rng());
    const uint32_t count = static_cast<uint32_t>(rng() % 800);
    const int16_t initial = static_cast<int16_t>(rng());
    std::vector<int16_t> expected = ModelTypeB(tokens, count, initial);
    std::vector<int16_t> got = DecodeBlock(Block(count, initial, tokens), expected.size() + 5);
    expected.resize(got.size(), 0);
    EXPECT_EQ(got, expected);
  }
}

TEST(TypeB, StereoEntriesInterleaveTheChannels) {
  std::mt19937 rng(3);
  Bytes lt(300), rt(280);
  for (uint8_t& b : lt) b = static_cast<uint8_t>(rng() | 1);  // one-byte tokens: one sample each
  for (uint8_t& b : rt) b = static_cast<uint8_t>(rng() | 1);
  Bytes left = Block(300, 5, lt);
  Bytes right = Block(280, -5, rt);
  const uint32_t frames = 281;
  Bytes entry = Header(0, 2, frames, frames * 4);
  Bytes distance(4);
  Put32(distance, 0, static_cast<uint32_t>(left.size() - 4));
  entry.insert(entry.end(), distance.begin(), distance.end());
  entry.insert(entry.end(), left.begin(), left.end());
  entry.insert(entry.end(), right.begin(), right.end());
  std::vector<int16_t> l = ModelTypeB(lt, 300, 5);
  std::vector<int16_t> r = ModelTypeB(rt, 280, -5);
  std::vector<int16_t> expected;
  for (uint32_t i = 0; i < frames; ++i) {
    expected.push_back(l[i]);
    expected.push_back(r[i]);
  }
  EXPECT_EQ(Samples(DecodeTypeB(entry)), expected);
}

}  // namespace
}  // namespace torvel
