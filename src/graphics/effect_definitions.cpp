#include "graphics/effect_definitions.h"

#include <string>

#include "graphics/picture_arguments.h"
#include "resources/sjis.h"

namespace torvel {

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    const size_t end = line.find_first_of(",:", start);
    fields.push_back(line.substr(start, end == std::string_view::npos ? line.npos : end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

// One level digit of a colour code, as in the solid colours: 0–9 and A–F give 16 × the digit,
// G gives 255, anything else 0.
int Level(char c) {
  if (c >= '0' && c <= '9') return (c - '0') * 16;
  if (c >= 'A' && c <= 'F') return (c - 'A' + 10) * 16;
  if (c == 'G') return 255;
  return 0;
}

class StepList {
 public:
  explicit StepList(std::vector<EffectStep>& steps) : steps_(steps) {}
  bool Full() const { return steps_.size() >= static_cast<size_t>(kMaxEffectSteps); }
  void Add(const EffectStep& step) {
    if (!Full()) steps_.push_back(step);
  }

 private:
  std::vector<EffectStep>& steps_;
};

// "F" lines: pairs of code and duration while the code starts with "F". "F" alone shows the
// screen, "F" and three colour digits fills, a fourth digit tints at that opacity.
void ReadFlashes(const std::vector<std::string_view>& f, StepList& steps) {
  for (size_t i = 0; i < f.size() && !f[i].empty() && f[i][0] == 'F' && !steps.Full(); i += 2) {
    const std::string_view code = f[i];
    EffectStep step;
    step.duration = i + 1 < f.size() ? ReadNumber(f[i + 1]) : 0;
    if (code.size() > 1) {
      const Colour c = SolidColour(code);
      step.kind = code.size() > 4 ? EffectStepKind::Tint : EffectStepKind::Fill;
      step.r = c.r;
      step.g = c.g;
      step.b = c.b;
      if (code.size() > 4) step.opacity = Level(code[4]);
    }
    steps.Add(step);
  }
}

// "N" lines: durations of steps that alternate negative and normal, negative first.
void ReadNegatives(const std::vector<std::string_view>& f, StepList& steps) {
  for (size_t i = 1; i < f.size() && !f[i].empty(); ++i) {
    EffectStep step;
    step.kind = i % 2 == 1 ? EffectStepKind::Negative : EffectStepKind::Screen;
    step.duration = ReadNumber(f[i]);
    steps.Add(step);
  }
}

// "S" lines: one duration, then pairs of window offsets.
void ReadWindowMoves(const std::vector<std::string_view>& f, StepList& steps) {
  const int duration = f.size() > 1 ? ReadNumber(f[1]) : 0;
  for (size_t i = 2; i + 1 < f.size() && !f[i].empty(); i += 2) {
    EffectStep step;
    step.kind = EffectStepKind::MoveWindow;
    step.duration = duration;
    step.x = ReadNumber(f[i]);
    step.y = ReadNumber(f[i + 1]);
    steps.Add(step);
  }
}

}  // namespace

std::vector<EffectStep> ReadEffectEntry(std::span<const uint8_t> file, std::string_view upperName) {
  std::vector<EffectStep> steps;
  StepList list(steps);
  const std::string header = ":" + std::string(upperName);
  bool inside = false;
  std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\0', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string line = SjisUpper(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    if (inside) {
      if (line[0] == ':') break;
      const std::vector<std::string_view> fields = Fields(line);
      switch (line[0]) {
        case 'F': ReadFlashes(fields, list); break;
        case 'N': ReadNegatives(fields, list); break;
        case 'S': ReadWindowMoves(fields, list); break;
        default: break;
      }
      if (list.Full()) break;
    } else if (line == header) {
      inside = true;
    }
  }
  return steps;
}

}  // namespace torvel
