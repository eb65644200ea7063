#pragma once
// SoundDevice: the host's sound output, kept to the model the engine was written for. Eight
// slots, each empty or holding one buffer of PCM bytes with its own format. A buffer is created
// with a size, filled by writing bytes at an offset, played once or looping, stopped, queried for
// its status and play position, given a volume and released. The device mixes the playing slots
// by itself; the engine only writes bytes and reads positions, all on the window thread.
//
// The music stream is a looping buffer used as a ring: the engine fills it, plays it looping,
// and from its timer rewrites the parts the play position has left, staying ahead of playback.
// Such a buffer is created with `stream` set so that a device that must copy data out (OpenAL)
// picks it up as it plays rather than once at the start.
//
// Every method accepts any argument: a slot outside 0..7, an empty slot, a write past the end
// or an unsupported format makes the call do nothing (and return false or 0). A device that has
// no output plays silently, with play positions that still advance with time.
#include <cstdint>
#include <span>
#include <string>

namespace torvel {

struct PcmFormat {
  static constexpr int kMinRate = 100;  // the range a secondary buffer accepts
  static constexpr int kMaxRate = 200000;

  int channels = 2;  // 1 or 2
  int rate = 44100;  // frames per second
  int bits = 16;     // 16 (signed little-endian) or 8 (unsigned)

  bool Valid() const {
    return (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && rate >= kMinRate && rate <= kMaxRate;
  }
  // Bytes of one frame (one sample of every channel).
  int BlockAlign() const { return channels * bits / 8; }
  int BytesPerSecond() const { return rate * BlockAlign(); }
  bool operator==(const PcmFormat&) const = default;
};

// What a slot's buffer is made of.
struct SoundBufferDesc {
  static constexpr uint32_t kMaxSize = 0x0FFFFFFF;  // the largest secondary buffer

  PcmFormat format;
  uint32_t size = 0;  // bytes; a trailing partial frame is never played
  // The entry the sound came from (upper-case); the headless device reports it, others ignore it.
  std::string name;
  // Rewritten while it plays, ahead of the play position (the music ring).
  bool stream = false;
};

struct SlotStatus {
  bool playing = false;
  bool looping = false;  // only while playing
};

class SoundDevice {
 public:
  static constexpr int kSlotCount = 8;
  static constexpr int kFullVolume = 0;
  static constexpr int kSilentVolume = -10000;  // hundredths of a decibel; at or below it nothing is heard

  virtual ~SoundDevice() = default;

  // Number of audio outputs the system offers (0 when it has none); answerable before Start.
  virtual int OutputDeviceCount() = 0;
  // Opens the output. False when there is none: the device then stays usable but silent.
  virtual bool Start() = 0;
  // Releases every slot and closes the output.
  virtual void Shutdown() = 0;

  // The volume of the whole mix (the primary buffer's volume), hundredths of a decibel.
  virtual int MasterVolume() = 0;
  virtual void SetMasterVolume(int volume) = 0;

  // Replaces whatever the slot held by a silent buffer of `desc.size` bytes, stopped at
  // position 0 with full volume. False, leaving the slot empty, for a bad format or size.
  virtual bool Create(int slot, const SoundBufferDesc& desc) = 0;
  // Copies bytes into the buffer starting at `offset`; a write that runs past the end continues
  // at the start, as a locked region of a ring does. False when the bytes exceed the buffer.
  virtual bool Write(int slot, uint32_t offset, std::span<const uint8_t> bytes) = 0;
  // Plays from the current position; once, or looping until stopped. Playing a buffer that
  // already plays only changes its looping.
  virtual bool Play(int slot, bool looping) = 0;
  // Stops, keeping the position; Play resumes from it.
  virtual void Stop(int slot) = 0;
  // A buffer played once that reaches its end stops by itself and reads position 0.
  virtual SlotStatus Status(int slot) = 0;
  // The play position in bytes from the start of the buffer (a multiple of the frame size).
  virtual uint32_t PlayPosition(int slot) = 0;
  virtual bool SetPlayPosition(int slot, uint32_t position) = 0;
  // Hundredths of a decibel, clamped to kSilentVolume..0.
  virtual void SetVolume(int slot, int volume) = 0;
  virtual int Volume(int slot) = 0;
  // Empties the slot (stopping it first).
  virtual void Release(int slot) = 0;
  virtual bool Filled(int slot) = 0;

  // Lets a device that feeds its output from the caller's thread catch up. Every other call does
  // this too; a host may also call it from a timer of its own.
  virtual void Update() {}

  // The linear amplitude factor of a volume: 10^(volume / 2000), 0 at kSilentVolume and below.
  static double Gain(int volume);
  static int ClampVolume(int volume);
};

}  // namespace torvel
