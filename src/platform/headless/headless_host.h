#pragma once
// The headless host: the real engine on a virtual clock, without a display. Sleep advances the
// clock at once; timer ticks and input events are delivered when their time is due, between
// idle frames or when a blocking loop pumps messages. Tests, benchmarks and `torvel --headless`
// use it; a run is deterministic for a given seed.
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/input_script.h"
#include "platform/headless/recording_sound_device.h"
#include "platform/host.h"

namespace torvel {

class HeadlessHost : public Host {
 public:
  static constexpr int kTimerPeriodMs = 55;

  explicit HeadlessHost(std::filesystem::path settingsFolder);

  // Host
  void Attach(TForm1* engine) override { engine_ = engine; }
  uint32_t TickCount() override { return now_; }
  void Sleep(int ms) override;
  void PumpMessages() override;
  void Present(const Bitmap& picture, const Rect& area) override;
  bool ReadWindow(Bitmap& out) override {
    out = window_;
    return true;
  }
  void SetCaption(std::string_view text) override { caption_ = std::string(text); }
  void RequestClose() override { closeRequested_ = true; }
  Point CursorPos() override { return Point{windowPos_.x + pointer_.x, windowPos_.y + pointer_.y}; }
  void SetCursorPos(Point p) override;
  Point WindowPos() override { return windowPos_; }
  void MoveWindow(Point topLeft) override {
    windowPos_ = topLeft;
    windowMoves_.push_back(topLeft);
  }
  Point ScreenSize() override { return screenSize_; }
  // From the last "move" or "click" point.
  bool PointerOverPicture() override {
    return pointer_.x >= 0 && pointer_.y >= 0 && pointer_.x < 800 && pointer_.y < 600;
  }
  // The menus as last shown; the bars themselves are state below.
  void ShowMenus(const MenuModel& menus) override;
  // The shape is kept as asked, for tests and the state report.
  void SetPointerShape(int shape) override { pointerShape_ = shape; }
  // A pop-up menu takes the next input event when it is a "menu" line for it: the clock moves to
  // the line's time, firing the ticks due on the way. Any other next event dismisses the menu and
  // stays queued. Every showing is kept for tests.
  std::optional<std::string> PopupMenu(const PopupMenuModel& menu, Point at) override;
  struct ShownMenu {
    PopupMenuModel menu;
    Point at;
  };
  const std::vector<ShownMenu>& ShownMenus() const { return shownMenus_; }
  int PointerShape() const { return pointerShape_; }
  MessageResult ShowMessage(std::string_view caption, std::string_view text, MessageButtons buttons,
                            MessageIcon icon) override;
  bool OpenWithDefaultHandler(const std::string& target) override;
  // The dialog windows take the answers queued by "dialog" input lines (none: "ＯＫ" for the names,
  // closed at once for the settings).
  void ShowNameEntry(NameEntryModel& model) override;
  void ShowSettingsDialog(SettingsDialogModel& model) override;
  // Text questions take the texts queued by "text" lines; with none, a queued "answer cancel"
  // cancels and anything else answers OK with the initial text.
  std::optional<std::string> AskText(std::string_view caption, std::string_view prompt, std::string_view initial,
                                     int maxChars) override;
  // The list window takes queued "dialog list" lines until one closes it or none is left.
  void ShowSaveList(SaveListModel& model) override;
  std::filesystem::path SettingsFolder() override { return settingsFolder_; }
  // The settings folder's "data" subfolder unless set: a run never touches the player's own.
  std::filesystem::path DataFolder() override { return dataFolder_.empty() ? settingsFolder_ / "data" : dataFolder_; }
  void SetDataFolder(std::filesystem::path folder) { dataFolder_ = std::move(folder); }
  // 2000/01/01 00:00:00 plus the virtual milliseconds.
  DateTime LocalTime() override;
  // The recording device, on the virtual clock.
  RecordingSoundDevice& Sound() override { return sound_; }

  // The window counts as the active one unless a test says otherwise.
  bool WindowActive() override { return windowActive_; }
  void SetWindowActive(bool active) { windowActive_ = active; }
  // Movies play on the virtual clock for a set length; every request is recorded.
  bool PlayMovie(const std::filesystem::path& file) override;
  bool MoviePlaying() override;
  void StopMovie() override;
  void SetMovieLength(uint32_t ms) { movieLength_ = ms; }
  void SetMovieOpens(bool ok) { movieOpens_ = ok; }
  const std::vector<std::filesystem::path>& MovieRequests() const { return movieRequests_; }
  int MovieStops() const { return movieStops_; }

