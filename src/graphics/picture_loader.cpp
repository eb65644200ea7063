// The picture loader: every picture the engine shows is fetched by name from the JPEG archive or
// the graphic archives, and backgrounds may also be solid colours or composites.
#include <algorithm>
#include <vector>

#include "graphics/jpeg_decoder.h"
#include "graphics/kernels.h"
#include "graphics/packed_picture.h"
#include "graphics/picture_arguments.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// The archive that holds `name`: the JPEG archive first, then the graphic archives from the
// last to the first, so a later archive overrides an earlier one.
struct PictureEntry {
  const ArchiveIndex* archive = nullptr;
  int index = -1;
  bool jpeg = false;
};

PictureEntry FindPicture(const Archives& archives, std::string_view name) {
  if (int i = archives.gjp.FindEntry(name); i >= 0) return PictureEntry{&archives.gjp, i, true};
  for (size_t k = archives.gra.size(); k-- > 0;) {
    if (int i = archives.gra[k].FindEntry(name); i >= 0) return PictureEntry{&archives.gra[k], i, false};
  }
  return PictureEntry{};
}

}  // namespace

bool TForm1::LoadImage(std::string_view name, Bitmap& target) {
  std::string upper = SjisUpper(name);
  PictureEntry entry = FindPicture(archives, upper);
  if (!entry.archive) return false;
  std::vector<uint8_t> body;
  if (!ReadEntry(*entry.archive, entry.index, body)) return false;
  // Both decoders leave the target as it was when they reject the data.
  return entry.jpeg ? DecodeJpeg(body, target) : DecodePackedPicture(body, target);
}

bool TForm1::ImageExists(std::string_view name) const {
  return FindPicture(archives, SjisUpper(name)).archive != nullptr;
}

void TForm1::FillSolid(std::string_view name, Bitmap& target) {
  // A smaller picture loaded before must not leave part of the screen out of the colour.
  if (&target == &layers.background && (target.width != kScreenWidth || target.height != kScreenHeight)) {
    target.Resize(kScreenWidth, kScreenHeight);
  }
  Colour c = SolidColour(name);
  target.Fill(c.b, c.g, c.r);
}

bool TForm1::LoadPicture(std::string_view name, Bitmap& target) {
  if (name.empty()) return true;
  if (name[0] == '#') {
    std::vector<DefinitionPart> parts;
    if (!FindDefinition(layers.bgset, name.substr(1), parts)) return true;
    Bitmap piece;
    for (const DefinitionPart& part : parts) {
      if (!part.placed) {
        LoadImage(part.name, target);
      } else if (LoadImage(part.name, piece)) {
        // Offsets far outside the picture draw nothing; clamped, they cannot overflow the kernel's
        // edge sums.
        constexpr int kFar = 1 << 20;
        DrawSideBySide(target, std::clamp(part.x, -kFar, kFar), piece, std::clamp(part.y, -kFar, kFar));
      }
    }
    return false;
  }
  if (name[0] == 'S' || name[0] == 's') {
    FillSolid(name, target);
    return false;
  }
  return !LoadImage(name, target);
}

void TForm1::LoadBackground(std::string_view name) {
  MarkPictureSeen(name);
  layers.backgroundChanged = true;
  LoadPicture(name, layers.background);
}

}  // namespace torvel
