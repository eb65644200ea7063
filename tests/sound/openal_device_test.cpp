// The OpenAL Soft device, rendered into memory through a loopback device (no sound card needed),
// and its silent fallback when no output opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/openal/openal_device.h"

namespace torvel {
namespace {

constexpr int kRate = 44100;

SoundBufferDesc Desc(int channels, int bits, uint32_t frames, bool stream = false) {
  SoundBufferDesc d;
  d.format = PcmFormat{channels, kRate, bits};
  d.size = frames * static_cast<uint32_t>(d.format.BlockAlign());
  d.name = "TONE";
  d.stream = stream;
  return d;
}

void Put16(std::vector<uint8_t>& bytes, int16_t v) {
  bytes.push_back(static_cast<uint8_t>(v & 0xFF));
  bytes.push_back(static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF));
}

// 441 Hz: exactly 100 frames a period at 44100 Hz.
double Sine(uint32_t frame) { return std::sin(2.0 * M_PI * frame / 100.0); }

class LoopbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenAlSoundDevice::Options options;
    options.loopback = true;
    options.loopbackRate = kRate;
    options.clock = [this] { return now; };
    device = std::make_unique<OpenAlSoundDevice>(options);
    if (!device->Start()) GTEST_SKIP() << "OpenAL Soft without ALC_SOFT_loopback";
  }
  std::vector<int16_t> Render(uint32_t frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    EXPECT_TRUE(device->RenderMix(out));
    return out;
  }
  // The largest absolute sample of one channel over frames [first, end).
  static int Peak(const std::vector<int16_t>& mix, int channel, size_t first, size_t end) {
    int peak = 0;
    for (size_t i = first; i < end; ++i) peak = std::max(peak, std::abs(static_cast<int>(mix[i * 2 + channel])));
    return peak;
  }
  uint32_t now = 0;  // the clock of the silent fallback
  std::unique_ptr<OpenAlSoundDevice> device;
};

struct ToneCase {
  const char* name;
  int channels;
  int bits;
  bool rightSilent;  // a stereo tone on the left only
  int volume;
  int master;
  double gain;  // expected amplitude factor, worked out as 10^(dB/20)
};

class ToneTest : public LoopbackTest, public ::testing::WithParamInterface<ToneCase> {};

// A half-scale 441 Hz tone played once reaches the mix at its volume.
TEST_P(ToneTest, ReachesTheMixAtItsLevel) {
  const ToneCase& c = GetParam();
  constexpr uint32_t kFrames = kRate;  // one second
  constexpr double kAmplitude = 16384.0;
  std::vector<uint8_t> bytes;
  for (uint32_t i = 0; i < kFrames; ++i) {
    double v = kAmplitude * Sine(i);
    for (int ch = 0; ch < c.channels; ++ch) {
      double s = (ch == 1 && c.rightSilent) ? 0.0 : v;
      if (c.bits == 16) {
        Put16(bytes, static_cast<int16_t>(std::lround(s)));
      } else {
        bytes.push_back(static_cast<uint8_t>(128 + std::lround(s / 256.0)));
      }
    }
  }
  ASSERT_TRUE(device->Create(1, Desc(c.channels, c.bits, kFrames)));
  ASSERT_TRUE(device->Write(1, 0, bytes));
  device->SetVolume(1, c.volume);
  device->SetMasterVolume(c.master);
  ASSERT_TRUE(device->Play(1, false));
  EXPECT_TRUE(device->SlotAudible(1));
  std::vector<int16_t> mix = Render(kRate / 2);
  // Skip the first 10 ms, where the mixer may still be fading the gain in.
  double expected = kAmplitude * c.gain;
  double tolerance = expected * 0.01 + 3.0;
  EXPECT_NEAR(Peak(mix, 0, 441, kRate / 2), expected, tolerance);
  EXPECT_NEAR(Peak(mix, 1, 441, kRate / 2), c.rightSilent ? 0.0 : expected, tolerance);
  EXPECT_TRUE(device->Status(1).playing);
  EXPECT_FALSE(device->Status(1).looping);
  EXPECT_EQ(device->PlayPosition(1), static_cast<uint32_t>(kRate / 2 * c.channels * c.bits / 8));
}

