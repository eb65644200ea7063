#pragma once
// Shift-JIS codes that message text gives a meaning, and the line-breaking set.
#include <algorithm>
#include <array>
#include <cstdint>

namespace torvel {

constexpr uint16_t kPageWaitMark = 0x81A5;      // ▼ click wait, then a new page
constexpr uint16_t kNewPageMark = 0x81A4;       // ▽ new page at once
constexpr uint16_t kContinueWaitMark = 0x81AC;  // 〓 click wait that keeps the page
constexpr uint16_t kNameMark = 0x8190;          // ＄ + filler byte + O..X: a name slot
constexpr uint16_t kFullWidthBlank = 0x8140;    // 　
// Drawn on the page but kept out of the backlog: ◆ § √.
constexpr std::array<uint16_t, 3> kUnloggedMarks = {0x819F, 0x8198, 0x81E3};
// Opening brackets 「 （ 『 start a row without indent.
constexpr std::array<uint16_t, 3> kOpeningBrackets = {0x8175, 0x8169, 0x8177};
// Characters that may stand past the right margin rather than begin a row.
constexpr std::array<uint16_t, 33> kLineBreakingSet = {
    0x8140, 0x8141, 0x8142, 0x8148, 0x8149, 0x815B, 0x8160, 0x816A, 0x8176, 0x8178, 0x8193,
    0x81F4, 0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82C1, 0x82E1, 0x82E3, 0x82E5, 0x82EC,
    0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8362, 0x8383, 0x8385, 0x8387, 0x838E, 0x8396};

template <size_t N>
constexpr bool CodeIn(const std::array<uint16_t, N>& set, uint16_t code) {
  return std::find(set.begin(), set.end(), code) != set.end();
}

// The name slot of the letters O..X after "＄" and a filler byte; -1 for any other byte.
constexpr int NameSlotOfLetter(char letter) { return letter >= 'O' && letter <= 'X' ? letter - 'O' : -1; }

}  // namespace torvel
