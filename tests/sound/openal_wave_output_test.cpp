// OpenAL Soft's file output: a tone played on a slot is written by the real mixer into a WAVE
// file, with no sound card. OpenAL reads its configuration once per process, so the playing side
// runs in a child process of this test program with its own environment.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/openal/openal_device.h"
#include "resources/file_io.h"
#include "sound/wav_file.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

constexpr int kRate = 44100;
constexpr int kToneVolume = -600;    // hundredths of a decibel
constexpr double kToneGain = 0.501;  // 10^(-6 / 20)
constexpr double kToneAmplitude = 16000;
constexpr const char* kChildVariable = "TORVEL_WAVE_OUTPUT_CHILD";

// The child: one second of a stereo 441 Hz tone on slot 1 at −6 dB, played out in real time.
int PlayToneThroughTheDefaultOutput() {
  OpenAlSoundDevice device;
  if (!device.Start()) return 3;
  SoundBufferDesc desc;
  desc.format = PcmFormat{2, kRate, 16};
  desc.size = kRate * 4;
  desc.name = "TONE";
  std::vector<uint8_t> pcm;
  for (int f = 0; f < kRate; ++f) {
    const auto v = static_cast<int16_t>(std::lround(kToneAmplitude * std::sin(2.0 * M_PI * f / 100.0)));
    for (int c = 0; c < 2; ++c) {
      pcm.push_back(static_cast<uint8_t>(v & 0xFF));
      pcm.push_back(static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF));
    }
  }
  if (!device.Create(1, desc) || !device.Write(1, 0, pcm)) return 4;
  device.SetVolume(1, kToneVolume);
  if (!device.Play(1, false)) return 5;
  std::this_thread::sleep_for(std::chrono::milliseconds(1400));
  device.Shutdown();
  return 0;
}

TEST(OpenAlWaveOutput, ToneReachesTheFileAtItsLevel) {
  if (std::getenv(kChildVariable)) {
    std::exit(PlayToneThroughTheDefaultOutput());
  }
  testing::TempFolder folder;
  const std::filesystem::path wav = folder.Path() / "mix.wav";
  const std::filesystem::path conf = folder.Path() / "alsoft.conf";
  ASSERT_TRUE(WriteFileAtomically(
      conf, std::string_view("[general]\nchannels=stereo\nsample-type=int16\nfrequency=" + std::to_string(kRate) +
                             "\n[wave]\nfile=" + wav.string() + "\n")));
  const std::string command = std::string("ALSOFT_DRIVERS=wave ALSOFT_CONF=") + conf.string() + " " + kChildVariable +
                              "=1 " + std::filesystem::read_symlink("/proc/self/exe").string() +
                              " --gtest_filter=OpenAlWaveOutput.* >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << "the child could not play";

  std::vector<uint8_t> bytes;
  ASSERT_TRUE(ReadWholeFile(wav, bytes));
  WavSound sound;
  ASSERT_TRUE(ParseWav(bytes, sound));
  ASSERT_EQ(sound.channels, 2);
  ASSERT_EQ(sound.rate, static_cast<uint32_t>(kRate));
  // The tone lasts one second somewhere in the file: find where it is loud, and measure its peak
  // and its length.
  const size_t frames = sound.samples.size() / 2;
  size_t first = frames, last = 0;
  int peak[2] = {0, 0};
  for (size_t f = 0; f < frames; ++f) {
    for (int c = 0; c < 2; ++c) {
      const int v = std::abs(static_cast<int>(sound.samples[f * 2 + c]));
      peak[c] = std::max(peak[c], v);
      if (v > 1000) {
        first = std::min(first, f);
        last = std::max(last, f);
      }
    }
  }
  ASSERT_LT(first, last);
  EXPECT_NEAR(static_cast<double>(last - first), kRate, kRate * 0.02);
  for (int c = 0; c < 2; ++c) {
    EXPECT_NEAR(peak[c], kToneAmplitude * kToneGain, kToneAmplitude * kToneGain * 0.05) << "channel " << c;
  }
}

}  // namespace
}  // namespace torvel
