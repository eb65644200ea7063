#include "platform/qt/script_selector_window.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "resources/sjis.h"

namespace torvel {

ScriptSelectorWindow::ScriptSelectorWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle("ScriptSelector");
  setObjectName("TForm5");
  auto* layout = new QVBoxLayout(this);
  mask_ = new QLineEdit(this);
  mask_->setObjectName("FileMask");
  list_ = new QListWidget(this);
  // The caption is the window's own, spelling and all.
  execute_ = new QPushButton("Executre", this);
  layout->addWidget(mask_);
  layout->addWidget(list_);
  layout->addWidget(execute_);
  resize(320, 480);
  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
  connect(mask_, &QLineEdit::textChanged, this, [this](const QString& text) {
    model_.MaskChanged(Utf8ToSjis(text.toStdString()));
    if (!model_.mask.empty()) ShowList();
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { ChooseSelected(); });
  connect(execute_, &QPushButton::clicked, this, [this] { ChooseSelected(); });
}

void ScriptSelectorWindow::Fill(const std::vector<std::string>& names) {
  model_.Show(names);
  ShowList();
}

std::string ScriptSelectorWindow::Choose(const std::vector<std::string>& names) {
  Fill(names);
  // Centred on the screen, and kept inside it.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(area.center());
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width())));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height())));
    move(frame.topLeft());
  }
  timer_.start();
  exec();
  timer_.stop();
  return model_.chosen;
}

void ScriptSelectorWindow::Tick() {
  const bool pending = model_.filterPending;
  model_.Tick();
  if (pending && !model_.filterPending) ShowList();
}

void ScriptSelectorWindow::ShowList() {
  list_->clear();
  for (const std::string& name : model_.shownList) list_->addItem(QString::fromStdString(SjisToUtf8(name)));
}

void ScriptSelectorWindow::ChooseSelected() {
  if (!model_.Choose(list_->currentRow())) return;
  accept();
}

}  // namespace torvel
