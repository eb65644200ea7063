#pragma once
// The arguments of the animation commands: `anim` (NAME, x, y, cut-short expression) and
// `efxanim` (NAME, period, frame numbers), and the picture names of an effect animation's frames.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace torvel {

constexpr size_t kAnimationNameMax = 63;

struct AnimArguments {
  std::string name;
  int x = 0;
  int y = 0;
  std::string_view cut;
};

// NAME, x, y and the cut-short expression, separated by a comma or a blank.
AnimArguments ParseAnimArguments(std::string_view arg);

struct EffectAnimationArguments {
  std::string name;
  int periodMs = 0;
  std::vector<int> frames;  // the frame numbers in playing order
};

// NAME[,PERIOD[,FRAME...]]: without frame numbers the frames run 0, 1, 2 ... to the last index
// (the series ends at the first missing picture).
EffectAnimationArguments ParseEffectAnimationArguments(std::string_view arg);

// The picture of frame `frame` of effect animation `name`: "NAME_007".
std::string EffectAnimationFrameName(std::string_view name, int frame);

}  // namespace torvel
