#pragma once
// The per-user settings store, on the registry's model: a key path (such as
// "Software\Grevholt") holds sections (such as "vesk") of named string values; names and
// sections are compared without regard to case, and integers are kept as decimal text.
//
// Each key path is one INI file under the store's folder. The file is UTF-8 text; the engine's
// Shift-JIS values are converted where they convert both ways and written as \xHH escapes
// where they do not, so every value comes back byte for byte. A damaged file reads as empty
// and is set aside, not lost, when a value is next written.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torvel {

struct IniSection {
  std::string name;                                         // Shift-JIS
  std::vector<std::pair<std::string, std::string>> values;  // name, value; Shift-JIS
};

class IniDocument {
 public:
  // The value of `name` in `section`, both compared without case; null when absent.
  const std::string* Find(std::string_view section, std::string_view name) const;
  // Replaces the value (keeping the stored name's spelling) or adds it at the section's end.
  void Set(std::string_view section, std::string_view name, std::string_view value);
  const std::vector<IniSection>& Sections() const { return sections_; }
  size_t ValueCount() const { return valueCount_; }

 private:
  std::vector<IniSection> sections_;
  size_t valueCount_ = 0;
};

// A settings file's text as a document; nothing when the text is damaged (a line that is not
// a section, a value or a comment, a value outside any section, a bad escape, text that is not
// UTF-8, a NUL byte, or more than kMaxIniValues values).
constexpr size_t kMaxIniValues = 4096;
std::optional<IniDocument> ParseIni(std::span<const uint8_t> bytes);
// The document as the text of a settings file, with `heading` as its first comment.
std::string FormatIni(const IniDocument& document, std::string_view heading);

// One name, section or value in the file's escaped UTF-8 form, and back.
std::string EncodeIniText(std::string_view sjis);
std::optional<std::string> DecodeIniText(std::string_view text);

// A stored integer: optional sign and decimal digits, nothing else, within the int range.
std::optional<int> ParseSettingInt(std::string_view text);

// The file of a key path under `root`. Components are split at "\" or "/", folded to lower
// case (registry keys ignore case), and every byte other than a–z, 0–9, "-" and "_" is
// written as %XX, so no key path can name "..", an absolute path or a hidden file, or make a
// folder of one key path collide with the file of another. A key path with no components
// (an empty MAKER_REG) lives in the fixed file "@default.ini".
std::filesystem::path SettingsFilePath(const std::filesystem::path& root, std::string_view keyPath);

// A folder of a game's own under `root`, named from its key path and section as SettingsFilePath
// names files: "software/testmaker/alpha" for "Software\TestMaker" and "ALPHA".
std::filesystem::path GameDataFolder(const std::filesystem::path& root, std::string_view keyPath,
                                     std::string_view section);

class SettingsStore {
 public:
  enum class FileState { Missing, Read, Unreadable, Damaged };

  SettingsStore(std::filesystem::path root, std::string_view keyPath, std::string_view section);

  // Reads the file. A missing, unreadable or damaged file reads as no values.
  void Load();
  FileState State() const { return state_; }

  std::optional<std::string> Value(std::string_view name) const;
  // The stored integer, or `fallback` when the value is missing or not an integer.
  int ReadInt(std::string_view name, int fallback) const;
  std::string ReadText(std::string_view name, std::string_view fallback) const;

  // Reads the file again, sets one value and writes the file atomically, holding an exclusive
  // lock on the file throughout, so that writers in other processes take turns. A damaged file
  // is first renamed to the same name with ".damaged" added. False when the file could not be
  // written; WriteError() then says why.
  bool Write(std::string_view name, std::string_view value);
  bool WriteInt(std::string_view name, int value);
  // The same, with the new value made from the stored one (null when there is none) inside the
  // lock: an update that no other process's write can slip between.
  bool Update(std::string_view name, const std::function<std::string(const std::string* stored)>& change);
  // Sets several values with one write of the file, under the same lock.
  bool WriteValues(std::span<const std::pair<std::string, std::string>> values);
  const std::string& WriteError() const { return writeError_; }

  const std::filesystem::path& File() const { return file_; }
  const std::string& Section() const { return section_; }

 private:
  // Locks, reads the file again, lets `prepare` look at it and return the change to make, and
  // writes the file with the change when it can be written.
  bool WriteLocked(const std::function<std::function<void()>()>& prepare);
  std::filesystem::path file_;
  std::string keyPath_;
  std::string section_;
  IniDocument document_;
  FileState state_ = FileState::Missing;
  std::string writeError_;
};

// The fixed place of the completed-games counter, whatever the game's MAKER_REG and GAME_ID.
inline constexpr std::string_view kCompletedGamesKeyPath = "Software\\Grevholt";
inline constexpr std::string_view kCompletedGamesSection = "vesk";
inline constexpr std::string_view kCompletedGamesValue = "Clear";

// Adds one to the completed-games counter in its fixed place and returns the new count (also
// when it could not be stored; `error`, when given, then says why).
int IncrementCompletedGames(const std::filesystem::path& root, std::string* error = nullptr);

}  // namespace torvel
