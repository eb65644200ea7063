// Arbitrary slot-file bytes through the reader and the load check. Whatever is read must write
// back to a file that reads the same, and an accepted image must be in range for the engine.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "screens/save_checksum.h"
#include "screens/slot_check.h"
#include "screens/slot_image.h"
#include "script/backlog_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  std::unique_ptr<torvel::SlotImage> image = torvel::DecodeSlotImage(bytes);
  const std::vector<uint8_t> written = torvel::EncodeSlotImage(*image);
  if (written.size() != torvel::kSlotFileSize) __builtin_trap();
  // Compared through their check values: the fuzzer's hook on memcmp would make a plain comparison
  // of two 220738-byte files the slowest part of a run.
  const std::vector<uint8_t> again = torvel::EncodeSlotImage(*torvel::DecodeSlotImage(written));
  if (torvel::UpdateSaveChecksum(0, again) != torvel::UpdateSaveChecksum(0, written)) __builtin_trap();

  // Scripts named by their first byte: "a" to "p" exist, with sizes from the name's length.
  auto sizes = [](std::string_view name) {
    if (name.empty() || name[0] < 'a' || name[0] > 'p') return -1;
    return static_cast<int>(name.size()) * 1000;
  };
  if (!torvel::CheckSlotImage(*image, sizes)) return 0;
  const torvel::SlotState& s = image->state;
  if (s.cursorCol < 0 || s.cursorCol > 100 || s.cursorRow < 0 || s.cursorRow > 20) __builtin_trap();
  if (s.linePos < 0 || static_cast<size_t>(s.linePos) > image->lineBuffer.size()) __builtin_trap();
  if (s.resumePosition < 0 || s.resumePosition > sizes(image->names.loadedScript)) __builtin_trap();
  torvel::BacklogText backlog;
  backlog.Restore(image->backlog, s.backlogLines, s.backlogWritePosition);
  backlog.Append("more text for the line being built");
  backlog.CloseLine();
  if (backlog.Line(torvel::kBacklogFinishedMax).size() >= static_cast<size_t>(torvel::kBacklogSlotBytes)) {
    __builtin_trap();
  }
  return 0;
}
