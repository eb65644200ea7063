#include "devtools/debug_script_set.h"

#include <algorithm>

#include "resources/file_io.h"
#include "resources/sjis.h"

namespace torvel {

namespace fs = std::filesystem;

namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
      open = true;
    }
  }
  if (open) lines.push_back(std::move(line));
  return lines;
}

}  // namespace

std::vector<DebugScriptFile> ScanDebugScripts(const fs::path& folder) {
  std::vector<DebugScriptFile> found;
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(fs::symlink_status(folder, ec))) return found;
  fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
  const fs::recursive_directory_iterator end;
  while (!ec && it != end && found.size() < kDebugScanMaxFiles) {
    const fs::directory_entry& entry = *it;
    std::error_code statError;
    const fs::file_status status = entry.symlink_status(statError);
    if (!statError && fs::is_regular_file(status)) {
      const std::string extension = UpperAscii(entry.path().extension().string());
      if (extension == ".S" || extension == ".TXT") {
        DebugScriptFile file;
        file.name = Utf8ToSjis(entry.path().stem().string());
        file.path = entry.path();
        file.form = extension == ".S" ? ScriptSourceForm::ShiftJis : ScriptSourceForm::Utf8;
        found.push_back(std::move(file));
      }
    }
    // Symbolic links to folders are never entered (the iterator does not follow them).
    it.increment(ec);
  }
  std::sort(found.begin(), found.end(),
            [](const DebugScriptFile& a, const DebugScriptFile& b) { return a.path < b.path; });
  return found;
}

std::optional<std::vector<std::string>> DecodeScriptSource(std::span<const uint8_t> bytes, ScriptSourceForm form) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // A NUL would end a line early in the loaded script.
  if (text.find('\0') != std::string_view::npos) return std::nullopt;
  if (form == ScriptSourceForm::Utf8) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::string sjis;
    if (!IsUtf8(text) || !Utf8ToSjisExact(text, sjis)) return std::nullopt;
    return SplitLines(sjis);
  }
  if (!IsSjisDefined(text)) return std::nullopt;
  return SplitLines(text);
}

std::optional<std::string> EncodeScriptSource(const std::vector<std::string>& sjisLines, ScriptSourceForm form,
                                              size_t* firstBadLine) {
  std::string out;
  for (size_t i = 0; i < sjisLines.size(); ++i) {
    const std::string& line = sjisLines[i];
    const bool bad = line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos || !IsSjisDefined(line);
    if (bad) {
      if (firstBadLine) *firstBadLine = i;
      return std::nullopt;
    }
    if (form == ScriptSourceForm::Utf8) {
      out += SjisToUtf8(line);
      out += '\n';
    } else {
      out += line;
      out += "\r\n";
    }
  }
  return out;
}

std::vector<int> BuildLineTable(const std::vector<std::string>& sjisLines) {
  std::vector<int> table;
  const size_t count = std::min(sjisLines.size(), kDebugLineTableMax);
  table.reserve(count);
  int64_t position = 0;
  for (size_t i = 0; i < count; ++i) {
    table.push_back(static_cast<int>(std::min<int64_t>(position, INT32_MAX)));
    position += static_cast<int64_t>(sjisLines[i].size()) + 1;
  }
  return table;
}

void DebugScriptSet::Rebuild(const fs::path& folder) {
  files = ScanDebugScripts(folder);
  hasConfig = Find("_CONFIG") >= 0;
  current = -1;
  sourceLines.clear();
  sourceReadOnly = false;
  lineTable.clear();
  tableEnd = 0;
}

int DebugScriptSet::Find(std::string_view name) const {
  for (size_t i = 0; i < files.size(); ++i)
    if (SjisEqualNoCase(files[i].name, name)) return static_cast<int>(i);
  return -1;
}

void DebugScriptSet::NoteLoaded(std::string_view name) {
  current = -1;
  sourceLines.clear();
  sourceReadOnly = false;
  lineTable.clear();
  tableEnd = 0;
  const int entry = Find(name);
  if (entry < 0) return;
  const DebugScriptFile& file = files[static_cast<size_t>(entry)];
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(file.path, bytes, kDebugSourceMaxBytes, error)) return;
  current = entry;
  if (auto lines = DecodeScriptSource(bytes, file.form)) {
    sourceLines = std::move(*lines);
  } else {
    // Shown as well as it reads, and never written back.
    sourceReadOnly = true;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    sourceLines = SplitLines(file.form == ScriptSourceForm::Utf8 ? Utf8ToSjis(text) : std::string(text));
  }
  lineTable = BuildLineTable(sourceLines);
  int64_t end = 0;
  for (size_t i = 0; i < lineTable.size(); ++i) end += static_cast<int64_t>(sourceLines[i].size()) + 1;
  tableEnd = static_cast<int>(std::min<int64_t>(end, INT32_MAX));
}

int DebugScriptSet::LineStart(int line) const {
  if (line < 0) return 0;
  if (static_cast<size_t>(line) >= lineTable.size()) return tableEnd;
  return lineTable[static_cast<size_t>(line)];
}

int DebugScriptSet::FirstLineAtOrAfter(int pc) const {
  auto it = std::lower_bound(lineTable.begin(), lineTable.end(), pc);
  return static_cast<int>(it - lineTable.begin());
}

int ClampRestartPosition(int position, int scriptSize) { return std::clamp(position, 0, std::max(scriptSize, 0)); }

}  // namespace torvel
