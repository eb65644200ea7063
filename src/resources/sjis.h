#pragma once
// Shift-JIS (code page 932) helpers. Engine text is Shift-JIS bytes in std::string; these are
// the one place that decides what a two-byte character is, and the edge to Unicode.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace torvel {

// A lead byte of a two-byte character (0x81–0x9F, 0xE0–0xFC).
constexpr bool IsSjisLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Bytes taken by the character at `pos`: two for a lead byte followed by another byte, one
// otherwise (a lead byte at the end counts as one, so no reader runs past its text).
inline size_t SjisCharLength(std::string_view text, size_t pos) {
  if (pos >= text.size()) return 0;
  return IsSjisLeadByte(static_cast<uint8_t>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Upper-cases the ASCII letters of a Shift-JIS text; trail bytes of two-byte characters are
// left alone (0x61–0x7A are valid trail bytes).
std::string SjisUpper(std::string_view text);

// The longest start of `text` of at most `maxBytes` bytes that does not split a two-byte
// character.
std::string_view SjisCut(std::string_view text, size_t maxBytes);

// Case-insensitive equality with the same Shift-JIS awareness.
bool SjisEqualNoCase(std::string_view a, std::string_view b);

// Conversions at the edges (glyphs, widgets, file names shown, tools). Bytes that do not
// convert become U+FFFD (to UTF-8) or "?" (to Shift-JIS).
std::string SjisToUtf8(std::string_view sjis);
std::string Utf8ToSjis(std::string_view utf8);

// Strict forms for authoring tools, which must not lose text: whether `text` is well-formed
// UTF-8, and its Shift-JIS bytes, false when a character has no Shift-JIS form.
bool IsUtf8(std::string_view text);
bool Utf8ToSjisExact(std::string_view utf8, std::string& sjis);
// Text typed into a field: at most `maxChars` characters of `utf8`, those without a Shift-JIS form
// (and bytes that are no UTF-8) left out.
std::string Utf8ToSjisKnown(std::string_view utf8, int maxChars);
// Whether every character of `sjis` is one that code page 932 defines (no lone lead byte, no
// pair from an unassigned row).
bool IsSjisDefined(std::string_view sjis);

}  // namespace torvel
