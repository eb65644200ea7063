// Arbitrary bytes drawn as text: the first bytes choose the position and colour code, the rest is
// the text, drawn as a line and as single cells onto a small picture near its edges.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "graphics/bitmap.h"
#include "graphics/glyphs.h"

namespace {

torvel::GlyphRenderer* renderer = nullptr;

torvel::GlyphRenderer& Renderer() { return *renderer; }

}  // namespace

// The face is opened once for all inputs.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  renderer = new torvel::GlyphRenderer;
  renderer->SetFont("IPAGothic", 22, false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int x = static_cast<int8_t>(data[0]);
  int y = static_cast<int8_t>(data[1]);
  int code = data[2];
  int pitch = data[3] & 15;
  std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
  torvel::GlyphRenderer& glyphs = Renderer();
  torvel::Bitmap picture(96, 64);
  glyphs.DrawText(text, x, pitch, static_cast<int>(text.size()) * pitch / 2, picture, code, 0x00FFFF, y);
  glyphs.Prepare(text);
  glyphs.Draw(picture, x, y);
  glyphs.RenderLarge(text, 8 + (code & 63));
  glyphs.DrawLarge(picture, x, y);
  // Keep the cache from filling with every input's characters.
  if (glyphs.CacheSize() >= 900) glyphs.ClearCache();
  return 0;
}
