#include "platform/qt/qt_host.h"

#include "platform/qt/text_question_dialog.h"

#include <cstring>

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/qt/dialog_support.h"
#include "platform/qt/pointer_shapes.h"
#include "platform/user_folders.h"
#include "resources/sjis.h"
#include "screens/name_entry.h"
#include "shell/engine.h"

namespace torvel {

namespace {
QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QString FromSjis(std::string_view text) { return QString::fromStdString(SjisToUtf8(text)); }
}  // namespace

DateTime QtHost::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!localtime_r(&now, &local)) return DateTime{};
  return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

QtHost::QtHost(std::filesystem::path settingsFolder, std::filesystem::path dataFolder)
    : settingsFolder_(std::move(settingsFolder)),
      dataFolder_(dataFolder.empty() ? UserDataFolder() : std::move(dataFolder)),
      window_(std::make_unique<MainWindow>(static_cast<WindowEvents&>(*this))) {
  // The window's closing is the engine's business, not the last-window rule's.
  QApplication::setQuitOnLastWindowClosed(false);
  clock_.start();
  idleTimer_.setInterval(0);
  serviceTimer_.setInterval(kTimerPeriodMs);
  serviceTimer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&idleTimer_, &QTimer::timeout, &idleTimer_, [this] { IdleTimeout(); });
  QObject::connect(&serviceTimer_, &QTimer::timeout, &serviceTimer_, [this] { ServiceTimeout(); });
  soundTimer_.setInterval(kSoundServicePeriodMs);
  QObject::connect(&soundTimer_, &QTimer::timeout, &soundTimer_, [this] { sound_.Update(); });
}

QtHost::~QtHost() = default;

uint32_t QtHost::TickCount() { return static_cast<uint32_t>(clock_.elapsed()); }

void QtHost::Sleep(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void QtHost::PumpMessages() {
  ++pumpDepth_;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  --pumpDepth_;
}

void QtHost::Present(const Bitmap& picture, const Rect& area) { window_->Picture().CopyFrom(picture, area); }

bool QtHost::ReadWindow(Bitmap& out) {
  const QImage& shown = window_->Picture().Picture();
  if (shown.isNull() || shown.format() != QImage::Format_RGB32) return false;
  out.Resize(shown.width(), shown.height());
  for (int y = 0; y < out.height; ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
    uint8_t* to = out.Row(y);
    for (int x = 0; x < out.width; ++x, to += 3) {
      to[0] = static_cast<uint8_t>(qBlue(from[x]));
      to[1] = static_cast<uint8_t>(qGreen(from[x]));
      to[2] = static_cast<uint8_t>(qRed(from[x]));
    }
  }
  return true;
}

void QtHost::SetCaption(std::string_view text) { window_->setWindowTitle(FromSjis(text)); }

Point QtHost::PictureOrigin() {
  PictureWidget& picture = window_->Picture();
  QPoint origin = picture.mapToGlobal(picture.PictureRect().topLeft());
  return Point{origin.x(), origin.y()};
}

Point QtHost::CursorPos() {
  PictureWidget& picture = window_->Picture();
  Point p = picture.ToPicture(picture.mapFromGlobal(QPointF(QCursor::pos())));
  Point origin = PictureOrigin();
  return Point{origin.x + p.x, origin.y + p.y};
}

bool QtHost::PointerOverPicture() { return window_->Picture().underMouse(); }

void QtHost::SetCursorPos(Point p) {
  PictureWidget& picture = window_->Picture();
  Point origin = PictureOrigin();
  QPointF local = picture.FromPicture(Point{p.x - origin.x, p.y - origin.y});
  // Where the window system forbids moving the pointer this does nothing.
  QCursor::setPos(picture.mapToGlobal(local).toPoint());
}

void QtHost::SetPointerShape(int shape) {
  PictureWidget& picture = window_->Picture();
  if (shape == 0) {
    picture.unsetCursor();
  } else {
    picture.setCursor(CursorShapeOfPointer(shape));
  }
}

Point QtHost::WindowPos() {
  QPoint pos = window_->pos();
  return Point{pos.x(), pos.y()};
}

void QtHost::MoveWindow(Point topLeft) {
  placed_ = true;
  window_->move(topLeft.x, topLeft.y);
}

Point QtHost::ScreenSize() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return Point{PictureWidget::kWidth, PictureWidget::kHeight};
  QSize size = screen->geometry().size();
  return Point{size.width(), size.height()};
}

