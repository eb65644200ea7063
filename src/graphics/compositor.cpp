// The compositor: background, overlay, sprites and tint into the scene buffer, the scene and
// the text window into the screen buffer, and the presentation of a change.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "graphics/kernels.h"
#include "graphics/tint.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// Drawing orders of the layouts (later = in front), without and with the priority flip S024.
constexpr std::array<std::array<int, 4>, 5> kOrder = {{{}, {0}, {0, 1}, {0, 2, 1}, {0, 1, 3, 2}}};
constexpr std::array<std::array<int, 4>, 5> kFlippedOrder = {{{}, {0}, {1, 0}, {0, 2, 1}, {3, 2, 0, 1}}};

// Positions come from script variables and definition files and may hold any value; far enough
// outside the screen they all draw nothing, and the kernels' edge sums must not overflow.
constexpr int kFarOutside = 1 << 20;
int Place(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -kFarOutside, kFarOutside)); }

void CopyInto(const Bitmap& source, Bitmap& target) {
  if (source.width == target.width && source.height == target.height) {
    target.pixels = source.pixels;
    return;
  }
  // A picture of another size: what it does not cover is black.
  target.Fill(0, 0, 0);
  int w = std::min(source.width, target.width);
  int h = std::min(source.height, target.height);
  for (int y = 0; y < h && w > 0; ++y) std::memcpy(target.Row(y), source.Row(y), static_cast<size_t>(w) * 3);
}

// The overlay at constant opacity, clipped to the scene.
void BlendConstantClipped(Bitmap& scene, const Bitmap& overlay, int left, int top, int opacity) {
  opacity = std::clamp(opacity, 0, 256);
  left = Place(left);
  top = Place(top);
  int x0 = std::max(left, 0);
  int y0 = std::max(top, 0);
  int x1 = std::min(left + overlay.width, scene.width);
  int y1 = std::min(top + overlay.height, scene.height);
  if (x1 <= x0 || y1 <= y0) return;
  const size_t bytes = static_cast<size_t>(x1 - x0) * 3;
  const size_t groups = bytes / 8;
  for (int y = y0; y < y1; ++y) {
    uint8_t* d = scene.At(x0, y);
    const uint8_t* o = overlay.At(x0 - left, y - top);
    if (groups > 0) BlendRowsConstant(d, o, static_cast<int>(groups), opacity, d);
    for (size_t i = groups * 8; i < bytes; ++i) {
      d[i] = static_cast<uint8_t>((o[i] * static_cast<unsigned>(opacity) + d[i] * (256u - opacity)) >> 8);
    }
  }
}

}  // namespace

void TForm1::DrawOverlay() {
  if (vars.S(kVarOverlayOpacity) == 0) {
    DrawSideBySide(layers.scene, Place(vars.S(kVarOverlayLeft)), layers.overlay, Place(vars.S(kVarOverlayTop)));
  } else {
    BlendConstantClipped(layers.scene, layers.overlay, vars.S(kVarOverlayLeft), vars.S(kVarOverlayTop),
                         vars.S(kVarOverlayOpacity));
  }
}

void TForm1::DrawCompositeSprite(std::string_view name, int centre, int top,
                                 std::array<bool, kSpriteCacheSlots>& inUse) {
  std::vector<DefinitionPart> parts;
  if (!FindDefinition(layers.sprset, name.substr(1), parts)) return;
  const SpriteSlot* base = nullptr;
  for (const DefinitionPart& part : parts) {
    if (part.placed) continue;
    int slot = AcquireSpriteSlot(part.name, inUse);
    inUse[static_cast<size_t>(slot)] = true;
    base = &layers.cache[static_cast<size_t>(slot)];
    break;
  }
  const int left = Place(int64_t{centre} - (base ? base->picture.width / 2 : 0));
  top = Place(top);
  if (base) DrawMasked(layers.scene, base->picture, left, top, base->mask);
  Bitmap picture, mask;
  for (const DefinitionPart& part : parts) {
    if (!part.placed) continue;
    picture = Bitmap();
    mask = Bitmap();
    LoadSpritePicture(part.name, picture, mask);
    DrawMasked(layers.scene, picture, Place(int64_t{left} + part.x), Place(int64_t{top} + part.y), mask);
  }
}

