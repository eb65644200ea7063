#include "resources/settings_store.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>

#include "resources/file_io.h"
#include "resources/sjis.h"

namespace torvel {

namespace {

constexpr uintmax_t kMaxSettingsFileSize = 1 << 20;
// File names stay well inside the usual 255-byte limit; longer components end in a hash.
constexpr size_t kMaxComponentLength = 120;
constexpr size_t kKeptComponentPrefix = 100;
constexpr size_t kMaxKeyDepth = 16;
constexpr std::string_view kFallbackKeyFile = "@default";
constexpr std::string_view kIniSuffix = ".ini";
constexpr std::string_view kDamagedSuffix = ".damaged";

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, std::string_view prefix, uint8_t b) {
  out += prefix;
  out += kHex[b >> 4];
  out += kHex[b & 15];
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Length of the well-formed UTF-8 sequence at `pos`, or 0.
size_t Utf8SequenceLength(std::string_view s, size_t pos) {
  uint8_t b = static_cast<uint8_t>(s[pos]);
  size_t length;
  uint32_t min;
  uint32_t cp;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2, min = 0x80, cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3, min = 0x800, cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4, min = 0x10000, cp = b & 0x07;
  } else {
    return 0;
  }
  if (pos + length > s.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    uint8_t c = static_cast<uint8_t>(s[pos + i]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = cp << 6 | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

// Names and sections without regard to case, as SjisEqualNoCase but without building copies:
// documents compare names often. Lead bytes are not letters, so both texts share their
// character boundaries wherever they are equal so far.
bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    size_t length = SjisCharLength(a, i);
    if (length == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else {
      char x = a[i];
      char y = b[i];
      if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
      if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
      if (x != y) return false;
    }
    i += length;
  }
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

uint64_t Fnv1a(std::string_view s) {
  uint64_t h = 0xcbf29ce484222325ULL;
  for (char c : s) {
    h ^= static_cast<uint8_t>(c);
    h *= 0x100000001b3ULL;
  }
  return h;
}

// One key path component as a file name: lower-case letters, digits, "-" and "_" stay, every
// other byte (two-byte characters as a whole, so their trail bytes are not folded) becomes
// %XX. The result never starts with "." and never contains "/", so it stays in its folder.
std::string EncodeComponent(std::string_view component) {
  std::string out;
  for (size_t i = 0; i < component.size();) {
    size_t length = SjisCharLength(component, i);
    char c = component[i];
    if (length == 1 && ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_')) {
      out += c;
    } else if (length == 1 && c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c - 'A' + 'a');
    } else {
      for (size_t k = 0; k < length; ++k) AppendHexByte(out, "%", static_cast<uint8_t>(component[i + k]));
    }
    i += length;
  }
  if (out.size() > kMaxComponentLength) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(Fnv1a(out)));
    // "~" is never produced by the encoding above, so a cut name cannot meet a plain one.
    out = out.substr(0, kKeptComponentPrefix) + "~" + hash;
  }
  return out;
}

std::string HeadingFor(std::string_view keyPath) {
  return "Torvel player settings of the key " + SjisToUtf8(keyPath) + ", one section per game";
}

}  // namespace

// ---- IniDocument ----

const std::string* IniDocument::Find(std::string_view section, std::string_view name) const {
  for (const IniSection& s : sections_) {
    if (!SameNoCase(s.name, section)) continue;
    for (const auto& [key, value] : s.values) {
      if (SameNoCase(key, name)) return &value;
    }
  }
  return nullptr;
}

void IniDocument::Set(std::string_view section, std::string_view name, std::string_view value) {
  auto s = std::find_if(sections_.begin(), sections_.end(),
                        [&](const IniSection& x) { return SameNoCase(x.name, section); });
  if (s == sections_.end()) {
    sections_.push_back(IniSection{std::string(section), {}});
    s = sections_.end() - 1;
  }
  for (auto& [key, old] : s->values) {
    if (SameNoCase(key, name)) {
      old = std::string(value);
      return;
    }
  }
  s->values.emplace_back(std::string(name), std::string(value));
  ++valueCount_;
}

// ---- text form ----