MessageResult QtHost::ShowMessage(std::string_view caption, std::string_view text, MessageButtons buttons,
                                  MessageIcon icon) {
  QWidget* parent = window_->isVisible() ? window_.get() : nullptr;
  QMessageBox box(BoxIcon(icon), FromSjis(caption), FromSjis(text), QMessageBox::NoButton, parent);
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  box.setDefaultButton(ok);
  if (buttons == MessageButtons::OkCancel) {
    box.setEscapeButton(box.addButton(QMessageBox::Cancel));
  } else {
    box.setEscapeButton(ok);
  }
  {
    ModalScope modal(*this);
    box.exec();
  }
  if (buttons == MessageButtons::Ok) return MessageResult::Ok;
  return box.clickedButton() == ok ? MessageResult::Ok : MessageResult::Cancel;
}

QtHost::ModalScope::ModalScope(QtHost& host) : host_(host), idleWasActive_(host.idleTimer_.isActive()) {
  host_.idleTimer_.stop();
  ++host_.modalDepth_;
}

QtHost::ModalScope::~ModalScope() {
  --host_.modalDepth_;
  if (idleWasActive_ && !host_.closed_) host_.idleTimer_.start();
}

bool QtHost::OpenWithDefaultHandler(const std::string& target) {
  std::error_code ec;
  QUrl url;
  if (std::filesystem::exists(std::filesystem::path(target), ec)) {
    // A file of ours: its name is in the file system's encoding.
    url = QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(target)));
  } else if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) {
    url = QUrl(FromSjis(target));
  } else {
    url = QUrl::fromLocalFile(FromSjis(target));
  }
  return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtHost::Start() {
  if (!engine_ || closed_) return false;
  Dispatch([this] { engine_->FormCreate(); });
  if (closed_) return false;
  if (!placed_) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      QRect area = screen->availableGeometry();
      window_->move(area.left() + (area.width() - window_->width()) / 2,
                    area.top() + (area.height() - window_->height()) / 2);
    }
  }
  window_->show();
  window_->activateWindow();
  window_->Picture().setFocus();
  idleTimer_.start();
  serviceTimer_.start();
  soundTimer_.start();
  return true;
}

void QtHost::Run() {
  if (closed_) return;
  QEventLoop loop;
  running_ = &loop;
  loop.exec();
  running_ = nullptr;
}

template <typename F>
void QtHost::Dispatch(F&& call) {
  if (!engine_ || closed_) return;
  ++handlerDepth_;
  call();
  --handlerDepth_;
  if (AtTopLevel()) HandlePendingClose();
}

void QtHost::IdleTimeout() {
  // Also fires inside PumpMessages; a frame never runs inside another handler.
  if (!AtTopLevel() || !engine_ || closed_) return;
  HandlePendingClose();
  if (closed_) return;
  // The window came on screen: let the engine paint it, but never over a running scene of its own.
  if (paintWanted_ && !engine_->ctl.blockingScene) {
    paintWanted_ = false;
    Dispatch([this] { engine_->PBPaint(); });
    if (closed_) return;
  }
  Dispatch([this] { engine_->AppIdle(); });
}

void QtHost::ServiceTimeout() {
  if (inTimer_ || closed_) return;
  inTimer_ = true;
  Dispatch([this] { engine_->Timer1Timer(); });
  inTimer_ = false;
}

void QtHost::HandlePendingClose() {
  if (closed_) return;
  if (closeApproved_) {
    CloseNow();
    return;
  }
  if (!closeRequested_) return;
  closeRequested_ = false;
  ++handlerDepth_;
  inCloseQuery_ = true;
  bool allow = engine_->FormCloseQuery();
  inCloseQuery_ = false;
  --handlerDepth_;
  if (allow) CloseNow();
}

void QtHost::CloseNow() {
  if (closed_) return;
  ++handlerDepth_;
  engine_->FormDestroy();
  --handlerDepth_;
  closed_ = true;
  idleTimer_.stop();
  serviceTimer_.stop();
  soundTimer_.stop();
  window_->AllowClose();
  window_->close();
  if (running_) running_->quit();
}

