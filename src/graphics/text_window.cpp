// The text window's picture: the frame recoloured by the player's settings, composed over the
// scene once per scene change and kept clean for erasing text; the full-screen text page.
#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "graphics/text_grid.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr char kFramePicture[] = "sys_tw";
constexpr char kBodyMaskPicture[] = "sys_tw1";
constexpr char kPlatePicture[] = "sys_np";
constexpr char kClickIconPicture[] = "sys_clickw";
constexpr char kAutoBarPicture[] = "sys_autobar";
// Window and plate sizes come from the configuration; beyond this they are taken as broken.
constexpr int kLargestWindowSide = 4096;
constexpr int kVarWindowPosition = 79;

int Side(int v) { return std::clamp(v, 0, kLargestWindowSide); }
uint8_t Byte(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

void TForm1::InitTextWindow() {
  TextWindow& w = textWindow;
  const int width = Side(config.TXW_SIZE_X);
  const int height = Side(config.TXW_SIZE_Y);
  w.x = config.TXW_OFS_X;
  w.y = config.TXW_OFS_Y;
  w.buffer.Resize(width, height);
  w.clean.Resize(width, height);
  w.overScene.Resize(kScreenWidth, kScreenHeight);
  w.plate.Resize(Side(config.NP_SZ_X), Side(config.NP_SZ_Y));
  w.cleanPlate.Resize(w.plate.width, w.plate.height);
  w.clickWork.Resize(Side(config.CLICK_WAIT_SIZE_X), Side(config.CLICK_WAIT_SIZE_Y));
  w.namePicture = Bitmap();
  w.clickIcon = Bitmap();
  LoadImage(kPlatePicture, w.namePicture);
  LoadImage(kClickIconPicture, w.clickIcon);
  Bitmap autoBar;
  // The gauge covers the bar's colour half; the right half is its mask.
  if (LoadImage(kAutoBarPicture, autoBar)) w.autoBacking.Resize(autoBar.width / 2, autoBar.height);
  w.page.Clear();
  w.iconShown = false;
  BuildWindowFrame();
}

void TForm1::BuildWindowFrame() {
  TextWindow& w = textWindow;
  const int width = w.buffer.width;
  const int height = w.buffer.height;
  w.frame.Resize(width, height * 2);
  Bitmap picture;
  if (LoadImage(kFramePicture, picture)) {
    CopyRegion(picture, 0, 0, w.frame, 0, 0, picture.width, picture.height);
  } else {
    // Without a frame picture the window is a plain body in the player's colour and opacity.
    for (int r = 0; r < height; ++r) {
      uint8_t* colour = w.frame.Row(r);
      uint8_t* alpha = w.frame.Row(height + r);
      for (int c = 0; c < width; ++c) {
        colour[c * 3] = Byte(settings.TXBG_B);
        colour[c * 3 + 1] = Byte(settings.TXBG_G);
        colour[c * 3 + 2] = Byte(settings.TXBG_R);
        std::memset(alpha + c * 3, Byte(settings.TXBG_A), 3);
      }
    }
  }
  Bitmap body;
  LoadImage(kBodyMaskPicture, body);
  if (body.Empty()) return;
  const int rows = std::min(body.height, height);
  const int groups = std::min(body.width, width) * 3 / 8;
  Bitmap solid(body.width, body.height);
  if (settings.TXBG_R != config.TXW_COLOR_R || settings.TXBG_G != config.TXW_COLOR_G ||
      settings.TXBG_B != config.TXW_COLOR_B) {
    solid.Fill(Byte(settings.TXBG_B), Byte(settings.TXBG_G), Byte(settings.TXBG_R));
    for (int r = 0; r < rows; ++r) BlendRowsMasked(w.frame.Row(r), solid.Row(r), groups, body.Row(r), w.frame.Row(r));
  }
  if (settings.TXBG_A != config.TXW_ALPHA) {
    const uint8_t grey = Byte(settings.TXBG_A);
    solid.Fill(grey, grey, grey);
    // The opacity rows are found below the body mask's own height.
    for (int r = 0; r < body.height && body.height + r < w.frame.height; ++r) {
      uint8_t* row = w.frame.Row(body.height + r);
      BlendRowsMasked(row, solid.Row(r), groups, body.Row(r), row);
    }
  }
}

void TForm1::ComposeWindow() {
  TextWindow& w = textWindow;
  // Full-screen text mode never keeps a cache: entering it always composes the page anew.
  if (w.cacheValid && vars.S(kVarDisplayMode) != 1 && !BackgroundAnimationRunning()) {
    w.buffer.pixels = w.clean.pixels;
    return;
  }
  auto saveAutoBacking = [&](const Bitmap& screenPicture) {
    if (w.autoBacking.Empty()) return;
    const int bw = w.autoBacking.width, bh = w.autoBacking.height;
    switch (config.SPD_TW) {
      case 1: CopyRegion(w.buffer, config.SPD_OFS_X, config.SPD_OFS_Y, w.autoBacking, 0, 0, bw, bh); break;
      case 2:
        CopyRegion(screenPicture, w.x + config.SPD_OFS_X, w.y + config.SPD_OFS_Y, w.autoBacking, 0, 0, bw, bh);
        break;
      case 3: CopyRegion(screenPicture, config.SPD_OFS_X, config.SPD_OFS_Y, w.autoBacking, 0, 0, bw, bh); break;
      default: break;
    }
  };
  if (vars.S(kVarDisplayMode) == 1) {
    // Darkening the whole scene takes a while: a fade that follows starts counting after it.
    StartFrameClock();
    Darken(layers.scene, layers.fullText, 255 - std::clamp(settings.TXBG_A2, 0, 255));
    w.overScene.pixels = layers.fullText.pixels;
    saveAutoBacking(layers.fullText);
    return;
  }
  const int width = w.buffer.width;
  const int height = w.buffer.height;
  const size_t bytes = static_cast<size_t>(width) * 3;
  const int groups = static_cast<int>(bytes / 8);
  Bitmap under(width, 1);
  for (int r = 0; r < height; ++r) {
    // A window reaching off the screen composes over black there.
    std::memset(under.Row(0), 0, bytes);
    CopyRegion(layers.scene, w.x, w.y + r, under, 0, 0, width, 1);
    uint8_t* out = w.buffer.Row(r);
    BlendRowsMasked(under.Row(0), w.frame.Row(r), groups, w.frame.Row(height + r), out);
    // Bytes after the last whole group show the scene unchanged.
    std::memcpy(out + groups * 8, under.Row(0) + groups * 8, bytes - static_cast<size_t>(groups) * 8);
  }
  w.overScene.pixels = layers.scene.pixels;
  CopyRegion(w.buffer, 0, 0, w.overScene, w.x, w.y, width, height);
  saveAutoBacking(layers.scene);
  // The buttons and the gauge belong to the window's picture, so erasing text keeps them.
  DrawQuickButtons(qbdWindowPicture);
  w.clean.pixels = w.buffer.pixels;
  if (config.NP_TYPE == 0) {
    CopyRegion(w.buffer, config.NP_OFS_X, config.NP_OFS_Y, w.cleanPlate, 0, 0, w.cleanPlate.width, w.cleanPlate.height);
  } else if (config.NP_TYPE == 1) {
    CopyRegion(w.overScene, w.x + config.NP_OFS_X, w.y + config.NP_OFS_Y, w.cleanPlate, 0, 0, w.cleanPlate.width,
               w.cleanPlate.height);
  }
  w.cacheValid = true;
  ComposeWindowOverAnimationFrames();
}

void TForm1::PasteTextWindow() {
  TextWindow& w = textWindow;
  if (vars.S(kVarDisplayMode) == 1) {
    layers.screen.pixels = w.overScene.pixels;
  } else {
    CopyRegion(w.buffer, 0, 0, layers.screen, w.x, w.y, w.buffer.width, w.buffer.height);
    PasteWindowOnAnimationFrames();
  }
  DrawQuickButtons(qbdScreen);
  RedrawTextPage(false);
}

void TForm1::ToggleWindowPosition(bool toggle) {
  if (toggle) vars.S(kVarWindowPosition) = vars.S(kVarWindowPosition) == 0 ? 1 : 0;
  textWindow.y = vars.S(kVarWindowPosition) == 0 ? config.TXW_OFS_Y : config.TXW_OFS_Y2;
  textWindow.cacheValid = false;
  if (!toggle) return;
  ComposeScreen();
  PresentScene(1);
}

void TForm1::RedrawTextPage(bool show) {
  const TextPage& page = textWindow.page;
  if (page.empty) return;
  const bool full = vars.S(kVarDisplayMode) == 1;
  const TextGrid grid = TextGridOf(config, textWindow.x, textWindow.y, full);
  if (!full) DrawNamePlate(page.Text(0));
  int colour = -1;
  for (int i = grid.firstRow; i < grid.rows; ++i) {
    std::string_view row(page.bytes[static_cast<size_t>(i)].data(), static_cast<size_t>(grid.columns));
    for (size_t j = 0; j < row.size();) {
      const size_t n = SjisCharLength(row, j);
      const int code = page.colours[static_cast<size_t>(i)][j];
      if (code != colour) {
        colour = code;
        SetTextColour(code);
      }
      const int64_t x = int64_t{grid.originX} + static_cast<int64_t>(j) * grid.pitchX;
      const int64_t y = int64_t{grid.originY} + int64_t{i} * grid.pitchY;
      if (row[j] != 0 && !full && page.large[static_cast<size_t>(i)][j]) {
        // Drawn as it was typed: in the large size.
        DrawLargeCharacter(row.substr(j, n), x, y, show);
      } else if (row[j] != 0) {
        PrepareGlyph(row.substr(j, n));
        if (x > -kGlyphCellWidth && x < kScreenWidth && y > -kGlyphCellHeight && y < kScreenHeight) {
          if (show) {
            ShowGlyph(static_cast<int>(x), static_cast<int>(y));
          } else {
            DrawGlyph(layers.screen, static_cast<int>(x), static_cast<int>(y));
            DrawGlyphOnAnimationFrames(static_cast<int>(x), static_cast<int>(y));
          }
        }
      }
      j += n;
    }
  }
}

void TForm1::EraseTextArea() {
  TextWindow& w = textWindow;
  if (vars.S(kVarDisplayMode) == 1) {
    layers.screen.pixels = w.overScene.pixels;
    host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
    return;
  }
  if (EraseTextOnAnimationFrames()) return;
  Rect area = CopyRegion(w.clean, 0, 0, layers.screen, w.x, w.y, w.clean.width, w.clean.height);
  if (!area.Empty()) host.Present(layers.screen, area);
  if (config.NP_TYPE == 1) {
    area = CopyRegion(w.cleanPlate, 0, 0, layers.screen, w.x + config.NP_OFS_X, w.y + config.NP_OFS_Y,
                      w.cleanPlate.width, w.cleanPlate.height);
    if (!area.Empty()) host.Present(layers.screen, area);
  }
}

}  // namespace torvel
