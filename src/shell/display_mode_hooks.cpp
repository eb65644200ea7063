// The display modes: the bordered window, full screen (SMode 1) and the borderless window at the
// screen's top-left (SMode 2); the menu bar and the full-screen tool bar that go with them; and
// the picture's enlargement chosen from the "表示" menu.
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kFullScreenMode = 1;
constexpr int kBorderlessMode = 2;
}  // namespace

bool TForm1::FullScreenShown() const { return display.fullScreen; }

void TForm1::SetMenuVisible(bool visible) {
  display.menuBar = visible;
  host.ShowMenuBar(visible);
}

void TForm1::ShowToolBarPanel(bool shown) {
  shown = shown && display.fullScreen;
  if (display.toolBar == shown) return;
  display.toolBar = shown;
  host.ShowToolBar(shown);
}

void TForm1::EnterFullScreen() {
  if (display.fullScreen || settings.SMode == 0) return;
  if (!display.borderless) display.savedBounds = host.Bounds();
  display.borderless = true;
  host.SetBorderless(true);
  host.MoveWindow(Point{0, 0});
  SetMenuVisible(false);
  if (settings.SMode == kBorderlessMode) return;
  if (settings.SMode == kFullScreenMode && host.SetFullScreen(true)) {
    display.fullScreen = true;
    return;
  }
  // Full screen refused: the window as it was.
  RestoreWindow();
}

void TForm1::RestoreWindow() {
  SetMenuVisible(true);
  ShowToolBarPanel(false);
  display.borderless = false;
  host.SetBorderless(false);
  host.SetBounds(display.savedBounds);
}

void TForm1::LeaveFullScreen() {
  if (!display.fullScreen) return;
  display.fullScreen = false;
  host.SetFullScreen(false);
  display.toolBar = false;
  host.ShowToolBar(false);
  RestoreWindow();
}

void TForm1::OnResizeWhileFullScreen() {
  if (!display.fullScreen) return;
  // The system took full screen away: the window for good, and the setting says so.
  LeaveFullScreen();
  settings.SMode = 0;
  WriteSetting("SMode", settings.SMode);
}

bool TForm1::MenuBarShown() const { return display.menuBar; }

bool TForm1::ToolBarShown() const { return display.toolBar; }

const char* TForm1::WindowScaleEntry(int scale) {
  switch (scale) {
    case 0: return "scale-fit";
    case 2: return "scale-2";
    default: return "scale-1";
  }
}

void TForm1::SetWindowScale(int scale) {
  if (!host.WindowScaleFits(scale)) return;
  settings.WindowScale = scale;
  WriteSetting("WindowScale", scale);
  host.SetScaling(settings.WindowScale, settings.IntegerScaling != 0);
  UpdateMenus();
}

void TForm1::SetIntegerScaling(bool on) {
  settings.IntegerScaling = on ? 1 : 0;
  WriteSetting("IntegerScaling", settings.IntegerScaling);
  host.SetScaling(settings.WindowScale, on);
  UpdateMenus();
}

void TForm1::AppendDisplayState(std::string& out) const {
  auto flag = [&](const char* name, bool value) {
    out += ",\"";
    out += name;
    out += value ? "\":true" : "\":false";
  };
  out += ",\"display\":{\"SMode\":" + std::to_string(settings.SMode);
  flag("fullScreen", display.fullScreen);
  flag("borderless", display.borderless);
  flag("menuBar", display.menuBar);
  flag("toolBar", display.toolBar);
  out += ",\"windowScale\":" + std::to_string(settings.WindowScale);
  flag("integerScaling", settings.IntegerScaling != 0);
  out += '}';
}

}  // namespace torvel
