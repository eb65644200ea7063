// The recording sound device of the headless host: slots on a virtual clock, the call record, the
// mix and the underrun count of a looping stream.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/headless/headless_host.h"
#include "platform/headless/recording_sound_device.h"
#include "resources/file_io.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

// A device on a clock the test moves by hand.
struct ClockedDevice {
  uint32_t now = 0;
  RecordingSoundDevice device{[this] { return now; }};
};

SoundBufferDesc Desc(int channels, int rate, int bits, uint32_t size, std::string name = "SE01", bool stream = false) {
  SoundBufferDesc d;
  d.format = PcmFormat{channels, rate, bits};
  d.size = size;
  d.name = std::move(name);
  d.stream = stream;
  return d;
}

std::vector<uint8_t> Int16Bytes(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes(samples.size() * 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    bytes[i * 2] = static_cast<uint8_t>(samples[i] & 0xFF);
    bytes[i * 2 + 1] = static_cast<uint8_t>((static_cast<uint16_t>(samples[i]) >> 8) & 0xFF);
  }
  return bytes;
}

struct PositionCase {
  const char* name;
  PcmFormat format;
  uint32_t seconds;  // buffer length
  bool looping;
  uint32_t at;  // ms after Play
  bool playing;
  uint32_t position;  // bytes, worked out by hand
};

class PositionTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PositionTest, FollowsTheClock) {
  const PositionCase& c = GetParam();
  ClockedDevice d;
  d.now = 1000;  // the clock does not start at 0
  uint32_t size = static_cast<uint32_t>(c.format.BytesPerSecond()) * c.seconds;
  ASSERT_TRUE(d.device.Create(2, Desc(c.format.channels, c.format.rate, c.format.bits, size)));
  ASSERT_TRUE(d.device.Play(2, c.looping));
  d.now += c.at;
  SlotStatus status = d.device.Status(2);
  EXPECT_EQ(status.playing, c.playing);
  EXPECT_EQ(status.looping, c.playing && c.looping);
  EXPECT_EQ(d.device.PlayPosition(2), c.position);
}

const PositionCase kPositionCases[] = {
    {"StereoAtStart", {2, 44100, 16}, 1, false, 0, true, 0},
    // 100 ms of 44100 Hz: 4410 frames of 4 bytes.
    {"Stereo100ms", {2, 44100, 16}, 1, false, 100, true, 17640},
    // 2205 frames of one byte.
    {"Mono8Bit100ms", {1, 22050, 8}, 1, false, 100, true, 2205},
    // 10 ms of 11025 Hz is 110.25 frames: the position stays on whole frames.
    {"PartialFrame", {2, 11025, 16}, 1, false, 10, true, 440},
    {"OnceJustBeforeTheEnd", {2, 44100, 16}, 1, false, 999, true, 44055 * 4},
    // A buffer played once stops at its end and reads position 0.
    {"OnceAtTheEnd", {2, 44100, 16}, 1, false, 1000, false, 0},
    {"OnceLongAfter", {1, 8000, 16}, 1, false, 60000, false, 0},
    // Looping wraps: 1.25 s into a 1 s buffer is 0.25 s in, 11025 frames.
    {"LoopWraps", {2, 44100, 16}, 1, true, 1250, true, 44100},
    {"LoopManyLaps", {1, 22050, 16}, 2, true, 3600 * 1000 + 500, true, 22050},
};

