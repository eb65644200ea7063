#pragma once
// The headless host's sound device. Its slots play on the headless virtual clock (positions
// advance, one-shot sounds end), every call that changes the device is recorded for tests, what
// plays can be mixed into a buffer or a WAV file, and a looping stream counts its underruns:
// each time the play position runs into bytes that were not written since it last passed them.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/silent_sound_device.h"

namespace torvel {

enum class SoundOp { Start, Shutdown, MasterVolume, Create, Write, Play, Stop, SetPosition, Volume, Release };

const char* SoundOpName(SoundOp op);

struct SoundCall {
  uint32_t time = 0;  // ms on the device's clock
  SoundOp op = SoundOp::Start;
  int slot = -1;         // -1 for calls on the whole device
  std::string name;      // Create: the entry name
  PcmFormat format;      // Create
  uint32_t size = 0;     // Create: buffer bytes; Write: bytes written
  uint32_t offset = 0;   // Write: where; SetPosition: the position
  int volume = 0;        // Volume, MasterVolume: as asked (before clamping)
  bool looping = false;  // Play
  bool ok = true;        // what the call returned (or, for calls without a result, whether it found a filled slot)
};

class RecordingSoundDevice : public SilentSoundDevice {
 public:
  static constexpr int kDefaultMixRate = 44100;

  explicit RecordingSoundDevice(Clock clock);

  // SoundDevice
  int OutputDeviceCount() override { return outputDevices_; }
  bool Start() override;
  void Shutdown() override;
  void SetMasterVolume(int volume) override;
  bool Create(int slot, const SoundBufferDesc& desc) override;
  bool Write(int slot, uint32_t offset, std::span<const uint8_t> bytes) override;
  bool Play(int slot, bool looping) override;
  void Stop(int slot) override;
  bool SetPlayPosition(int slot, uint32_t position) override;
  void SetVolume(int slot, int volume) override;
  void Release(int slot) override;

  // What the machine offers: the number of outputs, and whether Start succeeds.
  void SetOutputDeviceCount(int count) { outputDevices_ = count; }
  void SetStartResult(bool ok) { startResult_ = ok; }

  const std::vector<SoundCall>& Calls() const { return calls_; }
  std::vector<SoundCall> CallsOf(SoundOp op) const;
  void ClearCalls() { calls_.clear(); }

  // Mixing: from the call on, what the slots play is summed at their volumes and the master
  // volume into 16-bit stereo at `rate` (nearest sample, no filtering), clipped.
  void StartMix(int rate = kDefaultMixRate);
  // The mix up to the clock, interleaved left, right.
  const std::vector<int16_t>& Mix();
  int MixRate() const { return mixRate_; }
  bool WriteMixWav(const std::filesystem::path& file);

  // For a slot created with `stream`: how many times playback ran into stale bytes, and how many
  // stale bytes it played in all. Kept until the slot is created again.
  int Underruns(int slot) const;
  uint64_t StaleBytes(int slot) const;

 protected:
  void OnAdvance(uint32_t from, uint32_t to) override;
  void OnPlayed(int slot, uint64_t first, uint64_t end) override;

 private:
  struct StreamWatch {
    std::vector<uint8_t> fresh;  // per frame: written since playback last passed it
    bool inUnderrun = false;
    int underruns = 0;
    uint64_t staleFrames = 0;
  };
  SoundCall& Record(SoundOp op, int slot, bool ok);
  int MixSample(const Slot& s, uint64_t frame, int channel) const;

  std::vector<SoundCall> calls_;
  int outputDevices_ = 1;
  bool startResult_ = true;
  bool mixing_ = false;
  int mixRate_ = kDefaultMixRate;
  uint32_t mixOrigin_ = 0;    // clock time of output frame 0
  uint64_t mixedFrames_ = 0;  // output frames mixed so far
  std::vector<int16_t> mix_;
  std::array<StreamWatch, kSlotCount> watches_;
};

}  // namespace torvel
