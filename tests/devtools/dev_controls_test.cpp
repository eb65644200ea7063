// The developer controls as the headless host plays them: trace mode, the script selector, the
// variable editor and its hold on save0.dat, and presses that wait for the frame loop.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "devtools/variable_editor_model.h"
#include "platform/headless/input_script.h"
#include "resources/sjis.h"
#include "shell/engine.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;
using testing::GameFixture;
using testing::InputLinesFrom;

std::vector<uint8_t> FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Scene flag n (flag set E) as save0.dat holds it.
bool FileSceneFlag(const fs::path& file, int n) {
  const std::vector<uint8_t> bytes = FileBytes(file);
  const std::optional<GlobalData> data = DecodeGlobalData(bytes);
  EXPECT_TRUE(data.has_value());
  if (!data) return false;
  return (data->sceneFlags[static_cast<size_t>(n / 8)] >> (n % 8) & 1) != 0;
}

class DevControls : public ::testing::Test {
 protected:
  TForm1& Start() {
    game.Script("main", "!S000=0\n!S028=1\n一。\n\\\n二。\n\\\n三。\n\\\n")
        .Script("other", "!V001=7\n別。\n\\\n")
        .Script("STITLE", "タイトル。\n\\\n");
    // Listed by the archive, but larger than the script buffer: it never loads.
    game.ScriptBytes("big", std::vector<uint8_t>(kScriptBufferSize + 1, 'x'));
    TForm1& e = game.Start();
    game.RunToWait();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  // Input lines with times counted from now; what the run wrote on stderr.
  std::string Play(const std::string& lines, uint32_t runMs = 300) {
    const uint32_t now = game.Host().TickCount();
    InputScript script = ParseInputScript(InputLinesFrom(now, lines));
    EXPECT_EQ(script.error, "");
    ::testing::internal::CaptureStderr();
    game.Host().SetInput(script.events);
    game.Host().RunUntil(now + runMs);
    return ::testing::internal::GetCapturedStderr();
  }
  std::string DevState() {
    const std::string state = E().DescribeState();
    const size_t at = state.find("\"dev\":");
    return at == std::string::npos ? std::string() : state.substr(at, state.find('}', at) - at + 1);
  }
  fs::path GlobalFile() { return E().SaveFolder() / "save0.dat"; }

  GameFixture game;
};

TEST(DevLinesTest, ParseTheirFormsAndRefuseOthers) {
  struct Case {
    const char* line;
    bool ok;
    const char* action;
    const char* name;
    int cell;
    bool on;
  };
  const Case cases[] = {
      {"5 dev trace on", true, "trace", "", 0, true},
      {"5 dev trace OFF", true, "trace", "", 0, false},
      {"5 dev select day_2", true, "select", "day_2", 0, false},
      {"5 dev flag-editor", true, "flag-editor", "", 0, false},
      {"5 dev flag-editor close", true, "flag-editor-close", "", 0, false},
      {"5 dev bit g2 999 set", true, "bit", "G2", 999, true},
      {"5 dev bit F 0 clear", true, "bit", "F", 0, false},
      {"5 dev trace", false, "", "", 0, false},
      {"5 dev trace maybe", false, "", "", 0, false},
      {"5 dev select", false, "", "", 0, false},
      {"5 dev select a b", false, "", "", 0, false},
      {"5 dev bit V 3 set", false, "", "", 0, false},  // a value table has no bits
      {"5 dev bit T 3 set", false, "", "", 0, false},
      {"5 dev bit F 1000 set", false, "", "", 0, false},
      {"5 dev bit F -1 set", false, "", "", 0, false},
      {"5 dev bit F 3 toggle", false, "", "", 0, false},
      {"5 dev flag-editor open", false, "", "", 0, false},
      {"5 dev", false, "", "", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const InputScript s = ParseInputScript(c.line);
    EXPECT_EQ(s.error.empty(), c.ok) << s.error;
    if (!c.ok || s.events.size() != 1) continue;
    const InputEvent& e = s.events[0];
    EXPECT_EQ(e.kind, InputEvent::Kind::Dev);
    EXPECT_EQ(e.devAction, c.action);
    EXPECT_EQ(e.devName, c.name);
    EXPECT_EQ(e.devCell, c.cell);
    EXPECT_EQ(e.devOn, c.on);
  }
}

TEST_F(DevControls, TraceLinesSetTheCheckBoxAndTheStateShowsIt) {
  Start();
  EXPECT_EQ(DevState(), "\"dev\":{\"traceMode\":false,\"flagEditorOpen\":false,\"globalDataReplace\":false}");
  Play("0 dev trace on\n");
  EXPECT_TRUE(E().ctl.traceMode);
  EXPECT_EQ(DevState(), "\"dev\":{\"traceMode\":true,\"flagEditorOpen\":false,\"globalDataReplace\":false}");
  Play("0 dev trace off\n");
  EXPECT_FALSE(E().ctl.traceMode);
}

TEST_F(DevControls, SelectorStartsAListedScriptAtItsTopWithAnEmptyCallStack) {
  Start();
  E().script.callDepth = 2;
  Play("0 dev select Other\n");
  EXPECT_EQ(E().script.loadedScript, "OTHER");
  EXPECT_EQ(E().script.callDepth, 0);
  EXPECT_EQ(E().vars.V(1), 7) << "run from its first line";
}

TEST_F(DevControls, SelectorLeavesTheStoryAsItWasForANameThatDoesNotStart) {
  Start();
  struct Case {
    const char* what;
    const char* line;
  };
  const Case cases[] = {
      {"unlisted", "0 dev select nowhere\n"},
      {"listed but does not load", "0 dev select big\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    E().script.callDepth = 1;
    const int pc = E().script.pc;
    Play(c.line);
    EXPECT_EQ(E().script.loadedScript, "main");
    EXPECT_EQ(E().script.pc, pc);
    EXPECT_EQ(E().script.callDepth, 1) << "the call stack is reset only once the script has loaded";
  }
}

TEST_F(DevControls, ButtonsPressedInsideABlockingLoopActOnceBackInTheFrameLoop) {
  Start();
  // Pressed while the engine runs a loop of its own: nothing happens at the press.
  E().ctl.blockingScene = true;
  E().PressDeveloperButton(DevButton::ScriptSelector, "other");
  E().PressDeveloperButton(DevButton::FlagEditor);
  EXPECT_EQ(E().script.loadedScript, "main");
  EXPECT_FALSE(E().devtools.flagEditorOpen);
  game.Host().RunFrames(3);
  EXPECT_EQ(E().script.loadedScript, "main") << "not while the blocking scene holds the frame loop";
  EXPECT_TRUE(game.Host().Messages().empty());
  E().ctl.blockingScene = false;
  game.Host().RunFrame();
  EXPECT_EQ(E().script.loadedScript, "OTHER");
  EXPECT_TRUE(E().devtools.flagEditorOpen);
  game.Host().RunFrames(3);
  EXPECT_EQ(game.Host().Messages().size(), 1u) << "each press acts once";
}

TEST_F(DevControls, FlagEditorAsksAndOkKeepsTheOldFileAsBackup) {
  Start();
  E().vars.E.Set(7);
  E().vars.E.Set(8);
  ASSERT_TRUE(E().SaveGlobalData(0));
  const std::vector<uint8_t> before = FileBytes(GlobalFile());
  ASSERT_FALSE(before.empty());

  Play("0 answer ok\n0 dev flag-editor\n100 dev bit E 7 clear\n150 dev bit G2 51 set\n");
  ASSERT_EQ(game.Host().Messages().size(), 1u);
  EXPECT_EQ(game.Host().Messages()[0].caption, Utf8ToSjis("変数エディタ"));
  EXPECT_EQ(game.Host().Messages()[0].text,
            Utf8ToSjis("変数エディタでの変更を save0.dat にそのまま書き込みますか？（今の save0.dat は save0.dat.bak "
                       "に残します）"));
  EXPECT_EQ(DevState(), "\"dev\":{\"traceMode\":false,\"flagEditorOpen\":true,\"globalDataReplace\":true}");
  EXPECT_EQ(FileBytes(GlobalFile()), before) << "save0.dat is never deleted";
  EXPECT_EQ(FileBytes(E().SaveFolder() / "save0.dat.bak"), before);
  EXPECT_FALSE(E().vars.E.Test(7));
  EXPECT_TRUE(E().vars.D.Test(1000 + 50 + 1)) << "row 1, column 1 of G2";

  // While open, a write stores the cleared bit as it is.
  ASSERT_TRUE(E().SaveGlobalData(0));
  EXPECT_FALSE(FileSceneFlag(GlobalFile(), 7));
  EXPECT_TRUE(FileSceneFlag(GlobalFile(), 8));

  // The first write after closing still stores memory as it is; the one after merges again.
  Play("0 dev flag-editor close\n");
  EXPECT_EQ(DevState(), "\"dev\":{\"traceMode\":false,\"flagEditorOpen\":false,\"globalDataReplace\":true}");
  E().vars.E.Set(8, false);
  ASSERT_TRUE(E().SaveGlobalData(0));
  EXPECT_FALSE(FileSceneFlag(GlobalFile(), 8));
  EXPECT_FALSE(E().devtools.globalDataReplace);
  E().vars.E.Set(9);
  ASSERT_TRUE(E().SaveGlobalData(0));
  E().vars.E.Set(9, false);
  ASSERT_TRUE(E().SaveGlobalData(0));
  EXPECT_TRUE(FileSceneFlag(GlobalFile(), 9)) << "merging from the file again";
  EXPECT_TRUE(E().vars.E.Test(9));
}

TEST_F(DevControls, FlagEditorCancelChangesNothingAndTheMergeRestoresClearedBits) {
  Start();
  E().vars.E.Set(7);
  ASSERT_TRUE(E().SaveGlobalData(0));
  const std::vector<uint8_t> before = FileBytes(GlobalFile());
  Play("0 answer cancel\n0 dev flag-editor\n100 dev bit E 7 clear\n");
  EXPECT_EQ(DevState(), "\"dev\":{\"traceMode\":false,\"flagEditorOpen\":true,\"globalDataReplace\":false}");
  EXPECT_FALSE(fs::exists(E().SaveFolder() / "save0.dat.bak"));
  EXPECT_EQ(FileBytes(GlobalFile()), before);
  EXPECT_FALSE(E().vars.E.Test(7));
  ASSERT_TRUE(E().SaveGlobalData(0));
  EXPECT_TRUE(FileSceneFlag(GlobalFile(), 7));
  EXPECT_TRUE(E().vars.E.Test(7));
}

TEST_F(DevControls, BitLinesNeedTheOpenEditor) {
  Start();
  const std::string notes = Play("0 dev bit F 3 set\n");
  EXPECT_FALSE(E().vars.F.Test(3));
  EXPECT_NE(notes.find("the flag editor is not open"), std::string::npos) << notes;
  Play("0 answer cancel\n0 dev flag-editor\n50 dev bit F 3 set\n60 dev bit R 999 set\n70 dev bit G3 0 set\n");
  EXPECT_TRUE(E().vars.F.Test(3));
  EXPECT_TRUE(E().vars.C.Test(999));
  EXPECT_TRUE(E().vars.D.Test(2000));
  Play("0 dev bit F 3 clear\n");
  EXPECT_FALSE(E().vars.F.Test(3));
}

TEST_F(DevControls, SystemVariablesSetInTheEditorRefreshTheMenus) {
  Start();
  E().UpdateMenus();
  ASSERT_EQ(E().menus.State(MenuId::Main, "save"), MenuEntryState::Enabled);
  Play("0 answer cancel\n0 dev flag-editor\n");
  VariableEditorState& editor = E().devtools.flagEditor;
  editor.view = VarView::S;
  // S000 is the first value cell: a left press adds one, leaving phase 1, where saving is off.
  E().ApplyVariableEdit(PressAt(editor, E().vars, kGridLeft + 1, kValueTop + 1, true));
  Release(editor);
  EXPECT_EQ(E().vars.S(0), 1);
  EXPECT_EQ(E().menus.State(MenuId::Main, "save"), MenuEntryState::Disabled);
  E().ApplyVariableEdit(StoreValueText(editor, E().vars, "0"));
  EXPECT_EQ(E().menus.State(MenuId::Main, "save"), MenuEntryState::Enabled);
  // S028 (row 1, column 8) := 0: the story has not started, and saving is off again.
  E().ApplyVariableEdit(PressAt(editor, E().vars, kGridLeft + 8 * 40 + 1, kValueTop + 16 + 1, false));
  E().ApplyVariableEdit(StoreValueText(editor, E().vars, "0"));
  EXPECT_EQ(E().vars.S(28), 0);
  EXPECT_EQ(E().menus.State(MenuId::Main, "save"), MenuEntryState::Disabled);
  // Text that is not a whole number stores nothing and asks nothing.
  const size_t messages = game.Host().Messages().size();
  E().ApplyVariableEdit(StoreValueText(editor, E().vars, "-"));
  EXPECT_EQ(E().vars.S(28), 0);
  EXPECT_EQ(game.Host().Messages().size(), messages);
}

}  // namespace
}  // namespace torvel