void TForm1::ComposeScene() {
  CopyInto(layers.background, layers.scene);
  const bool overlayShown = vars.S(kVarOverlaySet) != 0 && ctl.screenMode != smPageBack;
  if (overlayShown && vars.S(kVarOverlayOrder) == 0) DrawOverlay();

  const int count = layers.spriteCount;
  if (count >= 1 && count <= kMaxDrawnSprites) {
    // Slots of the plain sprites are taken; a composite base may not evict them.
    std::array<bool, kSpriteCacheSlots> inUse{};
    // The single-sprite layout draws its position whenever the count is 1, also after
    // `clrb` emptied its name: the slot still holds the picture.
    auto drawn = [&](int pos) { return count == 1 || !layers.positionNames[static_cast<size_t>(pos)].empty(); };
    for (int i = 0; i < count; ++i) {
      const std::string& name = layers.positionNames[static_cast<size_t>(i)];
      if (drawn(i) && (name.empty() || name[0] != '#'))
        inUse[static_cast<size_t>(layers.positionSlots[static_cast<size_t>(i)])] = true;
    }
    const auto& order =
        vars.S(kVarSpriteFlip) == 0 ? kOrder[static_cast<size_t>(count)] : kFlippedOrder[static_cast<size_t>(count)];
    for (int k = 0; k < count; ++k) {
      int pos = order[static_cast<size_t>(k)];
      const std::string& name = layers.positionNames[static_cast<size_t>(pos)];
      if (!drawn(pos)) continue;
      int centre = vars.S(SpriteCentreVar(count, pos));
      int top = vars.S(SpriteTopVar(count, pos));
      if (!name.empty() && name[0] == '#') {
        DrawCompositeSprite(name, centre, top, inUse);
        continue;
      }
      const SpriteSlot& slot = layers.cache[static_cast<size_t>(layers.positionSlots[static_cast<size_t>(pos)])];
      DrawMasked(layers.scene, slot.picture, Place(int64_t{centre} - slot.picture.width / 2), Place(top), slot.mask);
    }
  }

  if (overlayShown && vars.S(kVarOverlayOrder) == 1) DrawOverlay();
  ApplyTint(layers.scene, vars.S(kVarTintMode), vars.S(kVarDarkenLevel));
  // The window's clean picture was composed over the old scene.
  textWindow.cacheValid = false;
}

void TForm1::ComposeScreen() {
  RemoveComicMark();
  // Full-screen text mode builds its page over the whole screen with the text window; while that
  // page is hidden the scene shows alone.
  if (vars.S(kVarDisplayMode) == 0 || !text.windowShown) CopyInto(layers.scene, layers.screen);
  PutAnimationFrameOnScreen();
  ComposeWindow();
  if (text.windowShown) PasteTextWindow();
  DrawDayPanel();
}

void TForm1::PresentScene(int transition) {
  if (transition == 0) return;
  if (transition < 0) transition = 1;
  layers.previous.pixels = layers.screen.pixels;
  ComposeScene();
  const int sceneFirst = vars.S(kVarSceneFirst);
  if (vars.S(kVarDisplayMode) == 1 && (sceneFirst == 2 || (sceneFirst == 1 && layers.backgroundChanged))) {
    CopyInto(layers.scene, layers.screen);
    layers.lastTransition = transition;
    RunTransition(transition);
    layers.previous.pixels = layers.screen.pixels;
    layers.backgroundChanged = false;
    transition = 6;
  }
  ComposeScreen();
  layers.lastTransition = transition;
  RunTransition(transition);
}

}  // namespace torvel
