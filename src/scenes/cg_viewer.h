#pragma once
// The CG viewer's state: the page open from the `view` table, the seen states of its cells, the
// pictures it draws from, the fades of its controls and the story position a scene replay left.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/bitmap.h"
#include "scenes/view_table.h"
#include "script/script_state.h"

namespace torvel {

// Hover codes of the viewer.
constexpr int kViewerNext = 51;
constexpr int kViewerPrev = 52;
constexpr int kViewerExit = 53;
constexpr int kViewerSetButtonBase = 60;
constexpr int kViewerPageButtonBase = 80;
constexpr int kViewerFadeCounters = 90;

// A cell of the current page: 0 undefined, 1 locked, 2 partly seen or always open, 3 complete.
struct ViewerCell {
  int state = 0;
  int seen = 0;
  int total = 0;
  int firstPicture = 0;  // the picture number of its first name (TYPE 0)
  std::vector<std::string> fields;
};

// The story position a replay leaves and returns to.
struct SavedScriptPosition {
  std::string script;
  int pc = 0;
  int callDepth = 0;
  std::array<CallFrame, kCallStackFrames> callStack;
};

struct CgViewer {
  std::string pageName;  // empty while no page is open
  ViewPageTable page;
  std::vector<std::array<ViewerCell, kViewCells + 1>> cells;  // per set, cells 0–50
  bool partialStates = false;                                 // PLATE2 loaded
  int set = 0;
  int hover = 0;
  bool viewing = false;
  bool showing = false;
  int picture = -1;     // index in the cell of the picture shown, -1 none
  int nextPicture = 0;  // where the search for the next seen picture starts
  int viewedCell = 0;
  int scroll = 0;
  int musicCell = 0;
  int lastMusicCell = 0;
  int seen = 0;
  int total = 0;
  int frameCount = 0;
  std::array<int, kViewerFadeCounters> fades{};

  Bitmap normal, highlight, highlightCopy, plate, plate2, digits;
  Bitmap shown;  // the cell's picture being viewed

  // The upper-case scene scripts of VIEW_2 and the flag each sets when it is loaded.
  std::vector<ViewScene> sceneList;
  SavedScriptPosition saved;
};

// What the replay menu entries show: "次シーンへ" and "回想終了".
struct ReplayMenu {
  bool nextScene = false;
  bool endReplay = false;
};

}  // namespace torvel
