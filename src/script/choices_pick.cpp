// The choice list on screen: hover, click, the blink of the chosen bar and the jump into its body.
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr int kChoiceModeWindow = 1;
constexpr int kChoiceModeFullScreen = 2;
constexpr int kChoiceModeClickMap = 4;
constexpr int kChoiceModeTree = 6;
constexpr int kVarPartsMaskedFlag = 15;
constexpr int kVarBackPosition = 10;
constexpr int kChoiceSoundFlagSlot = 7;
constexpr int kChoiceSoundSlot = 8;
constexpr int kBlinkPasses = 4;
constexpr int kReplayBlinkPasses = 14;
constexpr int kBlinkPeriodMs = 100;
constexpr int kCentreX = kScreenWidth / 2;

bool StrictlyInside(const Rect& r, int x, int y) { return x > r.left && x < r.right && y > r.top && y < r.bottom; }
}  // namespace

Rect TForm1::ChoiceBarRect(int index) const {
  if (ctl.choiceMode == kChoiceModeFullScreen) return choices.choiceRect[static_cast<size_t>(index)];
  const int top = choices.listTop + index * config.SELECT_Y_PITCH;
  return Rect{choices.barX, top, choices.barX + choices.barWidth, top + choices.barHeight};
}

void TForm1::ShowChoiceBar(int index, bool highlighted) {
  host.Present(highlighted ? layers.alternate : layers.screen, ChoiceBarRect(index));
}

void TForm1::HoverChoice(int x, int y) {
  int result = 0;
  const int count = choices.choiceCount;
  if (ctl.choiceMode == kChoiceModeWindow) {
    const long long pitch = config.SELECT_Y_PITCH;
    const int half = choices.barWidth / 2;
    if (pitch > 0 && x > kCentreX - half && x < kCentreX + half && y > choices.listTop &&
        y < choices.listTop + pitch * count) {
      result = static_cast<int>((y - choices.listTop) / pitch) + 1;
    }
  } else if (ctl.choiceMode == kChoiceModeFullScreen) {
    for (int i = 0; i < count; ++i) {
      if (StrictlyInside(choices.choiceRect[static_cast<size_t>(i)], x, y)) {
        result = i + 1;
        break;
      }
    }
  } else {
    return;
  }
  if (result == choices.hoveredChoice) return;
  for (int i = 0; i < count; ++i) ShowChoiceBar(i, i + 1 == result);
  choices.hoveredChoice = result;
}

void TForm1::PlayChoiceSound() {
  if (!text.nameSlots[kChoiceSoundFlagSlot].empty()) {
    PlayVoiceLine(text.nameSlots[kChoiceSoundSlot]);
  } else {
    PlayVoiceLine("SSE01");
  }
}

void TForm1::ClickChoice() {
  // The click map sounds only when the click chooses; the tree sounds on every click.
  if (ctl.choiceMode == kChoiceModeClickMap) {
    if (!ClickMapReady()) return;
    PlayChoiceSound();
    ClickMapClick();
    return;
  }
  if (ctl.choiceMode == kChoiceModeTree) {
    PlayChoiceSound();
    SelectionTreeClick();
    return;
  }
  if (ctl.choiceMode != kChoiceModeWindow && ctl.choiceMode != kChoiceModeFullScreen) return;
  ChooseListed(false);
}

void TForm1::ChooseListed(bool replaying) {
  const int chosen = choices.hoveredChoice;
  if (chosen < 1 || chosen > choices.choiceCount) return;
  PlayChoiceSound();
  // A replayed choice is already in the record; recording stops when the record is full.
  const int recorded = vars.S(kVarRecordCount);
  if (!replaying && vars.S(kVarRecordMode) == 1 && recorded >= 0 && recorded < kChoiceRecordSize) {
    choices.choiceRecord[static_cast<size_t>(recorded)] = static_cast<uint8_t>(chosen);
    vars.S(kVarRecordCount) = recorded + 1;
  }
  if (ctl.choiceMode == kChoiceModeWindow) {
    BlinkChoice(chosen - 1, replaying ? kReplayBlinkPasses : kBlinkPasses);
    vars.S(kVarPartsMaskedFlag) = 0;
    ctl.choiceMode = 0;
    layers.screen = layers.previous;
    host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
    if (text.windowShown) NewPage();
    JumpIntoChoice();
  } else {
    vars.S(kVarPartsMaskedFlag) = 0;
    NewPage();
    JumpIntoChoice();
    ctl.choiceMode = 0;
  }
}

void TForm1::BlinkChoice(int index, int passes) {
  ctl.blockingScene = true;
  StartFrameClock();
  for (int pass = 1; pass <= passes; ++pass) {
    ShowChoiceBar(index, pass % 2 == 1);
    PaceFrame(kBlinkPeriodMs);
  }
  ctl.blockingScene = false;
}

void TForm1::JumpIntoChoice() {
  const int chosen = choices.hoveredChoice;
  if (chosen < 1 || chosen > choices.choiceCount) return;
  script.pc = choices.choiceTarget[static_cast<size_t>(chosen - 1)];
  vars.S(kVarBackPosition) = 0;
  script.needLine = true;
}

}  // namespace torvel
