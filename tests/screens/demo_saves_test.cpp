// The bundled demo keeps saves: saving is allowed from its first page, the scene has a title, and
// its save and load sounds play.
#include <gtest/gtest.h>

#include "platform/headless/input_script.h"
#include "resources/sjis.h"
#include "screens/save_test_game.h"
#include "support/built_demo.h"

namespace torvel {
namespace {

using namespace testing;

TEST(DemoSaves, QuickSaveAndTheLoadKeyOnTheFirstPage) {
  TempFolder folder;
  const std::filesystem::path dir = folder.Path() / "game";
  CopyBuiltDemo("game", dir);
  HeadlessHost host(folder.Path() / "config");
  TForm1 e(host, EngineOptions{dir, 1, true});
  host.Attach(&e);
  ASSERT_TRUE(host.Start());
  host.RunUntilSettled(5000);
  ASSERT_TRUE(StartDemoStory(host, e));
  ASSERT_EQ(e.ctl.waitKind, 1);
  ASSERT_TRUE(e.QuickSaveKeyActs());

  char q = 'q';
  e.FormKeyPress(q);
  const std::vector<uint8_t> file = FileBytes(dir / "save" / "save99.dat");
  ASSERT_EQ(file.size(), kSlotEnd);
  const std::string label(reinterpret_cast<const char*>(&file[kSlotLabel]));
  EXPECT_EQ(SjisToUtf8(label.substr(19)), "  夜明けの駅");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[kSlotComment])), "Quick Save");

  host.Sound().ClearCalls();
  char l = 'l';
  e.FormKeyPress(l);
  ASSERT_EQ(host.Sound().CallsOf(SoundOp::Create).size(), 1u);
  EXPECT_EQ(host.Sound().CallsOf(SoundOp::Create)[0].name, "SSE06");
  // The demo's load screen: its page of slots, slot 99 on the last page.
  EXPECT_EQ(e.ctl.saveLoadScreen, 2);
  EXPECT_EQ(e.saveScreen.used.size(), 10u);
  e.PBMouseDown(MouseButton::Right, ShiftState{}, 400, 300);
  EXPECT_EQ(e.ctl.saveLoadScreen, 0);
  host.Sound().ClearCalls();
  ASSERT_TRUE(e.SaveGame(1, false));
  ASSERT_EQ(host.Sound().CallsOf(SoundOp::Create).size(), 1u);
  EXPECT_EQ(host.Sound().CallsOf(SoundOp::Create)[0].name, "SSE05");
  EXPECT_TRUE(e.LoadGame(99, true));
}

// The plain demo has no save screen: its `save` and `load` lines open the list window.
TEST(DemoSaves, ThePlainDemoSavesAndLoadsThroughTheListWindow) {
  TempFolder folder;
  const std::filesystem::path dir = folder.Path() / "game";
  CopyBuiltDemo("plain", dir);
  HeadlessHost host(folder.Path() / "config");
  TForm1 e(host, EngineOptions{dir, 1, true});
  host.Attach(&e);
  InputScript input = ParseInputScript("0 dialog list save 5 駅にて\n0 dialog list load 5\n");
  ASSERT_EQ(input.error, "");
  host.SetInput(std::move(input.events));
  ASSERT_TRUE(host.Start());
  // Page by page through the name entry and the settings dialog (nothing queued for them) to the
  // save line and the load line, short of the exit at the end.
  for (int page = 0; page < 8; ++page) {
    ASSERT_TRUE(host.RunUntilSettled(5000));
    e.PBMouseDown(MouseButton::Left, ShiftState{}, 400, 300);
    e.PBMouseUp(MouseButton::Left, ShiftState{}, 400, 300);
  }
  const std::vector<uint8_t> file = FileBytes(dir / "save" / "save05.dat");
  ASSERT_EQ(file.size(), kSlotEnd);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[kSlotComment])), Utf8ToSjis("駅にて"));
  // Both list lines were taken and neither failed.
  EXPECT_EQ(e.saves.lastBanner, "");
}

}  // namespace
}  // namespace torvel
