#include "platform/headless/headless_host.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <iostream>

#include "graphics/png_io.h"
#include "platform/headless/dev_lines.h"
#include "resources/file_io.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

HeadlessHost::HeadlessHost(std::filesystem::path settingsFolder) : settingsFolder_(std::move(settingsFolder)) {}

DateTime HeadlessHost::LocalTime() {
  // 2000-01-01 00:00:00 as seconds since 1970, in universal time so the zone cannot move it.
  constexpr std::time_t kStart = 946684800;
  const std::time_t now = kStart + static_cast<std::time_t>(now_ / 1000);
  std::tm t{};
  gmtime_r(&now, &t);
  return DateTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

void HeadlessHost::Sleep(int ms) {
  if (ms > 0) now_ += static_cast<uint32_t>(ms);
}

void HeadlessHost::PumpMessages() {
  if (onShown) onShown(window_, windowPos_);
  ++pumpDepth_;
  DeliverDue();
  --pumpDepth_;
}

void HeadlessHost::DeliverDue() {
  if (!engine_ || closed_) return;
  if (pointerMoved_) {
    pointerMoved_ = false;
    if (pointer_.x >= 0 && pointer_.y >= 0 && pointer_.x < 800 && pointer_.y < 600) {
      engine_->PBMouseMove(ShiftState{}, pointer_.x, pointer_.y);
    }
  }
  // Timer messages do not pile up: a late tick is delivered once and the next one follows at the
  // next period boundary.
  if (now_ >= nextTick_) {
    while (nextTick_ <= now_) nextTick_ += kTimerPeriodMs;
    engine_->Timer1Timer();
  }
  while (nextEvent_ < events_.size() && events_[nextEvent_].time <= now_ && !closed_) {
    // Copy first: a handler may pump messages and deliver the next events itself.
    InputEvent e = events_[nextEvent_++];
    Deliver(e);
  }
}

void HeadlessHost::Deliver(const InputEvent& e) {
  ShiftState none;
  switch (e.kind) {
    case InputEvent::Kind::Move:
      pointer_ = Point{e.x, e.y};
      // As on a real window, the picture sees no moves beside it.
      if (PointerOverPicture()) engine_->PBMouseMove(none, e.x, e.y);
      break;
    case InputEvent::Kind::Click:
      pointer_ = Point{e.x, e.y};
      engine_->PBMouseMove(none, e.x, e.y);
      engine_->PBMouseDown(e.button, none, e.x, e.y);
      engine_->PBMouseUp(e.button, none, e.x, e.y);
      break;
    case InputEvent::Kind::Press:
    case InputEvent::Kind::Release:
      pointer_ = Point{e.x, e.y};
      engine_->PBMouseMove(none, e.x, e.y);
      if (e.kind == InputEvent::Kind::Press) {
        engine_->PBMouseDown(e.button, none, e.x, e.y);
      } else {
        engine_->PBMouseUp(e.button, none, e.x, e.y);
      }
      break;
    case InputEvent::Kind::Text: textAnswers_.push_back(e.text); break;
    case InputEvent::Kind::Key: {
      int key = e.key;
      const bool repeat = e.keyAction == InputEvent::KeyAction::Repeat;
      // A held Shift or Ctrl toggles auto mode or holds skip mode: its repeats are not new presses.
      if (repeat && (key == vk::Shift || key == vk::Control)) break;
      if (e.keyAction != InputEvent::KeyAction::Up) engine_->FormKeyDown(key, none);
      if ((e.keyAction == InputEvent::KeyAction::Press || repeat) && e.character != 0) {
        char c = e.character;
        engine_->FormKeyPress(c);
      }
      key = e.key;
      if (e.keyAction == InputEvent::KeyAction::Press || e.keyAction == InputEvent::KeyAction::Up) {
        engine_->FormKeyUp(key, none);
      }
      break;
    }
    case InputEvent::Kind::Char: {
      char c = e.character;
      engine_->FormKeyPress(c);
      break;
    }
    case InputEvent::Kind::Wheel: engine_->FormMouseWheel(none, e.wheel); break;
    case InputEvent::Kind::Shot: {
      std::string error;
      if (!WritePng(e.file, window_, &error) && onError) onError(error);
      break;
    }
    case InputEvent::Kind::State: {
      std::string error;
      if (!WriteFileAtomically(e.file, engine_->DescribeState(), &error) && onError) onError(error);
      break;
    }
    case InputEvent::Kind::Answer: answers_.push_back(e.answerOk ? MessageResult::Ok : MessageResult::Cancel); break;
    case InputEvent::Kind::Stall: now_ += static_cast<uint32_t>(e.stallMs); break;
    case InputEvent::Kind::Dialog:
      switch (e.dialog.window) {
        case DialogAnswer::Window::Name: nameAnswers_.push_back(e.dialog.name); break;
        case DialogAnswer::Window::Settings: settingsAnswers_.push_back(e.dialog.settings); break;
        case DialogAnswer::Window::List: listAnswers_.push_back(e.dialog.list); break;
      }
      break;
    case InputEvent::Kind::Save:
    case InputEvent::Kind::Load: {
      // What the "Q" and "L" keys would do, for any slot.
      const bool save = e.kind == InputEvent::Kind::Save;
      if (save ? engine_->QuickSaveKeyActs() : engine_->LoadKeyActs()) {
        if (save) {
          engine_->SaveGame(e.slot, false);
        } else {
          engine_->LoadGame(e.slot, false);
        }
      } else {
        std::cerr << "torvel: at " << e.time << " ms " << (save ? "saving" : "loading")
                  << " is not possible now; the line is ignored\n";
      }
      break;
    }
    case InputEvent::Kind::Menu:
      // The menu bar and the tool bar are chosen at once; a pop-up line reaches here only with no
      // pop-up shown.
      if (e.menu == "main" || e.menu == "toolbar") {
        const MenuId menu = e.menu == "main" ? MenuId::Main : MenuId::ToolBar;
        if (!engine_->ChooseMenuEntry(menu, e.entry))
          std::cerr << "menu: " << e.menu << " " << e.entry << " is disabled\n";
      } else {
        std::cerr << "menu: no " << e.menu << " menu is shown at " << e.time << " ms; the line is ignored\n";
      }
      break;
    case InputEvent::Kind::Dev: RunDevLine(*engine_, e, std::cerr); break;
    case InputEvent::Kind::Close:
      // The player's close button: asked at once, even inside a blocking loop; the window goes
      // away only once control is back in the frame loop.
      if (engine_->FormCloseQuery()) closeApproved_ = true;
      break;
  }
}

void HeadlessHost::SetCursorPos(Point p) {
  pointer_ = Point{p.x - windowPos_.x, p.y - windowPos_.y};
  pointerMoved_ = true;
}

void HeadlessHost::Present(const Bitmap& picture, const Rect& area) {
  if (onPresent) onPresent(picture, area);
  int left = std::max({area.left, 0});
  int top = std::max(area.top, 0);
  int right = std::min({area.right, picture.width, window_.width});
  int bottom = std::min({area.bottom, picture.height, window_.height});
  if (right <= left || bottom <= top) return;
  for (int y = top; y < bottom; ++y) {
    std::memcpy(window_.At(left, y), picture.At(left, y), static_cast<size_t>(right - left) * 3);
  }
}

MessageResult HeadlessHost::ShowMessage(std::string_view caption, std::string_view text, MessageButtons buttons,
                                        MessageIcon) {
  messages_.push_back(Message{std::string(caption), std::string(text)});
  if (onMessage) {
    const Message shown = messages_.back();
    onMessage(shown);
  }
  std::cerr << SjisToUtf8(caption) << ": " << SjisToUtf8(text) << "\n";
  // Queued answers are for questions: a box with OK alone takes none of them.
  if (buttons == MessageButtons::Ok) return MessageResult::Ok;
  MessageResult answer = MessageResult::Ok;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  return answer;
}

void HeadlessHost::ShowNameEntry(NameEntryModel& model) { AnswerNameEntry(model, nameAnswers_, std::cerr); }

void HeadlessHost::ShowSettingsDialog(SettingsDialogModel& model) {
  AnswerSettingsDialog(model, settingsAnswers_, std::cerr);
}

void HeadlessHost::ShowSaveList(SaveListModel& model) { AnswerSaveList(model, listAnswers_, std::cerr); }

bool HeadlessHost::OpenWithDefaultHandler(const std::string& target) {
  opened_.push_back(target);
  return true;
}

void HeadlessHost::SetInput(std::vector<InputEvent> events) {
  events_ = std::move(events);
  nextEvent_ = 0;
}

void HeadlessHost::CloseNow() {
  if (closed_) return;
  engine_->FormDestroy();
  closed_ = true;
}

bool HeadlessHost::Start() {
  if (!engine_) return false;
  engine_->FormCreate();
  if (closeRequested_) {
    closeRequested_ = false;
    if (engine_->FormCloseQuery()) CloseNow();
  }
  // The window is shown: its first paint comes from the engine's buffers, as in the real window.
  if (!closed_) engine_->PBPaint();
  return !closed_;
}

bool HeadlessHost::RunFrame() {
  if (closed_) return false;
  DeliverDue();
  if (!closeApproved_ && !closeRequested_) {
    engine_->AppIdle();
    if (onShown) onShown(window_, windowPos_);
  }
  if (closeApproved_) {
    CloseNow();
  } else if (closeRequested_) {
    closeRequested_ = false;
    if (engine_->FormCloseQuery()) CloseNow();
  }
  return !closed_;
}

bool HeadlessHost::RunFrames(int count) {
  for (int i = 0; i < count; ++i) {
    if (!RunFrame()) return false;
  }
  return !closed_;
}

bool HeadlessHost::RunUntilSettled(int maxFrames) {
  for (int i = 0; i < maxFrames; ++i) {
    if (!RunFrame()) return false;
    if (InputUsedUp() && engine_->WaitsForPlayer()) return true;
  }
  return !closed_;
}

bool HeadlessHost::RunUntil(uint32_t time) {
  while (now_ < time) {
    if (!RunFrame()) return false;
  }
  return !closed_;
}

}  // namespace torvel

