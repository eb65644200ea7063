#pragma once
// The sound state of the engine: which entry each slot holds, the settings-derived volumes, the
// music stream ring and its fade, the deferred music start, the names `cv` and `seloop` leave
// behind, and the movie in progress.
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sound/wady_stream.h"

namespace torvel {

// The slots and what fills them.
enum SoundSlot : int {
  kVoiceSlot = 0,
  kEffectSlot = 1,
  kLoopEffectSlot = 2,
  kMusicSlot = 3,
  kMusicSpareSlot = 4,  // nothing fills it; freed when a track starts
  kAnimationSlot = 5,
  kSoundSlotCount = 8,
};

// Fixed text fields: what a save file keeps of the names, and the page history's voice list.
constexpr size_t kLastVoiceField = 30;
constexpr size_t kLoopEffectField = 30;
constexpr size_t kPageVoiceListField = 256;

// The music ring holds four one-second blocks.
constexpr int kMusicBlocks = 4;

enum MusicSource : int { kNoMusic = 0, kMusicFromArchive = 1, kMusicFromAnimation = 2 };

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using MusicFile = std::unique_ptr<std::FILE, FileCloser>;

struct MusicStreamState {
  int source = kNoMusic;
  TypeAStream stream;
  uint64_t entryEnd = 0;  // the archive entry's end: reads never pass it
  MusicFile file;
  int nextBlock = 0;
  std::vector<uint8_t> decoded;  // one second of decoded sound, sized from the track's header
  int currentVolume = 0;
  int fadeLevel = 0;  // 0: no fade
  int fadeStep = 0;
  int tickCounter = 0;  // refreshes the master volume every few ticks
  int filesOpened = 0;  // counters of the music file, for tests
  int filesClosed = 0;
};

struct MovieState {
  bool playing = false;
  int graceTicks = 0;  // timer ticks before the end of the movie is looked at
  std::string path;
};

struct SoundState {
  bool available = false;
  int masterVolume = 0;
  bool muted = false;
  std::array<std::string, kSoundSlotCount> slotNames;  // the entry each slot holds (upper case)
  MusicStreamState music;
  int pendingTrack = 0;  // a track asked for while the game was in the background
  int startCountdown = 0;
  std::string loopEffectName;
  std::string lastVoice;
  std::string pageVoices;  // the current page's voice names, each followed by a blank
  MovieState movie;
};

}  // namespace torvel
