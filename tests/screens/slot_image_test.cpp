// The slot file layout, checked against offsets written out here from the file's description,
// not taken from the code under test.
#include "screens/slot_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/sjis.h"

namespace torvel {
namespace {

using namespace std::string_literals;

// Offsets of the slot file's blocks.
constexpr size_t kLabel = 0, kComment = 96, kF = 128, kReserved = 256, kV = 1280, kS = 5280, kMarks = 6080, kT = 16320,
                 kState = 17570, kBacklog = 17826, kLine = 31826, kNames = 33874, kNameSlots = 34898, kPage = 35538,
                 kColours = 37538, kHistTexts = 39538, kHistS023 = 139538, kHistCentres = 139738, kHistTops = 141738,
                 kHistScenes = 143738, kHistVoices = 150138, kHistS160 = 162938, kThumb = 163138, kEnd = 220738;

void PutLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutText(std::vector<uint8_t>& b, size_t at, const std::string& text) {
  std::memcpy(b.data() + at, text.data(), text.size());
}

// The state record's used indexes and a value for each.
struct StateField {
  int index;
  int32_t SlotState::*member;
};
const StateField kStateFields[] = {
    {0, &SlotState::callDepth},      {10, &SlotState::windowShown},
    {11, &SlotState::waitTicks},     {12, &SlotState::textSpeed},
    {13, &SlotState::waitKind},      {14, &SlotState::screenMode},
    {15, &SlotState::grbPending},    {16, &SlotState::reservedFlag},
    {17, &SlotState::cursorCol},     {18, &SlotState::cursorRow},
    {19, &SlotState::largeText},     {20, &SlotState::colourIndex},
    {21, &SlotState::backlogLines},  {22, &SlotState::backlogWritePosition},
    {23, &SlotState::scriptRunning}, {24, &SlotState::needLine},
    {25, &SlotState::lineStart},     {26, &SlotState::resumePosition},
    {27, &SlotState::scenarioSize},  {28, &SlotState::linePos},
    {29, &SlotState::displayMode},   {30, &SlotState::historyCount},
    {32, &SlotState::pageEmpty},
};

// The names record's text fields: offset within the record and the member.
struct NameField {
  size_t offset;
  std::string SlotNames::*member;
};
const NameField kNameFields[] = {
    {270, &SlotNames::currentScript}, {300, &SlotNames::loadedScript}, {330, &SlotNames::background},
    {360, &SlotNames::sprites},       {420, &SlotNames::overlay},      {450, &SlotNames::recordStart},
    {480, &SlotNames::loopEffect},    {510, &SlotNames::lastVoice},
};

// An image with a distinct value in every field, and the file a correct writer makes of it.
struct Marked {
  std::unique_ptr<SlotImage> image = std::make_unique<SlotImage>();
  std::vector<uint8_t> file = std::vector<uint8_t>(kEnd, 0);
};

Marked MakeMarked() {
  Marked m;
  SlotImage& i = *m.image;
  std::vector<uint8_t>& f = m.file;
  i.label = "2024/03/05 07:08:09  Title";
  PutText(f, kLabel, i.label);
  i.comment = "Note";
  PutText(f, kComment, i.comment);
  auto bytes = [&](auto& block, size_t at, uint8_t first) {
    block.front() = first;
    block.back() = static_cast<uint8_t>(first + 1);
    f[at] = first;
    f[at + block.size() - 1] = static_cast<uint8_t>(first + 1);
  };
  bytes(i.playFlags, kF, 0x11);
  bytes(i.reserved, kReserved, 0x13);
  bytes(i.readMarks, kMarks, 0x15);
  bytes(i.longFlags, kT, 0x17);
  bytes(i.backlog, kBacklog, 0x19);
  bytes(i.page, kPage, 0x1B);
  bytes(i.pageColours, kColours, 0x1D);
  bytes(i.thumbnail, kThumb, 0x1F);
  i.storyVars.front() = -2;
  i.storyVars.back() = 0x0A0B0C0D;
  PutLe32(f, kV, static_cast<uint32_t>(-2));
  PutLe32(f, kV + 4 * 999, 0x0A0B0C0D);
  i.systemVars.front() = 0x01020304;
  i.systemVars.back() = -70000;
  PutLe32(f, kS, 0x01020304);
  PutLe32(f, kS + 4 * 199, static_cast<uint32_t>(-70000));
  for (const StateField& field : kStateFields) {
    i.state.*field.member = 1000 + field.index;
    PutLe32(f, kState + 4 * static_cast<size_t>(field.index), static_cast<uint32_t>(1000 + field.index));
  }
  for (int k = 0; k < 9; ++k) {
    i.state.returnPc[static_cast<size_t>(k)] = 2000 + k;
    PutLe32(f, kState + 4 * static_cast<size_t>(1 + k), static_cast<uint32_t>(2000 + k));
    i.names.frameScripts[static_cast<size_t>(k)] = "frame" + std::to_string(k);
    PutText(f, kNames + 30 * static_cast<size_t>(k), "frame" + std::to_string(k));
  }
  i.lineBuffer = "@line";
  PutText(f, kLine, i.lineBuffer);
  int n = 0;
  for (const NameField& field : kNameFields) {
    i.names.*field.member = "name" + std::to_string(n);
    PutText(f, kNames + field.offset, "name" + std::to_string(n));
    ++n;
  }
  for (size_t k = 0; k < 20; ++k) {
    i.names.textBuffer[k] = static_cast<uint8_t>(0xA0 + k);
    f[kNames + 540 + k] = static_cast<uint8_t>(0xA0 + k);
  }
  for (size_t k = 0; k < 10; ++k) {
    i.nameSlots[k] = "slot" + std::to_string(k);
    PutText(f, kNameSlots + 64 * k, "slot" + std::to_string(k));
  }
  for (size_t j = 0; j < 50; ++j) {
    PageHistoryEntry& e = i.history[j];
    const uint8_t tag = static_cast<uint8_t>(j + 1);
    e.text.front() = tag;
    e.text.back() = static_cast<uint8_t>(tag + 100);
    f[kHistTexts + 2000 * j] = tag;
    f[kHistTexts + 2000 * j + 1999] = static_cast<uint8_t>(tag + 100);
    e.overlayOpacity = static_cast<int32_t>(300 + j);
    PutLe32(f, kHistS023 + 4 * j, static_cast<uint32_t>(300 + j));
    for (size_t m2 = 0; m2 < 10; ++m2) {
      e.spriteCentres[m2] = static_cast<int32_t>(10000 + 10 * j + m2);
      e.spriteTops[m2] = static_cast<int32_t>(20000 + 10 * j + m2);
      PutLe32(f, kHistCentres + 40 * j + 4 * m2, static_cast<uint32_t>(10000 + 10 * j + m2));
      PutLe32(f, kHistTops + 40 * j + 4 * m2, static_cast<uint32_t>(20000 + 10 * j + m2));
    }
    e.scene.front() = tag;
    e.scene.back() = static_cast<uint8_t>(tag + 50);
    f[kHistScenes + 128 * j] = tag;
    f[kHistScenes + 128 * j + 127] = static_cast<uint8_t>(tag + 50);
    e.voices.front() = tag;
    e.voices.back() = static_cast<uint8_t>(tag + 60);
    f[kHistVoices + 256 * j] = tag;
    f[kHistVoices + 256 * j + 255] = static_cast<uint8_t>(tag + 60);
    e.displayMode = static_cast<int32_t>(j % 2);
    PutLe32(f, kHistS160 + 4 * j, static_cast<uint32_t>(j % 2));
  }
  return m;
}

size_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  for (size_t k = 0; k < std::min(a.size(), b.size()); ++k) {
    if (a[k] != b[k]) return k;
  }
  return std::min(a.size(), b.size());
}

TEST(SlotImageLayout, EveryFieldLandsAtItsOffsetAndNothingElseIsWritten) {
  Marked m = MakeMarked();
  const std::vector<uint8_t> written = EncodeSlotImage(*m.image);
  ASSERT_EQ(written.size(), kEnd);
  EXPECT_EQ(written, m.file) << "first difference at byte " << FirstDifference(written, m.file);
}

TEST(SlotImageLayout, ReadingGivesBackEveryField) {
  Marked m = MakeMarked();
  std::unique_ptr<SlotImage> read = DecodeSlotImage(m.file);
  EXPECT_EQ(EncodeSlotImage(*read), m.file);
  EXPECT_EQ(read->label, m.image->label);
  EXPECT_EQ(read->names.frameScripts[8], "frame8");
  EXPECT_EQ(read->names.lastVoice, "name7");
  EXPECT_EQ(read->state.pageEmpty, 1032);
  EXPECT_EQ(read->history[49].spriteTops[9], 20499);
}

TEST(SlotImageLayout, ShortFilesReadAsZeroPastTheirEnd) {
  Marked m = MakeMarked();
  PutLe32(m.file, kState + 4 * 22, 0x12345678);
  // Cut inside the state record: the index 22 integer is half there.
  std::vector<uint8_t> cut(m.file.begin(), m.file.begin() + kState + 4 * 22 + 2);
  std::unique_ptr<SlotImage> read = DecodeSlotImage(cut);
  EXPECT_EQ(read->state.backlogLines, 1021);
  EXPECT_EQ(read->state.backlogWritePosition, 0x5678);
  EXPECT_EQ(read->state.needLine, 0);
  EXPECT_EQ(read->names.loadedScript, "");
  EXPECT_EQ(read->thumbnail.front(), 0);
  std::unique_ptr<SlotImage> empty = DecodeSlotImage({});
  EXPECT_EQ(empty->label, "");
  EXPECT_EQ(empty->storyVars[0], 0);
}

TEST(SlotImageLayout, BytesPastTheLayoutAreIgnored) {
  Marked m = MakeMarked();
  std::vector<uint8_t> longer = m.file;
  longer.resize(kEnd + 5000, 0xEE);
  EXPECT_EQ(EncodeSlotImage(*DecodeSlotImage(longer)), m.file);
}

// Fixed texts: written cut at a character boundary to field − 1 bytes with a NUL; read up to their
// NUL, at most field − 1 bytes.
TEST(SlotImageTexts, LongTextsAreCutWithTheirNul) {
  SlotImage image;
  const std::string kanji = Utf8ToSjis("駅");                // two bytes
  image.names.currentScript = std::string(28, 'a') + kanji;  // 30 bytes: the kanji would reach byte 29
  image.names.sprites = std::string(70, 'b');
  image.nameSlots[9] = std::string(62, 'c') + kanji;  // 64 bytes
  image.comment = std::string(29, 'd') + kanji;       // 31 bytes: over the 30 a comment keeps
  const std::vector<uint8_t> f = EncodeSlotImage(image);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f[kNames + 270]), 30), std::string(28, 'a') + "\0\0"s);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f[kNames + 360]), 60), std::string(59, 'b') + "\0"s);
  EXPECT_EQ(f[kNames + 420], 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f[kNameSlots + 9 * 64]), 64), std::string(62, 'c') + "\0\0"s);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f[kComment]), 32), std::string(29, 'd') + std::string(3, '\0'));
}

