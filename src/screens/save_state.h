#pragma once
// The engine's share of saving and loading: where the files live, the bytes the files carry that
// the engine only keeps (written back as they were loaded), and the last banner shown.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "screens/slot_image.h"

namespace torvel {

// Bytes of the picture-seen and scene-seen blocks past their flags: spare bytes kept as read,
// and (at the end of the picture-seen block) the sprite-change counter.
constexpr size_t kPictureSeenTail = 12;  // bytes 500..511
constexpr size_t kSceneSeenTail = 6;     // bytes 250..255

struct SaveState {
  // The folder holding "save0.dat", "kaiso.dat" and the "save" folder of slot files: the game's
  // folder, or the per-user data folder when nothing can be created in the game's folder.
  std::filesystem::path folder;
  bool folderChosen = false;
  // "kaiso.dat" exists but could not be read at start-up: it is not written over.
  bool recollectionUnreadable = false;

  // Kept as bytes: zero at start-up, written as the last load gave them.
  std::array<uint8_t, kSlotReservedBytes> reserved{};
  int32_t reservedFlag = 0;
  std::array<uint8_t, kSlotTextBufferBytes> textBuffer{};
  std::array<uint8_t, kPictureSeenTail> pictureSeenTail{};
  std::array<uint8_t, kSceneSeenTail> sceneSeenTail{};

  // The text of the last banner, "" before the first.
  std::string lastBanner;
};

}  // namespace torvel