std::string EncodeIniText(std::string_view sjis) {
  std::string out;
  for (size_t i = 0; i < sjis.size();) {
    size_t length = SjisCharLength(sjis, i);
    std::string_view ch = sjis.substr(i, length);
    uint8_t b = static_cast<uint8_t>(ch[0]);
    bool first = i == 0;
    bool last = i + length == sjis.size();
    i += length;
    if (b < 0x80) {
      // Characters the line grammar would read otherwise: the escape itself, controls, the
      // separators, and blanks or comment marks where a line is trimmed or classified.
      bool escape = b < 0x20 || b == 0x7F || b == '\\' || b == '=' || b == '[' || b == ']' ||
                    ((first || last) && b == ' ') || (first && (b == ';' || b == '#'));
      if (escape) {
        AppendHexByte(out, "\\x", b);
      } else {
        out += static_cast<char>(b);
      }
      continue;
    }
    std::string utf8 = SjisToUtf8(ch);
    if (Utf8ToSjis(utf8) == ch) {
      out += utf8;
    } else {
      for (char c : ch) AppendHexByte(out, "\\x", static_cast<uint8_t>(c));
    }
  }
  return out;
}

std::optional<std::string> DecodeIniText(std::string_view text) {
  std::string out;
  size_t run = 0;     // start of the literal text not yet converted
  bool ascii = true;  // the literal run needs no conversion
  auto flush = [&](size_t end) {
    if (end > run) out += ascii ? std::string(text.substr(run, end - run)) : Utf8ToSjis(text.substr(run, end - run));
    ascii = true;
  };
  for (size_t i = 0; i < text.size();) {
    if (text[i] == '\\') {
      if (i + 4 > text.size() || text[i + 1] != 'x') return std::nullopt;
      int hi = HexValue(text[i + 2]);
      int lo = HexValue(text[i + 3]);
      if (hi < 0 || lo < 0) return std::nullopt;
      flush(i);
      out += static_cast<char>(hi << 4 | lo);
      i += 4;
      run = i;
      continue;
    }
    size_t length = Utf8SequenceLength(text, i);
    if (length == 0 || static_cast<uint8_t>(text[i]) < 0x20 || text[i] == 0x7F) return std::nullopt;
    if (length > 1) ascii = false;
    i += length;
  }
  flush(text.size());
  return out;
}

std::optional<IniDocument> ParseIni(std::span<const uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  IniDocument document;
  std::optional<std::string> section;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 2) return std::nullopt;
      section = DecodeIniText(line.substr(1, line.size() - 2));
      if (!section) return std::nullopt;
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || !section) return std::nullopt;
    std::optional<std::string> name = DecodeIniText(Trim(line.substr(0, equals)));
    std::optional<std::string> value = DecodeIniText(Trim(line.substr(equals + 1)));
    if (!name || name->empty() || !value) return std::nullopt;
    document.Set(*section, *name, *value);
    if (document.ValueCount() > kMaxIniValues) return std::nullopt;
  }
  return document;
}

std::string FormatIni(const IniDocument& document, std::string_view heading) {
  std::string out = "; ";
  // The heading is a comment: only a line break could end it early.
  for (char c : heading) out += c == '\n' || c == '\r' ? ' ' : c;
  out += "\n";
  for (const IniSection& section : document.Sections()) {
    out += "\n[" + EncodeIniText(section.name) + "]\n";
    for (const auto& [name, value] : section.values) out += EncodeIniText(name) + "=" + EncodeIniText(value) + "\n";
  }
  return out;
}

std::optional<int> ParseSettingInt(std::string_view text) {
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
  }
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// ---- files ----

std::filesystem::path SettingsFilePath(const std::filesystem::path& root, std::string_view keyPath) {
  std::vector<std::string> components;
  size_t start = 0;
  for (size_t i = 0; i <= keyPath.size(); ++i) {
    // Only single bytes separate: a "\" (0x5C) can be the trail byte of a two-byte character.
    if (i < keyPath.size() && SjisCharLength(keyPath, i) == 2) {
      ++i;
      continue;
    }
    if (i == keyPath.size() || keyPath[i] == '\\' || keyPath[i] == '/') {
      if (i > start) components.emplace_back(keyPath.substr(start, i - start));
      start = i + 1;
    }
  }
  // Keys nested deeper than the limit share the last level, their names joined as one.
  if (components.size() > kMaxKeyDepth) {
    std::string rest;
    for (size_t i = kMaxKeyDepth - 1; i < components.size(); ++i) rest += (rest.empty() ? "" : "\\") + components[i];
    components.resize(kMaxKeyDepth - 1);
    components.push_back(rest);
  }
  std::filesystem::path file = root;
  if (components.empty()) return file / (std::string(kFallbackKeyFile) + std::string(kIniSuffix));
  for (size_t i = 0; i + 1 < components.size(); ++i) file /= EncodeComponent(components[i]);
  return file / (EncodeComponent(components.back()) + std::string(kIniSuffix));
}

