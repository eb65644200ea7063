// Reading the arguments of `anim` and `efxanim`.
#include "graphics/animation_arguments.h"

#include <cstdio>

#include "graphics/effect_support.h"
#include "graphics/picture_arguments.h"
#include "resources/sjis.h"

namespace torvel {

namespace {

constexpr int kDefaultPeriodMs = 50;
constexpr size_t kLastFrameIndex = 99;

bool IsSeparator(char c) { return c == ',' || c == ' '; }

}  // namespace

AnimArguments ParseAnimArguments(std::string_view arg) {
  AnimArguments out;
  size_t end = 0;
  while (end < arg.size() && !IsSeparator(arg[end])) ++end;
  out.name = std::string(SjisCut(arg.substr(0, end), kAnimationNameMax));
  std::string_view rest = end < arg.size() ? arg.substr(end + 1) : std::string_view();
  auto next = [&rest] {
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    size_t n = 0;
    while (n < rest.size() && !IsSeparator(rest[n])) ++n;
    std::string_view field = rest.substr(0, n);
    rest = n < rest.size() ? rest.substr(n + 1) : std::string_view();
    return field;
  };
  out.x = ReadNumber(next());
  out.y = ReadNumber(next());
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
  out.cut = rest;
  return out;
}

EffectAnimationArguments ParseEffectAnimationArguments(std::string_view arg) {
  EffectAnimationArguments out;
  const std::vector<std::string_view> f = SplitEffectFields(arg);
  out.name = std::string(SjisCut(f[0], kAnimationNameMax));
  out.periodMs = f.size() > 1 && !f[1].empty() ? ReadNumber(f[1]) : kDefaultPeriodMs;
  if (f.size() > 2) {
    for (size_t i = 2; i < f.size() && !f[i].empty() && out.frames.size() <= kLastFrameIndex; ++i) {
      out.frames.push_back(ReadNumber(f[i]));
    }
  } else {
    for (size_t i = 0; i <= kLastFrameIndex; ++i) out.frames.push_back(static_cast<int>(i));
  }
  return out;
}

std::string EffectAnimationFrameName(std::string_view name, int frame) {
  char number[16];
  std::snprintf(number, sizeof number, "_%03d", frame);
  return std::string(name) + number;
}

}  // namespace torvel
