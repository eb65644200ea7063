#include "platform/silent_sound_device.h"

#include <algorithm>
#include <cstring>

namespace torvel {

uint64_t SilentSoundDevice::Slot::FramesAt(uint32_t time) const {
  if (time <= anchorTime) return anchorFrame;
  return anchorFrame + static_cast<uint64_t>(time - anchorTime) * static_cast<uint64_t>(desc.format.rate) / 1000u;
}

SilentSoundDevice::SilentSoundDevice(Clock clock) : clock_(std::move(clock)) { lastTime_ = Now(); }

const SilentSoundDevice::Slot& SilentSoundDevice::SlotAt(int slot) const {
  static const Slot kEmpty;
  if (slot < 0 || slot >= kSlotCount) return kEmpty;
  return slots_[static_cast<size_t>(slot)];
}

SilentSoundDevice::Slot* SilentSoundDevice::Get(int slot) {
  if (slot < 0 || slot >= kSlotCount) return nullptr;
  Slot& s = slots_[static_cast<size_t>(slot)];
  return s.filled ? &s : nullptr;
}

void SilentSoundDevice::CatchUp() {
  uint32_t now = Now();
  if (now <= lastTime_) return;
  OnAdvance(lastTime_, now);
  for (int i = 0; i < kSlotCount; ++i) {
    Slot& s = slots_[static_cast<size_t>(i)];
    if (!s.filled || !s.playing) continue;
    uint64_t end = s.FramesAt(now);
    if (!s.looping && end >= s.frames) {
      if (s.playedFrames < s.frames) OnPlayed(i, s.playedFrames, s.frames);
      s.playing = false;
      s.anchorFrame = 0;
      s.playedFrames = 0;
    } else {
      if (end > s.playedFrames) OnPlayed(i, s.playedFrames, end);
      s.playedFrames = end;
    }
  }
  lastTime_ = now;
}

void SilentSoundDevice::Shutdown() {
  for (int i = 0; i < kSlotCount; ++i) Release(i);
}

void SilentSoundDevice::SetMasterVolume(int volume) {
  CatchUp();
  masterVolume_ = ClampVolume(volume);
}

bool SilentSoundDevice::Create(int slot, const SoundBufferDesc& desc) {
  if (slot < 0 || slot >= kSlotCount) return false;
  SilentSoundDevice::Release(slot);
  if (!desc.format.Valid()) return false;
  uint32_t align = static_cast<uint32_t>(desc.format.BlockAlign());
  if (desc.size < align || desc.size > SoundBufferDesc::kMaxSize) return false;
  Slot& s = slots_[static_cast<size_t>(slot)];
  s = Slot{};
  s.desc = desc;
  // Unsigned 8-bit samples are silent at their midpoint.
  s.data.assign(desc.size, desc.format.bits == 8 ? 0x80 : 0x00);
  s.frames = desc.size / align;
  s.filled = true;
  s.anchorTime = lastTime_;
  return true;
}

bool SilentSoundDevice::Write(int slot, uint32_t offset, std::span<const uint8_t> bytes) {
  CatchUp();
  Slot* s = Get(slot);
  if (!s || offset >= s->desc.size || bytes.size() > s->desc.size) return false;
  size_t first = std::min<size_t>(bytes.size(), s->desc.size - offset);
  if (first) std::memcpy(s->data.data() + offset, bytes.data(), first);
  if (bytes.size() > first) std::memcpy(s->data.data(), bytes.data() + first, bytes.size() - first);
  return true;
}

bool SilentSoundDevice::Play(int slot, bool looping) {
  CatchUp();
  Slot* s = Get(slot);
  if (!s) return false;
  uint64_t position = s->playing ? s->FrameAt(s->playedFrames) : s->anchorFrame;
  s->playing = true;
  s->looping = looping;
  s->anchorFrame = position;
  s->playedFrames = position;
  s->anchorTime = lastTime_;
  return true;
}

void SilentSoundDevice::Stop(int slot) {
  CatchUp();
  Slot* s = Get(slot);
  if (!s || !s->playing) return;
  s->anchorFrame = s->FrameAt(s->playedFrames);
  s->playedFrames = s->anchorFrame;
  s->playing = false;
}

SlotStatus SilentSoundDevice::Status(int slot) {
  CatchUp();
  Slot* s = Get(slot);
  if (!s || !s->playing) return SlotStatus{};
  return SlotStatus{true, s->looping};
}

uint32_t SilentSoundDevice::PlayPosition(int slot) {
  CatchUp();
  Slot* s = Get(slot);
  if (!s) return 0;
  uint64_t frame = s->playing ? s->FrameAt(s->playedFrames) : s->anchorFrame;
  return static_cast<uint32_t>(frame) * s->BlockAlign();
}

bool SilentSoundDevice::SetPlayPosition(int slot, uint32_t position) {
  CatchUp();
  Slot* s = Get(slot);
  if (!s) return false;
  uint32_t frame = position / s->BlockAlign();
  if (frame >= s->frames) return false;
  s->anchorFrame = frame;
  s->playedFrames = frame;
  s->anchorTime = lastTime_;
  return true;
}

void SilentSoundDevice::SetVolume(int slot, int volume) {
  CatchUp();
  if (Slot* s = Get(slot)) s->volume = ClampVolume(volume);
}

int SilentSoundDevice::Volume(int slot) {
  Slot* s = Get(slot);
  return s ? s->volume : kFullVolume;
}

void SilentSoundDevice::Release(int slot) {
  CatchUp();
  if (slot < 0 || slot >= kSlotCount) return;
  slots_[static_cast<size_t>(slot)] = Slot{};
}

bool SilentSoundDevice::Filled(int slot) { return Get(slot) != nullptr; }

}  // namespace torvel