std::filesystem::path GameDataFolder(const std::filesystem::path& root, std::string_view keyPath,
                                     std::string_view section) {
  // The key path's file name without ".ini" becomes a folder (no encoded name holds a dot).
  std::filesystem::path folder = SettingsFilePath(root, keyPath).replace_extension();
  const std::string name = EncodeComponent(section);
  return folder / (name.empty() ? std::string(kFallbackKeyFile) : name);
}

SettingsStore::SettingsStore(std::filesystem::path root, std::string_view keyPath, std::string_view section)
    : file_(SettingsFilePath(root, keyPath)), keyPath_(keyPath), section_(section) {}

void SettingsStore::Load() {
  document_ = IniDocument();
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::status(file_, ec);
  if (!std::filesystem::exists(status)) {
    state_ = FileState::Missing;
    return;
  }
  uintmax_t size = std::filesystem::file_size(file_, ec);
  if (!std::filesystem::is_regular_file(status) || ec) {
    state_ = FileState::Unreadable;
    return;
  }
  if (size > kMaxSettingsFileSize) {
    state_ = FileState::Damaged;
    return;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(file_, bytes)) {
    state_ = FileState::Unreadable;
    return;
  }
  std::optional<IniDocument> parsed = ParseIni(bytes);
  if (!parsed) {
    state_ = FileState::Damaged;
    return;
  }
  document_ = std::move(*parsed);
  state_ = FileState::Read;
}

std::optional<std::string> SettingsStore::Value(std::string_view name) const {
  const std::string* value = document_.Find(section_, name);
  if (!value) return std::nullopt;
  return *value;
}

int SettingsStore::ReadInt(std::string_view name, int fallback) const {
  const std::string* value = document_.Find(section_, name);
  if (!value) return fallback;
  return ParseSettingInt(*value).value_or(fallback);
}

std::string SettingsStore::ReadText(std::string_view name, std::string_view fallback) const {
  const std::string* value = document_.Find(section_, name);
  return value ? *value : std::string(fallback);
}

bool SettingsStore::Write(std::string_view name, std::string_view value) {
  return Update(name, [value](const std::string*) { return std::string(value); });
}

bool SettingsStore::Update(std::string_view name, const std::function<std::string(const std::string* stored)>& change) {
  return WriteLocked([&] {
    std::string value = change(document_.Find(section_, name));
    return [this, name, value = std::move(value)] { document_.Set(section_, name, value); };
  });
}

bool SettingsStore::WriteValues(std::span<const std::pair<std::string, std::string>> values) {
  return WriteLocked([&] {
    return [this, values] {
      for (const auto& [name, value] : values) document_.Set(section_, name, value);
    };
  });
}

bool SettingsStore::WriteLocked(const std::function<std::function<void()>()>& prepare) {
  writeError_.clear();
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  ReplacedFileLock lock(file_);
  Load();
  // Prepared even when the write will fail: an update's caller learns the value it would store.
  std::function<void()> apply = prepare();
  if (!lock.Held()) {
    writeError_ = lock.Error();
    return false;
  }
  if (state_ == FileState::Damaged) {
    std::filesystem::path aside = file_;
    aside += std::string(kDamagedSuffix);
    std::filesystem::rename(file_, aside, ec);
  }
  // Writing over a file that could not be read would lose its other values.
  if (state_ == FileState::Unreadable) {
    writeError_ = file_.string() + ": cannot be read";
    return false;
  }
  apply();
  if (!WriteFileAtomically(file_, FormatIni(document_, HeadingFor(keyPath_)), &writeError_)) return false;
  state_ = FileState::Read;
  return true;
}

bool SettingsStore::WriteInt(std::string_view name, int value) { return Write(name, std::to_string(value)); }

int IncrementCompletedGames(const std::filesystem::path& root, std::string* error) {
  SettingsStore store(root, kCompletedGamesKeyPath, kCompletedGamesSection);
  int count = 0;
  bool stored = store.Update(kCompletedGamesValue, [&count](const std::string* value) {
    count = value ? ParseSettingInt(*value).value_or(0) : 0;
    if (count < INT_MAX) ++count;
    return std::to_string(count);
  });
  if (!stored && error) *error = store.WriteError();
  return count;
}

}  // namespace torvel
