// Streaming type A a second at a time, as the music ring is refilled: the wrap to the loop
// point, the running values stored for it, and the play-once state. Rates of a few hertz keep
// a "second" to a handful of frames worked by hand.
#include "sound/wady_stream.h"

#include <gtest/gtest.h>

#include <cstring>
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

constexpr uint64_t kOffset = 100;  // where the entry sits in its archive

// An archive holding one type A entry at kOffset, and a few bytes after it that must never be
// decoded.
struct Track {
  Bytes file;
  Track(uint16_t channels, uint32_t rate, uint8_t scale, const Bytes& data, uint32_t loopStart, int16_t loopLeft,
        int16_t loopRight) {
    file.assign(kOffset, 0x99);
    Bytes h(48, 0);
    std::memcpy(h.data(), "WADY", 4);
    h[5] = scale;
    Put16(h, 0x06, channels);
    Put32(h, 0x08, rate);
    Put32(h, 0x0C, static_cast<uint32_t>(data.size()));
    Put32(h, 0x18, loopStart);
    Put16(h, 0x1C, static_cast<uint16_t>(loopLeft));
    Put16(h, 0x1E, static_cast<uint16_t>(loopRight));
    file.insert(file.end(), h.begin(), h.end());
    file.insert(file.end(), data.begin(), data.end());
    file.insert(file.end(), {0xA0, 0xA0, 0xA0, 0xA0});
  }
  WadyStreamReader Reader() const {
    return [this](uint64_t at, std::span<uint8_t> into) -> size_t {
      if (at >= file.size()) return 0;
      size_t n = std::min<size_t>(into.size(), file.size() - at);
      std::memcpy(into.data(), file.data() + at, n);
      return n;
    };
  }
};

std::vector<int16_t> NextSecond(TypeAStream& s, const WadyStreamReader& read, int& playOnce) {
  Bytes out(TypeABytesPerSecond(s), 0xEE);
  DecodeTypeASecond(s, read, out, playOnce);
  return Samples(out);
}

// Mono, 4 Hz, scale 1: 512, 514, 516, 518, 520, 522; the loop point is byte 2 with value 1000.
Track MonoTrack() { return Track(1, 4, 1, {0x81, 0x01, 0x01, 0x01, 0x01, 0x01}, 2, 1000, 0); }

TEST(TypeAStreamTest, WrapsToTheLoopPointWithItsRunningValues) {
  Track t = MonoTrack();
  TypeAStream s;
  ASSERT_TRUE(StartTypeAStream(std::span(t.file).subspan(kOffset, 48), kOffset, s));
  EXPECT_EQ(TypeABytesPerSecond(s), 8u);
  int playOnce = kLoopForever;
  auto read = t.Reader();
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{512, 514, 516, 518}));
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{520, 522, 1002, 1004}));
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{1006, 1008, 1002, 1004}));
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{1006, 1008, 1002, 1004}));
  EXPECT_EQ(playOnce, kLoopForever);
}

TEST(TypeAStreamTest, PlayOnceTrackGoesSilentAtItsEnd) {
  Track t = MonoTrack();
  TypeAStream s;
  ASSERT_TRUE(StartTypeAStream(std::span(t.file).subspan(kOffset, 48), kOffset, s));
  int playOnce = kPlayOnce;
  auto read = t.Reader();
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{512, 514, 516, 518}));
  EXPECT_EQ(playOnce, kPlayOnce);
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{520, 522, 0, 0}));
  EXPECT_EQ(playOnce, kPlayOncePassedEnd);
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{0, 0, 0, 0}));
  EXPECT_EQ(s.left, 1004);  // the running values go on (and wrap) under the silence
}

