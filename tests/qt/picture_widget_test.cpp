// The picture of the main window: what it shows, and how input on a scaled picture maps back to
// the 800×600 picture.
#include "platform/qt/picture_widget.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "qt_test_support.h"

namespace torvel {
namespace {

struct Recorded {
  std::string what;
  int a = 0;
  int b = 0;
  int c = 0;
  ShiftState shift;
};

class RecordingEvents : public WindowEvents {
 public:
  void PictureMouseMove(ShiftState s, int x, int y) override { log.push_back({"move", x, y, 0, s}); }
  void PictureMouseDown(MouseButton b, ShiftState s, int x, int y) override {
    log.push_back({"down", x, y, static_cast<int>(b), s});
  }
  void PictureMouseUp(MouseButton b, ShiftState s, int x, int y) override {
    log.push_back({"up", x, y, static_cast<int>(b), s});
  }
  void PictureWheel(ShiftState s, int delta) override { log.push_back({"wheel", delta, 0, 0, s}); }
  void WindowKeyDown(int key, ShiftState s) override { log.push_back({"keydown", key, 0, 0, s}); }
  void WindowKeyUp(int key, ShiftState s) override { log.push_back({"keyup", key, 0, 0, s}); }
  void WindowKeyPress(char c) override { log.push_back({"char", static_cast<unsigned char>(c), 0, 0, {}}); }
  void WindowCloseRequested() override { log.push_back({"close", 0, 0, 0, {}}); }
  void WindowShown() override { log.push_back({"shown", 0, 0, 0, {}}); }

  std::vector<Recorded> Only(const std::string& what) const {
    std::vector<Recorded> out;
    for (const Recorded& r : log) {
      if (r.what == what) out.push_back(r);
    }
    return out;
  }
  std::vector<Recorded> log;
};

void Press(QWidget& w, QPointF pos, Qt::MouseButton button, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QMouseEvent press(QEvent::MouseButtonPress, pos, w.mapToGlobal(pos), button, button, mods);
  QApplication::sendEvent(&w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, pos, w.mapToGlobal(pos), button, Qt::NoButton, mods);
  QApplication::sendEvent(&w, &release);
}

// Window sizes and where the picture must land in them, worked out from the 4:3 rule.
struct ScaleCase {
  const char* name;
  int width, height;
  int left, top, shownWidth, shownHeight;
};

const ScaleCase kScaleCases[] = {
    {"unscaled", 800, 600, 0, 0, 800, 600},
    {"one_and_a_half", 1200, 900, 0, 0, 1200, 900},
    {"bars_left_right", 1400, 900, 100, 0, 1200, 900},
    {"bars_top_bottom", 800, 900, 0, 150, 800, 600},
    {"half", 400, 300, 0, 0, 400, 300},
};

TEST(PictureWidget, ScaledClicksMapBackToThePicture) {
  for (const ScaleCase& c : kScaleCases) {
    SCOPED_TRACE(c.name);
    RecordingEvents events;
    PictureWidget widget(events, nullptr);
    widget.resize(c.width, c.height);
    EXPECT_EQ(widget.PictureRect(), QRect(c.left, c.top, c.shownWidth, c.shownHeight));
    double sx = c.shownWidth / 800.0;
    double sy = c.shownHeight / 600.0;
    // The centre of picture pixel (x, y) on the widget, and the pixel's first and last widget
    // positions.
    const Point targets[] = {{400, 300}, {0, 0}, {799, 599}, {123, 457}};
    for (Point t : targets) {
      events.log.clear();
      Press(widget, QPointF(c.left + (t.x + 0.5) * sx, c.top + (t.y + 0.5) * sy), Qt::LeftButton);
      ASSERT_EQ(events.Only("down").size(), 1u);
      EXPECT_EQ(events.Only("down")[0].a, t.x);
      EXPECT_EQ(events.Only("down")[0].b, t.y);
      ASSERT_EQ(events.Only("up").size(), 1u);
      EXPECT_EQ(events.Only("up")[0].a, t.x);
    }
    if (c.left > 0 || c.top > 0) {
      // A click on a black bar is not on the picture.
      events.log.clear();
      Press(widget, QPointF(c.left / 2.0, c.top / 2.0), Qt::LeftButton);
      EXPECT_TRUE(events.Only("down").empty());
      EXPECT_TRUE(events.Only("up").empty());
    }
  }
}

TEST(PictureWidget, ButtonsAndModifiersReachTheEngine) {
  RecordingEvents events;
  PictureWidget widget(events, nullptr);
  widget.resize(800, 600);
  Press(widget, QPointF(10.5, 20.5), Qt::RightButton, Qt::ShiftModifier);
  Press(widget, QPointF(10.5, 20.5), Qt::MiddleButton, Qt::ControlModifier);
  auto downs = events.Only("down");
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].c, static_cast<int>(MouseButton::Right));
  EXPECT_TRUE(downs[0].shift.shift);
  EXPECT_EQ(downs[1].c, static_cast<int>(MouseButton::Middle));
  EXPECT_TRUE(downs[1].shift.ctrl);
}

