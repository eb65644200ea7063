// Arbitrary staff-roll scripts and title-map tables. The first byte picks what runs: a page roll
// or a slide roll played on the engine (a host whose clock ends the roll after a tenth of a second
// of its time, as a player's click or quit would), or a `mapctrl` table read for a chapter and then
// driven by hovers and clicks taken from the rest of the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/headless/headless_host.h"
#include "resources/sjis.h"
#include "scenes/map_table.h"
#include "shell/engine.h"

namespace {

// A few frames of roll time and a few dozen pointer events keep each run short.
constexpr uint32_t kRollBudgetMs = 100;
constexpr size_t kMaxMapEvents = 48;

class BoundedHost : public torvel::HeadlessHost {
 public:
  using HeadlessHost::HeadlessHost;
  void PumpMessages() override {
    HeadlessHost::PumpMessages();
    if (engine && TickCount() - start > kRollBudgetMs) engine->AbortStaffRoll();
  }
  torvel::TForm1* engine = nullptr;
  uint32_t start = 0;
};

BoundedHost& Host() {
  static BoundedHost host(std::filesystem::temp_directory_path() / "torvel-fuzz-config");
  return host;
}

torvel::TForm1& Engine() {
  static std::unique_ptr<torvel::TForm1> engine = [] {
    auto e = std::make_unique<torvel::TForm1>(Host(), torvel::EngineOptions{});
    Host().Attach(e.get());
    Host().engine = e.get();
    e->CreateScreenBuffers();
    e->settings.FontName = torvel::Utf8ToSjis("ＭＳ ゴシック");
    e->settings.FONTSIZE = 22;
    e->glyphs.SetFont(e->settings.FontName, 22, false);
    return e;
  }();
  return *engine;
}

// Areas in bands of 100 pixels, as the hit map's colour index 0..7 gives them.
torvel::Bitmap BandedHitMap() {
  torvel::Bitmap b(800, 600);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const int band = x / 100;
      uint8_t* p = b.At(x, y);
      p[0] = band & 1 ? 255 : 0;
      p[2] = band & 2 ? 255 : 0;
      p[1] = band & 4 ? 255 : 0;
    }
  }
  return b;
}

void DriveMap(torvel::TForm1& e, const uint8_t* data, size_t size, torvel::MapDestinations destinations) {
  static const torvel::Bitmap hitMap = BandedHitMap();
  torvel::TitleMap& m = e.titleMap;
  m = torvel::TitleMap{};
  m.step = 1;
  m.chapter = static_cast<int8_t>(data[1]);
  m.destinations = std::move(destinations);
  m.map.Resize(800, 600);
  m.mapLit.Resize(800, 600);
  m.hitMap = hitMap;
  m.strip.Resize(376, 40);
  e.ctl.screenMode = torvel::smTitleMap;
  const size_t end = std::min(size, 2 + 3 * kMaxMapEvents);
  for (size_t i = 2; i + 2 < end && e.ctl.screenMode == torvel::smTitleMap; i += 3) {
    const int x = data[i] * 4 - 100;
    const int y = data[i + 1] * 3 - 80;
    const uint8_t what = data[i + 2];
    e.PBMouseMove(torvel::ShiftState{}, x, y);
    if (what & 1) {
      const auto button = what & 2 ? torvel::MouseButton::Right : torvel::MouseButton::Left;
      e.PBMouseDown(button, torvel::ShiftState{}, x, y);
      e.PBMouseUp(button, torvel::ShiftState{}, x, y);
    }
    if (what & 4) e.PBPaint();
    if (what & 8) e.AppIdle();
  }
  e.CloseTitleMap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  torvel::TForm1& e = Engine();
  BoundedHost& host = Host();
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
  // Line ends as the loader leaves them: NUL bytes.
  std::string body(text);
  for (char& c : body) {
    if (c == '\n') c = '\0';
  }
  e.ctl.screenMode = torvel::smScenario;
  e.ctl.blockingScene = false;
  e.ctl.interruptibleWait = false;
  host.start = host.TickCount();
  switch (data[0] % 3) {
    case 0: e.RunPageRoll(body); break;
    case 1: e.RunSlideRoll(body); break;
    default: {
      const torvel::MapSection section = torvel::ReadMapSection(body, static_cast<int8_t>(data[1]),
                                                                [&](int flag) { return (flag + data[0]) % 3 != 0; });
      if (section.found) DriveMap(e, data, size, section.destinations);
      break;
    }
  }
  if (e.ctl.screenMode != torvel::smScenario || e.staffRoll.kind != torvel::RollKind::None) __builtin_trap();
  return 0;
}
