#include "platform/headless/dev_lines.h"

#include "devtools/variable_editor_model.h"
#include "shell/engine.h"

namespace torvel {

namespace {

VarView BitViewByName(const std::string& name) {
  if (name == "E") return VarView::E;
  if (name == "G") return VarView::G;
  if (name == "R") return VarView::R;
  if (name == "G2") return VarView::G2;
  if (name == "G3") return VarView::G3;
  return VarView::F;
}

}  // namespace

void RunDevLine(TForm1& engine, const InputEvent& e, std::ostream& notes) {
  if (e.devAction == "trace") {
    // A check box: it changes at once.
    engine.ctl.traceMode = e.devOn;
  } else if (e.devAction == "select") {
    engine.PressDeveloperButton(DevButton::ScriptSelector, e.devName);
  } else if (e.devAction == "flag-editor") {
    engine.PressDeveloperButton(DevButton::FlagEditor);
  } else if (e.devAction == "flag-editor-close") {
    engine.CloseFlagEditor();
  } else if (e.devAction == "bit") {
    if (!engine.devtools.flagEditorOpen) {
      notes << "dev: the flag editor is not open at " << e.time << " ms; the line is ignored\n";
      return;
    }
    // A press on the cell's middle, left to set and right to clear, and its release.
    VariableEditorState& state = engine.devtools.flagEditor;
    state.view = BitViewByName(e.devName);
    const int x = kGridLeft + 16 * (e.devCell % 50) + 8;
    const int y = kBitTop + 16 * (e.devCell / 50) + 8;
    engine.ApplyVariableEdit(PressAt(state, engine.vars, x, y, e.devOn));
    Release(state);
  }
}

}  // namespace torvel
