#include "platform/openal/openal_device.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace torvel {

namespace {

// A stream is queued in segments of 1/32 of its ring, up to a quarter of the ring ahead of the
// play position: bytes the engine writes after that are heard on the next lap, which is why a
// writer must stay more than a quarter of the ring ahead (the music ring refills three quarters
// ahead).
constexpr uint32_t kSegmentsPerRing = 32;
constexpr uint32_t kLookaheadDivisor = 4;
constexpr size_t kStreamBuffers = kSegmentsPerRing / kLookaheadDivisor + 4;
// Frames rendered between two top-ups of the streams in loopback mode.
constexpr uint32_t kRenderChunk = 1024;

uint32_t SteadyMilliseconds() {
  static const auto start = std::chrono::steady_clock::now();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

bool AlOk() { return alGetError() == AL_NO_ERROR; }

// Frames [first, first + count) of a slot's bytes as 16-bit stereo.
void ToStereo16(const std::vector<uint8_t>& data, const PcmFormat& format, uint32_t first, uint32_t count,
                std::vector<int16_t>& out) {
  out.resize(static_cast<size_t>(count) * 2);
  size_t align = static_cast<size_t>(format.BlockAlign());
  const uint8_t* p = data.data() + first * align;
  for (uint32_t i = 0; i < count; ++i, p += align) {
    int16_t left = 0;
    int16_t right = 0;
    if (format.bits == 16) {
      left = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
      right = format.channels == 2 ? static_cast<int16_t>(static_cast<uint16_t>(p[2] | (p[3] << 8))) : left;
    } else {
      left = static_cast<int16_t>((p[0] - 128) * 256);
      right = format.channels == 2 ? static_cast<int16_t>((p[1] - 128) * 256) : left;
    }
    out[i * 2] = left;
    out[i * 2 + 1] = right;
  }
}

}  // namespace

OpenAlSoundDevice::OpenAlSoundDevice() : OpenAlSoundDevice(Options{}) {}

OpenAlSoundDevice::OpenAlSoundDevice(Options options)
    : options_(std::move(options)),
      silent_(options_.clock ? options_.clock : SilentSoundDevice::Clock(SteadyMilliseconds)) {}

OpenAlSoundDevice::~OpenAlSoundDevice() { Shutdown(); }

int OpenAlSoundDevice::OutputDeviceCount() {
  if (options_.loopback || Audible()) return 1;
  if (!outputCount_) {
    // The enumeration lists a device even on a machine without a sound card; whether the output
    // opens is the real answer.
    ALCdevice* probe = alcOpenDevice(options_.deviceName ? options_.deviceName->c_str() : nullptr);
    outputCount_ = probe ? 1 : 0;
    if (probe) alcCloseDevice(probe);
  }
  return *outputCount_;
}

bool OpenAlSoundDevice::Start() {
  if (Audible()) return true;
  for (int i = 0; i < kSlotCount; ++i) Release(i);
  OpenOutput();
  return Audible();
}

void OpenAlSoundDevice::OpenOutput() {
  const char* name = options_.deviceName ? options_.deviceName->c_str() : nullptr;
  std::vector<ALCint> attributes;
  if (options_.loopback) {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return;
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto supported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
        alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
    render_ = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!open || !supported || !render_) return;
    device_ = open(name);
    if (!device_) return;
    int rate = std::clamp(options_.loopbackRate, 8000, 192000);
    if (!supported(device_, rate, ALC_STEREO_SOFT, ALC_SHORT_SOFT)) {
      CloseOutput();
      return;
    }
    // The limiter would bend levels near full scale; the memory output reports the plain mix.
    attributes = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT, ALC_FREQUENCY, rate,
                  ALC_OUTPUT_LIMITER_SOFT,  ALC_FALSE};
  } else {
    device_ = alcOpenDevice(name);
    if (!device_) return;
    watchConnection_ = alcIsExtensionPresent(device_, "ALC_EXT_disconnect");
  }
  attributes.push_back(0);
  context_ = alcCreateContext(device_, attributes.data());
  if (!context_ || !alcMakeContextCurrent(context_)) {
    CloseOutput();
    return;
  }
  alGetError();
  directChannels_ = alIsExtensionPresent("AL_SOFT_direct_channels");
  alGenSources(kSlotCount, sources_.data());
  if (!AlOk()) {
    sources_.fill(0);
    CloseOutput();
    return;
  }
  for (ALuint source : sources_) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    if (directChannels_) alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
  }
  alListenerf(AL_GAIN, static_cast<ALfloat>(Gain(masterVolume_)));
  if (!AlOk()) CloseOutput();
}

