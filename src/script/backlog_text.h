#pragma once
// The backlog text buffer: the lines the backlog screen shows. 201 fixed slots of 70 bytes (69 of
// text and a NUL): up to 200 finished lines, then the line being built. Save files and the
// backlog screen read the slots as they stand, so the layout is fixed.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace torvel {

constexpr int kBacklogSlotBytes = 70;
constexpr int kBacklogLineMax = kBacklogSlotBytes - 1;
constexpr int kBacklogFinishedMax = 200;
constexpr int kBacklogSlots = kBacklogFinishedMax + 1;

class BacklogText {
 public:
  BacklogText() { bytes_.fill(0); }
  // Appends to the line being built; bytes past its 69th are dropped.
  void Append(std::string_view text);
  // Ends the line being built; once 200 lines are finished the oldest is dropped.
  void CloseLine();
  void Clear();
  // Takes slots 0..199 as a save file keeps them; slot 200 is emptied. The line being built is
  // slot `lines` (0..200) and goes on at `writePosition` (70 × lines + its length), kept within
  // the text that slot holds.
  void Restore(std::span<const uint8_t> slots, int lines, int writePosition);

  int Lines() const { return lines_; }  // finished lines
  // Slot `index` (0..200) as text up to its NUL.
  std::string_view Line(int index) const;
  std::string_view Building() const { return Line(lines_); }
  const std::array<char, kBacklogSlots * kBacklogSlotBytes>& Bytes() const { return bytes_; }

 private:
  char* Slot(int index) { return bytes_.data() + static_cast<size_t>(index) * kBacklogSlotBytes; }
  std::array<char, kBacklogSlots * kBacklogSlotBytes> bytes_;
  int lines_ = 0;
  int length_ = 0;  // bytes in the line being built
};

}  // namespace torvel
