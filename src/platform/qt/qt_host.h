#pragma once
// The real window: the engine in a Qt main window. AppIdle runs from a zero-interval timer and
// Timer1Timer from a 55 ms timer; the picture, input, message boxes and closing go through the
// window.
//
// The engine's handlers never overlap. AppIdle runs only from the top-level event loop: never
// inside PumpMessages, a message box or another handler. Timer1Timer and input may run inside a
// blocking loop's PumpMessages (the engine's flags guard them). A close accepted inside a nested
// loop takes effect once control is back in the top-level loop, so the window is never destroyed
// under a running handler.
//
// Picture coordinates on the screen: CursorPos and SetCursorPos put the picture's top-left
// corner at its place on the screen and count picture pixels from there, so that CursorPos
// minus the mouse position in the picture is the same point wherever the pointer is, even while
// the picture is scaled.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/host.h"
#include "platform/openal/openal_device.h"
#include "platform/qt/main_window.h"
#include "platform/qt/movie_player.h"
#include "platform/qt/name_entry_dialog.h"
#include "platform/qt/save_list_dialog.h"
#include "platform/qt/settings_dialog.h"
#include "platform/qt/window_events.h"

namespace torvel {

class QtHost : public Host, private WindowEvents {
 public:
  static constexpr int kTimerPeriodMs = 55;
  static constexpr int kSoundServicePeriodMs = 25;

  // Needs a QApplication. Without a data folder the player's own (UserDataFolder) is used.
  explicit QtHost(std::filesystem::path settingsFolder, std::filesystem::path dataFolder = {});
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // Host
  void Attach(TForm1* engine) override { engine_ = engine; }
  uint32_t TickCount() override;
  void Sleep(int ms) override;
  void PumpMessages() override;
  void Present(const Bitmap& picture, const Rect& area) override;
  bool ReadWindow(Bitmap& out) override;
  void SetCaption(std::string_view text) override;
  void RequestClose() override { closeRequested_ = true; }
  Point CursorPos() override;
  void SetCursorPos(Point p) override;
  Point WindowPos() override;
  void MoveWindow(Point topLeft) override;
  Point ScreenSize() override;
  bool PointerOverPicture() override;
  void SetPointerShape(int shape) override;
  // A QMenu at the picture point mapped to the screen, scaling included; modal while it shows.
  std::optional<std::string> PopupMenu(const PopupMenuModel& menu, Point at) override;
  MessageResult ShowMessage(std::string_view caption, std::string_view text, MessageButtons buttons,
                            MessageIcon icon) override;
  bool OpenWithDefaultHandler(const std::string& target) override;
  void ShowNameEntry(NameEntryModel& model) override;
  void ShowSettingsDialog(SettingsDialogModel& model) override;
  // The menu bar follows the engine's menu model; "制御" stays hidden.
  void ShowMenus(const MenuModel& menus) override;
  void ShowMenuBar(bool shown) override;
  bool SetFullScreen(bool on) override;
  void SetBorderless(bool on) override;
  WindowBounds Bounds() override;
  void SetBounds(const WindowBounds& bounds) override;
  void ShowToolBar(bool shown) override;
  // 1× and 2× are whole multiples of the picture in device pixels; too large for the screen's
  // free area with the frame and menu bar, 2× does not fit (1× always does).
  bool WindowScaleFits(int scale) override;
  void SetScaling(int windowScale, bool integerScaling) override;
  std::optional<std::string> AskText(std::string_view caption, std::string_view prompt, std::string_view initial,
                                     int maxChars) override;
  void ShowSaveList(SaveListModel& model) override;
  std::filesystem::path SettingsFolder() override { return settingsFolder_; }
  std::filesystem::path DataFolder() override { return dataFolder_; }
  DateTime LocalTime() override;
  SoundDevice& Sound() override { return sound_; }
  bool WindowActive() override;
  bool PlayMovie(const std::filesystem::path& file) override;
  bool MoviePlaying() override;
  void StopMovie() override;

