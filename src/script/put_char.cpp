// Placing a character: line breaking with the margin characters, the bracket indent, the name
// row, and the character drawn where it lands.
#include <algorithm>
#include <cstdint>

#include "graphics/text_page.h"
#include "script/text_codes.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarContinuationRow = 38;
constexpr int kIndentColumns = 2;     // one full-width blank
constexpr int kMarginOverhang = 2;    // a line-breaking character may stand this far past
constexpr int kLargeTextAdvance = 3;  // columns per character in the large size
constexpr int kLargeTextPixels = 30;

}  // namespace

void TForm1::PutChar(std::string_view character) {
  if (character.empty()) return;
  TextState& t = text;
  const bool full = vars.S(kVarDisplayMode) == 1;
  const uint16_t code = GlyphCode(character);
  const int length = static_cast<int>(character.size());
  if (!t.windowShown) NewPage();
  if (!full && t.cursorCol == 0 && t.cursorRow == 0 && !t.nameLineMode) t.cursorRow = 1;
  const int margin = full ? config.MOJI_MAX2_X : config.MOJI_MAX_X;
  if (t.cursorCol >= margin && !(CodeIn(kLineBreakingSet, code) && t.cursorCol < margin + kMarginOverhang)) {
    t.cursorCol = 0;
    ++t.cursorRow;
    CloseBacklogLine();
    vars.S(kVarContinuationRow) = 1;
  }
  if (!full) {
    if (t.cursorCol == 0 && t.cursorRow != 0 && !CodeIn(kOpeningBrackets, code)) t.cursorCol = kIndentColumns;
    if (vars.S(kVarContinuationRow) == 1 && t.cursorCol == kIndentColumns && code == kFullWidthBlank) return;
  }
  const bool large = t.largeText && !full;
  textWindow.page.Put(t.cursorRow, t.cursorCol, character, NormaliseColourCode(t.colourIndex), large);
  const int64_t x = full ? int64_t{config.TX2_OFS_X} + int64_t{t.cursorCol} * config.TX2_PITCH_X
                         : int64_t{textWindow.x} + config.TX_OFS_X + int64_t{t.cursorCol} * config.TX_PITCH_X;
  const int64_t y = full ? int64_t{config.TX2_OFS_Y} + int64_t{t.cursorRow} * config.TX2_PITCH_Y
                         : int64_t{textWindow.y} + config.TX_OFS_Y + int64_t{t.cursorRow} * config.TX_PITCH_Y;
  // Cells far off the screen draw nothing; nearer ones are clipped by the glyph blend.
  const bool onScreen = x > -kLargeGlyphWidth && x < kScreenWidth && y > -kLargeGlyphHeight && y < kScreenHeight;
  if (large) {
    DrawLargeCharacter(character, x, y, true);
  } else if (onScreen) {
    SetTextColour(NormaliseColourCode(t.colourIndex));
    PrepareGlyph(character);
    ShowGlyph(static_cast<int>(x), static_cast<int>(y));
  }
  ++t.charsSinceWait;
  t.cursorCol += large ? kLargeTextAdvance : length;
}

void TForm1::DrawLargeCharacter(std::string_view character, int64_t x, int64_t y, bool show) {
  if (x <= -kLargeGlyphWidth || x >= kScreenWidth || y <= -kLargeGlyphHeight || y >= kScreenHeight) return;
  RenderLargeGlyph(character, kLargeTextPixels);
  DrawLargeGlyph(layers.screen, static_cast<int>(x), static_cast<int>(y));
  const Rect cell{std::max(0, static_cast<int>(x)), std::max(0, static_cast<int>(y)),
                  std::min(kScreenWidth, static_cast<int>(x) + kLargeGlyphWidth + 1),
                  std::min(kScreenHeight, static_cast<int>(y) + kLargeGlyphHeight)};
  if (show && !cell.Empty()) host.Present(layers.screen, cell);
}

}  // namespace torvel