namespace torvel {

bool HeadlessHost::PlayMovie(const std::filesystem::path& file) {
  movieRequests_.push_back(file);
  if (!movieOpens_) return false;
  moviePlaying_ = true;
  movieEnd_ = now_ + movieLength_;
  return true;
}

bool HeadlessHost::MoviePlaying() {
  if (moviePlaying_ && now_ >= movieEnd_) moviePlaying_ = false;
  return moviePlaying_;
}

void HeadlessHost::StopMovie() {
  ++movieStops_;
  moviePlaying_ = false;
}

}  // namespace torvel

namespace torvel {

std::optional<std::string> HeadlessHost::AskText(std::string_view, std::string_view, std::string_view initial,
                                                 int maxChars) {
  if (!textAnswers_.empty()) {
    std::string typed = std::move(textAnswers_.front());
    textAnswers_.pop_front();
    return Utf8ToSjisKnown(typed, maxChars);
  }
  if (!answers_.empty()) {
    const MessageResult answer = answers_.front();
    answers_.pop_front();
    if (answer == MessageResult::Cancel) return std::nullopt;
  }
  return std::string(initial);
}

std::optional<std::string> HeadlessHost::PopupMenu(const PopupMenuModel& menu, Point at) {
  shownMenus_.push_back(ShownMenu{menu, at});
  if (nextEvent_ >= events_.size()) return std::nullopt;
  const InputEvent& next = events_[nextEvent_];
  if (next.kind != InputEvent::Kind::Menu || next.menu != menu.name) return std::nullopt;
  const InputEvent e = next;
  ++nextEvent_;
  // The menu's own loop runs until the choice: the clock moves on and the timer keeps ticking.
  while (now_ < e.time) {
    now_ = std::min(e.time, nextTick_);
    if (now_ >= nextTick_) {
      nextTick_ += kTimerPeriodMs;
      engine_->Timer1Timer();
    }
  }
  for (const PopupMenuEntry& entry : menu.entries) {
    if (entry.id == e.entry && entry.enabled) return entry.id;
  }
  // Disabled, or hidden and so not in the menu at all.
  std::cerr << "menu: " << menu.name << " " << e.entry << " is disabled\n";
  return std::nullopt;
}

}  // namespace torvel

namespace torvel {

void HeadlessHost::ShowMenus(const MenuModel&) { ++menuRefreshes_; }

bool HeadlessHost::SetFullScreen(bool on) {
  if (on && fullScreenFails_) return false;
  fullScreen_ = on;
  if (on) {
    windowPos_ = Point{0, 0};
    windowSize_ = screenSize_;
  }
  return true;
}

void HeadlessHost::SetBounds(const WindowBounds& bounds) {
  windowSize_ = Point{bounds.width, bounds.height};
  MoveWindow(Point{bounds.left, bounds.top});
}

// The 2× window with its frame and menu bar must fit the screen.
bool HeadlessHost::WindowScaleFits(int scale) {
  if (scale != 2) return true;
  return screenSize_.x >= 1600 + 8 && screenSize_.y >= 1200 + 27;
}

void HeadlessHost::EndFullScreenBySystem() {
  if (!fullScreen_) return;
  fullScreen_ = false;
  if (engine_) engine_->OnResizeWhileFullScreen();
}

}  // namespace torvel
