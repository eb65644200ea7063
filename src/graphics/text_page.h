#pragma once
// The text page: what the text window shows, as Shift-JIS bytes in a fixed grid with a colour
// code per byte. Window mode keeps the speaker's name in row 0. Saved games keep the grid as it
// stands, so its size is fixed.
#include <array>
#include <cstdint>
#include <string_view>

namespace torvel {

constexpr int kPageRows = 20;
constexpr int kPageColumns = 100;

// The colour code a `[col` number stands for: 0 the default colour, 1..7 the palette, and 8 for
// every other multiple of eight (white). Negative numbers use their low three bits.
constexpr uint8_t NormaliseColourCode(int n) {
  if (n == 0) return 0;
  int low = n & 7;
  return static_cast<uint8_t>(low == 0 ? 8 : low);
}

struct TextPage {
  std::array<std::array<char, kPageColumns>, kPageRows> bytes{};
  std::array<std::array<uint8_t, kPageColumns>, kPageRows> colours{};
  // Characters typed in the large size, by the column they start at, so a redraw draws them as
  // they were typed. Not part of saved games, which keep the grid alone.
  std::array<std::array<bool, kPageColumns>, kPageRows> large{};
  bool empty = true;  // nothing to draw

  void Clear() {
    for (auto& row : bytes) row.fill(0);
    for (auto& row : colours) row.fill(0);
    for (auto& row : large) row.fill(false);
    empty = true;
  }
  // Stores a character at (row, col); bytes that would fall outside the grid are dropped.
  void Put(int row, int col, std::string_view character, uint8_t colour, bool largeSize = false) {
    if (row < 0 || row >= kPageRows) return;
    for (size_t i = 0; i < character.size(); ++i) {
      int c = col + static_cast<int>(i);
      if (c < 0 || c >= kPageColumns) continue;
      bytes[static_cast<size_t>(row)][static_cast<size_t>(c)] = character[i];
      colours[static_cast<size_t>(row)][static_cast<size_t>(c)] = colour;
      large[static_cast<size_t>(row)][static_cast<size_t>(c)] = largeSize && i == 0;
    }
    empty = false;
  }
  // Replaces row `row` with `text` (cut to the row, always NUL-ended).
  void SetRow(int row, std::string_view text) {
    if (row < 0 || row >= kPageRows) return;
    auto& r = bytes[static_cast<size_t>(row)];
    r.fill(0);
    for (size_t i = 0; i < text.size() && i + 1 < r.size(); ++i) r[i] = text[i];
  }
  // Row `row` up to its first NUL.
  std::string_view Text(int row) const {
    if (row < 0 || row >= kPageRows) return {};
    const auto& r = bytes[static_cast<size_t>(row)];
    size_t n = 0;
    while (n < r.size() && r[n] != 0) ++n;
    return {r.data(), n};
  }
};

}  // namespace torvel
