// Process start of the engine: window creation, the start-up sequence and the first tick.
#include <chrono>
#include <filesystem>

#include "platform/sound_device.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

TForm1::TForm1(Host& h, EngineOptions o) : host(h), options(std::move(o)) {}

void TForm1::FormCreate() {
  ctl.quitRequested = false;
  // A setup program beside the game is started instead of the game.
  std::error_code ec;
  if (std::filesystem::is_regular_file(GamePath("setup.exe"), ec)) {
    host.OpenWithDefaultHandler(GamePath("setup.exe").string());
    ctl.quitRequested = true;
    Close();
  }
  RunStartupSequence();
  host.SetCaption(config.TITLE);
}

bool TForm1::FailStartup(const std::string& detail) {
  // The original message, and on a line of its own which file is to blame and why.
  host.ShowMessage("Error!", Utf8ToSjis("ゲームデータを読み込めません。\n" + detail), MessageButtons::Ok,
                   MessageIcon::Error);
  ctl.startupFailed = true;
  ctl.quitRequested = true;
  Close();
  return false;
}

void TForm1::RunStartupSequence() {
  uint32_t seed =
      options.seed ? *options.seed : static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
  random.Seed(seed);
  for (int i = 0; i < 200; ++i) vars.S(i) = 0;
  ctl.soundDevicePresent = host.Sound().OutputDeviceCount() > 0;
  // An archive that cannot be read, or whose index is damaged, counts as missing.
  OpenDataArchives();
  if (!archives.data.Present() || archives.data.Damaged()) {
    FailStartup(archives.data.error);
    return;
  }
  ReadGameConfiguration();
  ReadSettings();
  CreateScreenBuffers();
  OpenAssetArchives();
  if (!archives.gra[0].Present() || archives.gra[0].Damaged()) {
    FailStartup(archives.gra[0].error);
    return;
  }
  LoadPictureDefinitions();
  LoadSystemPictures();
  ResetGlyphCache();
  InitTextWindow();
  InitQuickButtons();
  WaitReset();
  vars.E.Clear();
  vars.D.Clear();
  vars.C.Clear();
  vars.F.Clear();
  for (int i = 0; i < 1000; ++i) vars.V(i) = 0;
  vars.S(100) = settings.Clear;
  LoadGlobalData();
  SaveGlobalData(1);
  vars.S(0) = 3;
  vars.S(5) = 0;
  vars.S(8) = 8;
  vars.S(20) = 250;
  vars.S(21) = 550;
  vars.S(27) = 5;
  vars.S(32) = 520;
  vars.S(33) = 30;
  vars.S(37) = 0xFFFFFF;
  UpdateMenus();
  host.SetScaling(settings.WindowScale, settings.IntegerScaling != 0);
  text.windowShown = false;
  for (int i = 160; i <= 163; ++i) vars.S(i) = 0;
  ctl.dialogOpen = 0;
  ctl.backlogOpen = false;
  ctl.interruptibleWait = false;
  ctl.interruptRequest = 0;
  for (std::string& slot : text.nameSlots) slot.clear();
  text.nameSlots[0] = settings.PlayerName;
  text.nameSlots[1] = settings.PlayerName2;
  text.nameSlots[2] = settings.PlayerName3;
  vars.S(31) = 0;
  ctl.startPending = true;
  ResetObjects();
  LoadViewerLists();
  LoadSelectionTrees();
  LoadRecollectionTable();
  InitTitleScreens();
}

void TForm1::FirstTick() {
  ctl.startPending = false;
  if (ctl.quitRequested) {
    Close();
    return;
  }
  EnterFullScreen();  // as SMode asks
  layers.screen.Fill(0, 0, 0);
  host.Present(layers.screen, Rect{0, 0, kScreenWidth, kScreenHeight});
  script.callDepth = 0;
  script.currentScript = "main";
  // A main script too large to load has been named to the player; the game cannot start.
  if (!LoadScript("main", 1) && ScriptRefusedForSize("main")) {
    ctl.startupFailed = true;
    ctl.quitRequested = true;
    Close();
    return;
  }
  InitSoundOutput();
}

}  // namespace torvel
