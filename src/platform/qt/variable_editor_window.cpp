#include "platform/qt/variable_editor_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdio>

#include "devtools/variable_editor_model.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr int kSurfaceWidth = 873;
constexpr int kSurfaceHeight = 441;
constexpr int kSurfaceTop = 40;

const char* const kViewNames[] = {"F", "V", "S", "E", "T", "G", "R", "G2", "G3"};

// The surface: forwards the mouse to the window and paints its image.
class SurfaceView : public QWidget {
 public:
  SurfaceView(VariableEditorWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setFixedSize(kSurfaceWidth, kSurfaceHeight);
    setMouseTracking(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, window_.Surface());
  }
  void mousePressEvent(QMouseEvent* e) override {
    window_.Press(e->position().toPoint().x(), e->position().toPoint().y(), e->button() == Qt::LeftButton);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    window_.Move(e->position().toPoint().x(), e->position().toPoint().y());
  }
  void mouseReleaseEvent(QMouseEvent*) override { window_.Release(); }

 private:
  VariableEditorWindow& window_;
};

bool BitOf(const TForm1& engine, VarView view, int cell) {
  const VarStore& v = engine.vars;
  switch (view) {
    case VarView::F: return v.F.Test(cell);
    case VarView::E: return v.E.Test(cell);
    case VarView::G: return v.D.Test(cell);
    case VarView::G2: return v.D.Test(1000 + cell);
    case VarView::G3: return v.D.Test(2000 + cell);
    case VarView::R: return v.C.Test(cell);
    default: return false;
  }
}

