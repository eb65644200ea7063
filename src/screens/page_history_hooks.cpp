// The page history: page waits record each finished page into a ring of 50, and the player steps
// back through them, each shown with the scene, the text and the first voice it had.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "graphics/region_copy.h"
#include "graphics/text_grid.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kVarViewsEnabled = 28;
constexpr int kVarContinueWait = 39;  // 1 after a continue wait: the page goes on
constexpr int kVarSkipShown = 60;
constexpr int kOldestPosition = kPageHistorySlots;
constexpr int kPageBackColourCode = 4;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

// A text into a fixed field: cut at a character boundary, NUL-ended, zeros after.
template <size_t N>
void PutField(std::array<uint8_t, N>& field, std::string_view text) {
  const std::string_view cut = SjisCut(text, N - 1);
  field.fill(0);
  std::memcpy(field.data(), cut.data(), cut.size());
}

// The ring slot of page `page`, whatever sign it has.
int RingSlot(int64_t page) {
  return static_cast<int>((page % kPageHistorySlots + kPageHistorySlots) % kPageHistorySlots);
}

}  // namespace

void TForm1::RecordPage() {
  PageHistory& h = pageHistory;
  PageHistoryEntry& e = h.entries[static_cast<size_t>(RingSlot(h.count))];
  for (int r = 0; r < kPageRows; ++r) {
    std::memcpy(e.text.data() + static_cast<size_t>(r) * kPageColumns,
                textWindow.page.bytes[static_cast<size_t>(r)].data(), kPageColumns);
  }
  e.overlayOpacity = vars.S(kVarOverlayOpacity);
  e.displayMode = vars.S(kVarDisplayMode);
  for (int i = 0; i < kPageHistorySprites; ++i) {
    e.spriteCentres[static_cast<size_t>(i)] = vars.S(kVarSpriteCentreBase + i);
    e.spriteTops[static_cast<size_t>(i)] = vars.S(kVarSpriteTopBase + i);
  }
  PutField(e.scene, layers.backgroundName + "," + layers.spriteSpec);
  PutField(e.voices, sound.pageVoices);
  sound.pageVoices.clear();
  vars.S(kVarContinueWait) = 0;
  // A counter that has run for two thousand million pages stays on its last page.
  if (h.count < INT32_MAX) ++h.count;
}

int TForm1::PageHistorySlotAt(int position) const {
  return RingSlot(int64_t{pageHistory.count} + vars.S(kVarContinueWait) - position);
}

void TForm1::OpenPageHistory() {
  if (vars.S(kVarViewsEnabled) == 0 || pageHistory.count <= 1 || ctl.screenMode != smScenario) return;
  PageHistoryView& v = backlogViews.pages;
  // What the view changes to show earlier pages, put back when it is left.
  v.displayMode = vars.S(kVarDisplayMode);
  v.backgroundName = layers.backgroundName;
  v.spriteSpec = layers.spriteSpec;
  for (size_t i = 0; i < v.spriteLayout.size(); ++i)
    v.spriteLayout[i] = vars.S(kVarSpriteCentreBase + static_cast<int>(i));
  SetMenuLock(true);
  v.position = 2;
  ctl.screenMode = smPageBack;
  ShowPageHistorySlot(PageHistorySlotAt(v.position));
}

void TForm1::PageHistoryOlder() {
  PageHistoryView& v = backlogViews.pages;
  if (ctl.screenMode != smPageBack) return;
  if (v.position >= kOldestPosition) return;
  if (int64_t{pageHistory.count} + vars.S(kVarContinueWait) - v.position <= 0) return;
  ++v.position;
  ShowPageHistorySlot(PageHistorySlotAt(v.position));
}

void TForm1::PageHistoryNewer() {
  PageHistoryView& v = backlogViews.pages;
  if (ctl.screenMode != smPageBack) return;
  --v.position;
  if (v.position <= 1) {
    LeavePageHistory();
    return;
  }
  ShowPageHistorySlot(PageHistorySlotAt(v.position));
}

