// Ogg voices: the whole-stream decode through libvorbisfile, the format record, and the trailing
// silence trim. The streams are made here with libvorbisenc, or come from the sound theme
// Debian ships.
#include "sound/ogg_voice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "ogg_vorbis_encoder.h"

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;
using tvx::EncodeOggVorbis;

// ---- The trim rule on decoded buffers ----

struct TrimCase {
  const char* name;
  size_t size;
  std::vector<size_t> loud;  // byte positions that are not zero
  size_t played;
};

class VoiceTrim : public ::testing::TestWithParam<TrimCase> {};

TEST_P(VoiceTrim, PlayedLength) {
  const TrimCase& c = GetParam();
  Bytes pcm(c.size, 0);
  for (size_t at : c.loud) pcm[at] = 1;
  EXPECT_EQ(VoicePlayedLength(pcm), c.played);
}

INSTANTIATE_TEST_SUITE_P(Rule, VoiceTrim,
                         ::testing::Values(TrimCase{"Exactly30000PlaysWholeWithItsSilence", 30000, {0}, 30000},
                                           TrimCase{"ShortAllZeroPlaysWhole", 1000, {}, 1000},
                                           TrimCase{"Of30004EndingInSilenceIsTrimmed", 30004, {20000}, 20004},
                                           TrimCase{"AllZeroOver30000IsTrimmedToHalfPlus4", 80000, {}, 40004},
                                           TrimCase{
                                               "Stereo20000FramesWithLast1000SilentPlays76000", 80000, {75996}, 76000},
                                           TrimCase{"NoSilenceKeepsAll", 40000, {39999}, 40000},
                                           TrimCase{"StopsAtTheFirstLoudGroupFromTheEnd", 40000, {37001}, 37004},
                                           TrimCase{"NeverBelowHalf", 40000, {3}, 20004},
                                           TrimCase{"GroupsCountFromTheEndNotFromZero", 30002, {20000}, 20002}),
                         [](const ::testing::TestParamInfo<TrimCase>& i) { return std::string(i.param.name); });

// ---- Streams made here ----

// A tone of `frames` frames on every channel.
std::vector<float> Tone(int channels, size_t frames, double hz, long rate) {
  std::vector<float> s(frames * channels);
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c)
      s[i * channels + c] = 0.5f * static_cast<float>(std::sin(2 * M_PI * hz * i / rate));
  }
  return s;
}

// A voice of `loud` frames of tone followed by `silent` frames of digital silence; the blocks
// that hold only silence decode to exact zeros.
Bytes VoiceWithSilentTail(int channels, size_t loud, size_t silent) {
  std::vector<float> s = Tone(channels, loud, 440, 44100);
  s.resize((loud + silent) * channels, 0.0f);
  return EncodeOggVorbis(channels, 44100, s, 0.5f, 1);
}

bool AllZero(const Bytes& b, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) {
    if (b[i] != 0) return false;
  }
  return true;
}

// The trim worked out independently on a decoded buffer.
size_t ModelPlayed(const Bytes& pcm) {
  if (pcm.size() <= 30000) return pcm.size();
  size_t at = pcm.size() - 4;
  while (at > pcm.size() / 2 && AllZero(pcm, at, at + 4)) at -= 4;
  return at + 4;
}

TEST(OggVoice, StereoStreamOf20000FramesWithASilentEndIsTrimmed) {
  OggVoice v;
  ASSERT_TRUE(DecodeOggVoice(VoiceWithSilentTail(2, 16000, 4000), v));
  ASSERT_EQ(v.pcm.size(), 80000u);
  ASSERT_TRUE(AllZero(v.pcm, 76000, 80000));  // the silent end decodes to zeros
  EXPECT_LE(v.playedLength, 76000u);
  EXPECT_GT(v.playedLength, 64000u);
  EXPECT_EQ(v.playedLength, ModelPlayed(v.pcm));
  EXPECT_EQ(v.format.formatTag, 1);
  EXPECT_EQ(v.format.channels, 2);
  EXPECT_EQ(v.format.samplesPerSec, 44100u);
  EXPECT_EQ(v.format.avgBytesPerSec, 176400u);
  EXPECT_EQ(v.format.blockAlign, 4);
  EXPECT_EQ(v.format.bitsPerSample, 16);
}

