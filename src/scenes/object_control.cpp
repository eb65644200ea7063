// `obj_`: loading objects into slots, drawing them onto the window or into the screen buffer at a
// steady pace, and the off-screen buffer that shows several objects at once.
#include "scenes/object_control.h"

#include <algorithm>
#include <array>

#include "graphics/kernels.h"
#include "graphics/region_copy.h"
#include "script/expressions.h"
#include "shell/engine.h"

namespace torvel {

namespace {

struct SubCommand {
  std::string_view word;
  ObjectCommand command;
};

// Order matters: "b_set " must not be taken for "set ", so the table is tried as written.
constexpr std::array<SubCommand, 10> kSubCommands = {{
    {"load ", ObjectCommand::Load},
    {"del ", ObjectCommand::Del},
    {"set ", ObjectCommand::Set},
    {"era ", ObjectCommand::Era},
    {"b_make", ObjectCommand::BMake},
    {"b_end", ObjectCommand::BEnd},
    {"b_reset", ObjectCommand::BReset},
    {"b_set ", ObjectCommand::BSet},
    {"b_show", ObjectCommand::BShow},
    {"fix", ObjectCommand::Fix},
}};

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

}  // namespace

ObjectLine MatchObjectCommand(std::string_view argument) {
  for (const SubCommand& sub : kSubCommands) {
    if (argument.size() < sub.word.size()) continue;
    bool same = true;
    for (size_t i = 0; i < sub.word.size() && same; ++i) same = Lower(argument[i]) == sub.word[i];
    if (same) return ObjectLine{sub.command, TrimBlanks(argument.substr(sub.word.size()))};
  }
  return ObjectLine{};
}

std::vector<std::string_view> SplitObjectFields(std::string_view text) {
  std::vector<std::string_view> fields;
  text = TrimBlanks(text);
  if (text.empty()) return fields;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string_view piece =
        TrimBlanks(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    // Inside a piece, blanks separate fields too.
    size_t i = 0;
    bool any = false;
    while (i < piece.size()) {
      while (i < piece.size() && IsBlank(piece[i])) ++i;
      const size_t from = i;
      while (i < piece.size() && !IsBlank(piece[i])) ++i;
      if (i > from) {
        fields.push_back(piece.substr(from, i - from));
        any = true;
      }
    }
    if (!any) fields.push_back(std::string_view());
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

void TForm1::ResetObjects() { objects = ObjectState{}; }

int TForm1::CmdObj(std::string_view arg) {
  const ObjectLine line = MatchObjectCommand(arg);
  const std::vector<std::string_view> fields = SplitObjectFields(line.rest);
  auto number = [&](size_t i) { return i < fields.size() ? Evaluate(fields[i], vars, random) : 0; };
  ObjectState& o = objects;
  switch (line.command) {
    case ObjectCommand::Load: {
      const int n = number(0);
      if (n < 0 || n >= kObjectSlots) break;
      ObjectSlot& slot = o.slot[static_cast<size_t>(n)];
      if (!slot.inUse) {
        slot = ObjectSlot{};
        slot.inUse = true;
      }
      // A picture that cannot be loaded leaves the slot's picture as it was.
      if (fields.size() > 1 && LoadImage(fields[1], slot.picture)) slot.name = std::string(fields[1]);
      slot.work.Resize(slot.picture.width, slot.picture.height / 2);
      break;
    }
    case ObjectCommand::Del: {
      const int n = number(0);
      if (n >= 0 && n < kObjectSlots) o.slot[static_cast<size_t>(n)] = ObjectSlot{};
      break;
    }
    case ObjectCommand::Set:
    case ObjectCommand::Fix:
    case ObjectCommand::Era: {
      o.mark = host.TickCount();
      const int n = number(0);
      const int x = number(1);
      const int y = number(2);
      const int t = number(3);
      if (line.command == ObjectCommand::Era) {
        EraseObject(n, x, y);
      } else {
        ShowObject(n, x, y, line.command == ObjectCommand::Fix);
      }
      WaitObjectFrame(t);
      break;
    }
    case ObjectCommand::BMake:
      if (o.bufferExists) break;
      if (!line.rest.empty()) {
        Bitmap picture;
        if (LoadImage(fields.empty() ? line.rest : fields[0], picture)) {
          CopyRegion(picture, 0, 0, layers.screen, 0, 0, picture.width, picture.height);
        }
      }
      o.buffer.Resize(kScreenWidth, kScreenHeight);
      o.bufferExists = true;
      o.mark = host.TickCount();
      break;
    case ObjectCommand::BEnd:
      if (!o.bufferExists) break;
      CopyRegion(o.buffer, 0, 0, layers.screen, 0, 0, kScreenWidth, kScreenHeight);
      o.buffer = Bitmap();
      o.bufferExists = false;
      break;
    case ObjectCommand::BReset:
      if (!o.bufferExists) break;
      o.mark = host.TickCount();
      CopyRegion(layers.screen, 0, 0, o.buffer, 0, 0, kScreenWidth, kScreenHeight);
      break;
    case ObjectCommand::BSet: {
      if (!o.bufferExists) break;
      Rect r;
      const int n = number(0);
      const int x = number(1);
      const int y = number(2);
      if (BlendObject(n, x, y, o.buffer, r)) {
        const ObjectSlot& slot = o.slot[static_cast<size_t>(n)];
        CopyRegion(slot.work, r.left - x, r.top - y, o.buffer, r.left, r.top, r.Width(), r.Height());
      }
      break;
    }
    case ObjectCommand::BShow:
      if (!o.bufferExists) break;
      host.Present(o.buffer, kWholeScreen);
      // A frame time counts from the mark `obj_b_reset` took, so a frame built in the buffer is
      // shown at the same pace as single objects.
      WaitObjectFrame(number(0));
      break;
    case ObjectCommand::None: break;
  }
  return 0;
}

bool TForm1::BlendObject(int n, int x, int y, const Bitmap& background, Rect& drawn) {
  drawn = Rect{};
  if (n < 0 || n >= kObjectSlots) return false;
  ObjectSlot& slot = objects.slot[static_cast<size_t>(n)];
  const int w = slot.picture.width;
  const int h = slot.picture.height / 2;
  if (!slot.inUse || w <= 0 || h <= 0) return false;
  if (slot.work.width != w || slot.work.height != h) slot.work.Resize(w, h);
  const long long left = std::max<long long>(x, 0);
  const long long top = std::max<long long>(y, 0);
  const long long right = std::min<long long>({static_cast<long long>(x) + w, background.width, kScreenWidth});
  const long long bottom = std::min<long long>({static_cast<long long>(y) + h, background.height, kScreenHeight});
  if (right <= left || bottom <= top) return false;
  const int pixels = static_cast<int>(right - left);
  const int column = static_cast<int>(left - x);
  for (long long row = top; row < bottom; ++row) {
    const int j = static_cast<int>(row - y);
    BlendRowsMaskedPixels(background.At(static_cast<int>(left), static_cast<int>(row)), slot.picture.At(column, j),
                          pixels, slot.picture.At(column, j + h), slot.work.At(column, j));
  }
  drawn = Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)};
  return true;
}

void TForm1::ShowObject(int n, int x, int y, bool intoScreen) {
  Rect r;
  if (!BlendObject(n, x, y, layers.screen, r)) return;
  const Bitmap& work = objects.slot[static_cast<size_t>(n)].work;
  if (intoScreen) {
    CopyRegion(work, r.left - x, r.top - y, layers.screen, r.left, r.top, r.Width(), r.Height());
    host.Present(layers.screen, r);
    return;
  }
  // The window alone shows the object; the screen buffer keeps the clean background under it.
  Bitmap& shown = objects.shown;
  if (shown.width != kScreenWidth || shown.height != kScreenHeight) shown.Resize(kScreenWidth, kScreenHeight);
  CopyRegion(work, r.left - x, r.top - y, shown, r.left, r.top, r.Width(), r.Height());
  host.Present(shown, r);
}

void TForm1::EraseObject(int n, int x, int y) {
  if (n < 0 || n >= kObjectSlots) return;
  const ObjectSlot& slot = objects.slot[static_cast<size_t>(n)];
  if (!slot.inUse) return;
  const long long left = std::max<long long>(x, 0);
  const long long top = std::max<long long>(y, 0);
  const long long right = std::min<long long>(static_cast<long long>(x) + slot.picture.width, kScreenWidth);
  const long long bottom = std::min<long long>(static_cast<long long>(y) + slot.picture.height / 2, kScreenHeight);
  if (right <= left || bottom <= top) return;
  host.Present(layers.screen,
               Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)});
}

void TForm1::WaitObjectFrame(int frameMs) {
  // A negative time ends before the mark: already past.
  if (frameMs <= 0) return;
  const uint32_t deadline = objects.mark + static_cast<uint32_t>(std::min(frameMs, kObjectMaxFrameMs));
  if (static_cast<int32_t>(deadline - host.TickCount()) <= 0) return;
  // The wait is a blocking loop: input only reaches the window, the timer's script work waits,
  // and a close asked meanwhile ends the wait and is answered once the step is over.
  const bool blocking = ctl.blockingScene;
  ctl.blockingScene = true;
  while (!ctl.closePending) {
    const int32_t left = static_cast<int32_t>(deadline - host.TickCount());
    if (left <= 0) break;
    WaitUntil(host.TickCount() + static_cast<uint32_t>(std::min(left, kObjectPumpMs)));
  }
  ctl.blockingScene = blocking;
}

}  // namespace torvel