// Text drawn with its top-left corner at (x, y).
void DrawAt(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(QRect(x, y, 1000, 16), Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

VariableEditorWindow::VariableEditorWindow(TForm1& engine, QWidget* parent)
    : QWidget(parent, Qt::Tool), engine_(engine), surface_(kSurfaceWidth, kSurfaceHeight, QImage::Format_RGB32) {
  setWindowTitle(QString::fromUtf8("変数エディタ"));
  setObjectName("TForm4");
  auto* top = new QHBoxLayout;
  views_ = new QButtonGroup(this);
  for (int i = 0; i < 9; ++i) {
    auto* b = new QRadioButton(kViewNames[i], this);
    views_->addButton(b, i);
    top->addWidget(b);
  }
  views_->button(static_cast<int>(engine_.devtools.flagEditor.view))->setChecked(true);
  pages_ = new QButtonGroup(this);
  for (int i = 0; i < 2; ++i) {
    auto* b = new QRadioButton(i == 0 ? "+0" : "+500", this);
    pages_->addButton(b, i);
    top->addWidget(b);
  }
  pages_->button(engine_.devtools.flagEditor.page)->setChecked(true);
  auto* refresh = new QPushButton("refresh", this);
  top->addWidget(refresh);
  value_ = new QLineEdit(this);
  value_->setEnabled(false);
  enter_ = new QPushButton("Enter", this);
  hover_ = new QLabel(this);
  top->addWidget(value_);
  top->addWidget(enter_);
  top->addWidget(hover_);
  canvas_ = new SurfaceView(*this, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(top);
  layout->addWidget(canvas_);
  layout->addStretch();

  connect(views_, &QButtonGroup::idClicked, this, [this](int id) {
    engine_.devtools.flagEditor.view = static_cast<VarView>(id);
    Redraw();
  });
  connect(pages_, &QButtonGroup::idClicked, this, [this](int id) {
    engine_.devtools.flagEditor.page = id;
    Redraw();
  });
  connect(refresh, &QPushButton::clicked, this, [this] { Redraw(); });
  // Every change of the text stores it; "Enter" stores it and draws again.
  connect(value_, &QLineEdit::textEdited, this, [this](const QString& text) {
    engine_.ApplyVariableEdit(StoreValueText(engine_.devtools.flagEditor, engine_.vars, text.toStdString()));
  });
  connect(enter_, &QPushButton::clicked, this, [this] {
    engine_.ApplyVariableEdit(StoreValueText(engine_.devtools.flagEditor, engine_.vars, value_->text().toStdString()));
    Redraw();
  });
  move(0, 0);
  Redraw();
}

void VariableEditorWindow::Redraw() {
  const VariableEditorState& state = engine_.devtools.flagEditor;
  surface_.fill(QColor(0, 0, 255));
  QPainter painter(&surface_);
  QFont font("IPAGothic");
  font.setPixelSize(16);
  painter.setFont(font);
  painter.setPen(Qt::white);
  char text[64];
  switch (LayoutOf(state.view)) {
    case VarLayout::Bits:
      DrawAt(painter, 0, 0, "    +00                  +10                 +20                 +30                 +40");
      for (int c = 0; c < 50; ++c) DrawAt(painter, kGridLeft + 16 * c, 20, QString::number(c % 10));
      for (int r = 0; r < 20; ++r) {
        std::snprintf(text, sizeof text, "%3d:", 50 * r);
        DrawAt(painter, 0, kBitTop + 16 * r, text);
        for (int c = 0; c < 50; ++c) {
          DrawAt(painter, kGridLeft + 16 * c, kBitTop + 16 * r,
                 QString::fromUtf8(BitOf(engine_, state.view, 50 * r + c) ? "■" : "□"));
        }
      }
      break;
    case VarLayout::Values: {
      const char* prefix = state.view == VarView::V ? "VAL" : "SYS";
      DrawAt(painter, 0, 0, prefix);
      for (int c = 0; c < 20; ++c) {
        std::snprintf(text, sizeof text, "%+d", c);
        painter.drawText(QRect(kGridLeft + 40 * c, 0, 36, 16), Qt::AlignRight | Qt::AlignTop, text);
      }
      for (int r = 0; r < 25; ++r) {
        std::snprintf(text, sizeof text, "%03d", state.page * 500 + 20 * r);
        DrawAt(painter, 0, kValueTop + 16 * r, text);
        for (int c = 0; c < 20; ++c) {
          const int index = VariableIndexOf(state, 20 * r + c);
          painter.drawText(QRect(kGridLeft + 40 * c, kValueTop + 16 * r, 36, 16), Qt::AlignRight | Qt::AlignTop,
                           QString::number(engine_.vars.vars[static_cast<size_t>(index)]));
        }
      }
      break;
    }
    case VarLayout::None: DrawAt(painter, 0, 0, "T"); break;
  }
  painter.end();
  canvas_->update();
}

void VariableEditorWindow::Press(int x, int y, bool left) {
  VariableEditorState& state = engine_.devtools.flagEditor;
  const VarEditResult result = PressAt(state, engine_.vars, x, y, left);
  engine_.ApplyVariableEdit(result);
  if (LayoutOf(state.view) == VarLayout::Values && state.selected >= 0 && result.redraw) {
    value_->setEnabled(true);
    value_->setText(QString::number(engine_.vars.vars[static_cast<size_t>(state.selected)]));
  }
  if (result.redraw) Redraw();
}

void VariableEditorWindow::Move(int x, int y) {
  VariableEditorState& state = engine_.devtools.flagEditor;
  const int before = state.hovered;
  const VarEditResult result = MoveTo(state, engine_.vars, x, y);
  if (state.hovered != before && state.hovered >= 0) {
    const std::string label = torvel::HoverLabel(state, state.hovered, engine_.layers.galleryPictures,
                                                 engine_.recollectionScreen.table.scripts);
    hover_->setText(QString::fromStdString(SjisToUtf8(label)));
  }
  if (result.redraw) Redraw();
}

void VariableEditorWindow::Release() { torvel::Release(engine_.devtools.flagEditor); }

void VariableEditorWindow::closeEvent(QCloseEvent* event) {
  engine_.CloseFlagEditor();
  QWidget::closeEvent(event);
}

}  // namespace torvel
