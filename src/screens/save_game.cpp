// Saving: the running story into a slot file, and the comment of a saved slot.
#include <algorithm>
#include <cstring>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "screens/slot_image.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// Slots 1..20 play the save and load sounds; LastSaveSlot remembers slots up to 60.
constexpr int kSoundedSlots = 20;
constexpr int kRememberedSlots = 60;
constexpr int kSceneTitleSlot = kNameSlots - 1;
constexpr int kVarBackPosition = 10;  // S010: set by `backto`
constexpr int kSavedBannerMs = 500;
constexpr int kFailedBannerMs = 1000;

template <size_t N>
void CopyBytes(const FlagSet& flags, std::array<uint8_t, N>& out) {
  std::copy_n(flags.Bytes().begin(), std::min(N, flags.Bytes().size()), out.begin());
}

}  // namespace

std::vector<uint8_t> TForm1::BuildSlotImage(std::string_view comment) {
  auto image = std::make_unique<SlotImage>();
  SlotImage& m = *image;
  m.label = FormatSaveLabel(host.LocalTime(), text.nameSlots[kSceneTitleSlot], ctl.screenMode == smTitleMap);
  m.comment = std::string(comment);
  CopyBytes(vars.F, m.playFlags);
  m.reserved = saves.reserved;
  std::copy_n(vars.vars.begin() + kStoryVarBase, m.storyVars.size(), m.storyVars.begin());
  std::copy_n(vars.vars.begin() + kSystemVarBase, m.systemVars.size(), m.systemVars.begin());
  CopyBytes(text.readMarks, m.readMarks);
  CopyBytes(vars.T, m.longFlags);

  SlotState& s = m.state;
  s.callDepth = script.callDepth;
  for (size_t k = 0; k < s.returnPc.size(); ++k) {
    s.returnPc[k] = script.callStack[k].pc;
    m.names.frameScripts[k] = script.callStack[k].script;
  }
  s.windowShown = text.windowShown;
  s.waitTicks = ctl.waitTicks;
  s.textSpeed = text.textSpeed;
  s.waitKind = ctl.waitKind;
  // The title map is not saved: a load goes back to the story at the map's command.
  s.screenMode = ctl.screenMode == smTitleMap ? smScenario : ctl.screenMode;
  s.grbPending = layers.grbPending;
  s.reservedFlag = saves.reservedFlag;
  s.cursorCol = text.cursorCol;
  s.cursorRow = text.cursorRow;
  s.largeText = text.largeText;
  s.colourIndex = text.colourIndex;
  s.backlogLines = text.backlog.Lines();
  s.backlogWritePosition =
      text.backlog.Lines() * kBacklogSlotBytes + static_cast<int32_t>(text.backlog.Building().size());
  s.scriptRunning = ctl.scriptRunning;
  s.needLine = script.needLine;
  s.lineStart = script.lineStart;
  // A load offers an open choice again: it resumes at the choice's line (or where `backto` set).
  s.resumePosition = script.pc;
  if (ctl.choiceMode != 0) {
    s.resumePosition = vars.S(kVarBackPosition) != 0 ? vars.S(kVarBackPosition) : script.lineStart;
  }
  if (ctl.screenMode == smTitleMap) s.resumePosition = script.lineStart;
  s.scenarioSize = script.scenarioSize;
  s.linePos = script.linePos;
  s.displayMode = vars.S(kVarDisplayMode);
  s.historyCount = pageHistory.count;
  s.pageEmpty = textWindow.page.empty;

  const auto& backlog = text.backlog.Bytes();
  std::memcpy(m.backlog.data(), backlog.data(), m.backlog.size());
  m.lineBuffer = script.lineBuffer;
  m.names.currentScript = script.currentScript;
  m.names.loadedScript = script.loadedScript;
  m.names.background = layers.backgroundName;
  m.names.sprites = layers.spriteSpec;
  m.names.overlay = layers.overlayName;
  m.names.recordStart = script.recordStart;
  m.names.loopEffect = sound.loopEffectName;
  m.names.lastVoice = sound.lastVoice;
  m.names.textBuffer = saves.textBuffer;
  m.nameSlots = text.nameSlots;
  for (int r = 0; r < kPageRows; ++r) {
    const size_t at = static_cast<size_t>(r) * kPageColumns;
    std::memcpy(m.page.data() + at, textWindow.page.bytes[static_cast<size_t>(r)].data(), kPageColumns);
    std::memcpy(m.pageColours.data() + at, textWindow.page.colours[static_cast<size_t>(r)].data(), kPageColumns);
  }
  m.history = pageHistory.entries;
  MakeThumbnail(layers.scene, m.thumbnail);
  return EncodeSlotImage(m);
}

bool TForm1::SaveSlot(int slot, bool quiet, std::string_view comment) {
  if (slot < kFirstSlot || slot > kLastSlot) return false;
  std::error_code ec;
  std::filesystem::create_directories(SlotFile(slot).parent_path(), ec);
  const bool folderReady = std::filesystem::is_directory(SlotFile(slot).parent_path(), ec);
  ctl.blockingScene = true;
  bool saved = false;
  if (folderReady) {
    if (!quiet && slot <= kSoundedSlots) PlayVoiceLine("SSE05");
    // The new file replaces the old one only once it is whole on the disk.
    saved = WriteFileAtomically(SlotFile(slot), BuildSlotImage(comment));
    if (saved) saved = SaveGlobalData(0);
  }
  if (!saved) {
    ShowBanner(Utf8ToSjis("セーブできませんでした"), kFailedBannerMs);
  } else if (!quiet) {
    ShowBanner(Utf8ToSjis("セーブしました"), kSavedBannerMs);
  }
  ctl.blockingScene = false;
  if (saved && slot <= kRememberedSlots) {
    settings.LastSaveSlot = slot;
    WriteSetting("LastSaveSlot", slot);
  }
  return saved;
}

bool TForm1::SaveGame(int slot, bool quiet) { return SaveSlot(slot, quiet, {}); }

bool TForm1::WriteSlotComment(int slot, std::string_view comment) {
  if (slot < kFirstSlot || slot > kLastSlot) return false;
  const std::filesystem::path file = SlotFile(slot);
  std::error_code ec;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!std::filesystem::is_regular_file(file, ec) || !ReadWholeFile(file, bytes, kSlotFileSize, error)) return false;
  // Only a file holding a whole label record takes a comment; the file keeps its length.
  if (bytes.size() < kCommentOffset + kCommentField) return false;
  const std::string_view cut = SjisCut(comment, kCommentMax);
  std::fill_n(bytes.begin() + kCommentOffset, kCommentField, uint8_t{0});
  std::copy(cut.begin(), cut.end(), bytes.begin() + kCommentOffset);
  return WriteFileAtomically(file, bytes);
}

}  // namespace torvel
