// The click map on screen: reading the map and its option block, the hovered look, the pointer
// shapes of colour regions, the confirmation and the timeout.
#include <algorithm>
#include <limits>

#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "scenes/click_map.h"
#include "script/command_table.h"
#include "script/expressions.h"
#include "script/scenario_lines.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kChoiceModeClickMap = 4;
constexpr int kVarBackPosition = 10;
constexpr int kVarFullScreenText = 160;
constexpr int kHoverSoundFlagSlot = 6;
constexpr int kHoverSoundSlot = 7;

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool StrictlyInside(const Rect& r, int x, int y) { return x > r.left && x < r.right && y > r.top && y < r.bottom; }

bool HasLook(const ClickRegion& r) { return r.kind == ClickRegion::Kind::Shown || r.kind == ClickRegion::Kind::Placed; }

int SaturatedTicks(int units) {
  if (units <= 0) return 0;
  if (units > std::numeric_limits<int>::max() / kClickMapTicksPerUnit) return std::numeric_limits<int>::max();
  return units * kClickMapTicksPerUnit;
}

}  // namespace

int TForm1::CmdClickmap(std::string_view arg) {
  StopSkipAndAuto(false);
  const std::string_view name = SjisCut(TrimBlanks(arg), kClickMapNameMax);
  if (!LoadScript("map", 2)) script.auxSize = 0;
  return ShowClickMap(std::span<const uint8_t>(script.aux.data(), static_cast<size_t>(script.auxSize)), name);
}

int TForm1::ShowClickMap(std::span<const uint8_t> table, std::string_view name) {
  EndClickMap();
  ClickMapState& m = clickMap;
  ClickMapTable map;
  const bool found = FindClickMap(table, name, map);

  // The option block: option i belongs to region i. Options past the 31st are read to the end of
  // the block but have no region to belong to.
  const std::vector<uint8_t>& buf = script.scenario;
  const int size = script.scenarioSize;
  int pos = script.pc;
  int index = 0;
  int timeoutTicks = 0;
  int timeoutOption = 0;
  int blockEnd = size;
  for (;;) {
    const int open = NextLineStarting(script, pos, '{');
    const int close = NextLineStarting(script, pos, '}');
    if (open < 0 || (close >= 0 && close < open)) {
      blockEnd = close >= 0 ? close : size;
      break;
    }
    const int after = LineAfter(script, open);
    pos = after;
    ++index;
    const bool stored = index <= kClickMapSlots;
    ClickRegion* option = stored ? &map.regions[static_cast<size_t>(index)] : nullptr;
    int i = open + 1;
    auto at = [&](int k) -> uint8_t { return k < size ? buf[static_cast<size_t>(k)] : 0; };
    if (at(i) == '(') {
      int end = i;
      while (at(end) != 0 && at(end) != ')') ++end;
      const bool closed = at(end) == ')';
      const std::string_view condition(reinterpret_cast<const char*>(buf.data()) + i,
                                       static_cast<size_t>(end - i + (closed ? 1 : 0)));
      if (!Condition(condition, vars, random)) {
        if (option) option->enabled = false;
        continue;
      }
      i = closed ? end + 1 : end;
    }
    if (at(i) == '@') {
      int end = i + 1;
      while (at(end) != 0) ++end;
      const int units = ReadInteger(
          std::string_view(reinterpret_cast<const char*>(buf.data()) + i + 1, static_cast<size_t>(end - i - 1)));
      if (!option) continue;
      option->enabled = false;
      option->branch = after;
      timeoutTicks = SaturatedTicks(units);
      timeoutOption = timeoutTicks > 0 ? index : 0;
      continue;
    }
    int end = i;
    while (at(end) != 0) ++end;
    if (!option) continue;
    const std::string_view text =
        SjisCut(std::string_view(reinterpret_cast<const char*>(buf.data()) + i, static_cast<size_t>(end - i)),
                kClickMapNameMax);
    // The text names the region; its kind stays what the table's name made it.
    if (!text.empty()) option->name = std::string(text);
    option->branch = after;
  }

  // Without a region, or without any option, nothing could ever be chosen: the story goes on
  // after the block.
  if (!found || map.regionCount == 0 || index == 0) {
    // With no option line there is no block to pass over: a "}" further on closes something else.
    if (index > 0) script.pc = blockEnd;
    script.needLine = true;
    return 0;
  }
  m.active = true;
  m.map = std::move(map);
  m.selected = 0;
  m.timeoutTicks = timeoutTicks;
  m.timeoutOption = timeoutOption;
  m.shownCursor = 0;
  ctl.choiceMode = kChoiceModeClickMap;
  SetPointerShape(0);
  // A region already under the pointer is highlighted at once.
  ClickMapHover(input.lastMouseX, input.lastMouseY);
  return 1;
}

