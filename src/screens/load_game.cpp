// Loading: the story restored from a slot file. The file is read and checked whole before
// anything of the running game changes; then the steps run in the original engine's order, so
// sound, music and the picture come back as the player left them.
#include <algorithm>
#include <cstring>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "screens/slot_check.h"
#include "shell/engine.h"
#include "sound/effect_category.h"

namespace torvel {

namespace {

constexpr int kSoundedSlots = 20;
constexpr int kRefusedBannerMs = 1000;
constexpr int kLoadingBannerMs = 300;
constexpr int kLoadTransition = 10;
constexpr int kVarPlayerRenamed = 6;
constexpr int kVarMusicPlaying = 5;
constexpr int kVarLastMark = 25;
constexpr int kVarSkipShown = 60;

// The size of a script as LoadScript would take it: the second data archive first, and nothing
// too large for the scenario buffer.
int ScriptSize(const Archives& archives, std::string_view name) {
  for (const ArchiveIndex* holder : {&archives.data2, &archives.data}) {
    const int entry = holder->FindEntry(name);
    if (entry < 0) continue;
    const uint32_t size = holder->sizes[static_cast<size_t>(entry)];
    return size > kScriptBufferSize ? -1 : static_cast<int>(size);
  }
  return -1;
}

template <size_t N>
void CopyIn(const std::array<uint8_t, N>& from, FlagSet& flags) {
  std::vector<uint8_t>& bytes = flags.Bytes();
  const size_t n = std::min(N, bytes.size());
  std::copy_n(from.begin(), n, bytes.begin());
  const int spareBits = static_cast<int>(bytes.size()) * 8 - flags.Size();
  if (n == bytes.size() && spareBits > 0) bytes.back() = static_cast<uint8_t>(bytes.back() & (0xFF >> spareBits));
}

}  // namespace

std::unique_ptr<SlotImage> TForm1::ReadSlotForLoad(int slot) const {
  if (slot < kFirstSlot || slot > kLastSlot) return nullptr;
  const std::filesystem::path file = SlotFile(slot);
  std::error_code ec;
  std::vector<uint8_t> bytes;
  if (!std::filesystem::is_regular_file(file, ec) || !ReadFileStart(file, kSlotFileSize, bytes)) return nullptr;
  std::unique_ptr<SlotImage> image = DecodeSlotImage(bytes);
  if (!CheckSlotForLoad(*image)) return nullptr;
  return image;
}

bool TForm1::CheckSlotForLoad(SlotImage& image) const {
  const Archives& a = archives;
  return CheckSlotImage(image, [&a](std::string_view name) { return ScriptSize(a, name); });
}

bool TForm1::LoadGame(int slot, bool quiet) {
  if (slot < kFirstSlot || slot > kLastSlot) return false;
  std::error_code ec;
  if (!std::filesystem::exists(SlotFile(slot), ec)) return false;
  std::unique_ptr<SlotImage> loaded = ReadSlotForLoad(slot);
  if (!loaded) {
    ShowBanner(Utf8ToSjis("ロードできませんでした"), kRefusedBannerMs);
    return false;
  }
  const SlotImage& m = *loaded;
  const SlotState& s = m.state;

  // Everything of the present game stops.
  StopAllSlots();
  text.windowShown = false;
  StopSkipAndAuto(true);
  StopLoopEffect();
  if (ctl.choiceMode == 1) {
    // The list was drawn over the screen kept in the previous-screen buffer.
    layers.screen.pixels = layers.previous.pixels;
    ctl.choiceMode = 0;
  }
  ctl.blockingScene = true;
  ctl.scriptRunning = false;
  SaveGlobalData(0);

  SetMusic(0);
  if (slot <= kSoundedSlots) PlayVoiceLine("SSE06");
  if (!quiet) ShowBanner(Utf8ToSjis("ロードします"), kLoadingBannerMs);

  // Flags and variables.
  CopyIn(m.playFlags, vars.F);
  saves.reserved = m.reserved;
  std::copy(m.storyVars.begin(), m.storyVars.end(), vars.vars.begin() + kStoryVarBase);
  std::copy(m.systemVars.begin(), m.systemVars.end(), vars.vars.begin() + kSystemVarBase);
  CopyIn(m.readMarks, text.readMarks);
  CopyIn(m.longFlags, vars.T);
  vars.S(kVarAutoSpeed) = 0;
  vars.S(kVarSkipShown) = 0;
  ctl.skipActive = false;

  // The state record; the interpreter's own position waits for its script below.
  script.callDepth = s.callDepth;
  for (size_t k = 0; k < s.returnPc.size(); ++k) script.callStack[k].pc = s.returnPc[k];
  text.windowShown = s.windowShown != 0;
  ctl.waitTicks = s.waitTicks;
  text.textSpeed = s.textSpeed;
  ctl.waitKind = s.waitKind;
  ctl.screenMode = s.screenMode;
  layers.grbPending = s.grbPending != 0;
  saves.reservedFlag = s.reservedFlag;
  text.cursorCol = s.cursorCol;
  text.cursorRow = s.cursorRow;
  text.largeText = s.largeText != 0;
  text.colourIndex = s.colourIndex;
  script.lineStart = s.lineStart;
  script.linePos = s.linePos;
  vars.S(kVarDisplayMode) = s.displayMode;
  pageHistory.count = s.historyCount;
  ctl.choiceMode = 0;
  ResetSceneChoices();  // no selection tree, click map or map timeout outlives the game it was in

  // Texts: the backlog, the line, the names; the player's names are the current ones.
  text.backlog.Restore(m.backlog, s.backlogLines, s.backlogWritePosition);
  script.lineBuffer = m.lineBuffer;
  text.nameSlots = m.nameSlots;
  text.nameSlots[0] = settings.PlayerName;
  text.nameSlots[1] = settings.PlayerName2;
  text.nameSlots[2] = settings.PlayerName3;
  const bool renamed = settings.PlayerName != config.DEFAULT_NAME || settings.PlayerName2 != config.DEFAULT_NAME2 ||
                       settings.PlayerName3 != config.DEFAULT_NAME3;
  vars.S(kVarPlayerRenamed) = renamed ? 1 : 0;

  // The page, its colours and the page history.
  for (int r = 0; r < kPageRows; ++r) {
    const size_t at = static_cast<size_t>(r) * kPageColumns;
    std::memcpy(textWindow.page.bytes[static_cast<size_t>(r)].data(), m.page.data() + at, kPageColumns);
    std::memcpy(textWindow.page.colours[static_cast<size_t>(r)].data(), m.pageColours.data() + at, kPageColumns);
  }
  textWindow.page.empty = s.pageEmpty != 0;
  // The file keeps the grid alone: the loaded page's characters are all of the normal size.
  for (auto& row : textWindow.page.large) row.fill(false);
  pageHistory.entries = m.history;

  // The names record.
  for (size_t k = 0; k < m.names.frameScripts.size(); ++k) script.callStack[k].script = m.names.frameScripts[k];
  script.currentScript = m.names.currentScript;
  script.loadedScript = m.names.loadedScript;
  layers.backgroundName = m.names.background;
  layers.spriteSpec = m.names.sprites;
  layers.overlayName = m.names.overlay;
  script.recordStart = m.names.recordStart;
  sound.loopEffectName = m.names.loopEffect;
  sound.lastVoice = m.names.lastVoice;
  saves.textBuffer = m.names.textBuffer;
  // Voices of the page before the load belong to no page of the loaded story.
  sound.pageVoices.clear();

  // The window where the loaded S079 puts it, the text, the music playing at save time, and the
  // scene from its names.
  ToggleWindowPosition(false);
  RedrawTextWindow();
  SaveGlobalData(0);
  if (const int track = vars.S(kVarMusicPlaying); track != 0) {
    vars.S(kVarMusicPlaying) = 0;
    SetMusic(track);
  }
  if (ctl.screenMode != smTitleMap) {
    RebuildScene(kLoadTransition);
  } else {
    text.windowShown = false;
  }

  // The script, and where it goes on.
  if (LoadScript(script.loadedScript, 1)) {
    script.needLine = s.needLine != 0;
    ctl.scriptRunning = s.scriptRunning != 0;
    script.pc = s.resumePosition;
  } else {
    // The archive failed between the check and now: the story stays still rather than run
    // another script's bytes.
    script.pc = script.scenarioSize;
    script.needLine = true;
    ctl.scriptRunning = false;
  }
  ctl.saveLoadScreen = 0;

  if (text.readMarks.Test(vars.S(kVarLastMark))) {
    text.alreadyRead = true;
  } else {
    text.alreadyRead = false;
    ctl.skipActive = false;
  }

  if (!sound.loopEffectName.empty() && !CategoryMuted(settings, SjisUpper(sound.loopEffectName))) {
    PlaySoundByName(sound.loopEffectName, 2);
  }

  ctl.blockingScene = false;
  UpdateMenus();  // the play phase came from the file
  vars.G(6) = vars.V(200);
  vars.G(7) = vars.V(201);
  vars.G(8) = vars.V(202);
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
  return true;
}

}  // namespace torvel
