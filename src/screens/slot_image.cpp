#include "screens/slot_image.h"

#include <algorithm>
#include <cstdio>

#include "screens/save_bytes.h"

namespace torvel {

namespace {

constexpr std::string_view kMapMark = "(Map)";
constexpr size_t kNamesRecordBytes = 1024;
constexpr size_t kNamesUsedBytes = 560;

// The state record's 64 integers, by index.
std::array<int32_t, kSlotStateInts> StateInts(const SlotState& s) {
  std::array<int32_t, kSlotStateInts> v{};
  v[0] = s.callDepth;
  for (size_t k = 0; k < s.returnPc.size(); ++k) v[1 + k] = s.returnPc[k];
  v[10] = s.windowShown;
  v[11] = s.waitTicks;
  v[12] = s.textSpeed;
  v[13] = s.waitKind;
  v[14] = s.screenMode;
  v[15] = s.grbPending;
  v[16] = s.reservedFlag;
  v[17] = s.cursorCol;
  v[18] = s.cursorRow;
  v[19] = s.largeText;
  v[20] = s.colourIndex;
  v[21] = s.backlogLines;
  v[22] = s.backlogWritePosition;
  v[23] = s.scriptRunning;
  v[24] = s.needLine;
  v[25] = s.lineStart;
  v[26] = s.resumePosition;
  v[27] = s.scenarioSize;
  v[28] = s.linePos;
  v[29] = s.displayMode;
  v[30] = s.historyCount;
  v[32] = s.pageEmpty;
  return v;
}

SlotState StateFromInts(const std::array<int32_t, kSlotStateInts>& v) {
  SlotState s;
  s.callDepth = v[0];
  for (size_t k = 0; k < s.returnPc.size(); ++k) s.returnPc[k] = v[1 + k];
  s.windowShown = v[10];
  s.waitTicks = v[11];
  s.textSpeed = v[12];
  s.waitKind = v[13];
  s.screenMode = v[14];
  s.grbPending = v[15];
  s.reservedFlag = v[16];
  s.cursorCol = v[17];
  s.cursorRow = v[18];
  s.largeText = v[19];
  s.colourIndex = v[20];
  s.backlogLines = v[21];
  s.backlogWritePosition = v[22];
  s.scriptRunning = v[23];
  s.needLine = v[24];
  s.lineStart = v[25];
  s.resumePosition = v[26];
  s.scenarioSize = v[27];
  s.linePos = v[28];
  s.displayMode = v[29];
  s.historyCount = v[30];
  s.pageEmpty = v[32];
  return s;
}

}  // namespace

std::vector<uint8_t> EncodeSlotImage(const SlotImage& image) {
  SaveWriter out(kSlotFileSize);
  out.Text(image.label, kLabelField, kLabelTextMax + 1);
  out.Text(image.comment, kCommentField, kCommentMax);
  out.Bytes(image.playFlags);
  out.Bytes(image.reserved);
  out.Ints(image.storyVars);
  out.Ints(image.systemVars);
  out.Bytes(image.readMarks);
  out.Bytes(image.longFlags);
  out.Ints(StateInts(image.state));
  out.Bytes(image.backlog);
  out.Text(image.lineBuffer, kSlotLineBufferField);

  const SlotNames& n = image.names;
  for (const std::string& name : n.frameScripts) out.Text(name, kSlotScriptNameField);
  out.Text(n.currentScript, kSlotScriptNameField);
  out.Text(n.loadedScript, kSlotScriptNameField);
  out.Text(n.background, kSlotScriptNameField);
  out.Text(n.sprites, kSlotSpriteSpecField);
  out.Text(n.overlay, kSlotScriptNameField);
  out.Text(n.recordStart, kSlotScriptNameField);
  out.Text(n.loopEffect, kSlotScriptNameField);
  out.Text(n.lastVoice, kSlotScriptNameField);
  out.Bytes(n.textBuffer);
  out.Zeros(kNamesRecordBytes - kNamesUsedBytes);

  for (const std::string& slot : image.nameSlots) out.Text(slot, kSlotNameSlotField);
  out.Bytes(image.page);
  out.Bytes(image.pageColours);
  // The page history, one block per field, each over all 50 entries.
  const std::vector<PageHistoryEntry>& h = image.history;
  for (const PageHistoryEntry& e : h) out.Bytes(e.text);
  for (const PageHistoryEntry& e : h) out.Int(e.overlayOpacity);
  for (const PageHistoryEntry& e : h) out.Ints(e.spriteCentres);
  for (const PageHistoryEntry& e : h) out.Ints(e.spriteTops);
  for (const PageHistoryEntry& e : h) out.Bytes(e.scene);
  for (const PageHistoryEntry& e : h) out.Bytes(e.voices);
  for (const PageHistoryEntry& e : h) out.Int(e.displayMode);
  out.Bytes(image.thumbnail);
  return out.Take();
}

std::unique_ptr<SlotImage> DecodeSlotImage(std::span<const uint8_t> bytes) {
  auto image = std::make_unique<SlotImage>();
  SaveReader in(bytes.first(std::min(bytes.size(), kSlotFileSize)));
  image->label = in.Text(kLabelField);
  image->comment = in.Text(kCommentField);
  in.Bytes(image->playFlags);
  in.Bytes(image->reserved);
  in.Ints(image->storyVars);
  in.Ints(image->systemVars);
  in.Bytes(image->readMarks);
  in.Bytes(image->longFlags);
  std::array<int32_t, kSlotStateInts> state{};
  in.Ints(state);
  image->state = StateFromInts(state);
  in.Bytes(image->backlog);
  image->lineBuffer = in.Text(kSlotLineBufferField);

  SlotNames& n = image->names;
  for (std::string& name : n.frameScripts) name = in.Text(kSlotScriptNameField);
  n.currentScript = in.Text(kSlotScriptNameField);
  n.loadedScript = in.Text(kSlotScriptNameField);
  n.background = in.Text(kSlotScriptNameField);
  n.sprites = in.Text(kSlotSpriteSpecField);
  n.overlay = in.Text(kSlotScriptNameField);
  n.recordStart = in.Text(kSlotScriptNameField);
  n.loopEffect = in.Text(kSlotScriptNameField);
  n.lastVoice = in.Text(kSlotScriptNameField);
  in.Bytes(n.textBuffer);
  in.Skip(kNamesRecordBytes - kNamesUsedBytes);

  for (std::string& slot : image->nameSlots) slot = in.Text(kSlotNameSlotField);
  in.Bytes(image->page);
  in.Bytes(image->pageColours);
  std::vector<PageHistoryEntry>& h = image->history;
  for (PageHistoryEntry& e : h) in.Bytes(e.text);
  for (PageHistoryEntry& e : h) e.overlayOpacity = in.Int();
  for (PageHistoryEntry& e : h) in.Ints(e.spriteCentres);
  for (PageHistoryEntry& e : h) in.Ints(e.spriteTops);
  for (PageHistoryEntry& e : h) in.Bytes(e.scene);
  for (PageHistoryEntry& e : h) in.Bytes(e.voices);
  for (PageHistoryEntry& e : h) e.displayMode = in.Int();
  in.Bytes(image->thumbnail);
  return image;
}

std::string FormatSaveLabel(const DateTime& t, std::string_view title, bool onTitleMap) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d  ", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  std::string label = std::string(stamp) + std::string(title);
  // The mark goes after the cut and must not run into the comment: a long title gives way.
  const size_t limit = onTitleMap ? kLabelField - 1 - kMapMark.size() : kLabelTextMax;
  label = std::string(SjisCut(label, limit));
  if (onTitleMap) label += kMapMark;
  return label;
}