TEST(PictureWidget, MovesOffThePictureFollowOnlyAHeldButton) {
  RecordingEvents events;
  PictureWidget widget(events, nullptr);
  widget.resize(1400, 900);
  QMouseEvent inside(QEvent::MouseMove, QPointF(700.5, 450.5), QPointF(), Qt::NoButton, Qt::NoButton, {});
  QApplication::sendEvent(&widget, &inside);
  QMouseEvent bar(QEvent::MouseMove, QPointF(50, 450), QPointF(), Qt::NoButton, Qt::NoButton, {});
  QApplication::sendEvent(&widget, &bar);
  ASSERT_EQ(events.Only("move").size(), 1u);
  EXPECT_EQ(events.Only("move")[0].a, 400);
  EXPECT_EQ(events.Only("move")[0].b, 300);

  QMouseEvent press(QEvent::MouseButtonPress, QPointF(700, 450), QPointF(), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(&widget, &press);
  QMouseEvent drag(QEvent::MouseMove, QPointF(50, 450), QPointF(), Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(&widget, &drag);
  ASSERT_EQ(events.Only("move").size(), 2u);
  EXPECT_LT(events.Only("move")[1].a, 0);
}

TEST(PictureWidget, WheelAwayFromThePlayerIsPositive) {
  RecordingEvents events;
  PictureWidget widget(events, nullptr);
  widget.resize(800, 600);
  for (int delta : {120, -120}) {
    QWheelEvent wheel(QPointF(400, 300), QPointF(400, 300), QPoint(), QPoint(0, delta), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&widget, &wheel);
  }
  auto wheels = events.Only("wheel");
  ASSERT_EQ(wheels.size(), 2u);
  EXPECT_EQ(wheels[0].a, 120);
  EXPECT_EQ(wheels[1].a, -120);
}

struct KeyCase {
  const char* name;
  int qtKey;
  Qt::KeyboardModifiers mods;
  const char* text;
  int vk;
  bool alt;
};

const KeyCase kKeyCases[] = {
    {"Return", Qt::Key_Return, Qt::NoModifier, "\r", vk::Return, false},
    {"Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", vk::Return, false},
    {"Z", Qt::Key_Z, Qt::NoModifier, "z", 'Z', false},
    {"V", Qt::Key_V, Qt::NoModifier, "v", 'V', false},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", vk::Back, false},
    {"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1b", vk::Escape, false},
    {"Space", Qt::Key_Space, Qt::NoModifier, " ", vk::Space, false},
    {"C", Qt::Key_C, Qt::NoModifier, "c", 'C', false},
    {"L", Qt::Key_L, Qt::NoModifier, "l", 'L', false},
    {"S", Qt::Key_S, Qt::ShiftModifier, "S", 'S', false},
    {"Q", Qt::Key_Q, Qt::NoModifier, "q", 'Q', false},
    {"W", Qt::Key_W, Qt::NoModifier, "w", 'W', false},
    {"X", Qt::Key_X, Qt::NoModifier, "x", 'X', false},
    {"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", vk::Tab, false},
    {"AltTab", Qt::Key_Tab, Qt::AltModifier, "", vk::Tab, true},
    {"Left", Qt::Key_Left, Qt::NoModifier, "", vk::Left, false},
    {"Up", Qt::Key_Up, Qt::NoModifier, "", vk::Up, false},
    {"Right", Qt::Key_Right, Qt::NoModifier, "", vk::Right, false},
    {"Down", Qt::Key_Down, Qt::NoModifier, "", vk::Down, false},
    {"Shift", Qt::Key_Shift, Qt::ShiftModifier, "", vk::Shift, false},
    {"Ctrl", Qt::Key_Control, Qt::ControlModifier, "", vk::Control, false},
};

TEST(PictureWidget, KeysBecomeVirtualKeysAndTypedCharacters) {
  for (const KeyCase& c : kKeyCases) {
    SCOPED_TRACE(c.name);
    RecordingEvents events;
    PictureWidget widget(events, nullptr);
    QKeyEvent down(QEvent::KeyPress, c.qtKey, c.mods, QString::fromLatin1(c.text));
    QApplication::sendEvent(&widget, &down);
    QKeyEvent up(QEvent::KeyRelease, c.qtKey, c.mods, QString::fromLatin1(c.text));
    QApplication::sendEvent(&widget, &up);
    ASSERT_EQ(events.Only("keydown").size(), 1u);
    EXPECT_EQ(events.Only("keydown")[0].a, c.vk);
    EXPECT_EQ(events.Only("keydown")[0].shift.alt, c.alt);
    ASSERT_EQ(events.Only("keyup").size(), 1u);
    EXPECT_EQ(events.Only("keyup")[0].a, c.vk);
    auto chars = events.Only("char");
    ASSERT_EQ(chars.size(), std::string(c.text).size());
    if (!chars.empty()) {
      EXPECT_EQ(chars[0].a, static_cast<unsigned char>(c.text[0]));
    }
  }
}

TEST(PictureWidget, HeldShiftAndCtrlDoNotRepeatButOtherKeysDo) {
  RecordingEvents events;
  PictureWidget widget(events, nullptr);
  for (int key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Right}) {
    for (bool repeat : {false, true, true}) {
      QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeat);
      QApplication::sendEvent(&widget, &down);
      if (repeat) {
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&widget, &up);
      }
    }
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString());
    QApplication::sendEvent(&widget, &up);
  }
  std::vector<int> downs;
  for (const Recorded& r : events.Only("keydown")) downs.push_back(r.a);
  EXPECT_EQ(downs, (std::vector<int>{vk::Shift, vk::Control, vk::Right, vk::Right, vk::Right}));
  EXPECT_EQ(events.Only("keyup").size(), 3u);
}

