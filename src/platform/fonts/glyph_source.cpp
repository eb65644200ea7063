#include "platform/fonts/glyph_source.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <iconv.h>

#include <map>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include "resources/sjis.h"

namespace torvel {

namespace {

// Largest size the source renders; larger requests would only make huge bitmaps that no cell
// can hold.
constexpr int kMaxPixelSize = 512;

struct Converter {
  iconv_t cd = iconv_open("UTF-32LE", "CP932");
  ~Converter() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
};

// The faces the games name that fontconfig knows no alias for: the proportional gothic and the
// mincho faces of Windows go to their IPA counterparts; every other name is matched as it stands.
std::string FamilyForMatch(std::string_view family) {
  auto has = [&](std::string_view part) { return family.find(part) != std::string_view::npos; };
  if (has("Ｐ明朝") || has("PMincho")) return "IPAPMincho";
  if (has("明朝") || has("Mincho")) return "IPAMincho";
  if (has("Ｐゴシック") || has("PGothic")) return "IPAPGothic";
  return std::string(family);
}

}  // namespace

char32_t SjisCodeToUnicode(uint16_t code) {
  thread_local Converter converter;
  if (converter.cd == reinterpret_cast<iconv_t>(-1)) return 0;
  char in[2];
  size_t inLeft = 0;
  if (code > 0xFF) {
    in[0] = static_cast<char>(code >> 8);
    in[1] = static_cast<char>(code & 0xFF);
    inLeft = 2;
  } else {
    in[0] = static_cast<char>(code);
    inLeft = 1;
  }
  unsigned char out[8] = {};
  char* src = in;
  char* dst = reinterpret_cast<char*>(out);
  size_t outLeft = sizeof(out);
  iconv(converter.cd, nullptr, nullptr, nullptr, nullptr);
  size_t r = iconv(converter.cd, &src, &inLeft, &dst, &outLeft);
  // Exactly one character must come out of the whole code.
  if (r == static_cast<size_t>(-1) || inLeft != 0 || sizeof(out) - outLeft != 4) return 0;
  return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
}

FontFile MatchFontFile(std::string_view familyUtf8, bool bold) {
  FontFile file;
  // A configuration of our own, released after the match: the library's shared default one is
  // never released, and faces are looked up only when the font settings change.
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return file;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) {
    FcConfigDestroy(config);
    return file;
  }
  const std::string family = FamilyForMatch(familyUtf8);
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcLangSet* langs = FcLangSetCreate();
  FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddLangSet(pattern, FC_LANG, langs);
  FcLangSetDestroy(langs);
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  if (match) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
      file.path = reinterpret_cast<const char*>(path);
    }
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) file.index = index;
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return file;
}

struct GlyphSource::Impl {
  FT_Library library = nullptr;
  // Open faces by name and weight; null when nothing could be opened for them.
  std::map<std::pair<std::string, bool>, FT_Face> faces;
  FT_Face face = nullptr;
  bool embolden = false;  // the face has no bold weight of its own
  int setSize = -1;

  ~Impl() {
    for (auto& [key, f] : faces) {
      if (f) FT_Done_Face(f);
    }
    if (library) FT_Done_FreeType(library);
  }

  bool Size(int pixelSize) {
    if (!face || pixelSize <= 0 || pixelSize > kMaxPixelSize) return false;
    if (setSize == pixelSize) return true;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) return false;
    setSize = pixelSize;
    return true;
  }
};

GlyphSource::GlyphSource() : impl_(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&impl_->library) != 0) impl_->library = nullptr;
}

GlyphSource::~GlyphSource() = default;

void GlyphSource::SetFont(std::string_view sjisName, int pixelSize, bool bold) {
  pixelSize_ = pixelSize;
  if (!impl_->library) return;
  auto key = std::make_pair(std::string(sjisName), bold);
  auto it = impl_->faces.find(key);
  if (it == impl_->faces.end()) {
    FT_Face face = nullptr;
    FontFile file = MatchFontFile(SjisToUtf8(sjisName), bold);
    if (file.path.empty() || FT_New_Face(impl_->library, file.path.c_str(), file.index, &face) != 0) face = nullptr;
    it = impl_->faces.emplace(key, face).first;
  }
  impl_->face = it->second;
  impl_->embolden = bold && impl_->face && !(impl_->face->style_flags & FT_STYLE_FLAG_BOLD);
  impl_->setSize = -1;
}

bool GlyphSource::CoversJapanese() const {
  FT_Face face = impl_->face;
  // HIRAGANA LETTER A and the kanji for "word", both in every Japanese face.
  return face && FT_Get_Char_Index(face, U'\u3042') != 0 && FT_Get_Char_Index(face, U'\u8A9E') != 0;
}

int GlyphSource::Ascent(int pixelSize) {
  if (!impl_->Size(pixelSize)) return 0;
  return static_cast<int>((impl_->face->size->metrics.ascender + 63) >> 6);
}

bool GlyphSource::Rasterise(uint16_t code, int pixelSize, GrayGlyph& out) {
  char32_t ch = SjisCodeToUnicode(code);
  if (ch == 0) {
    out = GrayGlyph{};
    return false;
  }
  return RasteriseUnicode(ch, pixelSize, out);
}

bool GlyphSource::RasteriseUnicode(char32_t ch, int pixelSize, GrayGlyph& out) {
  out = GrayGlyph{};
  if (!impl_->Size(pixelSize)) return false;
  FT_Face face = impl_->face;
  FT_UInt index = FT_Get_Char_Index(face, ch);
  if (index == 0) return false;
  // The outline, anti-aliased. Many faces carry one-bit bitmap strikes at common sizes, which
  // the default load would take instead; only a face without outlines is drawn from its strike.
  const FT_Int32 load = FT_IS_SCALABLE(face) ? FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT;
  if (FT_Load_Glyph(face, index, load) != 0) return false;
  if (impl_->embolden) FT_GlyphSlot_Embolden(face->glyph);
  if (face->glyph->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
    return false;
  }
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  out.advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
  const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
  if (!gray && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return bitmap.rows == 0 || bitmap.width == 0;
  out.width = static_cast<int>(bitmap.width);
  out.height = static_cast<int>(bitmap.rows);
  out.originX = face->glyph->bitmap_left;
  out.originY = face->glyph->bitmap_top;
  out.levels.resize(static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
  int grays = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
  for (int y = 0; y < out.height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    for (int x = 0; x < out.width; ++x) {
      uint8_t level;
      if (gray) {
        // Rounded to the nearest of the 65 levels.
        level = static_cast<uint8_t>((row[x] * kGrayLevels + grays / 2) / grays);
      } else {
        level = (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? kGrayLevels : 0;
      }
      out.levels[static_cast<size_t>(y) * out.width + x] = level;
    }
  }
  return true;
}

}  // namespace torvel