INSTANTIATE_TEST_SUITE_P(RecordingSoundDevice, PositionTest, ::testing::ValuesIn(kPositionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordingSoundDevice, StopKeepsThePositionAndPlayResumes) {
  ClockedDevice d;
  ASSERT_TRUE(d.device.Create(0, Desc(1, 1000, 16, 2000)));  // 1000 frames: one per ms
  d.device.Play(0, false);
  d.now = 300;
  d.device.Stop(0);
  EXPECT_FALSE(d.device.Status(0).playing);
  d.now = 800;
  EXPECT_EQ(d.device.PlayPosition(0), 600u);
  d.device.Play(0, false);
  d.now = 1000;
  EXPECT_EQ(d.device.PlayPosition(0), 1000u);  // 300 + 200 frames
  // Playing again while it plays only changes the looping; the position goes on.
  d.device.Play(0, true);
  d.now = 1800;
  EXPECT_TRUE(d.device.Status(0).looping);
  EXPECT_EQ(d.device.PlayPosition(0), 2 * ((500 + 800) % 1000u));
  // After running out, a buffer played once starts again from the beginning.
  d.device.Play(0, false);
  d.now = 2500;
  EXPECT_FALSE(d.device.Status(0).playing);
  d.device.Play(0, false);
  d.now = 2510;
  EXPECT_EQ(d.device.PlayPosition(0), 20u);
}

TEST(RecordingSoundDevice, SetPlayPosition) {
  ClockedDevice d;
  ASSERT_TRUE(d.device.Create(3, Desc(2, 1000, 16, 4000)));
  EXPECT_TRUE(d.device.SetPlayPosition(3, 2002));  // rounded down to the frame
  EXPECT_EQ(d.device.PlayPosition(3), 2000u);
  d.device.Play(3, true);
  d.now = 600;
  EXPECT_EQ(d.device.PlayPosition(3), 4 * 100u);  // 500 + 600 frames, wrapped at 1000
  EXPECT_FALSE(d.device.SetPlayPosition(3, 4000));
  EXPECT_FALSE(d.device.SetPlayPosition(5, 0));
}

TEST(RecordingSoundDevice, VolumesAreClampedAndRecordedAsAsked) {
  ClockedDevice d;
  d.device.Create(1, Desc(2, 44100, 16, 4000));
  struct Case {
    int asked;
    int kept;
  } cases[] = {{0, 0}, {-600, -600}, {-9999, -9999}, {-10000, -10000}, {-20000, -10000}, {300, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    d.device.SetVolume(1, c.asked);
    EXPECT_EQ(d.device.Volume(1), c.kept);
    EXPECT_EQ(d.device.Calls().back().op, SoundOp::Volume);
    EXPECT_EQ(d.device.Calls().back().volume, c.asked);
  }
  d.device.SetMasterVolume(-12000);
  EXPECT_EQ(d.device.MasterVolume(), -10000);
  // A new buffer starts at full volume.
  d.device.Create(1, Desc(2, 44100, 16, 4000));
  EXPECT_EQ(d.device.Volume(1), 0);
}

TEST(RecordingSoundDevice, GainFromHundredthsOfADecibel) {
  EXPECT_DOUBLE_EQ(SoundDevice::Gain(0), 1.0);
  EXPECT_NEAR(SoundDevice::Gain(-600), 0.50119, 1e-5);
  EXPECT_NEAR(SoundDevice::Gain(-2000), 0.1, 1e-12);
  EXPECT_NEAR(SoundDevice::Gain(-9999), 1.0e-5, 1e-7);
  EXPECT_EQ(SoundDevice::Gain(-10000), 0.0);
  EXPECT_EQ(SoundDevice::Gain(-30000), 0.0);
  EXPECT_EQ(SoundDevice::Gain(500), 1.0);
}

TEST(RecordingSoundDevice, RecordsEveryChange) {
  ClockedDevice d;
  EXPECT_TRUE(d.device.Start());
  d.now = 40;
  d.device.Create(0, Desc(1, 22050, 16, 4410, "A001"));
  std::vector<uint8_t> bytes(100, 7);
  d.device.Write(0, 10, bytes);
  d.device.SetVolume(0, -750);
  d.device.Play(0, false);
  d.device.Status(0);  // queries are not recorded
  d.device.PlayPosition(0);
  d.now = 90;
  d.device.Stop(0);
  d.device.Release(0);
  const std::vector<SoundCall>& calls = d.device.Calls();
  ASSERT_EQ(calls.size(), 7u);
  EXPECT_EQ(calls[0].op, SoundOp::Start);
  EXPECT_EQ(calls[0].slot, -1);
  EXPECT_EQ(calls[1].op, SoundOp::Create);
  EXPECT_EQ(calls[1].time, 40u);
  EXPECT_EQ(calls[1].name, "A001");
  EXPECT_EQ(calls[1].format, (PcmFormat{1, 22050, 16}));
  EXPECT_EQ(calls[1].size, 4410u);
  EXPECT_EQ(calls[2].op, SoundOp::Write);
  EXPECT_EQ(calls[2].offset, 10u);
  EXPECT_EQ(calls[2].size, 100u);
  EXPECT_EQ(calls[3].volume, -750);
  EXPECT_EQ(calls[4].op, SoundOp::Play);
  EXPECT_FALSE(calls[4].looping);
  EXPECT_EQ(calls[5].op, SoundOp::Stop);
  EXPECT_EQ(calls[5].time, 90u);
  EXPECT_EQ(calls[6].op, SoundOp::Release);
  EXPECT_TRUE(calls[6].ok);
  EXPECT_FALSE(d.device.Filled(0));
  EXPECT_EQ(d.device.CallsOf(SoundOp::Play).size(), 1u);
  // The machine's answers can be changed for tests of a machine without sound.
  d.device.SetStartResult(false);
  d.device.SetOutputDeviceCount(0);
  EXPECT_FALSE(d.device.Start());
  EXPECT_EQ(d.device.OutputDeviceCount(), 0);
}

TEST(RecordingSoundDevice, BadArgumentsDoNothing) {
  ClockedDevice d;
  std::vector<uint8_t> bytes(16, 1);
  for (int slot : {-1, 8, 1000}) {
    SCOPED_TRACE(slot);
    EXPECT_FALSE(d.device.Create(slot, Desc(2, 44100, 16, 64)));
    EXPECT_FALSE(d.device.Write(slot, 0, bytes));
    EXPECT_FALSE(d.device.Play(slot, true));
    d.device.Stop(slot);
    d.device.SetVolume(slot, -100);
    d.device.Release(slot);
    EXPECT_FALSE(d.device.Status(slot).playing);
    EXPECT_EQ(d.device.PlayPosition(slot), 0u);
    EXPECT_FALSE(d.device.Filled(slot));
  }
  // An empty slot.
  EXPECT_FALSE(d.device.Play(4, false));
  EXPECT_FALSE(d.device.Write(4, 0, bytes));
  struct Bad {
    const char* what;
    SoundBufferDesc desc;
  } bad[] = {
      {"no channels", Desc(0, 44100, 16, 64)},      {"three channels", Desc(3, 44100, 16, 64)},
      {"24 bits", Desc(2, 44100, 24, 64)},          {"rate 0", Desc(2, 0, 16, 64)},
      {"rate too high", Desc(2, 400000, 16, 64)},   {"size 0", Desc(2, 44100, 16, 0)},
      {"less than a frame", Desc(2, 44100, 16, 3)}, {"too large", Desc(1, 8000, 8, SoundBufferDesc::kMaxSize + 1)},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.what);
    d.device.Create(4, Desc(1, 8000, 8, 8));
    EXPECT_FALSE(d.device.Create(4, b.desc));
    EXPECT_FALSE(d.device.Filled(4));  // the old buffer is gone all the same
  }
  ASSERT_TRUE(d.device.Create(4, Desc(1, 8000, 8, 8)));
  EXPECT_FALSE(d.device.Write(4, 8, std::span<const uint8_t>(bytes.data(), 1)));  // at the end
  EXPECT_FALSE(d.device.Write(4, 0, std::span<const uint8_t>(bytes.data(), 9)));  // larger than the buffer
}

TEST(RecordingSoundDevice, WritesWrapAroundTheEnd) {
  ClockedDevice d;
  ASSERT_TRUE(d.device.Create(3, Desc(1, 8000, 8, 8)));
  EXPECT_EQ(d.device.SlotAt(3).data, std::vector<uint8_t>(8, 0x80));  // 8-bit silence
  const uint8_t bytes[] = {1, 2, 3, 4, 5, 6};
  EXPECT_TRUE(d.device.Write(3, 4, bytes));
  EXPECT_EQ(d.device.SlotAt(3).data, (std::vector<uint8_t>{5, 6, 0x80, 0x80, 1, 2, 3, 4}));
}

// The mix at 1000 Hz: one output frame per millisecond, so expected samples follow from the
// times of the calls.
TEST(RecordingSoundDevice, MixesWhatPlayedAtItsVolume) {
  ClockedDevice d;
  d.device.StartMix(1000);
  // Slot 1: mono, 100 frames of 1000, played once from t=10 at full volume.
  d.device.Create(1, Desc(1, 1000, 16, 200));
  d.device.Write(1, 0, Int16Bytes(std::vector<int16_t>(100, 1000)));
  d.now = 10;
  d.device.Play(1, false);
  // Slot 2: stereo, four frames (left 2000, right -2000, then 0), looping from t=50 at -600.
  d.now = 50;
  d.device.Create(2, Desc(2, 1000, 16, 16));
  d.device.Write(2, 0, Int16Bytes({2000, -2000, 0, 0, 0, 0, 0, 0}));
  d.device.SetVolume(2, -600);
  d.device.Play(2, true);
  d.now = 200;
  const std::vector<int16_t>& mix = d.device.Mix();
  ASSERT_EQ(mix.size(), 400u);
  auto left = [&](int ms) { return mix[static_cast<size_t>(ms) * 2]; };
  auto right = [&](int ms) { return mix[static_cast<size_t>(ms) * 2 + 1]; };
  EXPECT_EQ(left(9), 0);
  EXPECT_EQ(left(10), 1000);  // mono reaches both sides at full level
  EXPECT_EQ(right(10), 1000);
  EXPECT_EQ(left(49), 1000);
  EXPECT_EQ(left(50), 1000 + 1002);  // 2000 * 10^(-600/2000) = 1002.4
  EXPECT_EQ(right(50), 1000 - 1002);
  EXPECT_EQ(left(51), 1000);
  EXPECT_EQ(left(54), 1000 + 1002);  // the loop came round
  EXPECT_EQ(left(109), 1000);
  EXPECT_EQ(left(110), 1002);  // the one-shot ended at t=110
  EXPECT_EQ(left(198), 1002);
  EXPECT_EQ(left(199), 0);
  // Muting the whole mix.
  d.device.SetMasterVolume(-10000);
  d.now = 210;
  EXPECT_EQ(d.device.Mix()[205 * 2], 0);
}

TEST(RecordingSoundDevice, MixClipsAndWritesAWavFile) {
  ClockedDevice d;
  d.device.StartMix(8000);
  for (int slot : {0, 1}) {
    d.device.Create(slot, Desc(1, 8000, 16, 16000));
    d.device.Write(slot, 0, Int16Bytes(std::vector<int16_t>(8000, 30000)));
    d.device.Play(slot, false);
  }
  d.now = 100;  // 800 frames
  EXPECT_EQ(d.device.Mix()[10], 32767);
  testing::TempFolder folder;
  std::filesystem::path file = folder.Path() / "mix.wav";
  ASSERT_TRUE(d.device.WriteMixWav(file));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(file, bytes));
  ASSERT_EQ(bytes.size(), 44u + 800 * 4);
  const uint8_t header[44] = {'R',  'I',  'F', 'F', 0xA4, 0x0C, 0,   0,  // 36 + 3200
                              'W',  'A',  'V', 'E', 'f',  'm',  't', ' ', 16,   0,    0, 0,
                              1,    0,    2,   0,   0x40, 0x1F, 0,   0,  // 8000 Hz
                              0x00, 0x7D, 0,   0,                        // 32000 bytes a second
                              4,    0,    16,  0,   'd',  'a',  't', 'a', 0x80, 0x0C, 0, 0};
  EXPECT_EQ(0, std::memcmp(bytes.data(), header, 44));
  EXPECT_EQ(bytes[44], 0xFF);
  EXPECT_EQ(bytes[45], 0x7F);
}