void OpenAlSoundDevice::CloseOutput() {
  if (context_) {
    alcMakeContextCurrent(context_);
    if (sources_[0]) alDeleteSources(kSlotCount, sources_.data());
    sources_.fill(0);
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    context_ = nullptr;
  }
  if (device_) alcCloseDevice(device_);
  device_ = nullptr;
  render_ = nullptr;
}

void OpenAlSoundDevice::DropOutput() {
  if (!Select()) return;
  for (int i = 0; i < kSlotCount; ++i) {
    if (slots_[static_cast<size_t>(i)].filled) FallBack(i);
  }
  CloseOutput();
}

bool OpenAlSoundDevice::Select() {
  if (!context_) return false;
  if (alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
  alGetError();
  return true;
}

void OpenAlSoundDevice::Shutdown() {
  for (int i = 0; i < kSlotCount; ++i) Release(i);
  CloseOutput();
  watchConnection_ = false;
}

int OpenAlSoundDevice::MasterVolume() { return masterVolume_; }

void OpenAlSoundDevice::SetMasterVolume(int volume) {
  masterVolume_ = ClampVolume(volume);
  silent_.SetMasterVolume(masterVolume_);
  if (Select()) alListenerf(AL_GAIN, static_cast<ALfloat>(Gain(masterVolume_)));
}

OpenAlSoundDevice::Slot* OpenAlSoundDevice::Get(int slot) {
  if (slot < 0 || slot >= kSlotCount) return nullptr;
  Slot& s = slots_[static_cast<size_t>(slot)];
  return s.filled ? &s : nullptr;
}

bool OpenAlSoundDevice::SlotAudible(int slot) const {
  if (slot < 0 || slot >= kSlotCount) return false;
  const Slot& s = slots_[static_cast<size_t>(slot)];
  return s.filled && !s.silent;
}

bool OpenAlSoundDevice::Filled(int slot) { return Get(slot) != nullptr || silent_.Filled(slot); }

void OpenAlSoundDevice::FreeBuffers(Slot& s) {
  if (s.buffer) alDeleteBuffers(1, &s.buffer);
  s.buffer = 0;
  for (const Segment& segment : s.queued) s.spare.push_back(segment.buffer);
  s.queued.clear();
  if (!s.spare.empty()) alDeleteBuffers(static_cast<ALsizei>(s.spare.size()), s.spare.data());
  s.spare.clear();
}

bool OpenAlSoundDevice::Create(int slot, const SoundBufferDesc& desc) {
  if (slot < 0 || slot >= kSlotCount) return false;
  Release(slot);
  if (!Select()) return silent_.Create(slot, desc);
  if (!desc.format.Valid()) return false;
  uint32_t align = static_cast<uint32_t>(desc.format.BlockAlign());
  if (desc.size < align || desc.size > SoundBufferDesc::kMaxSize) return false;
  Slot& s = slots_[static_cast<size_t>(slot)];
  s.desc = desc;
  s.data.assign(desc.size, desc.format.bits == 8 ? 0x80 : 0x00);
  s.frames = desc.size / align;
  s.filled = true;
  if (desc.stream) {
    s.spare.assign(kStreamBuffers, 0);
    alGenBuffers(static_cast<ALsizei>(kStreamBuffers), s.spare.data());
  } else {
    alGenBuffers(1, &s.buffer);
  }
  ALuint source = sources_[static_cast<size_t>(slot)];
  alSourcei(source, AL_LOOPING, AL_FALSE);
  alSourcef(source, AL_GAIN, 1.0f);
  if (!AlOk()) {
    s.spare.clear();
    s.buffer = 0;
    FallBack(slot);
  }
  return true;
}

void OpenAlSoundDevice::FallBack(int slot) {
  Slot& s = slots_[static_cast<size_t>(slot)];
  if (s.silent) return;
  ALuint source = sources_[static_cast<size_t>(slot)];
  uint32_t frame = CurrentFrame(s, source);
  bool playing = s.playing;
  if (!s.desc.stream) {
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    playing = state == AL_PLAYING;
  }
  silent_.Create(slot, s.desc);
  silent_.Write(slot, 0, s.data);
  silent_.SetPlayPosition(slot, frame * static_cast<uint32_t>(s.desc.format.BlockAlign()));
  silent_.SetVolume(slot, s.volume);
  if (playing) silent_.Play(slot, s.looping);
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, 0);
  FreeBuffers(s);
  alGetError();
  s.silent = true;
  s.playing = false;
  s.data = {};
}

