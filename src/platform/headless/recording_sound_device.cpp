#include "platform/headless/recording_sound_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "resources/file_io.h"

namespace torvel {

const char* SoundOpName(SoundOp op) {
  switch (op) {
    case SoundOp::Start: return "start";
    case SoundOp::Shutdown: return "shutdown";
    case SoundOp::MasterVolume: return "master-volume";
    case SoundOp::Create: return "create";
    case SoundOp::Write: return "write";
    case SoundOp::Play: return "play";
    case SoundOp::Stop: return "stop";
    case SoundOp::SetPosition: return "set-position";
    case SoundOp::Volume: return "volume";
    case SoundOp::Release: return "release";
  }
  return "?";
}

RecordingSoundDevice::RecordingSoundDevice(Clock clock) : SilentSoundDevice(std::move(clock)) {}

SoundCall& RecordingSoundDevice::Record(SoundOp op, int slot, bool ok) {
  SoundCall& call = calls_.emplace_back();
  call.time = lastTime_;
  call.op = op;
  call.slot = slot;
  call.ok = ok;
  return call;
}

std::vector<SoundCall> RecordingSoundDevice::CallsOf(SoundOp op) const {
  std::vector<SoundCall> out;
  for (const SoundCall& c : calls_) {
    if (c.op == op) out.push_back(c);
  }
  return out;
}

bool RecordingSoundDevice::Start() {
  CatchUp();
  Record(SoundOp::Start, -1, startResult_);
  return startResult_;
}

void RecordingSoundDevice::Shutdown() {
  // Releases slot by slot through this class, so each release is recorded too.
  CatchUp();
  Record(SoundOp::Shutdown, -1, true);
  for (int i = 0; i < kSlotCount; ++i) Release(i);
}

void RecordingSoundDevice::SetMasterVolume(int volume) {
  SilentSoundDevice::SetMasterVolume(volume);
  Record(SoundOp::MasterVolume, -1, true).volume = volume;
}

bool RecordingSoundDevice::Create(int slot, const SoundBufferDesc& desc) {
  bool ok = SilentSoundDevice::Create(slot, desc);
  SoundCall& call = Record(SoundOp::Create, slot, ok);
  call.name = desc.name;
  call.format = desc.format;
  call.size = desc.size;
  if (slot >= 0 && slot < kSlotCount) {
    StreamWatch& w = watches_[static_cast<size_t>(slot)];
    w = StreamWatch{};
    if (ok && desc.stream) w.fresh.assign(SlotAt(slot).frames, 0);
  }
  return ok;
}

bool RecordingSoundDevice::Write(int slot, uint32_t offset, std::span<const uint8_t> bytes) {
  bool ok = SilentSoundDevice::Write(slot, offset, bytes);
  SoundCall& call = Record(SoundOp::Write, slot, ok);
  call.size = static_cast<uint32_t>(std::min<size_t>(bytes.size(), UINT32_MAX));
  call.offset = offset;
  if (ok && !bytes.empty()) {
    StreamWatch& w = watches_[static_cast<size_t>(slot)];
    if (!w.fresh.empty()) {
      const Slot& s = SlotAt(slot);
      uint64_t align = s.BlockAlign();
      uint64_t first = offset / align;
      uint64_t last = (offset + bytes.size() - 1) / align;  // may run into the next lap
      for (uint64_t f = first; f <= last; ++f) w.fresh[f % w.fresh.size()] = 1;
    }
  }
  return ok;
}

bool RecordingSoundDevice::Play(int slot, bool looping) {
  bool ok = SilentSoundDevice::Play(slot, looping);
  Record(SoundOp::Play, slot, ok).looping = looping;
  return ok;
}

void RecordingSoundDevice::Stop(int slot) {
  SilentSoundDevice::Stop(slot);
  Record(SoundOp::Stop, slot, Filled(slot));
}

bool RecordingSoundDevice::SetPlayPosition(int slot, uint32_t position) {
  bool ok = SilentSoundDevice::SetPlayPosition(slot, position);
  Record(SoundOp::SetPosition, slot, ok).offset = position;
  return ok;
}

void RecordingSoundDevice::SetVolume(int slot, int volume) {
  SilentSoundDevice::SetVolume(slot, volume);
  Record(SoundOp::Volume, slot, Filled(slot)).volume = volume;
}

void RecordingSoundDevice::Release(int slot) {
  bool wasFilled = Filled(slot);
  SilentSoundDevice::Release(slot);
  Record(SoundOp::Release, slot, wasFilled);
}

int RecordingSoundDevice::Underruns(int slot) const {
  if (slot < 0 || slot >= kSlotCount) return 0;
  return watches_[static_cast<size_t>(slot)].underruns;
}

uint64_t RecordingSoundDevice::StaleBytes(int slot) const {
  if (slot < 0 || slot >= kSlotCount) return 0;
  return watches_[static_cast<size_t>(slot)].staleFrames * SlotAt(slot).BlockAlign();
}

void RecordingSoundDevice::OnPlayed(int slot, uint64_t first, uint64_t end) {
  StreamWatch& w = watches_[static_cast<size_t>(slot)];
  if (w.fresh.empty()) return;
  for (uint64_t f = first; f < end; ++f) {
    uint8_t& fresh = w.fresh[f % w.fresh.size()];
    if (fresh) {
      w.inUnderrun = false;
    } else {
      ++w.staleFrames;
      if (!w.inUnderrun) ++w.underruns;
      w.inUnderrun = true;
    }
    fresh = 0;
  }
}

void RecordingSoundDevice::StartMix(int rate) {
  CatchUp();
  mixing_ = true;
  mixRate_ = std::clamp(rate, PcmFormat::kMinRate, PcmFormat::kMaxRate);
  mixOrigin_ = lastTime_;
  mixedFrames_ = 0;
  mix_.clear();
}

const std::vector<int16_t>& RecordingSoundDevice::Mix() {
  CatchUp();
  return mix_;
}

int RecordingSoundDevice::MixSample(const Slot& s, uint64_t frame, int channel) const {
  size_t at = static_cast<size_t>(frame) * s.BlockAlign();
  if (s.desc.format.channels == 2) at += static_cast<size_t>(channel) * (s.desc.format.bits / 8);
  if (s.desc.format.bits == 8) return (static_cast<int>(s.data[at]) - 128) * 256;
  return static_cast<int16_t>(static_cast<uint16_t>(s.data[at] | (s.data[at + 1] << 8)));
}

void RecordingSoundDevice::OnAdvance(uint32_t /*from*/, uint32_t to) {
  if (!mixing_) return;
  // Output frame j sounds at mixOrigin_ + j * 1000 / mixRate_ ms; mix every frame before `to`.
  uint64_t rate = static_cast<uint64_t>(mixRate_);
  uint64_t end = (static_cast<uint64_t>(to - mixOrigin_) * rate + 999) / 1000;
  if (end <= mixedFrames_) return;
  double master = Gain(MasterVolume());
  struct Voice {
    const Slot* slot;
    double gain;
  };
  std::vector<Voice> voices;
  for (int i = 0; i < kSlotCount; ++i) {
    const Slot& s = SlotAt(i);
    if (s.filled && s.playing) voices.push_back(Voice{&s, Gain(s.volume) * master});
  }
  mix_.resize(static_cast<size_t>(end) * 2, 0);
  for (uint64_t j = mixedFrames_; j < end; ++j) {
    double sum[2] = {0.0, 0.0};
    // The time of frame j in units of 1 / (1000 * mixRate) s.
    uint64_t when = static_cast<uint64_t>(mixOrigin_) * rate + j * 1000;
    for (const Voice& v : voices) {
      const Slot& s = *v.slot;
      uint64_t since = static_cast<uint64_t>(s.anchorTime) * rate;
      if (when < since) continue;
      uint64_t frame = s.anchorFrame + (when - since) * static_cast<uint64_t>(s.desc.format.rate) / (1000 * rate);
      if (!s.looping && frame >= s.frames) continue;
      frame = s.FrameAt(frame);
      for (int c = 0; c < 2; ++c) sum[c] += MixSample(s, frame, c) * v.gain;
    }
    for (int c = 0; c < 2; ++c) {
      mix_[static_cast<size_t>(j) * 2 + c] = static_cast<int16_t>(std::clamp(std::lround(sum[c]), -32768L, 32767L));
    }
  }
  mixedFrames_ = end;
}

bool RecordingSoundDevice::WriteMixWav(const std::filesystem::path& file) {
  const std::vector<int16_t>& samples = Mix();
  constexpr size_t kHeaderBytes = 44;
  uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  uint32_t rate = static_cast<uint32_t>(mixRate_);
  std::vector<uint8_t> out(kHeaderBytes + dataBytes);
  size_t at = 0;
  auto put = [&out, &at](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at++] = static_cast<uint8_t>(v >> (8 * i));
  };
  auto tag = [&out, &at](const char* t) {
    std::memcpy(out.data() + at, t, 4);
    at += 4;
  };
  tag("RIFF");
  put(36 + dataBytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(2, 2);
  put(rate, 4);
  put(rate * 4, 4);
  put(4, 2);
  put(16, 2);
  tag("data");
  put(dataBytes, 4);
  for (int16_t v : samples) put(static_cast<uint16_t>(v), 2);
  return WriteFileAtomically(file, out);
}

}  // namespace torvel
