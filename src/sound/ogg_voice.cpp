#include "sound/ogg_voice.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace torvel {

namespace {

// Voices up to this size are played whole, trailing silence included.
constexpr size_t kTrimThreshold = 30000;
constexpr size_t kTrimGroup = 4;

// The bytes of one decode, read by the library through the callbacks below.
struct MemoryStream {
  std::span<const uint8_t> bytes;
  int64_t position = 0;
};

size_t StreamRead(void* dest, size_t size, size_t count, void* source) {
  auto* s = static_cast<MemoryStream*>(source);
  if (size == 0 || count == 0) return 0;
  const int64_t end = static_cast<int64_t>(s->bytes.size());
  if (s->position >= end) return 0;
  const size_t wanted = (SIZE_MAX / size < count) ? SIZE_MAX : size * count;
  const size_t n = std::min<size_t>(wanted, static_cast<size_t>(end - s->position));
  std::memcpy(dest, s->bytes.data() + s->position, n);
  s->position += static_cast<int64_t>(n);
  return n / size;
}

int StreamSeek(void* source, ogg_int64_t offset, int origin) {
  auto* s = static_cast<MemoryStream*>(source);
  int64_t base = 0;
  switch (origin) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = s->position; break;
    case SEEK_END: base = static_cast<int64_t>(s->bytes.size()); break;
    default: return -1;
  }
  // A position past the end is allowed (reads there deliver nothing); one before the start or
  // out of range is refused.
  if (offset < -base || offset > INT64_MAX - base) return -1;
  s->position = base + offset;
  return 0;
}

int StreamClose(void*) { return 0; }  // the decode owns the stream

long StreamTell(void* source) { return static_cast<long>(static_cast<MemoryStream*>(source)->position); }

constexpr ov_callbacks kMemoryCallbacks = {StreamRead, StreamSeek, StreamClose, StreamTell};

}  // namespace

size_t VoicePlayedLength(std::span<const uint8_t> pcm) {
  const size_t size = pcm.size();
  if (size <= kTrimThreshold) return size;
  size_t length = size - kTrimGroup;
  auto silent = [&](size_t at) { return pcm[at] == 0 && pcm[at + 1] == 0 && pcm[at + 2] == 0 && pcm[at + 3] == 0; };
  while (length > size / 2 && silent(length)) length -= kTrimGroup;
  return length + kTrimGroup;
}

bool DecodeOggVoice(std::span<const uint8_t> entry, OggVoice& voice) {
  voice = OggVoice{};
  MemoryStream stream{entry, 0};
  OggVorbis_File file;
  std::memset(&file, 0, sizeof file);
  if (ov_open_callbacks(&stream, &file, nullptr, 0, kMemoryCallbacks) < 0) return false;
  const ogg_int64_t frames = ov_pcm_total(&file, -1);
  const vorbis_info* info = ov_info(&file, -1);
  const int channels = info ? info->channels : 0;
  const long rate = info ? info->rate : 0;
  if (frames <= 0 || channels <= 0 || channels > UINT16_MAX || rate <= 0 || rate > INT32_MAX ||
      static_cast<uint64_t>(frames) > kMaxVoiceBytes / (2u * static_cast<unsigned>(channels))) {
    ov_clear(&file);
    return false;
  }
  voice.format = MakeWaveFormat(static_cast<uint16_t>(channels), static_cast<uint32_t>(rate));
  const size_t size = static_cast<size_t>(frames) * 2u * static_cast<size_t>(channels);
  voice.pcm.assign(size, 0);
  size_t done = 0;
  int section = 0;
  while (done < size) {
    const int room = static_cast<int>(std::min<size_t>(size - done, INT_MAX));
    const long got = ov_read(&file, reinterpret_cast<char*>(voice.pcm.data() + done), room, 0, 2, 1, &section);
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  ov_clear(&file);
  voice.playedLength = VoicePlayedLength(voice.pcm);
  return true;
}

}  // namespace torvel
