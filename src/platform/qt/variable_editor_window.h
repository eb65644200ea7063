#pragma once
// TForm4, the variable editor ("変数エディタ"): the variable store and the flag sets as grids of
// text on blue, changed with the mouse while the story runs. A view over the engine's
// VariableEditorState; the rules are in devtools/variable_editor_model.
#include <QImage>
#include <QWidget>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace torvel {

class TForm1;

class VariableEditorWindow : public QWidget {
 public:
  explicit VariableEditorWindow(TForm1& engine, QWidget* parent = nullptr);

  // Draws the current view into the surface and shows it.
  void Redraw();
  const QImage& Surface() const { return surface_; }
  QWidget* Canvas() const { return canvas_; }
  QButtonGroup* Views() const { return views_; }
  QButtonGroup* Pages() const { return pages_; }
  QLineEdit* ValueBox() const { return value_; }
  QPushButton* Enter() const { return enter_; }
  QLabel* HoverLabel() const { return hover_; }

  // The surface's mouse, in its own coordinates.
  void Press(int x, int y, bool left);
  void Move(int x, int y);
  void Release();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  TForm1& engine_;
  QImage surface_;
  QWidget* canvas_;
  QButtonGroup* views_;
  QButtonGroup* pages_;
  QLineEdit* value_;
  QPushButton* enter_;
  QLabel* hover_;
};

}  // namespace torvel
