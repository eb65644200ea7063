#pragma once
// The debug script set: the loose script sources of a folder that the developer windows edit,
// and for the running script its source lines and the line table that maps each source line to
// the read position at which the loaded script holds it.
//
// Sources are ".S" files in Shift-JIS or ".txt" files in UTF-8 (the project's source form);
// lines are kept in Shift-JIS either way, as the loaded script holds them.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

// The line table covers at most this many source lines.
inline constexpr size_t kDebugLineTableMax = 20000;
// A scan stops after this many scripts, and a source larger than this is not read.
inline constexpr size_t kDebugScanMaxFiles = 10000;
inline constexpr uint64_t kDebugSourceMaxBytes = uint64_t{16} << 20;

enum class ScriptSourceForm { ShiftJis, Utf8 };

struct DebugScriptFile {
  std::string name;  // the file name without its extension, Shift-JIS
  std::filesystem::path path;
  ScriptSourceForm form = ScriptSourceForm::ShiftJis;
};

// The ".S" and ".txt" files (extension compared without case) of `folder` and its subfolders,
// sorted by path. Symbolic links, to files or folders, are not followed; unreadable folders are
// passed over.
std::vector<DebugScriptFile> ScanDebugScripts(const std::filesystem::path& folder);

// A source file's bytes as Shift-JIS lines, split at CR LF, CR or LF (a UTF-8 byte-order mark is
// dropped). Nothing when the text does not decode: UTF-8 that is malformed or holds a character
// without a Shift-JIS form, or Shift-JIS holding a byte pair code page 932 does not define.
std::optional<std::vector<std::string>> DecodeScriptSource(std::span<const uint8_t> bytes, ScriptSourceForm form);
// The same lines as the file's text again: Shift-JIS as it stands, or UTF-8. Nothing when a line
// holds text the form cannot carry. Lines end with CR LF for ".S" and LF for ".txt".
std::optional<std::string> EncodeScriptSource(const std::vector<std::string>& sjisLines, ScriptSourceForm form,
                                              size_t* firstBadLine = nullptr);

// Line i starts at the sum of (length + 1) over the lines before it: the loaded script ends
// each line with one NUL. At most kDebugLineTableMax entries.
std::vector<int> BuildLineTable(const std::vector<std::string>& sjisLines);

struct DebugScriptSet {
  std::vector<DebugScriptFile> files;
  bool hasConfig = false;                // a script named "_CONFIG" was found
  int current = -1;                      // the entry of the running script, -1 when it has no source here
  std::vector<std::string> sourceLines;  // Shift-JIS
  bool sourceReadOnly = false;           // the source did not decode; it is shown, never written
  std::vector<int> lineTable;
  int tableEnd = 0;  // the position just after the last tabled line

  // Scans `folder` anew, forgetting the running script's source.
  void Rebuild(const std::filesystem::path& folder);
  // The entry named `name` (compared without case), or -1.
  int Find(std::string_view name) const;
  // Called when `name` was loaded as the scenario: reads its source and fills the line table,
  // or forgets both when the set has no such script or its file cannot be read.
  void NoteLoaded(std::string_view name);

  // The position at which source line `line` starts; a line past the table reads the table's
  // end, a negative one 0.
  int LineStart(int line) const;
  // The first line whose position is at least `pc`, or the number of tabled lines.
  int FirstLineAtOrAfter(int pc) const;
};

// A read position to restart at, kept within the loaded script of `scriptSize` bytes.
int ClampRestartPosition(int position, int scriptSize);

}  // namespace torvel