  // Display modes, kept as state. Full screen is refused while SetFullScreenFails(true).
  bool SetFullScreen(bool on) override;
  void SetBorderless(bool on) override { borderless_ = on; }
  WindowBounds Bounds() override { return WindowBounds{windowSize_.x, windowSize_.y, windowPos_.x, windowPos_.y}; }
  void SetBounds(const WindowBounds& bounds) override;
  void ShowMenuBar(bool shown) override { menuBar_ = shown; }
  void ShowToolBar(bool shown) override { toolBar_ = shown; }
  bool WindowScaleFits(int scale) override;
  void SetScaling(int windowScale, bool integerScaling) override {
    windowScale_ = windowScale;
    integerScaling_ = integerScaling;
  }
  void SetFullScreenFails(bool fails) { fullScreenFails_ = fails; }
  // The screen the window is on, in pixels (1920×1080 unless a test says otherwise).
  void SetScreenSize(Point size) { screenSize_ = size; }
  bool FullScreen() const { return fullScreen_; }
  bool Borderless() const { return borderless_; }
  bool MenuBarShown() const { return menuBar_; }
  bool ToolBarShown() const { return toolBar_; }
  int WindowScale() const { return windowScale_; }
  bool IntegerScaling() const { return integerScaling_; }
  // The system takes full screen away, as a window manager may: the window is resized under the
  // engine.
  void EndFullScreenBySystem();

  // Driving a run. Start runs FormCreate; RunFrame delivers what is due, runs one idle frame and
  // handles a pending close. Both return false once the engine has closed.
  void SetInput(std::vector<InputEvent> events);
  bool Start();
  bool RunFrame();
  bool RunFrames(int count);
  // Runs until the input is used up and the engine waits for the player (or idles at the end of
  // its script), at most `maxFrames` frames. False when the engine closed.
  bool RunUntilSettled(int maxFrames = 100000);
  // Runs until the virtual clock reaches `time`.
  bool RunUntil(uint32_t time);
  bool Closed() const { return closed_; }
  bool InputUsedUp() const { return nextEvent_ >= events_.size(); }

  // What the window shows, as the player would see it.
  const Bitmap& Window() const { return window_; }
  const std::string& Caption() const { return caption_; }
  struct Message {
    std::string caption;  // Shift-JIS, as the engine gave it
    std::string text;
  };
  const std::vector<Message>& Messages() const { return messages_; }
  const std::vector<std::string>& OpenedTargets() const { return opened_; }
  // How often the engine handed over the menus.
  int MenuRefreshes() const { return menuRefreshes_; }
  // Every place the engine moved the window to, in order.
  const std::vector<Point>& WindowMoves() const { return windowMoves_; }
  // Answers for the next message boxes (OK when none is queued).
  void QueueAnswer(MessageResult answer) { answers_.push_back(answer); }
  // Called for "shot" and "state" events and for failures writing them.
  std::function<void(const std::string&)> onError;
  // Called while a message box is open, before it is answered (what a test sees behind it).
  std::function<void(const Message&)> onMessage;
  // What reaches the screen: a real window repaints only when the engine lets it, that is when
  // a blocking loop pumps messages or an idle frame returns. Called then with the window's
  // picture and its position, so tests can follow an effect frame by frame.
  std::function<void(const Bitmap& window, Point windowPos)> onShown;
  // Called with every picture and area the engine presents, before the window takes it: tests
  // count redraws and follow loops that present without pumping.
  std::function<void(const Bitmap& picture, const Rect& area)> onPresent;

 private:
  void DeliverDue();
  void Deliver(const InputEvent& e);
  void CloseNow();

  TForm1* engine_ = nullptr;
  std::filesystem::path settingsFolder_;
  std::filesystem::path dataFolder_;
  uint32_t now_ = 0;
  RecordingSoundDevice sound_{[this] { return now_; }};
  uint32_t nextTick_ = kTimerPeriodMs;
  int pumpDepth_ = 0;
  bool closeRequested_ = false;  // the engine asked to close
  bool closeApproved_ = false;   // the player's close was accepted
  bool closed_ = false;
  std::vector<InputEvent> events_;
  size_t nextEvent_ = 0;
  Point pointer_{0, 0};
  Point windowPos_{560, 240};
  std::vector<Point> windowMoves_;
  bool pointerMoved_ = false;
  Bitmap window_{800, 600};
  std::string caption_;
  std::vector<Message> messages_;
  std::deque<MessageResult> answers_;
  std::deque<NameAnswer> nameAnswers_;
  std::deque<SettingsAnswer> settingsAnswers_;
  std::deque<std::string> textAnswers_;
  std::deque<ListAnswer> listAnswers_;
  std::vector<std::string> opened_;
  int menuRefreshes_ = 0;
  int pointerShape_ = 0;
  std::vector<ShownMenu> shownMenus_;
  std::vector<std::filesystem::path> movieRequests_;
  uint32_t movieLength_ = 2000;
  bool movieOpens_ = true;
  bool moviePlaying_ = false;
  uint32_t movieEnd_ = 0;
  int movieStops_ = 0;
  bool windowActive_ = true;
  Point screenSize_{1920, 1080};
  Point windowSize_{808, 627};  // the bordered 1× window with its menu bar
  bool fullScreen_ = false;
  bool fullScreenFails_ = false;
  bool borderless_ = false;
  bool menuBar_ = true;
  bool toolBar_ = false;
  int windowScale_ = 1;
  bool integerScaling_ = false;
};

}  // namespace torvel
