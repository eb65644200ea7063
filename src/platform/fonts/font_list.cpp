#include "platform/fonts/font_list.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>

#include "resources/sjis.h"

namespace torvel {

std::optional<std::string> OfferedFaceName(std::span<const FamilyName> names) {
  if (names.empty()) return std::nullopt;
  const FamilyName* chosen = &names.front();
  for (const FamilyName& name : names) {
    // "ja", or a regional form such as "ja-jp".
    if (name.language == "ja" || name.language.rfind("ja-", 0) == 0) {
      chosen = &name;
      break;
    }
  }
  std::string sjis;
  if (chosen->utf8.empty() || chosen->utf8[0] == '@' || !Utf8ToSjisExact(chosen->utf8, sjis)) return std::nullopt;
  return sjis;
}

std::vector<std::string> JapaneseFaceNames() {
  std::vector<std::string> faces;
  // A configuration of our own for each listing, so fonts installed while the game runs show up.
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return faces;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja"));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
  FcFontSet* found = pattern && objects ? FcFontList(config, pattern, objects) : nullptr;
  if (found) {
    for (int i = 0; i < found->nfont; ++i) {
      std::vector<FamilyName> names;
      FcChar8* family = nullptr;
      for (int n = 0; FcPatternGetString(found->fonts[i], FC_FAMILY, n, &family) == FcResultMatch; ++n) {
        FcChar8* language = nullptr;
        FamilyName name{reinterpret_cast<const char*>(family), ""};
        if (FcPatternGetString(found->fonts[i], FC_FAMILYLANG, n, &language) == FcResultMatch) {
          name.language = reinterpret_cast<const char*>(language);
        }
        names.push_back(std::move(name));
      }
      if (std::optional<std::string> offered = OfferedFaceName(names)) faces.push_back(std::move(*offered));
    }
    FcFontSetDestroy(found);
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  std::sort(faces.begin(), faces.end());
  faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
  return faces;
}

}  // namespace torvel