bool OpenAlSoundDevice::Write(int slot, uint32_t offset, std::span<const uint8_t> bytes) {
  Update();
  Slot* s = Get(slot);
  if (!s || s->silent) return silent_.Write(slot, offset, bytes);
  if (offset >= s->desc.size || bytes.size() > s->desc.size) return false;
  size_t first = std::min<size_t>(bytes.size(), s->desc.size - offset);
  if (first) std::memcpy(s->data.data() + offset, bytes.data(), first);
  if (bytes.size() > first) std::memcpy(s->data.data(), bytes.data() + first, bytes.size() - first);
  s->dirty = true;
  return true;
}

bool OpenAlSoundDevice::UploadWhole(int slot) {
  Slot& s = slots_[static_cast<size_t>(slot)];
  ALuint source = sources_[static_cast<size_t>(slot)];
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, 0);
  ToStereo16(s.data, s.desc.format, 0, s.frames, scratch_);
  alBufferData(s.buffer, AL_FORMAT_STEREO16, scratch_.data(), static_cast<ALsizei>(scratch_.size() * 2),
               s.desc.format.rate);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(s.buffer));
  s.dirty = false;
  return AlOk();
}

bool OpenAlSoundDevice::Play(int slot, bool looping) {
  Update();
  Slot* s = Get(slot);
  if (!s || s->silent) return silent_.Play(slot, looping);
  ALuint source = sources_[static_cast<size_t>(slot)];
  s->looping = looping;
  if (s->desc.stream) {
    if (s->playing) {
      FillQueue(slot);
      return true;
    }
    s->headFrame = s->tailFrame = s->startFrame;
    s->queuedFrames = 0;
    s->startFrame = 0;
    s->playing = true;
    FillQueue(slot);
    if (s->silent) return true;
    alSourcePlay(source);
  } else {
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (s->dirty) {
      uint32_t frame = CurrentFrame(*s, source);
      if (!UploadWhole(slot)) {
        s->startFrame = frame;
        FallBack(slot);
        return silent_.Play(slot, looping);
      }
      s->startFrame = frame;
      state = AL_STOPPED;
    }
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    if (state != AL_PLAYING) {
      if (state != AL_PAUSED) alSourcei(source, AL_SAMPLE_OFFSET, static_cast<ALint>(s->startFrame));
      alSourcePlay(source);
    }
    s->startFrame = 0;
  }
  if (!AlOk()) {
    FallBack(slot);
    return silent_.Play(slot, looping);
  }
  return true;
}

void OpenAlSoundDevice::Stop(int slot) {
  Update();
  Slot* s = Get(slot);
  if (!s || s->silent) return silent_.Stop(slot);
  ALuint source = sources_[static_cast<size_t>(slot)];
  if (s->desc.stream) {
    if (!s->playing) return;
    uint32_t frame = CurrentFrame(*s, source);
    ClearQueue(slot);
    s->startFrame = frame;
    s->playing = false;
    return;
  }
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  if (state == AL_PLAYING) alSourcePause(source);
}