TEST(TypeAStreamTest, EndOnASecondBoundaryWrapsOnTheNextRefill) {
  Track t(1, 2, 1, {0x81, 0x01, 0x01, 0x01}, 0, -7, 0);
  TypeAStream s;
  ASSERT_TRUE(StartTypeAStream(std::span(t.file).subspan(kOffset, 48), kOffset, s));
  int playOnce = kPlayOnce;
  auto read = t.Reader();
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{512, 514}));
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{516, 518}));
  EXPECT_EQ(playOnce, kPlayOnce);
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{0, 0}));
  EXPECT_EQ(playOnce, kPlayOncePassedEnd);
}

TEST(TypeAStreamTest, StereoSecondsInterleaveAndRestartBothChannels) {
  // 2 Hz stereo: frames (512,-512), (514,-514); loop at frame 1 with values (10, 20).
  Track t(2, 2, 1, {0x81, 0xFF, 0x01, 0x41}, 2, 10, 20);
  TypeAStream s;
  ASSERT_TRUE(StartTypeAStream(std::span(t.file).subspan(kOffset, 48), kOffset, s));
  int playOnce = kLoopForever;
  auto read = t.Reader();
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{512, -512, 514, -514}));
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{12, 18, 12, 18}));
}

TEST(TypeAStreamTest, ShortOrBrokenTracksNeverReadPastTheirData) {
  // A loop region shorter than a second wraps as often as needed.
  Track shortLoop(1, 4, 1, {0x81, 0x01, 0x01}, 2, 0, 0);
  TypeAStream s;
  ASSERT_TRUE(StartTypeAStream(std::span(shortLoop.file).subspan(kOffset, 48), kOffset, s));
  int playOnce = kLoopForever;
  auto read = shortLoop.Reader();
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{512, 514, 516, 2}));
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{2, 2, 2, 2}));
  // A loop point at or past the end gives silence instead of a hang.
  Track emptyLoop(1, 4, 1, {0x81, 0x01}, 9, 0, 0);
  ASSERT_TRUE(StartTypeAStream(std::span(emptyLoop.file).subspan(kOffset, 48), kOffset, s));
  read = emptyLoop.Reader();
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{512, 514, 0, 0}));
  EXPECT_EQ(NextSecond(s, read, playOnce), (std::vector<int16_t>{0, 0, 0, 0}));
  // A reader that runs dry (a truncated archive) gives silence for what it did not deliver.
  Track t = MonoTrack();
  ASSERT_TRUE(StartTypeAStream(std::span(t.file).subspan(kOffset, 48), kOffset, s));
  WadyStreamReader dry = [](uint64_t, std::span<uint8_t> into) -> size_t {
    if (!into.empty()) into[0] = 0x82;
    return into.empty() ? 0 : 1;
  };
  EXPECT_EQ(NextSecond(s, dry, playOnce), (std::vector<int16_t>{1024, 0, 0, 0}));
}

TEST(TypeAStreamTest, RefusesWhatNoDeviceCouldPlay) {
  TypeAStream s;
  for (uint16_t channels : {0, 3}) {
    Track t(channels, 4, 1, {0x81}, 0, 0, 0);
    EXPECT_FALSE(StartTypeAStream(std::span(t.file).subspan(kOffset, 48), kOffset, s)) << channels;
  }
  Track noRate(1, 0, 1, {0x81}, 0, 0, 0);
  EXPECT_FALSE(StartTypeAStream(std::span(noRate.file).subspan(kOffset, 48), kOffset, s));
  Track huge(2, 0xFFFFFFFF, 1, {0x81}, 0, 0, 0);
  EXPECT_FALSE(StartTypeAStream(std::span(huge.file).subspan(kOffset, 48), kOffset, s));
  Track t = MonoTrack();
  t.file[kOffset] = 'X';
  EXPECT_FALSE(StartTypeAStream(std::span(t.file).subspan(kOffset, 48), kOffset, s));
  EXPECT_FALSE(StartTypeAStream(std::span(t.file).subspan(kOffset + 1, 40), kOffset, s));
}

}  // namespace
}  // namespace torvel
