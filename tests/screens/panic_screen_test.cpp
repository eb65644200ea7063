// The panic screen through the real engine on the headless host: the picture of "panic.bmp" (or
// black), every sound muted while it shows and heard again where it had got to, the keys, and the
// close button.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/headless/input_script.h"
#include "resources/sjis.h"
#include "screens/save_test_game.h"

namespace torvel {
namespace {

using namespace testing;

constexpr const char* kStory = "!S000=0\n!S028=1\n@gra AB01,1\n@music 1\n>少女\nおはよう。\n\\\n次。\n\\\n";

// A 24-bit bottom-up BMP whose pixel (x, y) is (x, y, 99) with bytes wrapping, rows padded to four
// bytes, written byte by byte.
std::vector<uint8_t> Bmp(int w, int h) {
  const int rowBytes = (w * 3 + 3) / 4 * 4;
  const uint32_t size = 54 + static_cast<uint32_t>(rowBytes * h);
  std::vector<uint8_t> b(size, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < h; ++y) {
    uint8_t* row = b.data() + 54 + static_cast<size_t>((h - 1 - y) * rowBytes);
    for (int x = 0; x < w; ++x) {
      row[3 * x] = static_cast<uint8_t>(x);
      row[3 * x + 1] = static_cast<uint8_t>(y);
      row[3 * x + 2] = 99;
    }
  }
  return b;
}

class Panic : public ::testing::Test {
 protected:
  TForm1& Start() {
    AddSaveGameAssets(game);
    game.Script("main", kStory);
    TForm1& e = game.Start();
    game.RunToWait();
    e.settings.RC_MODE = 4;
    return e;
  }
  TForm1& E() { return game.Engine(); }
  HeadlessHost& H() { return game.Host(); }
  void Play(const std::string& lines) {
    InputScript script = ParseInputScript(lines);
    ASSERT_EQ(script.error, "");
    for (InputEvent& e : script.events) e.time += H().TickCount();
    H().SetInput(script.events);
    H().RunUntil(H().TickCount() + 400);
  }
  void WritePanic(const std::vector<uint8_t>& bytes) {
    std::ofstream out(game.Dir() / "panic.bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  GameFixture game;
};

TEST_F(Panic, ThePictureShowsUncroppedOrBlackAndTheClickPutsTheGameBack) {
  Start();
  const Bitmap before = H().Window();
  const struct {
    const char* what;
    std::vector<uint8_t> file;  // empty: no file
    int w, h;                   // the picture's part of the screen
  } cases[] = {
      {"missing", {}, 0, 0},
      {"damaged", {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, 0, 0},
      {"640 x 480", Bmp(640, 480), 640, 480},
      {"800 x 600", Bmp(800, 600), 800, 600},
      {"1000 x 700", Bmp(1000, 700), 800, 600},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(game.Dir() / "panic.bmp");
    if (!c.file.empty()) WritePanic(c.file);
    Play("10 click 300 200 right\n");
    ASSERT_TRUE(E().PanicShown()) << c.what;
    for (const Point p : {Point{0, 0}, Point{639, 479}, Point{640, 100}, Point{100, 480}, Point{799, 599}}) {
      const bool inside = p.x < c.w && p.y < c.h;
      const Bgr want = inside ? Bgr{p.x & 0xFF, p.y & 0xFF, 99} : Bgr{0, 0, 0};
      EXPECT_EQ(Px(H().Window(), p.x, p.y), want) << c.what << " at " << p.x << "," << p.y;
    }
    Play("10 click 300 200\n");
    EXPECT_FALSE(E().PanicShown()) << c.what;
    EXPECT_TRUE(std::equal(before.pixels.begin(), before.pixels.end(), H().Window().pixels.begin())) << c.what;
  }
  // A file over 64 MiB is not read at all.
  std::filesystem::resize_file(game.Dir() / "panic.bmp", (uint64_t{64} << 20) + 1);
  Play("10 click 300 200 right\n");
  EXPECT_EQ(Px(H().Window(), 10, 10), (Bgr{0, 0, 0}));
  Play("10 click 300 200\n");
  EXPECT_FALSE(E().ctl.blockingScene);
  EXPECT_FALSE(E().ctl.menuLock);
}

TEST_F(Panic, TheMusicPlaysOnUnheardAndTheClickDoesNothingElse) {
  Start();
  RecordingSoundDevice& device = H().Sound();
  device.StartMix(8000);
  const std::string line = E().script.lineBuffer;
  Play("10 click 300 200 right\n");
  ASSERT_TRUE(E().PanicShown());
  EXPECT_NE(E().DescribeState().find("\"muted\":true"), std::string::npos);
  const size_t mutedFrom = device.Mix().size();
  device.ClearCalls();
  H().RunUntil(H().TickCount() + 300);
  const std::vector<int16_t>& mixed = device.Mix();
  const std::vector<int16_t> duringPanic(mixed.begin() + static_cast<long>(mutedFrom), mixed.end());
  ASSERT_GT(duringPanic.size(), 1000u);
  EXPECT_TRUE(std::all_of(duringPanic.begin(), duringPanic.end(), [](int16_t s) { return s == 0; }));
  // Keys do nothing but those that click: Space, "S", "V" and Tab are ignored.
  Play("10 key Space\n20 key S\n30 key V\n40 key Tab\n");
  EXPECT_TRUE(E().PanicShown());
  EXPECT_EQ(E().vars.S(26), 0);
  EXPECT_EQ(E().ctl.saveLoadScreen, 0);
  Play("10 key Enter\n");
  EXPECT_FALSE(E().PanicShown());
  EXPECT_EQ(E().script.lineBuffer, line) << "the click only ended the panic";
  const size_t heardFrom = device.Mix().size();
  H().RunUntil(H().TickCount() + 300);
  const std::vector<int16_t>& mixedAfter = device.Mix();
  const std::vector<int16_t> after(mixedAfter.begin() + static_cast<long>(heardFrom), mixedAfter.end());
  EXPECT_TRUE(std::any_of(after.begin(), after.end(), [](int16_t s) { return s != 0; }));
  // The music was never started again: it went on where it was.
  for (const SoundCall& c : device.Calls()) {
    EXPECT_NE(c.op, SoundOp::Create) << "slot " << c.slot;
    EXPECT_NE(c.op, SoundOp::SetPosition) << "slot " << c.slot;
  }
  EXPECT_NE(E().DescribeState().find("\"muted\":false"), std::string::npos);
  Play("10 key X\n");
  EXPECT_TRUE(E().PanicShown()) << "X is a right click, which shows the panic screen";
  Play("10 key X\n");
  EXPECT_FALSE(E().PanicShown()) << "and one that ends it";
}

TEST_F(Panic, TheCloseButtonEndsThePanicBeforeAskingTheQuitQuestion) {
  Start();
  const Bitmap before = H().Window();
  E().ctl.blockingScene = false;
  Play("10 click 300 200 right\n");
  ASSERT_TRUE(E().PanicShown());
  bool panicDuringQuestion = true;
  Bitmap behindQuestion;
  H().onMessage = [&](const HeadlessHost::Message&) {
    panicDuringQuestion = E().PanicShown();
    behindQuestion = H().Window();
  };
  Play("5 answer cancel\n10 close\n");
  EXPECT_FALSE(panicDuringQuestion);
  EXPECT_TRUE(std::equal(before.pixels.begin(), before.pixels.end(), behindQuestion.pixels.begin()));
  EXPECT_FALSE(H().Closed());
  EXPECT_FALSE(E().ctl.blockingScene);
}

}  // namespace
}  // namespace torvel