// The music ring: four one-second blocks, refilled as the engine's timer does it: each tick
// reads the play position and rewrites every block the position has left.
struct MusicRingModel {
  static constexpr int kRate = 1000;
  static constexpr uint32_t kBytesPerSecond = kRate * 2;
  ClockedDevice d;
  int nextBlock = 0;

  MusicRingModel() {
    d.device.Create(3, Desc(1, kRate, 16, kBytesPerSecond * 4, "M01", true));
    d.device.Write(3, 0, std::vector<uint8_t>(kBytesPerSecond * 4, 1));
    d.device.Play(3, true);
  }
  void Tick() {
    int playing = static_cast<int>(d.device.PlayPosition(3) / kBytesPerSecond);
    while (playing != nextBlock) {
      d.device.Write(3, static_cast<uint32_t>(nextBlock) * kBytesPerSecond, std::vector<uint8_t>(kBytesPerSecond, 2));
      nextBlock = (nextBlock + 1) % 4;
    }
  }
};

TEST(RecordingSoundDevice, MusicRingKeepsAheadWithSlowFrames) {
  for (uint32_t period : {55u, 100u, 500u, 2500u}) {
    SCOPED_TRACE(period);
    MusicRingModel m;
    while (m.d.now < 60000) {
      m.d.now += period;
      m.Tick();
    }
    EXPECT_EQ(m.d.device.Underruns(3), 0);
    EXPECT_EQ(m.d.device.StaleBytes(3), 0u);
  }
}