void TForm1::ShowPageHistorySlot(int slot) {
  PageHistoryView& v = backlogViews.pages;
  const PageHistoryEntry& e = pageHistory.entries[static_cast<size_t>(RingSlot(slot))];
  v.slot = RingSlot(slot);

  // The scene of that page.
  const std::string_view sceneText = e.SceneText();
  const size_t comma = sceneText.find(',');
  layers.backgroundName = std::string(sceneText.substr(0, comma));
  layers.spriteSpec = comma == std::string_view::npos ? std::string() : std::string(sceneText.substr(comma + 1));
  for (int i = 0; i < kPageHistorySprites; ++i) {
    vars.S(kVarSpriteCentreBase + i) = e.spriteCentres[static_cast<size_t>(i)];
    vars.S(kVarSpriteTopBase + i) = e.spriteTops[static_cast<size_t>(i)];
  }
  RebuildScene(0);

  // The empty window, or the full-screen page, over it.
  vars.S(kVarDisplayMode) = e.displayMode;
  TextWindow& w = textWindow;
  w.cacheValid = false;
  ComposeWindow();
  const bool full = vars.S(kVarDisplayMode) == 1;
  if (full) {
    layers.screen.pixels = w.overScene.pixels;
  } else {
    layers.screen.pixels = layers.scene.pixels;
    CopyRegion(w.buffer, 0, 0, layers.screen, w.x, w.y, w.buffer.width, w.buffer.height);
  }

  // The page's text, every character at its cell; a page keeps at most 20 rows of 100 bytes.
  auto row = [&](int r) {
    return std::string_view(reinterpret_cast<const char*>(e.text.data()) + static_cast<size_t>(r) * kPageColumns,
                            kPageColumns);
  };
  const TextGrid grid = TextGridOf(config, w.x, w.y, full);
  if (!full) {
    const std::string_view speaker = row(0);
    DrawNamePlate(speaker.substr(0, std::min(speaker.find('\0'), speaker.size())));
  }
  SetTextColour(kPageBackColourCode);
  for (int r = grid.firstRow; r < grid.rows; ++r) {
    const std::string_view bytes = row(r).substr(0, static_cast<size_t>(grid.columns));
    for (size_t c = 0; c < bytes.size();) {
      const size_t n = SjisCharLength(bytes, c);
      const int64_t x = int64_t{grid.originX} + static_cast<int64_t>(c) * grid.pitchX;
      const int64_t y = int64_t{grid.originY} + int64_t{r} * grid.pitchY;
      if (bytes[c] != 0 && x > -kGlyphCellWidth && x < kScreenWidth && y > -kGlyphCellHeight && y < kScreenHeight) {
        PrepareGlyph(bytes.substr(c, n));
        DrawGlyph(layers.screen, static_cast<int>(x), static_cast<int>(y));
      }
      c += n;
    }
  }
  SetTextColour(0);

  const std::string_view voices = e.VoiceList();
  const std::string_view firstVoice = voices.substr(0, std::min(voices.find(' '), voices.size()));
  if (!firstVoice.empty()) PlayVoiceLine(firstVoice);
  host.Present(layers.screen, kWholeScreen);
}

void TForm1::LeavePageHistory() {
  if (ctl.screenMode != smPageBack) return;
  PageHistoryView& v = backlogViews.pages;
  vars.S(kVarTextColour) = static_cast<int32_t>(kWhite);
  SetTextColour(0);
  vars.S(kVarSkipShown) = 0;
  // The story's own scene, as it was when the view opened.
  layers.backgroundName = v.backgroundName;
  layers.spriteSpec = v.spriteSpec;
  for (size_t i = 0; i < v.spriteLayout.size(); ++i)
    vars.S(kVarSpriteCentreBase + static_cast<int>(i)) = v.spriteLayout[i];
  vars.S(kVarDisplayMode) = v.displayMode;
  v.position = 0;
  v.slot = -1;
  ctl.screenMode = smScenario;
  textWindow.cacheValid = false;
  RebuildScene(1);
  SetMenuLock(false);
}

}  // namespace torvel
