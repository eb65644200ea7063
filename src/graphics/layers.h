#pragma once
// The screen buffers and the scene layers: one background, up to four sprites drawn from a
// small cache, one overlay, a tint. The screen buffer is what the window shows; the scene buffer
// is the composed picture without the text window; the previous-screen buffer is the start of a
// transition.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "graphics/picture_definitions.h"

namespace torvel {

struct VarStore;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kSpriteCacheSlots = 5;
constexpr int kSpritePositions = 5;  // a spec of five names is kept, though at most four are drawn
constexpr int kMaxDrawnSprites = 4;

// Scene variables of the store (S numbers).
constexpr int kVarTintMode = 11;
constexpr int kVarDarkenLevel = 13;
constexpr int kVarPartsMasked = 15;
constexpr int kVarFadeSpeed = 16;
constexpr int kVarOverlayOrder = 20;
constexpr int kVarOverlayLeft = 21;
constexpr int kVarOverlayTop = 22;
constexpr int kVarOverlayOpacity = 23;
constexpr int kVarSpriteFlip = 24;
constexpr int kVarAutoSpeed = 26;
constexpr int kVarOverlaySet = 35;
constexpr int kVarTextColour = 37;
constexpr int kVarDisplayMode = 160;
constexpr int kVarSceneFirst = 9;  // 2: full-screen text shows the scene first; 1: after a new background
constexpr int kVarSpriteCentreBase = 80;
constexpr int kVarSpriteTopBase = 90;
// Start-up value of S020: neither under nor over the sprites, so no overlay is drawn.
constexpr int kOverlayHidden = 250;

// A slot of the sprite cache: the picture, its mask and the upper-case name it was loaded for.
struct SpriteSlot {
  std::string key = "0";
  Bitmap picture{200, 600};
  Bitmap mask{200, 600};
};

// Where a background or sprite command stood, for the developer tools.
struct PictureCommandRecord {
  std::string script;
  int line = 0;
  int spriteCount = 0;
};

struct Layers {
  Bitmap background;
  Bitmap scene;
  Bitmap screen;
  Bitmap previous;
  Bitmap work;       // transition and fade frames
  Bitmap alternate;  // the second screen image of choices
  Bitmap wipePattern;
  Bitmap overlay;
  Bitmap fullText;  // the darkened page of full-screen text mode
  Bitmap black;
  Bitmap split;  // sprites that carry their mask beside the colour
  Bitmap parts;  // the parts sheet of `partsload` and `direct`
  Bitmap partsMask;

  std::array<SpriteSlot, kSpriteCacheSlots> cache;
  int cacheCursor = 0;  // the slot the next load replaces

  int spriteCount = 0;
  std::array<std::string, kSpritePositions> positionNames;
  std::array<int, kSpritePositions> positionSlots{};
  std::string spriteSpec;
  std::string backgroundName;
  std::string overlayName;
  // A `grb` prepared a picture: backgrounds change the buffers without showing until `gra`.
  bool grbPending = false;
  // A background was loaded since the last two-step presentation of full-screen text mode.
  bool backgroundChanged = false;
  // Sprite changes seen by the player (kept in save files).
  int spriteChanges = 0;

  PictureDefinitions sprset;
  PictureDefinitions bgset;
  // Upper-case names of the gallery's pictures; a background on it sets its picture-seen flag.
  std::vector<std::string> galleryPictures;

  uint32_t frameClock = 0;
  // The transition of the last presentation, after defaults (developer tools and tests).
  int lastTransition = 0;

  PictureCommandRecord lastBackgroundCommand;
  PictureCommandRecord lastSpriteCommand;
};

// The sprite layout positions S080–S099 at their initial values: centres 400; 250, 550;
// 200, 400, 600; 100, 300, 500, 700; every top edge 0.
void SetInitialSpriteLayout(VarStore& vars);

// The store numbers of the centre and top-edge variables of `position` in the layout of `count`
// sprites (1..4); -1 when there is no such position.
int SpriteCentreVar(int count, int position);
int SpriteTopVar(int count, int position);

}  // namespace torvel
