#include "script/backlog_text.h"

#include <algorithm>
#include <cstring>

#include "shell/engine.h"

namespace torvel {

void BacklogText::Append(std::string_view text) {
  size_t room = static_cast<size_t>(kBacklogLineMax - length_);
  size_t n = std::min(room, text.size());
  std::memcpy(Slot(lines_) + length_, text.data(), n);
  length_ += static_cast<int>(n);
  Slot(lines_)[length_] = 0;
}

void BacklogText::CloseLine() {
  Slot(lines_)[length_] = 0;
  if (lines_ < kBacklogFinishedMax) {
    ++lines_;
  } else {
    std::memmove(Slot(0), Slot(1), static_cast<size_t>(kBacklogFinishedMax) * kBacklogSlotBytes);
  }
  std::memset(Slot(lines_), 0, kBacklogSlotBytes);
  length_ = 0;
}

void BacklogText::Clear() {
  bytes_.fill(0);
  lines_ = 0;
  length_ = 0;
}

void BacklogText::Restore(std::span<const uint8_t> slots, int lines, int writePosition) {
  bytes_.fill(0);
  constexpr size_t kKept = static_cast<size_t>(kBacklogFinishedMax) * kBacklogSlotBytes;
  std::memcpy(bytes_.data(), slots.data(), std::min(slots.size(), kKept));
  lines_ = std::clamp(lines, 0, kBacklogFinishedMax);
  // Every slot ends with a NUL, as Append keeps it.
  for (int i = 0; i < kBacklogSlots; ++i) Slot(i)[kBacklogLineMax] = 0;
  const int length = static_cast<int>(Line(lines_).size());
  length_ = std::clamp(writePosition - lines_ * kBacklogSlotBytes, 0, length);
  Slot(lines_)[length_] = 0;
}

std::string_view BacklogText::Line(int index) const {
  if (index < 0 || index >= kBacklogSlots) return {};
  const char* slot = bytes_.data() + static_cast<size_t>(index) * kBacklogSlotBytes;
  return {slot, strnlen(slot, kBacklogSlotBytes)};
}

void TForm1::AppendBacklogText(std::string_view text) { this->text.backlog.Append(text); }

void TForm1::CloseBacklogLine() {
  text.backlog.CloseLine();
  vars.S(38) = 0;
}

}  // namespace torvel
