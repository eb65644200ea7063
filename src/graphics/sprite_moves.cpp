// `sprmv`: sprites glide from their layout positions to new ones, each in its own number of
// steps on a 30 ms clock; `sprmv INIT` puts the layout back as it was at start-up.
#include <algorithm>
#include <climits>
#include <string>

#include "graphics/argument_fields.h"
#include "graphics/effect_support.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kMovePeriodMs = 30;
constexpr int kFieldsPerSprite = 4;

struct SpriteMove {
  int centreVar = -1;
  int topVar = -1;
  int64_t startX = 0, startY = 0;
  int64_t targetX = 0, targetY = 0;
  int64_t steps = 0;
};

int Saturated(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

void TForm1::ResetSpriteLayout() { SetInitialSpriteLayout(vars); }

int TForm1::CmdSprmv(std::string_view arg) {
  const ArgumentFields f = SplitArguments(arg);
  if (f.count == 1 && SjisUpper(f.field[0].text) == "INIT") {
    ResetSpriteLayout();
    return 1;
  }
  // Only the four layouts have positions to move; other counts would write past S099.
  if (f.count == 0 || f.count % kFieldsPerSprite != 0 || f.count / kFieldsPerSprite > kMaxDrawnSprites) return 1;
  const int n = f.count / kFieldsPerSprite;
  CloseWindow();

  std::string names;
  std::vector<SpriteMove> moves(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const ArgumentField* g = &f.field[static_cast<size_t>(i * kFieldsPerSprite)];
    if (i > 0) names += ",";
    names += g[0].text;
    SpriteMove& m = moves[static_cast<size_t>(i)];
    m.centreVar = SpriteCentreVar(n, i);
    m.topVar = SpriteTopVar(n, i);
    m.startX = vars.S(m.centreVar);
    m.startY = vars.S(m.topVar);
    m.targetX = g[1].value;
    m.targetY = g[2].value;
    m.steps = g[3].value;
  }
  SetSprites(names);

  // One pass puts every sprite where it stands after `s` steps; true while one is still on its way.
  auto place = [&](int64_t s) {
    bool moving = false;
    for (const SpriteMove& m : moves) {
      if (m.steps <= 0) continue;
      int64_t x = m.targetX, y = m.targetY;
      if (s < m.steps) {
        x = m.startX + (m.targetX - m.startX) * s / m.steps;
        y = m.startY + (m.targetY - m.startY) * s / m.steps;
        moving = true;
      }
      vars.S(m.centreVar) = Saturated(x);
      vars.S(m.topVar) = Saturated(y);
    }
    return moving;
  };
  const Rect all{0, 0, kScreenWidth, kScreenHeight};
  {
    BlockingEffect blocking(ctl);
    StartFrameClock();
    for (int64_t s = 0;;) {
      const bool moving = place(s);
      ComposeScene();
      host.Present(layers.scene, all);
      if (!moving) break;
      s += PaceFrame(kMovePeriodMs);
      if (blocking.Cut()) {
        // Cut short: every sprite at its target at once.
        place(INT64_MAX);
        ComposeScene();
        host.Present(layers.scene, all);
        vars.S(kVarEffectCut) = 1;
        break;
      }
    }
  }
  ComposeScreen();
  host.Present(layers.screen, all);
  return 1;
}

}  // namespace torvel
