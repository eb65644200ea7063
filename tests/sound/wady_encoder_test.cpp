// The compressed wave writers: what they write decodes back close to the sound, in the layout
// the decoders read.
#include "sound/wady_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "sound/wady_decoder.h"

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Get32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

std::vector<int16_t> Samples(const Bytes& pcm) {
  std::vector<int16_t> s(pcm.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(pcm[2 * i] | (pcm[2 * i + 1] << 8));
  return s;
}

// Notes with harmonics and decaying envelopes over a bass line, with noise bursts: the kind of
// sound music tracks and effects hold.
std::vector<int16_t> MusicLike(int channels, size_t frames, uint32_t rate) {
  std::mt19937 rng(9);
  std::vector<double> mix(frames * channels, 0.0);
  const size_t beat = rate / 4;
  for (size_t start = 0; start < frames; start += beat) {
    const double f = 440 * std::pow(2.0, static_cast<int>(rng() % 12) / 12.0);
    const double pan = (rng() % 100) / 100.0;
    for (size_t i = start; i < std::min(frames, start + 2 * beat); ++i) {
      const double t = static_cast<double>(i - start) / rate;
      const double env = std::min(1.0, t / 0.01) * std::exp(-3 * t);
      double v = 0;
      for (int h = 1; h <= 5; ++h) v += std::sin(2 * M_PI * f * h * t) / h;
      v += 0.8 * std::sin(2 * M_PI * 110 * t);
      if ((start / beat) % 2 == 1 && i - start < 1500)
        v += ((rng() % 2001) / 1000.0 - 1) * std::exp(-(i - start) / 300.0);
      for (int c = 0; c < channels; ++c) mix[i * channels + c] += v * env * (c == 0 ? 1 - pan : pan + (channels == 1));
    }
  }
  double peak = 1e-9;
  for (double v : mix) peak = std::max(peak, std::abs(v));
  std::vector<int16_t> s(mix.size());
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(std::lround(mix[i] / peak * 22000));
  return s;
}

double SnrDb(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  double signal = 0;
  double noise = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    signal += static_cast<double>(a[i]) * a[i];
    const double e = static_cast<double>(a[i]) - (i < b.size() ? b[i] : 0);
    noise += e * e;
  }
  return noise == 0 ? 200 : 10 * std::log10(signal / noise);
}

TEST(WadyEncoder, MusicRoundTripsAtHighQuality) {
  for (int channels : {1, 2}) {
    SCOPED_TRACE(channels);
    const uint32_t rate = 22050;
    std::vector<int16_t> music = MusicLike(channels, rate * 3, rate);
    Bytes a = EncodeTypeA(music, static_cast<uint16_t>(channels), rate);
    ASSERT_EQ(a.size(), 48 + music.size());
    EXPECT_GT(SnrDb(music, Samples(DecodeTypeAEntry(a, false))), 45.0);
    Bytes b = EncodeTypeB(music, static_cast<uint16_t>(channels), rate);
    ASSERT_FALSE(b.empty());
    EXPECT_LT(b.size(), 48 + music.size() + 20);
    EXPECT_GT(SnrDb(music, Samples(DecodeTypeB(b))), 38.0);
  }
}

TEST(WadyEncoder, TypeAHeaderDescribesTheSound) {
  std::vector<int16_t> s = MusicLike(2, 5000, 11025);
  Bytes a = EncodeTypeA(s, 2, 11025, 1200);
  WadyHeader h;
  ASSERT_TRUE(ReadWadyHeader(a, h));
  EXPECT_EQ(h.channels, 2);
  EXPECT_EQ(h.sampleRate, 11025u);
  EXPECT_EQ(h.dataLength, 10000u);
  EXPECT_EQ(h.frames, 5000u);
  EXPECT_EQ(h.decodedLength, 20000u);
  EXPECT_EQ(h.loopStart, 2400u);
  EXPECT_GE(h.scale, 1);
  EXPECT_EQ(h.format.formatTag, 1);
  EXPECT_EQ(h.format.channels, 2);
  EXPECT_EQ(h.format.samplesPerSec, 11025u);
  EXPECT_EQ(h.format.avgBytesPerSec, 44100u);
  EXPECT_EQ(h.format.blockAlign, 4);
  EXPECT_EQ(h.format.bitsPerSample, 16);
  // The loop-point values are the running values the decoder holds when it reaches the loop.
  Bytes pcm(2 * 2 * 1200);
  int16_t l = 0;
  int16_t r = 0;
  DecodeTypeA(std::span(a).subspan(48), pcm, h.scale, l, r, 2, 1200, false);
  EXPECT_EQ(h.loopLeft, l);
  EXPECT_EQ(h.loopRight, r);
  EXPECT_TRUE(EncodeTypeA(s, 2, 11025, 5000).empty());  // loop past the end
  EXPECT_TRUE(EncodeTypeA(s, 3, 11025).empty());
}

