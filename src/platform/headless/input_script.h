#pragma once
// The timed input events of a headless run: one event per line, "MS WHAT ARGS", with MS the
// virtual milliseconds since start.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless/dialog_answers.h"
#include "shell/input_events.h"

namespace torvel {

struct InputEvent {
  enum class Kind {
    Move,
    Click,
    Key,
    Char,
    Wheel,
    Shot,
    State,
    Answer,
    Close,
    Save,
    Load,
    Stall,
    Dialog,
    // A button pressed or released alone (drags), a menu entry (`menu main next-scene`) and the
    // text of a text question.
    Press,
    Release,
    Menu,
    Text,
    // A developer control: `dev trace on|off`, `dev select NAME`, `dev flag-editor [close]`,
    // `dev bit VIEW N set|clear`.
    Dev
  };
  // Repeat: a held key's automatic repeat, as the keyboard sends it while the key stays down.
  enum class KeyAction { Press, Down, Up, Repeat };
  uint32_t time = 0;
  Kind kind = Kind::Move;
  int x = 0;
  int y = 0;
  MouseButton button = MouseButton::Left;
  int key = 0;         // virtual key code
  char character = 0;  // the character a pressed key types, or 0
  KeyAction keyAction = KeyAction::Press;
  int wheel = 0;  // +1 away from the player (up), -1 towards
  bool answerOk = true;
  int slot = 0;  // save and load
  std::string file;
  // Stall: the virtual clock jumps this many milliseconds, as on a machine busy elsewhere.
  int stallMs = 0;
  DialogAnswer dialog;  // queued for its window
  // Menu: the entry chosen in the pop-up menu shown at that moment ("popup": the right-click menu).
  std::string menu;
  std::string entry;
  std::string text;  // Text: the answer (UTF-8)
  // Dev: the action ("trace", "select", "flag-editor", "flag-editor-close", "bit"), the script
  // name or the view, the cell, and on/off, set/clear.
  std::string devAction;
  std::string devName;
  int devCell = 0;
  bool devOn = false;
};

struct InputScript {
  std::vector<InputEvent> events;  // in file order, which is time order for equal times
  std::string error;               // "line N: ..." when a line could not be read
};

InputScript ParseInputScript(std::string_view text);

// The virtual key code of a key name ("Enter", "Z", "Ctrl", …), or 0.
int KeyCodeByName(std::string_view name);

}  // namespace torvel
