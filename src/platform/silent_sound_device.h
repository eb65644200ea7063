#pragma once
// A sound device without output: its slots keep their bytes and play on a clock, so that play
// positions advance, one-shot buffers end and the engine's waits for them end, exactly as if the
// mix were heard. The headless host's recording device builds on it, and the OpenAL device falls
// back to it when no output can be opened.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/sound_device.h"

namespace torvel {

class SilentSoundDevice : public SoundDevice {
 public:
  using Clock = std::function<uint32_t()>;  // milliseconds, never going back

  struct Slot {
    bool filled = false;
    SoundBufferDesc desc;
    std::vector<uint8_t> data;
    uint32_t frames = 0;  // whole frames in the buffer; at least 1 when filled
    bool playing = false;
    bool looping = false;
    int volume = kFullVolume;
    // While playing, the frames played are anchorFrame + (now - anchorTime) * rate / 1000,
    // counted through every lap; when stopped, anchorFrame is the position.
    uint64_t anchorFrame = 0;
    uint32_t anchorTime = 0;
    uint64_t playedFrames = 0;  // frames played up to the last catch-up, laps included

    uint32_t BlockAlign() const { return static_cast<uint32_t>(desc.format.BlockAlign()); }
    // The frame sounding at absolute frame `f` (laps included).
    uint32_t FrameAt(uint64_t f) const { return static_cast<uint32_t>(looping ? f % frames : f); }
    // Absolute frames played by `time` while playing.
    uint64_t FramesAt(uint32_t time) const;
  };

  explicit SilentSoundDevice(Clock clock);

  // SoundDevice
  int OutputDeviceCount() override { return 0; }
  bool Start() override { return true; }
  void Shutdown() override;
  int MasterVolume() override { return masterVolume_; }
  void SetMasterVolume(int volume) override;
  bool Create(int slot, const SoundBufferDesc& desc) override;
  bool Write(int slot, uint32_t offset, std::span<const uint8_t> bytes) override;
  bool Play(int slot, bool looping) override;
  void Stop(int slot) override;
  SlotStatus Status(int slot) override;
  uint32_t PlayPosition(int slot) override;
  bool SetPlayPosition(int slot, uint32_t position) override;
  void SetVolume(int slot, int volume) override;
  int Volume(int slot) override;
  void Release(int slot) override;
  bool Filled(int slot) override;
  void Update() override { CatchUp(); }

  // The slot as it stands (an empty slot for a number outside 0..7); does not advance the clock.
  const Slot& SlotAt(int slot) const;
  uint32_t Now() const { return clock_ ? clock_() : 0; }

 protected:
  // Brings every playing slot up to the clock: positions advance, one-shot buffers that reached
  // their end stop. Every public call starts with it, so bytes written or volumes set later
  // never reach back into time already played.
  void CatchUp();
  // Before slots advance from `from` to `to` (ms), while they still hold their old state.
  virtual void OnAdvance(uint32_t /*from*/, uint32_t /*to*/) {}
  // A playing slot played absolute frames [first, end) (laps included; never past the end of a
  // buffer played once).
  virtual void OnPlayed(int /*slot*/, uint64_t /*first*/, uint64_t /*end*/) {}
  Slot* Get(int slot);  // null for a number outside 0..7 or an empty slot
  uint32_t lastTime_ = 0;

 private:
  Clock clock_;
  std::array<Slot, kSlotCount> slots_;
  int masterVolume_ = kFullVolume;
};

}  // namespace torvel
