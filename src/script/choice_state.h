#pragma once
// The choice list on screen and the record of the player's choices.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

constexpr int kMaxChoices = 32;
constexpr size_t kChoiceTextMax = 64;
constexpr int kChoiceRecordSize = 4096;

// System variables of the choice record.
constexpr int kVarRecordMode = 161;  // 0 normal, 1 recording, 2 replaying
constexpr int kVarRecordCount = 162;
constexpr int kVarRecordPosition = 163;

struct ChoiceState {
  int choiceCount = 0;
  std::array<std::string, kMaxChoices> choiceText;
  std::array<int, kMaxChoices> choiceTarget{};
  std::array<Rect, kMaxChoices> choiceRect{};  // full-screen text mode only
  int hoveredChoice = 0;                       // 1-based; 0 none; -1 right after the list is drawn
  int listTop = 0;
  int barX = 0;
  int barWidth = 0;
  int barHeight = 0;  // the height of one bar (the upper half of its picture)
  std::vector<uint8_t> choiceRecord = std::vector<uint8_t>(kChoiceRecordSize);
};

}  // namespace torvel