void TForm1::ClickMapHover(int x, int y) {
  ClickMapState& m = clickMap;
  if (ctl.choiceMode != kChoiceModeClickMap || !m.active) return;
  int hit = 0;
  for (int i = 1; i <= m.map.regionCount && hit == 0; ++i) {
    const ClickRegion& r = m.map.regions[static_cast<size_t>(i)];
    if (r.kind == ClickRegion::Kind::Colour) {
      // Colour regions answer the pointer even when their option is disabled.
      if (!ColourKeyAt(layers.parts, x, y, r.key)) continue;
      hit = i;
      if (r.cursor != m.shownCursor) {
        SetPointerShape(r.cursor + kClickMapCursorBase);
        m.shownCursor = r.cursor;
      }
    } else if (r.enabled && StrictlyInside(r.rect, x, y)) {
      hit = i;
    }
  }
  if (hit == 0 && m.shownCursor != 0) {
    SetPointerShape(0);
    m.shownCursor = 0;
  }
  if (hit == m.selected) return;

  if (m.selected != 0) {
    const ClickRegion& old = m.map.regions[static_cast<size_t>(m.selected)];
    if (HasLook(old)) host.Present(layers.screen, old.rect);
  }
  if (hit != 0) {
    const ClickRegion& r = m.map.regions[static_cast<size_t>(hit)];
    m.work = layers.screen;
    if (!text.nameSlots[kHoverSoundFlagSlot].empty()) PlaySoundByName(text.nameSlots[kHoverSoundSlot], 0);
    if (HasLook(r)) {
      CopyRegion(layers.parts, r.rect.left, r.rect.top, m.work, r.rect.left, r.rect.top, r.rect.Width(),
                 r.rect.Height());
    }
    if (r.kind == ClickRegion::Kind::Placed) {
      CopyRegion(layers.parts, r.source.left, r.source.top, m.work, r.destination.x, r.destination.y, r.source.Width(),
                 r.source.Height());
    }
    host.Present(m.work, kWholeScreen);
  } else {
    host.Present(layers.screen, kWholeScreen);
  }
  m.selected = hit;
}

bool TForm1::ClickMapReady() const {
  const ClickMapState& m = clickMap;
  if (ctl.choiceMode != kChoiceModeClickMap || !m.active) return false;
  if (m.selected < 1 || m.selected > kClickMapSlots) return false;
  const ClickRegion& r = m.map.regions[static_cast<size_t>(m.selected)];
  // A region without an option, or whose option is disabled, is not a choice.
  return r.enabled && r.branch >= 0;
}

void TForm1::ClickMapClick() {
  if (!ClickMapReady()) return;
  ClickMapState& m = clickMap;
  const ClickRegion& r = m.map.regions[static_cast<size_t>(m.selected)];
  if (vars.S(kVarPartsMasked) == 1) {
    const Rect copied = CopyRegion(layers.partsMask, r.rect.left, r.rect.top, layers.screen, r.rect.left, r.rect.top,
                                   r.rect.Width(), r.rect.Height());
    if (!copied.Empty()) host.Present(layers.screen, copied);
  } else if (vars.S(kVarFullScreenText) == 0) {
    host.Present(layers.screen, kWholeScreen);
  }
  vars.S(kVarPartsMasked) = 0;
  script.pc = std::clamp(r.branch, 0, script.scenarioSize);
  script.needLine = true;
  vars.S(kVarBackPosition) = 0;
  ctl.choiceMode = 0;
  EndClickMap();
}

void TForm1::ClickMapRightClick() { ClickChoice(); }

void TForm1::ClickMapTimeoutTick() {
  ClickMapState& m = clickMap;
  // Only a map on screen counts down: a count left behind must never fire into a later choice.
  if (ctl.choiceMode != kChoiceModeClickMap || !m.active || m.timeoutTicks <= 0 || m.timeoutOption == 0) return;
  if (--m.timeoutTicks > 0) return;
  const ClickRegion& r = m.map.regions[static_cast<size_t>(m.timeoutOption)];
  // The hovered look goes, as it does when the player chooses.
  if (m.selected != 0 && vars.S(kVarFullScreenText) == 0) host.Present(layers.screen, kWholeScreen);
  m.selected = m.timeoutOption;
  vars.S(kVarPartsMasked) = 0;
  script.pc = std::clamp(r.branch, 0, script.scenarioSize);
  script.needLine = true;
  ctl.choiceMode = 0;
  EndClickMap();
}

void TForm1::EndClickMap() {
  ClickMapState& m = clickMap;
  if (m.active && ctl.choiceMode == kChoiceModeClickMap) ctl.choiceMode = 0;
  m.active = false;
  m.map = ClickMapTable{};
  m.selected = 0;
  m.timeoutTicks = 0;
  m.timeoutOption = 0;
  m.shownCursor = 0;
  m.work = Bitmap();
  if (m.pointerShape != 0) SetPointerShape(0);
}

void TForm1::ResetSceneChoices() {
  DropSelectionTree();
  EndClickMap();
}

void TForm1::SetPointerShape(int shape) {
  clickMap.pointerShape = shape;
  host.SetPointerShape(shape);
}

}  // namespace torvel
