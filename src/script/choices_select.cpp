// `select`: collecting the choice list from the block after the command and drawing it.
#include <algorithm>

#include "graphics/kernels.h"
#include "script/expressions.h"
#include "script/scenario_lines.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarDisplayModeFull = 160;
constexpr int kChoiceModeWindow = 1;
constexpr int kChoiceModeFullScreen = 2;
constexpr int kCentreX = kScreenWidth / 2;
// Without its bar picture a list is still drawn and answered, with bars of this width.
constexpr int kFallbackBarWidth = 480;

// Splits a bar picture that holds the bar above its mask.
struct BarPicture {
  Bitmap colour;
  Bitmap mask;
  int width = 0;
  int height = 0;  // the height of the whole picture, bar and mask
};

BarPicture SplitStacked(const Bitmap& stacked) {
  BarPicture bar;
  bar.width = stacked.width;
  bar.height = stacked.height;
  const int half = stacked.height / 2;
  bar.colour.Resize(stacked.width, half);
  bar.mask.Resize(stacked.width, half);
  for (int y = 0; y < half; ++y) {
    std::copy_n(stacked.Row(y), static_cast<size_t>(stacked.width) * 3, bar.colour.Row(y));
    std::copy_n(stacked.Row(half + y), static_cast<size_t>(stacked.width) * 3, bar.mask.Row(y));
  }
  return bar;
}

}  // namespace

int TForm1::CmdSelect(std::string_view arg) {
  Select(arg.empty() ? 0 : Evaluate(arg, vars, random));
  return ctl.choiceMode != 0 ? 1 : 0;
}

void TForm1::Select(int preset) {
  if (preset == 0) StopSkipAndAuto(false);
  script.needLine = true;
  PlayVoiceLine("SSE02");
  ctl.blockingScene = true;
  const bool fullScreen = vars.S(kVarDisplayModeFull) == 1;
  ctl.choiceMode = fullScreen ? kChoiceModeFullScreen : kChoiceModeWindow;

  Bitmap wide;
  if (fullScreen && (!LoadImage("sys_sww", wide) || wide.Empty())) {
    wide.Resize(kFallbackBarWidth, 2 * std::max(config.TX2_PITCH_Y, 1));
  }
  const std::vector<uint8_t>& buf = script.scenario;
  const int size = script.scenarioSize;
  int count = 0;
  int row = text.cursorRow;
  int pos = script.pc;
  while (count < kMaxChoices) {
    const int open = NextLineStarting(script, pos, '{');
    const int close = NextLineStarting(script, pos, '}');
    if (open < 0 || (close >= 0 && close < open)) break;
    std::string choiceText;
    bool shown = true;
    int target = -1;
    int i = open + 1;
    while (i < size && buf[static_cast<size_t>(i)] != 0) {
      const uint8_t b = buf[static_cast<size_t>(i)];
      if (b == '(') {
        int end = i;
        while (end < size && buf[static_cast<size_t>(end)] != 0 && buf[static_cast<size_t>(end)] != ')') ++end;
        const bool closed = end < size && buf[static_cast<size_t>(end)] == ')';
        const std::string_view condition(reinterpret_cast<const char*>(buf.data()) + i,
                                         static_cast<size_t>(end - i + (closed ? 1 : 0)));
        if (!Condition(condition, vars, random)) {
          shown = false;
          break;
        }
        i = closed ? end + 1 : end;
        continue;
      }
      if (b == '$') {
        const uint8_t d = i + 1 < size ? buf[static_cast<size_t>(i + 1)] : 0;
        const int slot = d >= '0' && d <= '9' ? d - '0' : 0;
        choiceText = text.nameSlots[static_cast<size_t>(slot)].substr(0, kChoiceTextMax - 1);
        target = i + 2;
        break;
      }
      if (choiceText.size() < kChoiceTextMax) choiceText.push_back(static_cast<char>(b));
      ++i;
    }
    // The next search starts on the line after this choice line.
    int lineEnd = open;
    while (lineEnd < size && buf[static_cast<size_t>(lineEnd)] != 0) ++lineEnd;
    pos = lineEnd + 1;
    if (!shown) continue;
    const size_t k = static_cast<size_t>(count);
    choices.choiceText[k] = std::move(choiceText);
    choices.choiceTarget[k] = target >= 0 ? std::min(target, size) : std::min(pos, size);
    if (fullScreen) {
      const int x = (kScreenWidth - wide.width) / 2;
      const int y = row * config.TX2_PITCH_Y + config.TX2_OFS_Y;
      choices.choiceRect[k] = Rect{x, y, x + wide.width, y + wide.height / 2};
      ++row;
    }
    ++count;
  }
  choices.choiceCount = count;

  // An empty list has nothing to answer: the story goes on after the command.
  if (count == 0) {
    ctl.choiceMode = 0;
    ctl.blockingScene = false;
    return;
  }
  // A preset outside the list is ignored: the player chooses.
  if (preset >= 1 && preset <= count) {
    choices.hoveredChoice = preset;
    ctl.choiceMode = 0;
    ctl.blockingScene = false;
    JumpIntoChoice();
    return;
  }

  layers.previous = layers.screen;
  DrawChoiceList();

  if (ctl.choiceMode == kChoiceModeWindow && vars.S(kVarRecordMode) == 2) {
    const int position = vars.S(kVarRecordPosition);
    const int recorded = std::min(vars.S(kVarRecordCount), kChoiceRecordSize);
    if (position >= 0 && position < recorded) {
      const int choice = choices.choiceRecord[static_cast<size_t>(position)];
      vars.S(kVarRecordPosition) = position + 1;
      if (position + 1 >= recorded) {
        vars.S(kVarRecordMode) = 1;
        vars.S(kVarRecordCount) = position + 1;
      }
      if (choice >= 1 && choice <= count) {
        choices.hoveredChoice = choice;
        ctl.blockingScene = false;
        ChooseListed(true);
        return;
      }
    } else {
      // A replay position beyond the record ends the replay; recording goes on from the record's end.
      vars.S(kVarRecordMode) = 1;
      vars.S(kVarRecordCount) = std::clamp(vars.S(kVarRecordCount), 0, kChoiceRecordSize);
    }
  }
  choices.hoveredChoice = -1;
  HoverChoice(input.lastMouseX, input.lastMouseY);
  ctl.blockingScene = false;
}