TEST(PictureWidget, TypedJapaneseArrivesAsShiftJisBytes) {
  RecordingEvents events;
  PictureWidget widget(events, nullptr);
  QKeyEvent down(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("あ"));
  QApplication::sendEvent(&widget, &down);
  auto chars = events.Only("char");
  ASSERT_EQ(chars.size(), 2u);
  EXPECT_EQ(chars[0].a, 0x82);  // あ is 82 A0 in Shift-JIS
  EXPECT_EQ(chars[1].a, 0xA0);
}

// A picture with a different colour in each 100×100 block, so that every block is recognisable.
Bitmap Pattern() {
  Bitmap b(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      uint8_t* p = b.At(x, y);
      p[0] = static_cast<uint8_t>(30 * (x / 100));  // blue
      p[1] = static_cast<uint8_t>(40 * (y / 100));  // green
      p[2] = static_cast<uint8_t>(200);             // red
    }
  }
  return b;
}

TEST(PictureWidget, ShowsWhatWasPresented) {
  RecordingEvents events;
  PictureWidget widget(events, nullptr);
  widget.resize(800, 600);
  Bitmap pattern = Pattern();
  widget.CopyFrom(pattern, Rect{0, 0, 800, 600});
  QImage shot = widget.grab().toImage();
  ASSERT_EQ(shot.size(), QSize(800, 600));
  for (Point p : {Point{0, 0}, Point{799, 599}, Point{350, 250}, Point{720, 130}}) {
    QRgb c = shot.pixel(p.x, p.y);
    const uint8_t* bgr = pattern.At(p.x, p.y);
    EXPECT_EQ(qBlue(c), bgr[0]) << p.x << "," << p.y;
    EXPECT_EQ(qGreen(c), bgr[1]) << p.x << "," << p.y;
    EXPECT_EQ(qRed(c), bgr[2]) << p.x << "," << p.y;
  }

  // Only the given rectangle changes.
  Bitmap white(800, 600);
  white.Fill(255, 255, 255);
  widget.CopyFrom(white, Rect{100, 100, 200, 150});
  shot = widget.grab().toImage();
  EXPECT_EQ(shot.pixel(150, 120), qRgb(255, 255, 255));
  EXPECT_EQ(shot.pixel(150, 160), qRgb(200, 40, 30));
  EXPECT_EQ(shot.pixel(99, 120), qRgb(200, 40, 0));

  // A rectangle reaching outside the picture is cut to it.
  widget.CopyFrom(white, Rect{-50, 550, 900, 700});
  shot = widget.grab().toImage();
  EXPECT_EQ(shot.pixel(0, 599), qRgb(255, 255, 255));
  EXPECT_EQ(shot.pixel(799, 550), qRgb(255, 255, 255));
  EXPECT_EQ(shot.pixel(799, 549), qRgb(200, 200, 210));
}

TEST(PictureWidget, ScaledPictureKeepsItsAspectBetweenBlackBars) {
  RecordingEvents events;
  PictureWidget widget(events, nullptr);
  widget.resize(1800, 1200);  // the picture is 1600×1200, 100 pixels of bar on each side
  widget.CopyFrom(Pattern(), Rect{0, 0, 800, 600});
  QImage shot = widget.grab().toImage();
  ASSERT_EQ(shot.size(), QSize(1800, 1200));
  EXPECT_EQ(shot.pixel(50, 600), qRgb(0, 0, 0));
  EXPECT_EQ(shot.pixel(1750, 600), qRgb(0, 0, 0));
  // Block (3, 2) of the picture, twice its size, away from its edges.
  EXPECT_EQ(shot.pixel(100 + 2 * 350, 2 * 250), qRgb(200, 80, 90));
  EXPECT_EQ(shot.pixel(100 + 2 * 50, 2 * 50), qRgb(200, 0, 0));
}

}  // namespace
}  // namespace torvel
