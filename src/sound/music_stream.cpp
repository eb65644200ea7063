// Background music: the `music` semantics, and a type A track streamed from the music archive
// through a ring of four one-second blocks that the 55 ms timer tick refills behind the play
// position.
#include <algorithm>
#include <climits>
#include <cstdio>

#include "platform/sound_device.h"
#include "shell/engine.h"
#include "sound/music_track.h"

namespace torvel {

namespace {
// A fade ends once the level falls below this.
constexpr int kFadeFloor = -3000;
// The master volume is pushed to the device again every this many ticks.
constexpr int kMasterRefreshTicks = 8;
// Ticks before a track asked for in the background is tried again.
constexpr int kDeferredStartTicks = 3;
}  // namespace

void TForm1::SetMusic(int v) {
  int64_t fadeStep = 0;
  if (v < 0) {
    fadeStep = -static_cast<int64_t>(v);  // INT_MIN included
    v = 0;
  }
  vars.S(3) = v;
  if (v == vars.S(5)) return;
  // A start still waiting for the window to come back is superseded by any new request.
  sound.startCountdown = 0;
  if (settings.BGM_ENA != 0) {
    if (v > 0) {
      StartMusicTrack(v);
    } else if (fadeStep != 0) {
      FadeOutMusic(static_cast<int>(std::min<int64_t>(fadeStep, INT_MAX)));
    } else {
      StopMusic();
    }
    vars.S(5) = v;
  } else {
    if (vars.S(5) != 0) StopMusic();
    vars.S(5) = 0;
  }
}

void TForm1::RestartMusic() {
  const int requested = vars.S(3);
  SetMusic(0);
  SetMusic(requested);
  vars.S(3) = requested;
}

bool TForm1::StartMusicTrack(int n) {
  if (!host.WindowActive()) {
    sound.pendingTrack = n;
    sound.startCountdown = kDeferredStartTicks;
    return true;
  }
  sound.startCountdown = 0;
  const int entry = archives.bgm.FindEntry(MusicTrackName(n));
  if (entry < 0) return true;
  StartMusicStream(archives.bgm, entry);
  return false;
}

void TForm1::DeferredMusicTick(bool fromPaint) {
  if (fromPaint || sound.startCountdown == 0) return;
  if (sound.startCountdown > 1) {
    --sound.startCountdown;
    return;
  }
  sound.startCountdown = 0;
  StartMusicTrack(sound.pendingTrack);
}

void TForm1::StartMusicStream(const ArchiveIndex& archive, int entry) {
  if (entry < 0 || static_cast<size_t>(entry) >= archive.offsets.size() ||
      !archive.bodyFits[static_cast<size_t>(entry)]) {
    return;
  }
  const uint64_t offset = archive.offsets[static_cast<size_t>(entry)];
  StreamMusicFrom(archive.file, offset, offset + archive.sizes[static_cast<size_t>(entry)],
                  archive.names[static_cast<size_t>(entry)], kMusicFromArchive);
}

void TForm1::PlayAnimationMusic(const std::filesystem::path& file, uint64_t position, uint64_t end) {
  sound.music.fadeLevel = 0;
  if (sound.music.source == kMusicFromArchive) StopMusic();
  StreamMusicFrom(file, position, end, "ANIMATION", kMusicFromAnimation);
}

void TForm1::StreamMusicFrom(const std::filesystem::path& path, uint64_t offset, uint64_t end, std::string_view name,
                             int source) {
  if (!sound.available) return;
  // Decoding the first seconds takes a while: a loop pacing its frames does not count it as late.
  StartFrameClock();
  MusicStreamState& m = sound.music;
  m.currentVolume = MusicVolume();
  m.fadeLevel = 0;
  FreeSlot(kMusicSlot);
  FreeSlot(kMusicSpareSlot);
  if (m.file) {
    m.file.reset();
    ++m.filesClosed;
  }
  m.source = kNoMusic;
  m.file.reset(std::fopen(path.c_str(), "rb"));
  if (!m.file) return;
  ++m.filesOpened;
  uint8_t header[kWadyHeaderSize] = {};
  const bool read = offset <= static_cast<uint64_t>(LONG_MAX) &&
                    std::fseek(m.file.get(), static_cast<long>(offset), SEEK_SET) == 0 &&
                    std::fread(header, 1, sizeof header, m.file.get()) == sizeof header;
  if (!read || !StartTypeAStream(header, offset, m.stream)) {
    m.file.reset();
    ++m.filesClosed;
    return;
  }
  // The header's lengths are not trusted: the stream ends with its entry, whatever it claims.
  m.entryEnd = end;
  m.stream.dataEnd = std::min(m.stream.dataEnd, m.entryEnd);
  m.stream.loopStart = std::min(m.stream.loopStart, m.stream.dataEnd);
  m.source = source;

  const uint32_t bytesPerSecond = TypeABytesPerSecond(m.stream);
  m.decoded.assign(bytesPerSecond, 0);
  SoundBufferDesc desc;
  desc.format.channels = m.stream.header.channels;
  desc.format.rate = static_cast<int>(m.stream.header.sampleRate);
  desc.size = bytesPerSecond * kMusicBlocks;
  desc.name = std::string(name);
  desc.stream = true;
  SoundDevice& device = host.Sound();
  if (!device.Create(kMusicSlot, desc)) return;
  sound.slotNames[kMusicSlot] = desc.name;
  for (int block = 0; block < kMusicBlocks; ++block) {
    DecodeTypeASecond(
        m.stream, [this](uint64_t at, std::span<uint8_t> into) { return ReadMusic(at, into); }, m.decoded, vars.S(57));
    device.Write(kMusicSlot, static_cast<uint32_t>(block) * bytesPerSecond, m.decoded);
  }
  device.SetPlayPosition(kMusicSlot, 0);
  device.SetVolume(kMusicSlot, m.currentVolume);
  device.Play(kMusicSlot, true);
  m.nextBlock = 0;
}

void TForm1::PlayAnimationSound(std::span<const uint8_t> wave) {
  if (!sound.available) return;
  sound.music.fadeLevel = 0;
  WadyHeader header;
  if (!ReadWadyHeader(wave, header)) return;
  const std::vector<uint8_t> pcm = DecodeTypeAEntry(wave, vars.S(57) >= kPlayOncePassedEnd);
  PlayPcmInSlot(kAnimationSlot, "ANIMATION", header.channels, static_cast<int>(header.sampleRate), pcm, EffectVolume(),
                false);
}

size_t TForm1::ReadMusic(uint64_t position, std::span<uint8_t> into) {
  MusicStreamState& m = sound.music;
  if (!m.file || position >= m.entryEnd) return 0;
  into = into.first(static_cast<size_t>(std::min<uint64_t>(into.size(), m.entryEnd - position)));
  if (position > static_cast<uint64_t>(LONG_MAX) ||
      std::fseek(m.file.get(), static_cast<long>(position), SEEK_SET) != 0) {
    return 0;
  }
  return std::fread(into.data(), 1, into.size(), m.file.get());
}

void TForm1::MusicTick() {
  if (!sound.available) return;
  SoundDevice& device = host.Sound();
  if (!device.Filled(kMusicSlot)) return;
  MusicStreamState& m = sound.music;
  if (!sound.muted && ++m.tickCounter % kMasterRefreshTicks == 0) device.SetMasterVolume(sound.masterVolume);
  if (m.fadeLevel != 0) {
    const int64_t level = static_cast<int64_t>(m.fadeLevel) - m.fadeStep;
    if (level < kFadeFloor) {
      StopMusic();
      m.fadeLevel = 0;
      return;
    }
    m.fadeLevel = static_cast<int>(level);
    m.currentVolume = m.fadeLevel;
  } else {
    m.currentVolume = MusicVolume();
  }
  if (m.source != kNoMusic && !m.decoded.empty()) {
    const uint32_t bytesPerSecond = static_cast<uint32_t>(m.decoded.size());
    const int playing =
        static_cast<int>(std::min<uint32_t>(device.PlayPosition(kMusicSlot) / bytesPerSecond, kMusicBlocks - 1));
    while (playing != m.nextBlock) {
      DecodeTypeASecond(
          m.stream, [this](uint64_t at, std::span<uint8_t> into) { return ReadMusic(at, into); }, m.decoded,
          vars.S(57));
      device.Write(kMusicSlot, static_cast<uint32_t>(m.nextBlock) * bytesPerSecond, m.decoded);
      m.nextBlock = (m.nextBlock + 1) % kMusicBlocks;
    }
  }
  device.SetVolume(kMusicSlot, m.currentVolume);
  if (device.Filled(kAnimationSlot)) device.SetVolume(kAnimationSlot, m.currentVolume);
}

void TForm1::StopMusic() {
  MusicStreamState& m = sound.music;
  if (m.source == kNoMusic) return;
  m.source = kNoMusic;
  FreeSlot(kMusicSlot);
  if (m.file) {
    m.file.reset();
    ++m.filesClosed;
  }
}

void TForm1::FadeOutMusic(int step) {
  sound.music.fadeLevel = sound.music.currentVolume - 1;
  sound.music.fadeStep = step;
}

}  // namespace torvel
