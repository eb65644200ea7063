#include "resources/sjis.h"

#include <iconv.h>

#include <cerrno>

namespace torvel {

namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Converts with iconv, replacing what does not convert and going on.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    bool sjisInput) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  out.reserve(in.size() * 2);
  size_t pos = 0;
  char buffer[256];
  while (pos < in.size()) {
    char* src = const_cast<char*>(in.data() + pos);
    size_t srcLeft = in.size() - pos;
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    pos = static_cast<size_t>(src - in.data());
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // An invalid or incomplete character: skip it by the engine's own rule and go on.
      out.append(replacement);
      if (sjisInput) {
        pos += SjisCharLength(in, pos);
      } else {
        ++pos;
        while (pos < in.size() && (static_cast<uint8_t>(in[pos]) & 0xC0) == 0x80) ++pos;
      }
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string SjisUpper(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size();) {
    size_t n = SjisCharLength(out, i);
    if (n == 1) out[i] = AsciiUpper(out[i]);
    i += n;
  }
  return out;
}

std::string_view SjisCut(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = 0;
  while (end < text.size()) {
    size_t next = end + SjisCharLength(text, end);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}

bool SjisEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  return SjisUpper(a) == SjisUpper(b);
}

std::string SjisToUtf8(std::string_view sjis) { return Convert("UTF-8", "CP932", sjis, "\xEF\xBF\xBD", true); }

std::string Utf8ToSjis(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, "?", false); }

namespace {

// Converts the whole text or nothing.
bool ConvertExact(const char* to, const char* from, std::string_view in, std::string& out) {
  out.clear();
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  bool ok = true;
  char buffer[256];
  while (ok && srcLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    ok = r != static_cast<size_t>(-1) || errno == E2BIG;
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  std::string wide;
  return ConvertExact("UTF-32LE", "UTF-8", text, wide);
}

bool Utf8ToSjisExact(std::string_view utf8, std::string& sjis) { return ConvertExact("CP932", "UTF-8", utf8, sjis); }

std::string Utf8ToSjisKnown(std::string_view utf8, int maxChars) {
  std::string out;
  int chars = 0;
  for (size_t i = 0; i < utf8.size() && chars < maxChars;) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    const std::string_view character = utf8.substr(i, length);
    i += length;
    std::string converted;
    if (!Utf8ToSjisExact(character, converted)) continue;
    out += converted;
    ++chars;
  }
  return out;
}

bool IsSjisDefined(std::string_view sjis) {
  std::string wide;
  return ConvertExact("UTF-32LE", "CP932", sjis, wide);
}

}  // namespace torvel
