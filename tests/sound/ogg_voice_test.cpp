// Ogg voices: the whole-stream decode through libvorbisfile, the format record, and the trailing
// silence trim. The streams are made here with libvorbisenc, or come from the sound theme
// Debian ships.
#include "sound/ogg_voice.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace torvel {
namespace {

using Bytes = std::vector<uint8_t>;

// ---- The trim rule on decoded buffers ----

struct TrimCase {
  const char* name;
  size_t size;
  std::vector<size_t> loud;  // byte positions that are not zero
  size_t played;
};

class VoiceTrim : public testing::TestWithParam<TrimCase> {};

TEST_P(VoiceTrim, PlayedLength) {
  const TrimCase& c = GetParam();
  Bytes pcm(c.size, 0);
  for (size_t at : c.loud) pcm[at] = 1;
  EXPECT_EQ(VoicePlayedLength(pcm), c.played);
}

INSTANTIATE_TEST_SUITE_P(Rule, VoiceTrim,
                         testing::Values(TrimCase{"Exactly30000PlaysWholeWithItsSilence", 30000, {0}, 30000},
                                         TrimCase{"ShortAllZeroPlaysWhole", 1000, {}, 1000},
                                         TrimCase{"Of30004EndingInSilenceIsTrimmed", 30004, {20000}, 20004},
                                         TrimCase{"AllZeroOver30000IsTrimmedToHalfPlus4", 80000, {}, 40004},
                                         TrimCase{
                                             "Stereo20000FramesWithLast1000SilentPlays76000", 80000, {75996}, 76000},
                                         TrimCase{"NoSilenceKeepsAll", 40000, {39999}, 40000},
                                         TrimCase{"StopsAtTheFirstLoudGroupFromTheEnd", 40000, {37001}, 37004},
                                         TrimCase{"NeverBelowHalf", 40000, {3}, 20004},
                                         TrimCase{"GroupsCountFromTheEndNotFromZero", 30002, {20000}, 20002}),
                         [](const testing::TestParamInfo<TrimCase>& i) { return std::string(i.param.name); });

// ---- Streams made here ----

// Encodes interleaved samples (-1..1) as one Ogg Vorbis stream with its own serial number.
Bytes EncodeOgg(int channels, long rate, const std::vector<float>& samples, int serial) {
  Bytes out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, 0.5f) != 0) return out;
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  auto emit = [&] {
    out.insert(out.end(), page.header, page.header + page.header_len),
        out.insert(out.end(), page.body, page.body + page.body_len);
  };
  while (ogg_stream_flush(&os, &page)) emit();
  const size_t frames = samples.size() / channels;
  size_t done = 0;
  bool ended = false;
  while (!ended) {
    const size_t chunk = std::min<size_t>(1024, frames - done);
    if (chunk == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(chunk));
      for (size_t i = 0; i < chunk; ++i) {
        for (int c = 0; c < channels; ++c) buffer[c][i] = samples[(done + i) * channels + c];
      }
      vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
      done += chunk;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page)) {
          emit();
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

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
  return EncodeOgg(channels, 44100, s, 1);
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
  ASSERT_TRUE(DecodeOggVoice(EncodeOgg(1, 22050, std::vector<float>(20000, 0.0f), 7), v));
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
