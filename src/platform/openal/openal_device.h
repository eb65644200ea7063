#pragma once
// The real sound device, over OpenAL Soft: one source per slot. A buffer played once or looping
// is uploaded whole into one OpenAL buffer when it starts. A stream buffer (the music ring) is fed
// to its source as a queue of short segments copied from the ring a little ahead of the play
// position, so the engine can keep rewriting the parts already played while the play position
// goes round. Every sample is played as 16-bit stereo on direct channels: a mono buffer is heard
// at full level on both sides, as the engine's sounds were made for.
//
// Without an output (no sound card, a sound server that refuses, any OpenAL failure) the device,
// or the one slot that failed, falls back to a silent device whose play positions advance with
// time, so nothing blocks and the engine's waits for sounds still end.
//
// Nothing runs on a thread of ours: the ring is topped up by every call on the device and by
// Update(). The engine's timer reads the music's play position every 55 ms; the queue holds a
// quarter of the ring (one second of the four-second music ring), so playback goes on through
// frames far longer than a tick. A host should still call Update() from a timer of its own.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/silent_sound_device.h"
#include "platform/sound_device.h"

namespace torvel {

class OpenAlSoundDevice final : public SoundDevice {
 public:
  struct Options {
    // Render into memory (RenderMix) instead of to a sound card: ALC_SOFT_loopback.
    bool loopback = false;
    int loopbackRate = 44100;
    // The output to open; the system's default when absent.
    std::optional<std::string> deviceName;
    // The clock of the silent fallback; a steady clock when empty.
    SilentSoundDevice::Clock clock;
  };

  OpenAlSoundDevice();
  explicit OpenAlSoundDevice(Options options);
  ~OpenAlSoundDevice() override;
  OpenAlSoundDevice(const OpenAlSoundDevice&) = delete;
  OpenAlSoundDevice& operator=(const OpenAlSoundDevice&) = delete;

  // SoundDevice
  int OutputDeviceCount() override;
  bool Start() override;
  void Shutdown() override;
  int MasterVolume() override;
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
  void Update() override;

  // True while sound goes out through OpenAL; false before Start and after falling back to silence.
  bool Audible() const { return context_ != nullptr; }
  // True when the slot plays through OpenAL (false when empty or silent after a failure).
  bool SlotAudible(int slot) const;
  // Loopback only: renders the next out.size() / 2 frames of the mix as 16-bit stereo at
  // `loopbackRate`. False, filling silence, when the device does not render into memory.
  // Streams are topped up as it goes, unless `topUpStreams` is false: then it renders as a real
  // output plays while the window thread is busy elsewhere.
  bool RenderMix(std::span<int16_t> out, bool topUpStreams = true);
  // A stream's queue ran dry before it was topped up (playback went on after a gap).
  int Underruns(int slot) const;
  // Goes on silently from here, every slot keeping its bytes, state and position, as happens by
  // itself when the output goes away (a sound card unplugged, a sound server gone).
  void DropOutput();

 private:
  struct Segment {
    ALuint buffer;
    uint32_t frames;
  };
  struct Slot {
    bool filled = false;
    bool silent = false;  // a failure moved it to the silent device
    SoundBufferDesc desc;
    std::vector<uint8_t> data;
    uint32_t frames = 0;
    int volume = kFullVolume;
    bool looping = false;
    // Where a stopped slot starts playing (the source keeps the position while paused).
    uint32_t startFrame = 0;
    // Played once or looping whole.
    ALuint buffer = 0;
    bool dirty = true;  // bytes written since the buffer was uploaded
    // A stream.
    bool playing = false;
    std::vector<ALuint> spare;
    std::deque<Segment> queued;
    uint32_t headFrame = 0;  // the ring frame where the first queued segment starts
    uint32_t tailFrame = 0;  // the ring frame the next segment starts at
    uint32_t queuedFrames = 0;
    int underruns = 0;
  };

  void OpenOutput();
  void CloseOutput();
  bool Select();  // makes this device's context current; false when silent
  Slot* Get(int slot);
  bool UploadWhole(int slot);
  void FillQueue(int slot);
  void ServiceStream(int slot);
  void ClearQueue(int slot);
  uint32_t CurrentFrame(Slot& s, ALuint source);
  void FallBack(int slot);
  void FreeBuffers(Slot& s);

  Options options_;
  SilentSoundDevice silent_;
  ALCdevice* device_ = nullptr;
  ALCcontext* context_ = nullptr;
  LPALCRENDERSAMPLESSOFT render_ = nullptr;
  bool directChannels_ = false;
  bool watchConnection_ = false;  // ALC_EXT_disconnect tells when the output went away
  std::array<ALuint, kSlotCount> sources_{};
  std::array<Slot, kSlotCount> slots_;
  int masterVolume_ = kFullVolume;
  std::optional<int> outputCount_;
  std::vector<int16_t> scratch_;  // segments on their way to OpenAL
};

}  // namespace torvel
