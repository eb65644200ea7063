#pragma once
// The save slot file "save/saveNN.dat": a fixed 220738-byte little-endian snapshot of the running
// story, laid out as the original engine wrote it so saves move both ways. SlotImage holds every
// field as the engine keeps it; encoding writes texts cut at a character boundary with a NUL and
// zeros after it, decoding reads texts up to their NUL and missing bytes as zero.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/bitmap.h"
#include "platform/date_time.h"
#include "screens/page_history.h"

namespace torvel {

constexpr size_t kSlotFileSize = 220738;
constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 99;
constexpr int kQuickSaveSlot = 99;

// Label record: the label text, then the comment.
constexpr size_t kLabelField = 96;
constexpr size_t kLabelTextMax = 94;  // bytes 94 and 95 always stay zero
constexpr size_t kCommentField = 32;
constexpr size_t kCommentMax = 30;
// Where the comment lives in the file (the one field rewritten in place).
constexpr size_t kCommentOffset = kLabelField;
// The parts of a label: date bytes 0..9, time 11..18, title from 21.
constexpr size_t kLabelTimeEnd = 19;
constexpr size_t kLabelTitleStart = 21;

// Field sizes of the texts of the names record and the rest.
constexpr size_t kSlotScriptNameField = 30;
constexpr size_t kSlotSpriteSpecField = 60;
constexpr size_t kSlotTextBufferBytes = 20;
constexpr size_t kSlotNameSlotField = 64;
constexpr size_t kSlotLineBufferField = 2048;
constexpr size_t kSlotBacklogBytes = 14000;  // records 0..199 of the backlog text
constexpr size_t kSlotReservedBytes = 1024;

constexpr int kThumbnailWidth = 160;
constexpr int kThumbnailHeight = 120;
constexpr int kThumbnailScale = 5;  // 800 × 600 in 5 × 5 blocks
constexpr size_t kThumbnailBytes = static_cast<size_t>(kThumbnailWidth) * kThumbnailHeight * 3;

// The state record: 64 integers, of which these are used (flags as 0 or 1). The others are
// written as zero and ignored on reading.
struct SlotState {
  int32_t callDepth = 0;              // 0
  std::array<int32_t, 9> returnPc{};  // 1..9: call-stack frames, outermost first
  int32_t windowShown = 0;            // 10
  int32_t waitTicks = 0;              // 11
  int32_t textSpeed = 0;              // 12
  int32_t waitKind = 0;               // 13
  int32_t screenMode = 0;             // 14
  int32_t grbPending = 0;             // 15
  int32_t reservedFlag = 0;           // 16: kept as it was loaded
  int32_t cursorCol = 0;              // 17
  int32_t cursorRow = 0;              // 18
  int32_t largeText = 0;              // 19
  int32_t colourIndex = 0;            // 20
  int32_t backlogLines = 0;           // 21
  int32_t backlogWritePosition = 0;   // 22: 70 × lines + length of the line being built
  int32_t scriptRunning = 0;          // 23
  int32_t needLine = 0;               // 24
  int32_t lineStart = 0;              // 25
  int32_t resumePosition = 0;         // 26: where the script goes on after a load
  int32_t scenarioSize = 0;           // 27
  int32_t linePos = 0;                // 28
  int32_t displayMode = 0;            // 29: S160
  int32_t historyCount = 0;           // 30
  int32_t pageEmpty = 0;              // 32
};
constexpr int kSlotStateInts = 64;

// The names record: 1024 bytes of fixed text fields.
struct SlotNames {
  std::array<std::string, 9> frameScripts;  // call-stack frames, outermost first
  std::string currentScript;
  std::string loadedScript;
  std::string background;
  std::string sprites;  // the sprite list as the layers keep it
  std::string overlay;
  std::string recordStart;
  std::string loopEffect;
  std::string lastVoice;
  std::array<uint8_t, kSlotTextBufferBytes> textBuffer{};  // kept as bytes
};

struct SlotImage {
  std::string label;
  std::string comment;
  std::array<uint8_t, 128> playFlags{};  // F
  std::array<uint8_t, kSlotReservedBytes> reserved{};
  std::array<int32_t, 1000> storyVars{};  // V000–V999
  std::array<int32_t, 200> systemVars{};  // S000–S199
  std::array<uint8_t, 10240> readMarks{};
  std::array<uint8_t, 1250> longFlags{};  // T
  SlotState state;
  std::array<uint8_t, kSlotBacklogBytes> backlog{};
  std::string lineBuffer;
  SlotNames names;
  std::array<std::string, 10> nameSlots;
  std::array<uint8_t, kPageHistoryTextBytes> page{};  // the text page, 20 rows of 100 bytes
  std::array<uint8_t, kPageHistoryTextBytes> pageColours{};
  std::vector<PageHistoryEntry> history = std::vector<PageHistoryEntry>(kPageHistorySlots);
  std::array<uint8_t, kThumbnailBytes> thumbnail{};
};

// The file's 220738 bytes.
std::vector<uint8_t> EncodeSlotImage(const SlotImage& image);
// Reads at most 220738 bytes of a file; missing bytes read as zero.
std::unique_ptr<SlotImage> DecodeSlotImage(std::span<const uint8_t> bytes);

// "YYYY/MM/DD hh:mm:ss  TITLE", cut to 94 bytes at a character boundary; on the title map
// "(Map)" follows, the title cut shorter so that it fits whole in the 96-byte field.
std::string FormatSaveLabel(const DateTime& time, std::string_view title, bool onTitleMap);

// The 160 × 120 thumbnail of an 800 × 600 picture: each pixel the rounded mean of its 5 × 5
// block, byte by byte ((sum + 12) / 25); parts outside a smaller picture count as black.
void MakeThumbnail(const Bitmap& picture, std::span<uint8_t, kThumbnailBytes> out);

}  // namespace torvel