void MakeThumbnail(const Bitmap& picture, std::span<uint8_t, kThumbnailBytes> out) {
  constexpr unsigned kBlock = kThumbnailScale * kThumbnailScale;
  constexpr size_t kRowBytes = static_cast<size_t>(kThumbnailWidth) * kThumbnailScale * 3;
  static_assert(kThumbnailScale == 5);
  const size_t usable = std::min(kRowBytes, static_cast<size_t>(std::max(picture.width, 0)) * 3);
  std::array<uint16_t, kRowBytes> sums;
  std::array<uint8_t, kRowBytes> padded{};  // a row of a narrower picture, black beyond it
  uint8_t* o = out.data();
  for (int ty = 0; ty < kThumbnailHeight; ++ty) {
    // Sums of each byte over the block's five rows (a loop of fixed length, which the compiler
    // turns into wide additions), then over five pixels along the row.
    sums.fill(0);
    for (int dy = 0; dy < kThumbnailScale; ++dy) {
      const int y = ty * kThumbnailScale + dy;
      if (y >= picture.height) break;
      const uint8_t* row = picture.Row(y);
      if (usable < kRowBytes) {
        std::copy_n(row, usable, padded.begin());
        row = padded.data();
      }
      for (size_t i = 0; i < kRowBytes; ++i) sums[i] = static_cast<uint16_t>(sums[i] + row[i]);
    }
    for (const uint16_t* b = sums.data(); b < sums.data() + kRowBytes; b += kThumbnailScale * 3) {
      for (int c = 0; c < 3; ++c) {
        const unsigned sum = b[c] + b[c + 3] + b[c + 6] + b[c + 9] + b[c + 12];
        *o++ = static_cast<uint8_t>((sum + kBlock / 2) / kBlock);
      }
    }
  }
}

}  // namespace torvel
