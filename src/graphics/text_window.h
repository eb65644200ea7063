#pragma once
// The text window: its frame picture recoloured by the player's settings, the composed window
// and the clean copy that erases text, the name plate, the click-wait icon and the text page.
#include <cstdint>

#include "graphics/bitmap.h"
#include "graphics/text_page.h"

namespace torvel {

// The click-wait icon is not drawn where it would reach below this row.
constexpr int kClickWaitLowestRow = 599;
// Open and close fades: opacity steps of 8 per 10 ms frame.
constexpr int kWindowFadePeriodMs = 10;
constexpr int kWindowFadeStep = 8;
// Name plate texts: left offset of the name for the plain plate and for the `sys_np` plate, and
// the row the text is drawn at.
constexpr int kPlainPlateTextX = 4;
constexpr int kPicturePlateTextX = 32;
constexpr int kPlateTextY = 6;
// Backlog pages shown from the page history draw the speaker in yellow.
constexpr uint32_t kPageBackSpeakerColour = 0x00FFFF;

struct TextWindow {
  TextPage page;
  int x = 0;  // window position on the screen
  int y = 0;
  Bitmap frame;        // W × 2H: colour rows above the opacity rows
  Bitmap buffer;       // W × H: the window composed over the scene
  Bitmap clean;        // the last composed window, without text
  Bitmap overScene;    // 800 × 600: the scene with the window pasted
  Bitmap plate;        // the name plate being drawn
  Bitmap cleanPlate;   // what lies under the plate
  Bitmap namePicture;  // `sys_np`: plate decoration above its mask
  Bitmap clickIcon;    // `sys_clickw`: icon frames side by side, colour above opacity
  Bitmap clickWork;
  Bitmap autoBacking;       // what lies under the auto-speed indicator
  bool cacheValid = false;  // `clean` matches the current scene
  uint32_t clickCounter = 0;
  bool iconShown = false;
  int iconX = 0;  // where the icon was drawn
  int iconY = 0;
};

}  // namespace torvel