TEST(SlotImageTexts, FieldsWithoutANulReadToTheirLastByteButOne) {
  std::vector<uint8_t> f(kEnd, 0);
  std::memset(&f[kNames], 'x', 1024);
  std::memset(&f[kLabel], 'y', 128);
  std::memset(&f[kLine], 'z', 2048);
  std::unique_ptr<SlotImage> read = DecodeSlotImage(f);
  EXPECT_EQ(read->names.frameScripts[0], std::string(29, 'x'));
  EXPECT_EQ(read->names.sprites, std::string(59, 'x'));
  EXPECT_EQ(read->label, std::string(95, 'y'));
  EXPECT_EQ(read->comment, std::string(31, 'y'));
  EXPECT_EQ(read->lineBuffer, std::string(2047, 'z'));
}

TEST(SaveLabel, DateTimeTwoBlanksAndTheTitle) {
  EXPECT_EQ(FormatSaveLabel(DateTime{2024, 3, 5, 7, 8, 9}, "Dawn", false), "2024/03/05 07:08:09  Dawn");
  EXPECT_EQ(FormatSaveLabel(DateTime{2000, 12, 31, 23, 59, 0}, "", false), "2000/12/31 23:59:00  ");
}

TEST(SaveLabel, CutTo94BytesAndTheMapMarkFitsWhole) {
  const DateTime t{2024, 3, 5, 7, 8, 9};
  const std::string stamp = "2024/03/05 07:08:09  ";  // 21 bytes
  EXPECT_EQ(FormatSaveLabel(t, std::string(100, 'a'), false), stamp + std::string(73, 'a'));
  EXPECT_EQ(FormatSaveLabel(t, "Map", true), stamp + "Map(Map)");
  // A label of 94 bytes leaves no room for the mark in the 96-byte field: the title gives way.
  const std::string onMap = FormatSaveLabel(t, std::string(100, 'a'), true);
  EXPECT_EQ(onMap, stamp + std::string(69, 'a') + "(Map)");
  EXPECT_EQ(onMap.size(), 95u);
  // A two-byte character across the cut is left out whole.
  const std::string kanji = Utf8ToSjis("駅");
  EXPECT_EQ(FormatSaveLabel(t, std::string(72, 'a') + kanji, false), stamp + std::string(72, 'a'));
}

