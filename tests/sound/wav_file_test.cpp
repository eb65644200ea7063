// 16-bit PCM WAVE files in and out.
#include "sound/wav_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}
void Append32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Append16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}

Bytes Wav(uint16_t tag, uint16_t channels, uint16_t bits, const Bytes& extraChunk, const Bytes& data,
          uint32_t dataSize) {
  Bytes b;
  Append(b, "RIFF");
  Append32(b, 0);
  Append(b, "WAVE");
  for (uint8_t x : extraChunk) b.push_back(x);
  Append(b, "fmt ");
  Append32(b, 16);
  Append16(b, tag);
  Append16(b, channels);
  Append32(b, 8000);
  Append32(b, 8000u * channels * bits / 8);
  Append16(b, static_cast<uint16_t>(channels * bits / 8));
  Append16(b, bits);
  Append(b, "data");
  Append32(b, dataSize);
  for (uint8_t x : data) b.push_back(x);
  return b;
}

TEST(WavFile, ReadsSixteenBitPcm) {
  Bytes odd = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};  // odd size, padded
  WavSound s;
  ASSERT_TRUE(ParseWav(Wav(1, 2, 16, odd, {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F}, 8), s));
  EXPECT_EQ(s.channels, 2);
  EXPECT_EQ(s.rate, 8000u);
  EXPECT_EQ(s.samples, (std::vector<int16_t>{1, -1, -32768, 32767}));
  ASSERT_TRUE(ParseWav(Wav(0xFFFE, 1, 16, {}, {0x02, 0x00}, 2), s));
  EXPECT_EQ(s.samples, (std::vector<int16_t>{2}));
}

TEST(WavFile, ShortDataChunkReadsWholeFramesAsFarAsItGoes) {
  WavSound s;
  ASSERT_TRUE(ParseWav(Wav(1, 2, 16, {}, {1, 0, 2, 0, 3, 0}, 1000), s));
  EXPECT_EQ(s.samples, (std::vector<int16_t>{1, 2}));
}

TEST(WavFile, RefusesOtherFormats) {
  WavSound s;
  EXPECT_FALSE(ParseWav(Wav(1, 1, 8, {}, {1, 2}, 2), s));
  EXPECT_FALSE(ParseWav(Wav(3, 1, 16, {}, {1, 2}, 2), s));
  EXPECT_FALSE(ParseWav(Wav(1, 0, 16, {}, {1, 2}, 2), s));
  EXPECT_FALSE(ParseWav(Bytes{'R', 'I', 'F', 'F'}, s));
  Bytes cut = Wav(1, 1, 16, {}, {1, 2}, 2);
  cut.resize(30);
  EXPECT_FALSE(ParseWav(cut, s));
}

TEST(WavFile, WritesAStandardHeader) {
  Bytes pcm = {1, 0, 2, 0, 3, 0, 4, 0};
  Bytes w = BuildWav(2, 22050, pcm);
  ASSERT_EQ(w.size(), 52u);
  EXPECT_EQ(std::memcmp(w.data(), "RIFF", 4), 0);
  EXPECT_EQ(w[4], 44);
  EXPECT_EQ(std::memcmp(w.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(w[22], 2);                                     // channels
  EXPECT_EQ(w[24] | (w[25] << 8), 22050);                  // rate
  EXPECT_EQ(w[28] | (w[29] << 8) | (w[30] << 16), 88200);  // bytes per second
  EXPECT_EQ(w[32], 4);                                     // block alignment
  EXPECT_EQ(w[34], 16);
  EXPECT_EQ(w[40], 8);
  EXPECT_EQ(Bytes(w.begin() + 44, w.end()), pcm);
  WavSound s;
  ASSERT_TRUE(ParseWav(w, s));
  EXPECT_EQ(s.samples, (std::vector<int16_t>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace torvel
