#pragma once
// The script editor's rules, apart from any window: where the text opens, what kind of change a
// typed line is, the picture search and its thumbnail grid, saved filters, and the restart ten
// lines back. Text is Shift-JIS throughout.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devtools/debug_script_set.h"

namespace torvel {

// Bits of `editedKinds`.
enum EditedKind : int {
  kEditedPicture = 1,
  kEditedCommand = 2,
  kEditedVariable = 4,
  kEditedText = 8,
  kEditedBranch = 16,
  kEditedOther = 32,
};

// The kind of change a line typed into the editor makes; 0 for an empty line.
int ClassifyEditedLine(std::string_view sjisLine);

// The line shown at the top when the script runs at `pc`: four above the first line at or after
// it, the first line when that is one of the first four.
int EditorTopLine(const DebugScriptSet& set, int pc);

// "10行前からスタート": the position ten lines before the line at `pc`, within the script.
int RestartTenLinesBack(const DebugScriptSet& set, int pc, int scriptSize);

// The line "埋め込み" inserts its command before. The caret's line when the developer has put the
// caret in the text (0 ≤ caretLine < lineCount); otherwise the line of the recorded position of
// the last background or sprite command, when that command ran in the script shown; otherwise
// the line being run at `pc`. Always within 0..lineCount.
int InsertionLine(const DebugScriptSet& set, int caretLine, int lineCount, std::optional<int> recordedPc, int pc);

enum class SearchMode { And = 0, Or = 1, Not = 2 };

struct PictureSearchResult {
  std::vector<std::string> names;
  bool trim = false;  // word 1 began with "#"
};

// Looks through the picture names of each archive in turn (the JPEG archive, then graphic
// archives 1 to 3). A name holding word 1 is taken when word 2 is empty, or by the mode; one
// without it only under OR when it holds word 2. An archive's scan stops once more than 60
// names are found. Words are compared upper-cased; an empty word 1 finds nothing.
PictureSearchResult SearchPictures(const std::vector<const std::vector<std::string>*>& archiveNames,
                                   std::string_view word1, std::string_view word2, SearchMode mode);

inline constexpr int kThumbnailAreaWidth = 960;
inline constexpr int kThumbnailAreaHeight = 300;
inline constexpr int kThumbnailsDrawnMax = 60;

struct ThumbnailGrid {
  int columns = 5;
  int cellWidth = 192;
  int cellHeight = 150;
  int drawn = 0;  // thumbnails drawn for this many results
};
ThumbnailGrid GridForResults(int results);
// The result under (x, y) of the thumbnail area, or -1 outside the area or past the results.
int ThumbnailAt(const ThumbnailGrid& grid, int x, int y);

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
};
// The region cut from a picture of width × height for a trimmed thumbnail: ⌊size × 1.333⌋ wide
// and `size` high, centred on the picture's middle column, its top at `start`; kept within the
// picture (empty when nothing of it lies inside).
PixelRect TrimRegion(int width, int height, int start, int size);

// A saved filter: name, the eight words, the second word, the mode, the trim start and size.
struct PictureFilter {
  std::string name;
  std::string words[8];
  std::string word2;
  SearchMode mode = SearchMode::And;
  int trimStart = 50;
  int trimSize = 200;
};
inline constexpr int kMaxFilters = 100;
std::string FormatFilter(const PictureFilter& filter);
// Fills a filter from a record whose fields end at "," or ":". Filling stops at the first mode
// or trim field that is missing or not a number in range, leaving the defaults from there on.
PictureFilter ParseFilter(std::string_view record);

}  // namespace torvel
