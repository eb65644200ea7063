#pragma once
// Saving an edited script: the history block at the end of the file, the numbered backups and
// the folder's edit log. Lines are Shift-JIS.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "devtools/debug_script_set.h"
#include "platform/date_time.h"

namespace torvel {

inline constexpr size_t kHistoryLinesMax = 10;

// The login name of the user running the engine, from the password database; "unknown" when
// it has none.
std::string LoginName();

// ";YYYY/MM/DD hh:mm:ss USER [行:N]" followed by the tag of each kind in `editedKinds` and, when
// the note is not the preset text, a blank and the note.
std::string HistoryEntry(const DateTime& when, std::string_view user, int lastEditedLine, int editedKinds,
                         std::string_view note);
// The preset text of the note box.
std::string HistoryNotePreset();

// The edit window's history text: the new entry, then the entries of the file's history block,
// newest first, up to kHistoryLinesMax lines in all.
std::vector<std::string> StartHistory(const std::vector<std::string>& lines, const std::string& entry);
// The text to save: `lines` without its history block (start line to end line; nothing is
// removed when the end line is missing or above the start line), then the block again at the
// end holding `history`.
std::vector<std::string> MergeHistory(const std::vector<std::string>& lines, const std::vector<std::string>& history);

struct SaveOutcome {
  bool ok = false;
  std::string message;  // why it failed, naming the file or the line (UTF-8)
};

// Writes `lines` to the script's file. The text is encoded first: a line the file's form cannot
// carry refuses the save, naming it. The new text goes to a temporary file beside the script;
// only once it is safely written do the backups move up one (BK4 → BK5 … BK1 → BK2, BK5
// dropped) and the old text become BK1, and then the temporary takes the script's name.
SaveOutcome SaveScriptFile(const DebugScriptFile& file, const std::vector<std::string>& lines);

// Adds "NAME        : ENTRY" as the first line of "_EDITLOG.TXT" in `folder`, written whole
// through a temporary file.
SaveOutcome AppendEditLog(const std::filesystem::path& folder, std::string_view scriptName, std::string_view entry);

}  // namespace torvel