void TForm1::DrawChoiceList() {
  const bool window = ctl.choiceMode == kChoiceModeWindow;
  const int count = choices.choiceCount;
  layers.alternate = layers.screen;
  size_t longest = 0;
  for (int i = 0; i < count; ++i) longest = std::max(longest, choices.choiceText[static_cast<size_t>(i)].size());
  const bool narrow = window && static_cast<long long>(longest) < 2LL * config.SELECT_EXPAND;
  Bitmap normalPicture;
  Bitmap highlightPicture;
  LoadImage(narrow ? "sys_sw" : "sys_sww", normalPicture);
  LoadImage(narrow ? "sys_sw2" : "sys_sww2", highlightPicture);
  const BarPicture normal = SplitStacked(normalPicture);
  const BarPicture highlight = SplitStacked(highlightPicture);
  const int textOffset = normal.height / 4 - config.FONT_SIZE / 2 - config.SELECT_TXT_OY;

  if (window) {
    choices.listTop = config.SELECT_Y_POS - (config.SELECT_Y_PITCH / 2) * count;
    choices.barWidth = normal.width > 0 ? normal.width : kFallbackBarWidth;
    choices.barHeight = normal.height > 0 ? normal.height / 2 : config.SELECT_Y_PITCH;
    choices.barX = (kScreenWidth - choices.barWidth) / 2;
  }
  for (int i = 0; i < count; ++i) {
    const size_t k = static_cast<size_t>(i);
    const int x = window ? choices.barX : choices.choiceRect[k].left;
    const int y = window ? choices.listTop + i * config.SELECT_Y_PITCH : choices.choiceRect[k].top;
    DrawMasked(layers.screen, normal.colour, x, y, normal.mask);
    DrawMasked(layers.alternate, highlight.colour, x, y, highlight.mask);
    DrawStringCentred(choices.choiceText[k], kCentreX, layers.screen, 0, y + textOffset);
    DrawStringCentred(choices.choiceText[k], kCentreX, layers.alternate, 2, y + textOffset);
  }
  SetTextColour(0);
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
}

}  // namespace torvel