TEST(RecordingSoundDevice, MusicRingCountsUnderruns) {
  MusicRingModel m;
  m.d.now = 1100;
  m.Tick();
  // A stall of four seconds: playback runs through the three blocks written ahead and then
  // replays one stale second.
  m.d.now = 5100;
  m.Tick();
  EXPECT_EQ(m.d.device.Underruns(3), 1);
  // Block 0 was refilled at 1.1 s and played fresh from 4.0 s; block 1 was not: 100 stale frames.
  EXPECT_EQ(m.d.device.StaleBytes(3), 100u * 2);
  // Back on the timer, the refill is a lap late for the blocks passed during the stall: blocks
  // 1, 2, 3 and 0 play stale (5.0 s to 9.0 s) as one long underrun, and then it keeps up.
  for (int i = 0; i < 200; ++i) {
    m.d.now += 55;
    m.Tick();
  }
  EXPECT_EQ(m.d.device.Underruns(3), 1);
  EXPECT_EQ(m.d.device.StaleBytes(3), 4000u * 2);
  // Underruns are counted only for a stream; a recreated slot starts from zero.
  m.d.device.Create(3, Desc(1, 1000, 16, 8000, "M02", true));
  EXPECT_EQ(m.d.device.Underruns(3), 0);
}

TEST(RecordingSoundDevice, HeadlessHostPlaysOnItsVirtualClock) {
  testing::TempFolder folder;
  HeadlessHost host(folder.Path());
  Host& base = host;
  SoundDevice& sound = base.Sound();
  EXPECT_EQ(&sound, &host.Sound());
  ASSERT_TRUE(sound.Create(0, Desc(2, 44100, 16, 44100 * 4)));
  sound.Play(0, false);
  host.Sleep(250);
  EXPECT_EQ(sound.PlayPosition(0), 11025u * 4);
  host.Sleep(750);
  EXPECT_FALSE(sound.Status(0).playing);
  EXPECT_EQ(host.Sound().CallsOf(SoundOp::Play).size(), 1u);
}

}  // namespace
}  // namespace torvel
