// The screen buffers, the sprite layout variables and the composite definitions read at
// start-up.
#include "graphics/layers.h"

#include <system_error>

#include "graphics/bmp_writer.h"
#include "graphics/picture_arguments.h"
#include "resources/file_io.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// First centre variable of each layout (sprite count 1..4); the top edges are ten above.
constexpr std::array<int, 5> kLayoutBase = {0, 80, 81, 83, 86};
constexpr std::array<int, 10> kInitialCentres = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};

}  // namespace

void SetInitialSpriteLayout(VarStore& vars) {
  for (int i = 0; i < 10; ++i) {
    vars.S(kVarSpriteCentreBase + i) = kInitialCentres[static_cast<size_t>(i)];
    vars.S(kVarSpriteTopBase + i) = 0;
  }
}

int SpriteCentreVar(int count, int position) {
  if (count < 1 || count > kMaxDrawnSprites || position < 0 || position >= count) return -1;
  return kLayoutBase[static_cast<size_t>(count)] + position;
}

int SpriteTopVar(int count, int position) {
  int centre = SpriteCentreVar(count, position);
  return centre < 0 ? -1 : centre + (kVarSpriteTopBase - kVarSpriteCentreBase);
}

void TForm1::CreateScreenBuffers() {
  for (Bitmap* b :
       {&layers.background, &layers.scene, &layers.screen, &layers.previous, &layers.work, &layers.alternate,
        &layers.wipePattern, &layers.overlay, &layers.fullText, &layers.black, &layers.split}) {
    b->Resize(kScreenWidth, kScreenHeight);
  }
  SetInitialSpriteLayout(vars);
}

void TForm1::LoadPictureDefinitions() {
  auto read = [this](std::string_view name) {
    if (!LoadScript(name, 2)) return PictureDefinitions{};
    return ParseDefinitions(std::span<const uint8_t>(script.aux.data(), static_cast<size_t>(script.auxSize)));
  };
  layers.sprset = read("_sprset");
  layers.bgset = read("_bgset");
  ExportCompositeBackgrounds();
}

void TForm1::ExportCompositeBackgrounds() {
  if (layers.bgset.exportNames.empty()) return;
  // The folder lives inside the game folder, and file names come from entry names made safe,
  // so a definition file cannot make the engine write anywhere else.
  std::filesystem::path folder = GamePath("BMP");
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return;
  for (const std::string& name : layers.bgset.exportNames) {
    if (LoadPicture("#" + name, layers.background)) continue;
    WriteFileAtomically(folder / (SafeFileName(name) + ".bmp"), EncodeBmp24(layers.background));
  }
  // The play starts on black, not on the last exported composite.
  layers.background.Resize(kScreenWidth, kScreenHeight);
}

void TForm1::ResetSceneLayers() {
  layers.spriteCount = 0;
  for (std::string& name : layers.positionNames) name.clear();
  layers.spriteSpec.clear();
  layers.grbPending = false;
  vars.S(kVarOverlaySet) = 0;
  vars.S(kVarTintMode) = 0;
  vars.S(kVarDisplayMode) = 0;
}

}  // namespace torvel
