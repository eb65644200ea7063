#include "devtools/edit_history.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "resources/file_io.h"
#include "resources/sjis.h"

namespace torvel {

namespace fs = std::filesystem;

namespace {

const std::string& BlockStart() {
  static const std::string line = Utf8ToSjis(";◇◆編集履歴ここから◆◇");
  return line;
}
const std::string& BlockEnd() {
  static const std::string line = Utf8ToSjis(";◇◆編集履歴ここまで◆◇");
  return line;
}

std::ptrdiff_t IndexOf(const std::vector<std::string>& lines, const std::string& line) {
  auto it = std::find(lines.begin(), lines.end(), line);
  return it == lines.end() ? -1 : it - lines.begin();
}

}  // namespace

std::string LoginName() {
  const passwd* entry = getpwuid(getuid());
  if (!entry || !entry->pw_name || !*entry->pw_name) return "unknown";
  return Utf8ToSjis(entry->pw_name);
}

std::string HistoryNotePreset() { return Utf8ToSjis("申し送り事項"); }

std::string HistoryEntry(const DateTime& when, std::string_view user, int lastEditedLine, int editedKinds,
                         std::string_view note) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, ";%04d/%02d/%02d %02d:%02d:%02d ", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  std::string entry = stamp;
  entry += user;
  entry += Utf8ToSjis(" [行:") + std::to_string(lastEditedLine) + "]";
  static const char* const kTags[] = {"[絵]", "[コマンド]", "[変数]", "[文章]", "[分岐等]", "[その他]"};
  for (int bit = 0; bit < 6; ++bit)
    if (editedKinds & (1 << bit)) entry += Utf8ToSjis(kTags[bit]);
  if (note != HistoryNotePreset()) {
    entry += ' ';
    entry += note;
  }
  return entry;
}

std::vector<std::string> StartHistory(const std::vector<std::string>& lines, const std::string& entry) {
  std::vector<std::string> history{entry};
  const std::ptrdiff_t start = IndexOf(lines, BlockStart());
  const std::ptrdiff_t end = IndexOf(lines, BlockEnd());
  if (start < 0 || end < 0) return history;
  for (std::ptrdiff_t i = start + 1; i < end && history.size() < kHistoryLinesMax; ++i)
    history.push_back(lines[static_cast<size_t>(i)]);
  return history;
}

std::vector<std::string> MergeHistory(const std::vector<std::string>& lines, const std::vector<std::string>& history) {
  std::vector<std::string> out = lines;
  const std::ptrdiff_t start = IndexOf(out, BlockStart());
  if (start >= 0) {
    auto endIt = std::find(out.begin() + start, out.end(), BlockEnd());
    if (endIt != out.end()) out.erase(out.begin() + start, endIt + 1);
  }
  out.push_back(BlockStart());
  out.insert(out.end(), history.begin(), history.end());
  out.push_back(BlockEnd());
  return out;
}

SaveOutcome SaveScriptFile(const DebugScriptFile& file, const std::vector<std::string>& lines) {
  SaveOutcome outcome;
  size_t badLine = 0;
  const std::optional<std::string> text = EncodeScriptSource(lines, file.form, &badLine);
  if (!text) {
    outcome.message = file.path.string() + ": line " + std::to_string(badLine + 1) +
                      (file.form == ScriptSourceForm::ShiftJis ? " holds text that Shift-JIS cannot carry"
                                                               : " holds text that cannot be written");
    return outcome;
  }
  std::string base = file.path.string();
  base.erase(base.rfind('.') + 1);
  const fs::path fresh = base + "new~";
  std::string error;
  if (!WriteFileAtomically(fresh, *text, &error)) {
    outcome.message = error.empty() ? fresh.string() + ": cannot be written" : error;
    return outcome;
  }
  std::error_code ec;
  fs::remove(base + "BK5", ec);
  for (int n = 4; n >= 1; --n) fs::rename(base + "BK" + std::to_string(n), base + "BK" + std::to_string(n + 1), ec);
  // The old text becomes BK1 while the script's name still leads to it: a link where the file
  // system has them, a copy otherwise.
  if (fs::exists(file.path, ec)) {
    fs::create_hard_link(file.path, base + "BK1", ec);
    if (ec) fs::copy_file(file.path, base + "BK1", fs::copy_options::overwrite_existing, ec);
  }
  fs::rename(fresh, file.path, ec);
  if (ec) {
    outcome.message = file.path.string() + ": " + ec.message();
    fs::remove(fresh, ec);
    return outcome;
  }
  outcome.ok = true;
  return outcome;
}

SaveOutcome AppendEditLog(const fs::path& folder, std::string_view scriptName, std::string_view entry) {
  SaveOutcome outcome;
  const fs::path log = folder / "_EDITLOG.TXT";
  std::vector<uint8_t> old;
  std::error_code ec;
  if (fs::exists(log, ec)) {
    std::string error;
    if (!ReadWholeFile(log, old, kDebugSourceMaxBytes, error)) {
      outcome.message = error;
      return outcome;
    }
  }
  std::string name(scriptName);
  if (name.size() < 12) name.append(12 - name.size(), ' ');
  std::string text = name + ": " + std::string(entry) + "\r\n";
  text.append(old.begin(), old.end());
  std::string error;
  if (!WriteFileAtomically(log, text, &error)) {
    outcome.message = error.empty() ? log.string() + ": cannot be written" : error;
    return outcome;
  }
  outcome.ok = true;
  return outcome;
}

}  // namespace torvel
