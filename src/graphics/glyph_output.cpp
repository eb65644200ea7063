// The engine's glyph operations: the play-area font from the settings, the cache with the
// external characters, and characters drawn onto buffers and shown on the window.
#include <algorithm>
#include <cstdint>

#include "shell/engine.h"

namespace torvel {

namespace {
constexpr char kGaijiPicture[] = "sys_gaiji";
}

void TForm1::ResetGlyphCache() {
  glyphs.SetFont(settings.FontName, settings.FONTSIZE, settings.FONTBold != 0);
  if (!glyphs.Source().CoversJapanese()) NoticeNoJapaneseFont();
  Bitmap gaiji;
  if (!config.GAIJI.empty()) LoadImage(kGaijiPicture, gaiji);
  glyphs.ResetCache(config.GAIJI, gaiji);
}

void TForm1::PrepareGlyph(std::string_view bytes) { glyphs.Prepare(bytes); }

void TForm1::RenderGlyph(uint16_t code) { glyphs.Render(code); }

void TForm1::DrawGlyph(Bitmap& bitmap, int x, int y) { glyphs.Draw(bitmap, x, y); }

void TForm1::ShowGlyph(int x, int y) {
  Bitmap& screen = layers.screen;
  glyphs.Draw(screen, x, y);
  DrawGlyphOnAnimationFrames(x, y);
  Rect cell{std::max(0, x), std::max(0, y), std::min(screen.width, x + kGlyphCellWidth + 1),
            std::min(screen.height, y + kGlyphCellHeight)};
  if (!cell.Empty()) host.Present(ShownScreenPicture(), cell);
}

void TForm1::SetTextColour(int code) { glyphs.SetColour(code, static_cast<uint32_t>(vars.S(kVarTextColour))); }

void TForm1::DrawString(std::string_view text, int x0, Bitmap& bitmap, int code, int y) {
  glyphs.DrawText(text, x0, config.TX_PITCH_X, 0, bitmap, code, static_cast<uint32_t>(vars.S(kVarTextColour)), y);
}

void TForm1::DrawStringCentred(std::string_view text, int x0, Bitmap& bitmap, int code, int y) {
  DrawStringPitch(text, x0, config.TX_PITCH_X, bitmap, code, y);
}

void TForm1::DrawStringPitch(std::string_view text, int x0, int pitch, Bitmap& bitmap, int code, int y) {
  int64_t half = static_cast<int64_t>(text.size()) * pitch / 2;
  int shift = static_cast<int>(std::clamp<int64_t>(half, INT32_MIN / 2, INT32_MAX / 2));
  glyphs.DrawText(text, x0, pitch, shift, bitmap, code, static_cast<uint32_t>(vars.S(kVarTextColour)), y);
}

void TForm1::RenderLargeGlyph(std::string_view bytes, int size) { glyphs.RenderLarge(bytes, size); }

void TForm1::DrawLargeGlyph(Bitmap& bitmap, int x, int y) { glyphs.DrawLarge(bitmap, x, y); }

}  // namespace torvel