TEST(Thumbnail, EachPixelIsTheRoundedMeanOfItsBlock) {
  Bitmap picture(800, 600);
  // Block (0, 0), blue: 0..24 sum to 300, (300 + 12) / 25 = 12. Green: one 12 rounds down to 0,
  // red: one 13 rounds up to 1.
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) picture.At(x, y)[0] = static_cast<uint8_t>(y * 5 + x);
  }
  picture.At(2, 2)[1] = 12;
  picture.At(4, 4)[2] = 13;
  // Block (159, 119): all 255.
  for (int y = 595; y < 600; ++y) {
    for (int x = 795; x < 800; ++x) std::memset(picture.At(x, y), 255, 3);
  }
  // Block (1, 0): one pixel of 250 in blue, (250 + 12) / 25 = 10.
  picture.At(9, 4)[0] = 250;
  std::vector<uint8_t> out(kThumbnailBytes);
  MakeThumbnail(picture, std::span<uint8_t, kThumbnailBytes>(out.data(), kThumbnailBytes));
  EXPECT_EQ(out[0], 12);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[2], 1);
  EXPECT_EQ(out[3], 10);
  EXPECT_EQ(out[kThumbnailBytes - 3], 255);
  EXPECT_EQ(out[kThumbnailBytes - 1], 255);
  EXPECT_EQ(out[480], 0);  // row 1 starts after 160 pixels
}

TEST(Thumbnail, RowsAreTopFirstAndPicturesSmallerThanTheScreenAreBlackBeyond) {
  Bitmap picture(10, 10);
  picture.Fill(100, 150, 200);
  std::vector<uint8_t> out(kThumbnailBytes, 7);
  MakeThumbnail(picture, std::span<uint8_t, kThumbnailBytes>(out.data(), kThumbnailBytes));
  EXPECT_EQ(out[0], 100);
  EXPECT_EQ(out[4], 150);  // pixel (1, 0)
  EXPECT_EQ(out[480 + 5], 200);
  EXPECT_EQ(out[6], 0);  // pixel (2, 0): outside the picture
  EXPECT_EQ(out[2 * 480], 0);
}

}  // namespace
}  // namespace torvel