const ToneCase kToneCases[] = {
    {"FullVolume", 2, 16, false, 0, 0, 1.0},
    {"Minus6dB", 2, 16, false, -600, 0, 0.50119},
    {"Minus20dB", 2, 16, false, -2000, 0, 0.1},
    {"Silent", 2, 16, false, -10000, 0, 0.0},
    {"MasterMinus6dB", 2, 16, false, 0, -600, 0.50119},
    {"SlotAndMaster", 2, 16, false, -600, -600, 0.25119},
    {"LeftOnly", 2, 16, true, 0, 0, 1.0},
    {"MonoOnBothSides", 1, 16, false, 0, 0, 1.0},
    {"Mono8Bit", 1, 8, false, -600, 0, 0.50119},
    {"Stereo8Bit", 2, 8, false, 0, 0, 1.0},
};

INSTANTIATE_TEST_SUITE_P(OpenAlSoundDevice, ToneTest, ::testing::ValuesIn(kToneCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A marker that never repeats within the buffer, to see exactly which frame sounds.
int16_t Marker(uint32_t frame) { return static_cast<int16_t>((frame * 7919u) % 20000u) - 10000; }

TEST_F(LoopbackTest, LoopingWrapsWithoutASeam) {
  constexpr uint32_t kFrames = 4410;  // 0.1 s
  std::vector<uint8_t> bytes;
  for (uint32_t i = 0; i < kFrames; ++i) Put16(bytes, Marker(i));
  ASSERT_TRUE(device->Create(2, Desc(1, 16, kFrames)));
  ASSERT_TRUE(device->Write(2, 0, bytes));
  ASSERT_TRUE(device->Play(2, true));
  std::vector<int16_t> mix = Render(20000);  // four and a half laps
  int worst = 0;
  for (uint32_t n = 0; n < 20000; ++n) worst = std::max(worst, std::abs(mix[n * 2] - Marker(n % kFrames)));
  EXPECT_LE(worst, 2);
  SlotStatus status = device->Status(2);
  EXPECT_TRUE(status.playing);
  EXPECT_TRUE(status.looping);
  EXPECT_EQ(device->PlayPosition(2), (20000 % kFrames) * 2);
}

TEST_F(LoopbackTest, OneShotEndsAndStopKeepsThePosition) {
  constexpr uint32_t kFrames = 4410;
  std::vector<uint8_t> bytes;
  for (uint32_t i = 0; i < kFrames; ++i) Put16(bytes, Marker(i));
  ASSERT_TRUE(device->Create(0, Desc(1, 16, kFrames)));
  ASSERT_TRUE(device->Write(0, 0, bytes));
  device->Play(0, false);
  Render(1000);
  device->Stop(0);
  EXPECT_FALSE(device->Status(0).playing);
  EXPECT_EQ(device->PlayPosition(0), 2000u);
  std::vector<int16_t> paused = Render(500);
  EXPECT_LE(Peak(paused, 0, 0, 500), 2);
  // Play resumes where it stopped.
  device->Play(0, false);
  std::vector<int16_t> resumed = Render(100);
  EXPECT_NEAR(resumed[40 * 2], Marker(1040), 2);
  // At the end it stops by itself and reads position 0.
  Render(kFrames);
  EXPECT_FALSE(device->Status(0).playing);
  EXPECT_EQ(device->PlayPosition(0), 0u);
  // Released, the slot is empty and silent.
  device->Release(0);
  EXPECT_FALSE(device->Filled(0));
  EXPECT_FALSE(device->Play(0, false));
}

// The music ring: four blocks the way the engine's timer refills it, every block left behind
// rewritten with the next lap's samples. The mix must be the unbroken sequence.
class StreamTest : public LoopbackTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(StreamTest, RingRefilledFromTheTimerPlaysWithoutGaps) {
  const uint32_t tickFrames = GetParam() * kRate / 1000;
  constexpr uint32_t kBlock = kRate / 4;  // frames of one block
  constexpr uint32_t kRing = kBlock * 4;
  auto value = [](uint64_t absolute) { return static_cast<int16_t>((absolute * 7) % 30001) - 15000; };
  auto block = [&](int k, uint64_t lap) {
    std::vector<uint8_t> bytes;
    for (uint32_t i = 0; i < kBlock; ++i) Put16(bytes, value(lap * kRing + static_cast<uint64_t>(k) * kBlock + i));
    return bytes;
  };
  ASSERT_TRUE(device->Create(3, Desc(1, 16, kRing, true)));
  uint64_t laps[4] = {0, 0, 0, 0};
  for (int k = 0; k < 4; ++k) device->Write(3, static_cast<uint32_t>(k) * kBlock * 2, block(k, 0));
  ASSERT_TRUE(device->Play(3, true));
  int nextBlock = 0;
  std::vector<int16_t> mix;
  constexpr uint32_t kTotal = kRate * 3;
  while (mix.size() / 2 < kTotal) {
    std::vector<int16_t> part = Render(tickFrames);
    mix.insert(mix.end(), part.begin(), part.end());
    int playing = static_cast<int>(device->PlayPosition(3) / (kBlock * 2));
    while (playing != nextBlock) {
      device->Write(3, static_cast<uint32_t>(nextBlock) * kBlock * 2, block(nextBlock, ++laps[nextBlock]));
      nextBlock = (nextBlock + 1) % 4;
    }
  }
  size_t rendered = mix.size() / 2;
  int worst = 0;
  size_t firstBad = rendered;
  for (size_t n = 0; n < rendered; ++n) {
    int diff = std::abs(mix[n * 2] - value(n));
    if (diff > 2 && firstBad == rendered) firstBad = n;
    worst = std::max(worst, diff);
  }
  EXPECT_LE(worst, 2) << "first wrong frame " << firstBad;
  EXPECT_EQ(device->Underruns(3), 0);
  EXPECT_EQ(device->PlayPosition(3), static_cast<uint32_t>(rendered % kRing) * 2);
  EXPECT_TRUE(device->Status(3).looping);
}

// The engine's 55 ms tick, and frames of 100 ms and 200 ms that delay it.
INSTANTIATE_TEST_SUITE_P(OpenAlSoundDevice, StreamTest, ::testing::Values(55u, 100u, 200u),
                         [](const auto& info) { return std::to_string(info.param) + "ms"; });

TEST_F(LoopbackTest, StreamStoppedAndResumed) {
  constexpr uint32_t kRing = 8820;
  std::vector<uint8_t> bytes;
  for (uint32_t i = 0; i < kRing; ++i) Put16(bytes, Marker(i));
  ASSERT_TRUE(device->Create(3, Desc(1, 16, kRing, true)));
  device->Write(3, 0, bytes);
  device->Play(3, true);
  Render(3000);
  device->Stop(3);
  EXPECT_FALSE(device->Status(3).playing);
  EXPECT_EQ(device->PlayPosition(3), 6000u);
  EXPECT_LE(Peak(Render(1000), 0, 0, 1000), 2);
  device->Play(3, true);
  std::vector<int16_t> mix = Render(100);
  EXPECT_NEAR(mix[0], Marker(3000), 2);
  EXPECT_NEAR(mix[99 * 2], Marker(3099), 2);
  // A stream played once ends like any buffer.
  device->Play(3, false);
  Render(kRing);
  EXPECT_FALSE(device->Status(3).playing);
  EXPECT_EQ(device->PlayPosition(3), 0u);
}

// When nothing tops the queue up for longer than it holds (the window thread stuck), the output
// runs dry; the next call notices, counts an underrun and goes on from where the sound stopped.
TEST_F(LoopbackTest, StreamRecoversFromAnUnderrun) {
  constexpr uint32_t kRing = kRate;  // one second: a quarter of it is queued ahead
  std::vector<uint8_t> bytes;
  for (uint32_t i = 0; i < kRing; ++i) Put16(bytes, Marker(i));
  ASSERT_TRUE(device->Create(3, Desc(1, 16, kRing, true)));
  device->Write(3, 0, bytes);
  device->Play(3, true);
  std::vector<int16_t> stuck(kRate);  // half a second
  ASSERT_TRUE(device->RenderMix(stuck, false));
  // The sound went on for what was queued (at least a quarter of the ring), then stopped.
  uint32_t heard = 0;
  while (heard < kRate / 2 && std::abs(stuck[heard * 2] - Marker(heard)) <= 2) ++heard;
  EXPECT_GE(heard, kRing / 4);
  EXPECT_LT(heard, kRate / 2);
  EXPECT_LE(Peak(stuck, 0, heard, kRate / 2), 2);
  EXPECT_TRUE(device->Status(3).playing);
  EXPECT_EQ(device->Underruns(3), 1);
  EXPECT_EQ(device->PlayPosition(3), heard * 2);
  std::vector<int16_t> mix = Render(3000);
  int worst = 0;
  for (uint32_t n = 0; n < 3000; ++n) worst = std::max(worst, std::abs(mix[n * 2] - Marker(heard + n)));
  EXPECT_LE(worst, 2);
  EXPECT_EQ(device->Underruns(3), 1);
}

TEST_F(LoopbackTest, LosingTheOutputGoesOnSilently) {
  std::vector<uint8_t> bytes;
  for (uint32_t i = 0; i < 8820; ++i) Put16(bytes, Marker(i));
  ASSERT_TRUE(device->Create(3, Desc(1, 16, 8820, true)));
  device->Write(3, 0, bytes);
  ASSERT_TRUE(device->Create(0, Desc(1, 16, 4410)));
  device->SetVolume(0, -600);
  device->Play(3, true);
  device->Play(0, false);
  Render(1000);
  device->DropOutput();
  EXPECT_FALSE(device->Audible());
  EXPECT_FALSE(device->SlotAudible(3));
  for (int slot : {0, 3}) {
    SCOPED_TRACE(slot);
    EXPECT_TRUE(device->Filled(slot));
    EXPECT_TRUE(device->Status(slot).playing);
    EXPECT_EQ(device->PlayPosition(slot), 2000u);
  }
  EXPECT_TRUE(device->Status(3).looping);
  EXPECT_EQ(device->Volume(0), -600);
  now += 50;  // 2205 frames
  EXPECT_EQ(device->PlayPosition(0), 3205u * 2);
  EXPECT_EQ(device->PlayPosition(3), 3205u * 2);
  now += 50;
  EXPECT_FALSE(device->Status(0).playing);
  EXPECT_EQ(device->PlayPosition(3), (5410u % 8820) * 2);
  EXPECT_TRUE(device->Write(3, 0, bytes));
  std::vector<int16_t> out(8);
  EXPECT_FALSE(device->RenderMix(out));
}

TEST(OpenAlSoundDeviceFallback, WithoutAnOutputPlaysSilentlyOnTheClock) {
  uint32_t now = 0;
  struct Way {
    const char* what;
    bool loopback;
  } ways[] = {{"output", false}, {"loopback", true}};
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    now = 0;
    OpenAlSoundDevice::Options options;
    options.loopback = way.loopback;
    options.deviceName = "torvel-no-such-output";
    options.clock = [&now] { return now; };
    OpenAlSoundDevice device(options);
    EXPECT_FALSE(device.Start());
    EXPECT_FALSE(device.Audible());
    if (!way.loopback) {
      EXPECT_EQ(device.OutputDeviceCount(), 0);
    }
    now = 1000;
    ASSERT_TRUE(device.Create(0, Desc(2, 16, kRate)));
    EXPECT_TRUE(device.Write(0, 0, std::vector<uint8_t>(400, 1)));
    device.SetVolume(0, -600);
    EXPECT_EQ(device.Volume(0), -600);
    ASSERT_TRUE(device.Play(0, false));
    EXPECT_FALSE(device.SlotAudible(0));
    // The engine waits for the voice by polling its status on the timer: the wait ends.
    int ticks = 0;
    while (device.Status(0).playing && ticks < 1000) {
      now += 55;
      ++ticks;
    }
    EXPECT_EQ(ticks, 19);  // 19 * 55 ms passes the end of one second
    EXPECT_EQ(device.PlayPosition(0), 0u);
    // A looping buffer's position goes round.
    device.Play(0, true);
    now += 1500;
    EXPECT_EQ(device.PlayPosition(0), static_cast<uint32_t>(kRate / 2 * 4));
    std::vector<int16_t> out(64, 5);
    EXPECT_FALSE(device.RenderMix(out));
    EXPECT_EQ(out, std::vector<int16_t>(64, 0));
    device.Shutdown();
    EXPECT_FALSE(device.Filled(0));
  }
}

TEST(OpenAlSoundDeviceFallback, BeforeStartItIsSilentToo) {
  uint32_t now = 0;
  OpenAlSoundDevice::Options options;
  options.clock = [&now] { return now; };
  OpenAlSoundDevice device(options);
  ASSERT_TRUE(device.Create(5, Desc(1, 8, 4410)));
  device.Play(5, false);
  now = 50;
  EXPECT_EQ(device.PlayPosition(5), 2205u);
  EXPECT_FALSE(device.Create(5, Desc(3, 16, 10)));
  EXPECT_FALSE(device.Filled(5));
}

}  // namespace
}  // namespace torvel