  // Runs FormCreate, shows the window and starts the timers. False when the engine closed during
  // start-up; the window was then never shown.
  bool Start();
  // Runs the event loop until the window has closed.
  void Run();
  bool Closed() const { return closed_; }

  MainWindow& Window() { return *window_; }
  // The menu bar's action of an entry id ("menu-end", "quit", …), or nullptr.
  QAction* MenuAction(std::string_view id);
  // The full-screen tool bar once shown, else nullptr.
  class QToolBar* ToolBar() {
    return toolBar_;
  }
  // Where on the screen the last pop-up menu was asked to open.
  QPoint LastPopupPlace() const { return lastPopupPlace_; }

 private:
  // WindowEvents
  void PictureMouseMove(ShiftState shift, int x, int y) override;
  void PictureMouseDown(MouseButton button, ShiftState shift, int x, int y) override;
  void PictureMouseUp(MouseButton button, ShiftState shift, int x, int y) override;
  void PictureWheel(ShiftState shift, int delta) override;
  void WindowKeyDown(int key, ShiftState shift) override;
  void WindowKeyUp(int key, ShiftState shift) override;
  void WindowKeyPress(char c) override;
  void WindowCloseRequested() override;
  void WindowShown() override { paintWanted_ = true; }
  void WindowLeftFullScreen() override;

  bool AtTopLevel() const { return handlerDepth_ == 0 && pumpDepth_ == 0 && modalDepth_ == 0; }
  // Held while a modal window (a message box, a dialog) runs its own loop: no frame runs there,
  // and the idle timer is stopped so that the loop waits for events instead of spinning.
  class ModalScope {
   public:
    explicit ModalScope(QtHost& host);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

   private:
    QtHost& host_;
    bool idleWasActive_;
  };

  // Calls into the engine; once back at the top level, a pending close is carried out.
  template <typename F>
  void Dispatch(F&& call);
  void IdleTimeout();
  void ServiceTimeout();
  void HandlePendingClose();
  void CloseNow();
  Point PictureOrigin();

  TForm1* engine_ = nullptr;
  std::filesystem::path settingsFolder_;
  std::filesystem::path dataFolder_;
  std::unique_ptr<MainWindow> window_;
  void BuildMenuBar();
  void FitWindowToPicture();
  std::map<std::string, class QAction*> menuActions_;
  void BuildToolBar();
  void ShowToolBarStates(const MenuModel& menus);
  class QToolBar* toolBar_ = nullptr;
  std::map<std::string, class QAction*> toolActions_;
  int windowScale_ = 1;  // 1 or 2 times the picture, 0 the resizable window
  // The window's size in widget coordinates at `scale`, menu bar included.
  QSize ScaledWindowSize(int scale) const;
  bool changingFullScreen_ = false;  // our own full-screen change, not the window system's
  QTimer idleTimer_;
  QTimer serviceTimer_;
  // Keeps the sound device's stream queues topped up even when the engine's tick is late.
  QTimer soundTimer_;
  OpenAlSoundDevice sound_;
  std::unique_ptr<MoviePlayer> movie_;  // made on the first movie
  // The dialog windows, made on their first showing and kept.
  std::unique_ptr<NameEntryDialog> nameEntry_;
  std::unique_ptr<SettingsDialog> settingsDialog_;
  std::unique_ptr<SaveListDialog> saveList_;
  QElapsedTimer clock_;
  QEventLoop* running_ = nullptr;
  int handlerDepth_ = 0;
  int pumpDepth_ = 0;
  int modalDepth_ = 0;
  bool inTimer_ = false;
  bool inCloseQuery_ = false;
  bool closeRequested_ = false;  // the engine asked to close
  bool closeApproved_ = false;   // the player's close was accepted
  bool closed_ = false;
  bool paintWanted_ = false;
  bool placed_ = false;  // the engine has put the window somewhere
  QPoint lastPopupPlace_;
};

}  // namespace torvel
