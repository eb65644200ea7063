#pragma once
// Host: everything the engine needs from the outside world. The core reaches the window, the
// clock, message boxes, the desktop shell and the per-user folders only through this interface.
// All text crossing it is Shift-JIS bytes, as inside the engine; a host converts at its edge.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "graphics/bitmap.h"
#include "platform/date_time.h"
#include "platform/popup_menu.h"

namespace torvel {

class TForm1;
class MenuModel;
class SoundDevice;
class SilentSoundDevice;
class NameEntryModel;
class SettingsDialogModel;
class SaveListModel;

struct WindowBounds {
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
};

enum class MessageButtons { Ok, OkCancel };
enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageResult { Ok, Cancel };

class Host {
 public:
  virtual ~Host();

  // The engine the host delivers its events to (timer, input, paint, close).
  virtual void Attach(TForm1* engine) = 0;

  // Time, in milliseconds. Sleep blocks the window thread as the original's Sleep did;
  // PumpMessages lets a blocking loop deliver pending events (timer ticks, input, paint).
  virtual uint32_t TickCount() = 0;
  virtual void Sleep(int ms) = 0;
  virtual void PumpMessages() = 0;

  // Copies a rectangle of the 800×600 picture onto the window.
  virtual void Present(const Bitmap& picture, const Rect& area) = 0;
  // A copy of what the window shows now; false when the host cannot read it back.
  virtual bool ReadWindow(Bitmap& out) {
    (void)out;
    return false;
  }
  virtual void SetCaption(std::string_view text) = 0;
  // Asks the window to close; the host routes the request through FormCloseQuery, and never
  // destroys the window while one of the engine's own loops runs.
  virtual void RequestClose() = 0;
  // Cursor position in screen coordinates, and the window's top-left corner on the screen.
  virtual Point CursorPos() = 0;
  virtual void SetCursorPos(Point p) = 0;
  virtual Point WindowPos() = 0;
  virtual void MoveWindow(Point topLeft) = 0;
  virtual Point ScreenSize() = 0;
  // Whether the pointer is over the picture now.
  virtual bool PointerOverPicture() { return false; }
  // Draws the menu bar, the tool bar and the right-click menu from the engine's menu model; called
  // whenever an entry may have changed.
  virtual void ShowMenus(const MenuModel& menus) { (void)menus; }
  // The pointer's shape over the picture: 0 the default, 29 and up the shapes of the click map's
  // colour regions (29 arrow, 30 pointing hand, 31 open hand, 32 cross, 33 what's-this, 34
  // size-all, any other the pointing hand).
  virtual void SetPointerShape(int shape) { (void)shape; }
  // Shows a pop-up menu with its top-left corner at a point of the picture and waits until it
  // closes: the chosen entry's id, or nothing when the player dismissed it. A host without menus
  // dismisses it at once.
  virtual std::optional<std::string> PopupMenu(const PopupMenuModel& menu, Point at) {
    (void)menu;
    (void)at;
    return std::nullopt;
  }

  virtual MessageResult ShowMessage(std::string_view caption, std::string_view text, MessageButtons buttons,
                                    MessageIcon icon) = 0;
  // The modal dialog windows, each bound to its model from screens/; they return when the window
  // closes. The name entry closes only once its model accepted the names.
  virtual void ShowNameEntry(NameEntryModel& model) = 0;
  virtual void ShowSettingsDialog(SettingsDialogModel& model) = 0;
  // A one-line text question (the recollection's slot names): the text on OK, nothing on Cancel.
  // Characters the field takes that have no Shift-JIS form are left out.
  virtual std::optional<std::string> AskText(std::string_view caption, std::string_view prompt,
                                             std::string_view initial, int maxChars) {
    (void)caption, (void)prompt, (void)maxChars;
    return std::string(initial);
  }
  // The save and load list window; it closes after a save or load that succeeded, or when the
  // player closes it.
  virtual void ShowSaveList(SaveListModel& model) = 0;

  // Opens a file or an address with the desktop's default handler.
  virtual bool OpenWithDefaultHandler(const std::string& target) = 0;

  // The per-user configuration folder (the registry's place): $XDG_CONFIG_HOME/torvel.
  virtual std::filesystem::path SettingsFolder() = 0;
  // The per-user data folder ($XDG_DATA_HOME/torvel): save files of games whose own folder
  // cannot be written.
  virtual std::filesystem::path DataFolder() = 0;
  // The local date and time, for the labels of save files.
  virtual DateTime LocalTime() = 0;

  // Whether the game's window is the active one; voices, effects and music wait while it is not.
  virtual bool WindowActive() { return true; }

  // Movies: plays a file into the window, over the picture, until it ends or StopMovie; false when
  // the file cannot be opened or played. Hosts without a player refuse every movie.
  virtual bool PlayMovie(const std::filesystem::path& file) {
    (void)file;
    return false;
  }
  virtual bool MoviePlaying() { return false; }
  // Stops and closes the movie and shows the picture again.
  virtual void StopMovie() {}

  // Display modes. Full screen on the window's own screen, the display left as it is: true when
  // the window is now full screen (leaving always succeeds). A borderless window has no frame or
  // title bar. Bounds are the window's outer width, height, left and top.
  virtual bool SetFullScreen(bool on) { return !on; }
  virtual void SetBorderless(bool on) { (void)on; }
  virtual WindowBounds Bounds() { return WindowBounds{}; }
  virtual void SetBounds(const WindowBounds& bounds) { (void)bounds; }
  virtual void ShowMenuBar(bool shown) { (void)shown; }
  virtual void ShowToolBar(bool shown) { (void)shown; }
  // Whether the window at `scale` times the picture (1 or 2; 0 the fitted window) fits the screen.
  virtual bool WindowScaleFits(int scale) { return scale != 2; }
  // The picture's enlargement: the window at 1× or 2× the picture or fitted (0), and whole factors
  // only or the largest 4:3 rectangle.
  virtual void SetScaling(int windowScale, bool integerScaling) { (void)windowScale, (void)integerScaling; }

  // The sound output, for the whole run. Without one of the host's own it is a silent device whose
  // play positions follow TickCount.
  virtual SoundDevice& Sound();

 private:
  std::unique_ptr<SilentSoundDevice> silentSound_;
};

}  // namespace torvel
