#pragma once
// What the right-click menu, the in-picture yes/no question and the panic screen keep.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "graphics/bitmap.h"

namespace torvel {

// The kinds of the question, each with its own action on "はい".
constexpr int kDialogQuickLoad = 1;
constexpr int kDialogTitle = 3;
constexpr int kDialogOverwrite = 4;
constexpr int kDialogLoadSlot = 5;

struct QuestionState {
  int hover = 0;  // 0 none, 1 "はい", 2 "いいえ" (panel look only)
  bool panelLook = false;
  Point at;        // where the dialog lies on the screen
  Bitmap picture;  // the dialog as drawn
  Bitmap saved;    // the screen-buffer region it covers, put back when it closes
  Bitmap bare;     // band look: the band with the question but without "はい" and "いいえ"
  // Panel look: the buttons' highlighted forms and where they lie on the screen (unclipped).
  Bitmap yesLit;
  Bitmap noLit;
  Rect yesRect;
  Rect noRect;
  // sys_panel, sys_panel_y1, sys_panel_n1, sys_panel_y2, sys_panel_n2, loaded at the first question.
  bool panelLoaded = false;
  std::array<Bitmap, 5> panel;
};

struct SystemMenuState {
  // Set once the pop-up menu has been shown and closed; the next right click only clears it.
  bool menuOpen = false;
  // The last pop-up shown: the ids of its enabled entries in menu order and the chosen one.
  bool popupShown = false;
  std::vector<std::string> lastEnabled;
  std::optional<std::string> lastChosen;
};

struct PanicState {
  bool shown = false;
  bool wasBlocking = false;  // blockingScene as it was when the panic screen came up
  Bitmap kept;               // the screen buffer it hides
};

}  // namespace torvel
