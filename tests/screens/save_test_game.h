#pragma once
// A small game for the save and load tests: a text window, two backgrounds, a sprite with its
// mask, the save and load sounds, a looping effect and a music track.
#include <cstring>
#include <string>
#include <vector>

#include "graphics/picture_test_support.h"
#include "resources/file_io.h"
#include "sound/wady_encoder.h"
#include "support/game_fixture.h"
#include "support/text_game.h"

namespace torvel::testing {

inline constexpr char kSaveConfig[] = "MAKER_REG:Software\\TestMaker\nGAME_ID:alpha\nDEFAULT_NAME3:朝倉\n";

inline std::vector<uint8_t> ToneEffect() {
  std::vector<int16_t> samples(4000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i % 40) * 200 - 4000);
  return EncodeTypeB(samples, 1, 16000);
}

inline std::vector<uint8_t> ToneMusic() {
  std::vector<int16_t> samples(16000 * 3);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i % 40) * 200 - 4000);
  return EncodeTypeA(samples, 1, 16000, 0);
}

inline void AddSaveGameAssets(GameFixture& game) {
  game.Script("_config", std::string(kTextConfig) + kSaveConfig)
      .Entry("tq_gra.tvx", "AB01", Packed(Solid(800, 600, {40, 80, 120})))
      .Entry("tq_gra.tvx", "AB02", Packed(Solid(800, 600, {200, 10, 10})))
      .Entry("tq_gra.tvx", "BC01", Packed(Solid(100, 300, {0, 250, 0})))
      .Entry("tq_gra.tvx", "MC01", Packed(Solid(100, 300, {255, 255, 255})))
      .Entry("tq_se0.tvx", "SSE05", ToneEffect())
      .Entry("tq_se0.tvx", "SSE06", ToneEffect())
      .Entry("tq_se2.tvx", "SEH1_RAIN", ToneEffect())
      .Entry("tq_bgm.tvx", "M01", ToneMusic());
}

// Reads a whole file; empty when it is missing.
inline std::vector<uint8_t> FileBytes(const std::filesystem::path& file) {
  std::vector<uint8_t> bytes;
  ReadWholeFile(file, bytes);
  return bytes;
}

inline int32_t Le32At(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b.at(at + i)) << (8 * i);
  return static_cast<int32_t>(v);
}

// Offsets in the slot file.
inline constexpr size_t kSlotLabel = 0;
inline constexpr size_t kSlotComment = 96;
inline constexpr size_t kSlotVars = 1280;
inline constexpr size_t kSlotState = 17570;
inline constexpr size_t kSlotNames = 33874;
inline constexpr size_t kSlotThumbnail = 163138;
inline constexpr size_t kSlotEnd = 220738;

inline int32_t StateAt(const std::vector<uint8_t>& slot, int index) {
  return Le32At(slot, kSlotState + 4 * static_cast<size_t>(index));
}

}  // namespace torvel::testing
