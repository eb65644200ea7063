#include "platform/qt/qt_main.h"

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "platform/qt/dev_controls.h"
#include "platform/qt/qt_host.h"
#include "platform/user_folders.h"
#include "shell/engine.h"

namespace torvel {

namespace {
// Under Wayland a program may neither move the pointer (the choice keys) nor its window (the
// window shake). Where XWayland is there, use it; otherwise fall back to Wayland quietly.
void PreferXcb() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* x11 = std::getenv("DISPLAY");
  if (wayland && *wayland && x11 && *x11) ::setenv("QT_QPA_PLATFORM", "xcb;wayland", 1);
}
}  // namespace

int RunQt(int argc, char** argv, const std::filesystem::path& gameDir, std::optional<bool> gameDirWritable,
          bool developer) {
  PreferXcb();
  QApplication app(argc, argv);
  QApplication::setApplicationName("torvel");
  QtHost host(UserConfigFolder());
  TForm1 engine(host, EngineOptions{gameDir, std::nullopt, gameDirWritable});
  host.Attach(&engine);
  std::unique_ptr<DevControls> dev;
  if (developer) dev = std::make_unique<DevControls>(engine, UserConfigFolder(), &host.Window());
  if (host.Start()) {
    if (dev) StartDeveloperTools(engine, *dev, host.Window());
    host.Run();
  }
  return engine.ctl.startupFailed ? 1 : 0;
}

}  // namespace torvel