SlotStatus OpenAlSoundDevice::Status(int slot) {
  Update();
  Slot* s = Get(slot);
  if (!s || s->silent) return silent_.Status(slot);
  bool playing = s->playing;
  if (!s->desc.stream) {
    ALint state = AL_INITIAL;
    alGetSourcei(sources_[static_cast<size_t>(slot)], AL_SOURCE_STATE, &state);
    playing = state == AL_PLAYING;
  }
  return SlotStatus{playing, playing && s->looping};
}

uint32_t OpenAlSoundDevice::CurrentFrame(Slot& s, ALuint source) {
  if (s.desc.stream) {
    if (!s.playing) return s.startFrame;
    // The offset counts from the first segment still queued, processed or not.
    ALint offset = 0;
    alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
    uint64_t frame = static_cast<uint64_t>(s.headFrame) + static_cast<uint64_t>(std::max(offset, 0));
    return static_cast<uint32_t>(frame % s.frames);
  }
  ALint state = AL_INITIAL;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  if (state != AL_PLAYING && state != AL_PAUSED) return s.startFrame;
  ALint offset = 0;
  alGetSourcei(source, AL_SAMPLE_OFFSET, &offset);
  return std::min(static_cast<uint32_t>(std::max(offset, 0)), s.frames - 1);
}

uint32_t OpenAlSoundDevice::PlayPosition(int slot) {
  Update();
  Slot* s = Get(slot);
  if (!s || s->silent) return silent_.PlayPosition(slot);
  return CurrentFrame(*s, sources_[static_cast<size_t>(slot)]) * static_cast<uint32_t>(s->desc.format.BlockAlign());
}

bool OpenAlSoundDevice::SetPlayPosition(int slot, uint32_t position) {
  Update();
  Slot* s = Get(slot);
  if (!s || s->silent) return silent_.SetPlayPosition(slot, position);
  uint32_t frame = position / static_cast<uint32_t>(s->desc.format.BlockAlign());
  if (frame >= s->frames) return false;
  ALuint source = sources_[static_cast<size_t>(slot)];
  if (s->desc.stream) {
    if (!s->playing) {
      s->startFrame = frame;
      return true;
    }
    ClearQueue(slot);
    s->headFrame = s->tailFrame = frame;
    FillQueue(slot);
    alSourcePlay(source);
  } else {
    ALint state = AL_INITIAL;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING || state == AL_PAUSED) {
      alSourcei(source, AL_SAMPLE_OFFSET, static_cast<ALint>(frame));
    } else {
      s->startFrame = frame;
    }
  }
  if (!AlOk()) FallBack(slot);
  return true;
}

void OpenAlSoundDevice::SetVolume(int slot, int volume) {
  Update();
  Slot* s = Get(slot);
  if (!s || s->silent) return silent_.SetVolume(slot, volume);
  s->volume = ClampVolume(volume);
  alSourcef(sources_[static_cast<size_t>(slot)], AL_GAIN, static_cast<ALfloat>(Gain(s->volume)));
}

int OpenAlSoundDevice::Volume(int slot) {
  Slot* s = Get(slot);
  if (!s || s->silent) return silent_.Volume(slot);
  return s->volume;
}

void OpenAlSoundDevice::Release(int slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  silent_.Release(slot);
  Slot& s = slots_[static_cast<size_t>(slot)];
  if (s.filled && !s.silent && Select()) {
    ALuint source = sources_[static_cast<size_t>(slot)];
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);
    FreeBuffers(s);
    alGetError();
  }
  s = Slot{};
}

void OpenAlSoundDevice::ClearQueue(int slot) {
  Slot& s = slots_[static_cast<size_t>(slot)];
  ALuint source = sources_[static_cast<size_t>(slot)];
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, 0);
  for (const Segment& segment : s.queued) s.spare.push_back(segment.buffer);
  s.queued.clear();
  s.queuedFrames = 0;
}