TEST(OggVoice, ThirtyThousandBytesPlayWholeAndThirtyThousandFourAreTrimmed) {
  OggVoice v;
  ASSERT_TRUE(DecodeOggVoice(VoiceWithSilentTail(1, 11000, 4000), v));
  ASSERT_EQ(v.pcm.size(), 30000u);  // mono: two bytes per frame
  ASSERT_TRUE(AllZero(v.pcm, 28000, 30000));
  EXPECT_EQ(v.playedLength, 30000u);
  EXPECT_EQ(v.format.blockAlign, 2);
  ASSERT_TRUE(DecodeOggVoice(VoiceWithSilentTail(1, 11002, 4000), v));
  ASSERT_EQ(v.pcm.size(), 30004u);
  ASSERT_TRUE(AllZero(v.pcm, 28004, 30004));
  EXPECT_LE(v.playedLength, 28004u);
  EXPECT_EQ(v.playedLength, ModelPlayed(v.pcm));
}

TEST(OggVoice, SilentVoiceIsTrimmedToHalfPlusFour) {
  OggVoice v;
  ASSERT_TRUE(DecodeOggVoice(EncodeOggVorbis(1, 22050, std::vector<float>(20000, 0.0f), 0.5f, 7), v));
  ASSERT_EQ(v.pcm.size(), 40000u);
  ASSERT_TRUE(AllZero(v.pcm, 0, 40000));
  EXPECT_EQ(v.playedLength, 20004u);
  EXPECT_EQ(v.format.samplesPerSec, 22050u);
}

TEST(OggVoice, RejectedStreamsPlayNothing) {
  OggVoice v;
  EXPECT_FALSE(DecodeOggVoice(Bytes{}, v));
  EXPECT_FALSE(DecodeOggVoice(Bytes(5000, 0x4F), v));
  Bytes ogg = VoiceWithSilentTail(1, 5000, 0);
  EXPECT_FALSE(DecodeOggVoice(std::span(ogg).first(50), v));  // cut inside the headers
  EXPECT_TRUE(v.pcm.empty());
  // Cut part-way through the sound: what decodes is kept, the rest is the buffer's silence.
  Bytes cut(ogg.begin(), ogg.begin() + static_cast<ptrdiff_t>(ogg.size() * 3 / 4));
  if (DecodeOggVoice(cut, v)) {
    EXPECT_EQ(v.pcm.size() % 2, 0u);
    EXPECT_LE(v.playedLength, v.pcm.size());
  }
}

TEST(OggVoice, DecodesRunningAtOnceDoNotDisturbEachOther) {
  Bytes a = VoiceWithSilentTail(1, 30000, 5000);
  Bytes b = VoiceWithSilentTail(2, 20000, 0);
  OggVoice alone[2];
  ASSERT_TRUE(DecodeOggVoice(a, alone[0]));
  ASSERT_TRUE(DecodeOggVoice(b, alone[1]));
  OggVoice together[2];
  std::thread other([&] {
    for (int i = 0; i < 5; ++i) DecodeOggVoice(b, together[1]);
  });
  for (int i = 0; i < 5; ++i) DecodeOggVoice(a, together[0]);
  other.join();
  EXPECT_EQ(together[0].pcm, alone[0].pcm);
  EXPECT_EQ(together[1].pcm, alone[1].pcm);
}

// ---- A stream the project did not make ----

constexpr const char* kThemeSound = "/usr/share/sounds/freedesktop/stereo/complete.oga";

Bytes ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(OggVoice, ThemeSoundDecodesAsOggdecDecodesIt) {
  if (!std::filesystem::exists(kThemeSound)) GTEST_SKIP() << "sound-theme-freedesktop is not installed";
  const std::filesystem::path wav = std::filesystem::temp_directory_path() / "torvel_ogg_voice_test.wav";
  const std::string command = std::string("oggdec -Q -o '") + wav.string() + "' '" + kThemeSound + "'";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "oggdec (vorbis-tools) is not available";
  Bytes reference = ReadFile(wav);
  std::filesystem::remove(wav);
  ASSERT_GT(reference.size(), 44u);
  const int channels = reference[22];
  const uint32_t rate = reference[24] | (reference[25] << 8) | (reference[26] << 16);
  Bytes pcm(reference.begin() + 44, reference.end());

  OggVoice v;
  ASSERT_TRUE(DecodeOggVoice(ReadFile(kThemeSound), v));
  EXPECT_EQ(v.format.channels, channels);
  EXPECT_EQ(v.format.samplesPerSec, rate);
  EXPECT_EQ(v.pcm, pcm);
  EXPECT_EQ(v.playedLength, ModelPlayed(pcm));
}

}  // namespace
}  // namespace torvel