TEST(WadyEncoder, TypeAJumpsWithAbsoluteCodes) {
  // A quiet tone wants a small scale; the two jumps in it are out of reach of its deltas.
  std::vector<int16_t> s(4000);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<int16_t>(100 * std::sin(i * 0.05));
  s[1000] = 30000;
  s[3000] = -30000;
  Bytes a = EncodeTypeA(s, 1, 8000);
  ASSERT_EQ(a.size(), 48u + 4000);
  EXPECT_LT(a[5], 8);
  EXPECT_NE(a[48 + 1000] & 0x80, 0);
  EXPECT_NE(a[48 + 3000] & 0x80, 0);
  std::vector<int16_t> back = Samples(DecodeTypeAEntry(a, false));
  for (size_t i = 0; i < s.size(); ++i) EXPECT_LE(std::abs(back[i] - s[i]), 256) << i;
}

TEST(WadyEncoder, TypeBUsesRunsWhereAStraightLineFits) {
  std::vector<int16_t> ramp(2001);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(-16000 + 16 * static_cast<int>(i));
  Bytes b = EncodeTypeB(ramp, 1, 8000);
  // 300 one-byte tokens end the stream; the rest of the ramp needs only a few run tokens.
  EXPECT_LT(b.size(), 48u + 10 + 300 + 200);
  std::vector<int16_t> back = Samples(DecodeTypeB(b));
  ASSERT_EQ(back.size(), ramp.size());
  // The first of the last 300 samples restarts from zero with one absolute code.
  for (size_t i = 0; i < ramp.size(); ++i) ASSERT_LE(std::abs(back[i] - ramp[i]), i == 1701 ? 512 : 16) << i;
}

TEST(WadyEncoder, TypeBEndsWithThreeHundredTokensThatStartFromZero) {
  // A loud steady end: the decoder restarts from zero 300 tokens before the end, and the writer
  // codes those tokens from zero too.
  for (size_t frames : {120u, 301u, 302u, 5000u}) {
    SCOPED_TRACE(frames);
    std::vector<int16_t> s(frames, 20000);
    s[0] = 0;
    Bytes b = EncodeTypeB(s, 1, 8000);
    const uint32_t count = Get32(b, 48 + 4);
    EXPECT_EQ(count >= 300, frames > 300);
    std::vector<int16_t> back = Samples(DecodeTypeB(b));
    ASSERT_EQ(back.size(), frames);
    for (size_t i = 0; i < frames; ++i) ASSERT_LE(std::abs(back[i] - s[i]), 512) << i;
  }
}

TEST(WadyEncoder, TypeBStereoLayout) {
  std::vector<int16_t> s = MusicLike(2, 3000, 11025);
  Bytes b = EncodeTypeB(s, 2, 11025);
  WadyHeader h;
  ASSERT_TRUE(ReadWadyHeader(b, h));
  EXPECT_EQ(h.decodedLength, 12000u);
  EXPECT_EQ(h.format.channels, 2);
  // The right block follows the left one: 0x38 + distance is just past the left block.
  const uint32_t distance = Get32(b, 0x30);
  const uint32_t leftTokens = Get32(b, 0x34);  // the writer keeps the token bytes here
  EXPECT_EQ(0x38u + distance, 0x34u + 10 + leftTokens);
  EXPECT_EQ(Get32(b, 0x38 + distance), b.size() - (0x38 + distance) - 10);
  EXPECT_TRUE(EncodeTypeB({}, 1, 8000).empty());
}

}  // namespace
}  // namespace torvel
