// Slot plate texts from their templates.
#include "screens/slot_text.h"

#include <algorithm>
#include <cstdio>

#include "resources/sjis.h"

namespace torvel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string SlotNumber(int slot) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%2d", slot);
  return buffer;
}

// Label bytes [from, to) up to the first NUL.
std::string_view LabelField(std::string_view label, size_t from, size_t to) {
  if (from >= label.size()) return {};
  std::string_view field = label.substr(from, std::min(to, label.size()) - from);
  return field.substr(0, std::min(field.find('\0'), field.size()));
}

}  // namespace

std::vector<SlotTextLine> SplitSlotTemplate(std::string_view tmpl) {
  std::vector<SlotTextLine> lines(1);
  for (size_t pos = 0; pos < tmpl.size();) {
    const size_t n = SjisCharLength(tmpl, pos);
    if (n != 1 || tmpl[pos] != '\\') {
      lines.back().text.append(tmpl.substr(pos, n));
      pos += n;
      continue;
    }
    if (lines.size() == kSlotTextLinesMax) break;
    ++pos;
    int gap = kSlotTextLineGap;
    if (pos < tmpl.size() && IsDigit(tmpl[pos])) {
      gap = tmpl[pos] - '0';
      ++pos;
      if (pos < tmpl.size() && IsDigit(tmpl[pos])) {
        gap = gap * 10 + (tmpl[pos] - '0');
        ++pos;
      }
    }
    lines.push_back(SlotTextLine{"", lines.back().offset + gap});
  }
  return lines;
}

std::string FillUsedSlotLine(std::string_view line, int slot, std::string_view label) {
  std::string out(SjisCut(line, kSlotTextLineMax));
  for (int replacements = 0; replacements < kSlotTextReplacementsMax; ++replacements) {
    const size_t at = out.find('%');
    if (at == std::string::npos) break;
    std::string inserted;
    size_t removed = 2;
    const char what = at + 1 < out.size() ? out[at + 1] : '\0';
    switch (what) {
      case '0': inserted = SlotNumber(slot); break;
      case '1': inserted = LabelField(label, 0, 10); break;
      case '2': inserted = LabelField(label, 11, 19); break;
      case '3': inserted = LabelField(label, 21, 85); break;
      default: removed = 1; break;
    }
    out.replace(at, removed, inserted);
    out = std::string(SjisCut(out, kSlotTextLineMax));
  }
  return out;
}

std::string FillEmptySlotLine(std::string_view line, int slot) {
  std::string out(SjisCut(line, kSlotTextLineMax));
  const size_t at = out.find("%0");
  if (at != std::string::npos) out.replace(at, 2, SlotNumber(slot));
  return std::string(SjisCut(out, kSlotTextLineMax));
}

}  // namespace torvel