void OpenAlSoundDevice::FillQueue(int slot) {
  Slot& s = slots_[static_cast<size_t>(slot)];
  ALuint source = sources_[static_cast<size_t>(slot)];
  uint32_t segment = std::max<uint32_t>(1, s.frames / kSegmentsPerRing);
  uint32_t lookahead = std::max(segment, s.frames / kLookaheadDivisor);
  while (s.queuedFrames < lookahead && !s.spare.empty()) {
    if (s.tailFrame >= s.frames) {
      if (!s.looping) break;
      s.tailFrame = 0;
    }
    uint32_t end = std::min(s.frames, (s.tailFrame / segment + 1) * segment);
    uint32_t count = end - s.tailFrame;
    ToStereo16(s.data, s.desc.format, s.tailFrame, count, scratch_);
    ALuint buffer = s.spare.back();
    alBufferData(buffer, AL_FORMAT_STEREO16, scratch_.data(), static_cast<ALsizei>(scratch_.size() * 2),
                 s.desc.format.rate);
    alSourceQueueBuffers(source, 1, &buffer);
    if (!AlOk()) {
      FallBack(slot);
      return;
    }
    s.spare.pop_back();
    s.queued.push_back(Segment{buffer, count});
    s.tailFrame = end;
    s.queuedFrames += count;
  }
}

void OpenAlSoundDevice::ServiceStream(int slot) {
  Slot& s = slots_[static_cast<size_t>(slot)];
  ALuint source = sources_[static_cast<size_t>(slot)];
  // The state first: once it reads stopped, every queued segment counts as processed.
  ALint state = AL_INITIAL;
  ALint processed = 0;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
  for (; processed > 0 && !s.queued.empty(); --processed) {
    ALuint buffer = 0;
    alSourceUnqueueBuffers(source, 1, &buffer);
    Segment done = s.queued.front();
    s.queued.pop_front();
    s.headFrame = (s.headFrame + done.frames) % s.frames;
    s.queuedFrames -= done.frames;
    s.spare.push_back(buffer);
  }
  if (state != AL_PLAYING) {
    ClearQueue(slot);
    if (!s.looping && s.tailFrame >= s.frames) {
      s.playing = false;
      s.startFrame = 0;
      return;
    }
    // The queue ran dry: go on from where it stopped.
    ++s.underruns;
    s.headFrame = s.tailFrame % s.frames;
    s.tailFrame = s.headFrame;
    FillQueue(slot);
    if (s.filled && !s.silent) alSourcePlay(source);
    if (!AlOk()) FallBack(slot);
    return;
  }
  FillQueue(slot);
}

void OpenAlSoundDevice::Update() {
  silent_.Update();
  if (!Select()) return;
  if (watchConnection_) {
    ALCint connected = ALC_TRUE;
    alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
    if (!connected) {
      DropOutput();
      return;
    }
  }
  for (int i = 0; i < kSlotCount; ++i) {
    Slot& s = slots_[static_cast<size_t>(i)];
    if (s.filled && !s.silent && s.desc.stream && s.playing) ServiceStream(i);
  }
}

int OpenAlSoundDevice::Underruns(int slot) const {
  if (slot < 0 || slot >= kSlotCount) return 0;
  return slots_[static_cast<size_t>(slot)].underruns;
}

bool OpenAlSoundDevice::RenderMix(std::span<int16_t> out, bool topUpStreams) {
  if (!render_ || !Select()) {
    std::fill(out.begin(), out.end(), int16_t{0});
    return false;
  }
  size_t frames = out.size() / 2;
  int16_t* at = out.data();
  while (frames > 0) {
    if (topUpStreams) Update();
    uint32_t count = static_cast<uint32_t>(std::min<size_t>(frames, kRenderChunk));
    render_(device_, at, static_cast<ALCsizei>(count));
    at += count * 2;
    frames -= count;
  }
  if (out.size() % 2) out.back() = 0;
  return true;
}

}  // namespace torvel