void QtHost::WindowCloseRequested() {
  if (!engine_ || closed_ || inCloseQuery_ || closeApproved_) return;
  // Asked at once, even inside a blocking loop; carried out at the top level.
  ++handlerDepth_;
  inCloseQuery_ = true;
  bool allow = engine_->FormCloseQuery();
  inCloseQuery_ = false;
  --handlerDepth_;
  if (allow) closeApproved_ = true;
  if (AtTopLevel()) HandlePendingClose();
}

void QtHost::PictureMouseMove(ShiftState shift, int x, int y) {
  Dispatch([&] { engine_->PBMouseMove(shift, x, y); });
}

void QtHost::PictureMouseDown(MouseButton button, ShiftState shift, int x, int y) {
  Dispatch([&] { engine_->PBMouseDown(button, shift, x, y); });
}

void QtHost::PictureMouseUp(MouseButton button, ShiftState shift, int x, int y) {
  Dispatch([&] { engine_->PBMouseUp(button, shift, x, y); });
}

void QtHost::PictureWheel(ShiftState shift, int delta) {
  Dispatch([&] { engine_->FormMouseWheel(shift, delta); });
}

void QtHost::WindowKeyDown(int key, ShiftState shift) {
  Dispatch([&] { engine_->FormKeyDown(key, shift); });
}

void QtHost::WindowKeyUp(int key, ShiftState shift) {
  Dispatch([&] { engine_->FormKeyUp(key, shift); });
}

void QtHost::WindowKeyPress(char c) {
  Dispatch([&] { engine_->FormKeyPress(c); });
}

}  // namespace torvel

namespace torvel {

// The game's own dialogs count as well as the main window: only another program's window
// sends the game to the background.
bool QtHost::WindowActive() { return QApplication::activeWindow() != nullptr; }

bool QtHost::PlayMovie(const std::filesystem::path& file) {
  if (!movie_) {
    MoviePlayer::ChooseBackend();
    // A click on the movie goes to the engine as the click on its panel.
    movie_ = std::make_unique<MoviePlayer>(window_->Picture(), [this] {
      if (engine_) Dispatch([this] { engine_->EndMovie(); });
    });
  }
  return movie_->Play(file);
}

bool QtHost::MoviePlaying() { return movie_ && movie_->Playing(); }

void QtHost::StopMovie() {
  if (movie_) movie_->Stop();
}

}  // namespace torvel

namespace torvel {

void QtHost::ShowNameEntry(NameEntryModel& model) {
  if (!nameEntry_) nameEntry_ = std::make_unique<NameEntryDialog>(window_.get());
  nameEntry_->Bind(model);
  PlaceDialog(*nameEntry_, window_.get());
  ModalScope modal(*this);
  nameEntry_->exec();
}

void QtHost::ShowSettingsDialog(SettingsDialogModel& model) {
  if (!settingsDialog_) settingsDialog_ = std::make_unique<SettingsDialog>(window_.get());
  settingsDialog_->Bind(model);
  PlaceDialog(*settingsDialog_, window_.get());
  ModalScope modal(*this);
  settingsDialog_->exec();
}

std::optional<std::string> QtHost::AskText(std::string_view caption, std::string_view prompt, std::string_view initial,
                                           int maxChars) {
  TextQuestionDialog dialog(window_.get());
  dialog.Ask(caption, prompt, initial, maxChars);
  PlaceDialog(dialog, window_.get());
  ModalScope modal(*this);
  dialog.exec();
  return dialog.Answer();
}

}  // namespace torvel

namespace torvel {

void QtHost::ShowSaveList(SaveListModel& model) {
  if (!saveList_) saveList_ = std::make_unique<SaveListDialog>(window_.get());
  saveList_->Bind(model);
  PlaceDialog(*saveList_, window_.get());
  ModalScope modal(*this);
  saveList_->Run();
}

}  // namespace torvel

namespace torvel {

void QtHost::WindowLeftFullScreen() {
  // The window system ended full screen under the engine.
  if (changingFullScreen_ || !engine_ || !engine_->display.fullScreen) return;
  Dispatch([this] { engine_->OnResizeWhileFullScreen(); });
}

}  // namespace torvel
