#pragma once
// The page history: a ring of the last 50 finished text pages, each with the scene and voices
// it was shown with, so the player can step back through them. Page waits fill it; save files
// keep it byte for byte, so every entry holds its texts in fixed fields as they were written.
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "graphics/text_page.h"
#include "screens/save_bytes.h"

namespace torvel {

constexpr int kPageHistorySlots = 50;
constexpr int kPageHistorySprites = 10;         // S080–S089 and S090–S099
constexpr size_t kPageHistorySceneField = 128;  // background name, ",", sprite spec
constexpr size_t kPageHistoryVoiceField = 256;  // voice names, each followed by a blank
constexpr size_t kPageHistoryTextBytes = static_cast<size_t>(kPageRows) * kPageColumns;

struct PageHistoryEntry {
  // The page's grid as the text window held it: row r, byte c at r × 100 + c.
  std::array<uint8_t, kPageHistoryTextBytes> text{};
  int32_t overlayOpacity = 0;  // S023
  std::array<int32_t, kPageHistorySprites> spriteCentres{};
  std::array<int32_t, kPageHistorySprites> spriteTops{};
  std::array<uint8_t, kPageHistorySceneField> scene{};
  std::array<uint8_t, kPageHistoryVoiceField> voices{};
  int32_t displayMode = 0;  // S160

  // The fixed texts up to their NUL; a field without one ends at the field's end.
  std::string_view SceneText() const { return FieldText(scene); }
  std::string_view VoiceList() const { return FieldText(voices); }
};

struct PageHistory {
  // Pages ever added; page k lives in entries[k mod 50]. A loaded count is never negative.
  int32_t count = 0;
  std::vector<PageHistoryEntry> entries = std::vector<PageHistoryEntry>(kPageHistorySlots);

  PageHistoryEntry& Slot(int64_t page) {
    return entries[static_cast<size_t>((page % kPageHistorySlots + kPageHistorySlots) % kPageHistorySlots)];
  }
};

}  // namespace torvel
