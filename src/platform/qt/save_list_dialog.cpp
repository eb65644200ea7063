#include "platform/qt/save_list_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/qt/dialog_support.h"
#include "screens/save_list.h"

namespace torvel {

namespace {

constexpr int kColumnWidths[kSaveListColumnCount] = {52, 128, 150, 130};

bool IsEnter(const QEvent* event) {
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QPushButton* Button(std::string_view caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(FromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  // Enter belongs to the list: no button presses itself on it.
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

SaveListDialog::SaveListDialog(QWidget* parent) : QDialog(parent) {
  setFont(DialogFont());
  setFixedSize(kSaveListWidth, kSaveListHeight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(6);
  heading_ = new QLabel(this);
  heading_->setObjectName(QStringLiteral("Label1"));
  layout->addWidget(heading_);

  table_ = new QTableWidget(0, kSaveListColumnCount, this);
  table_->setObjectName(QStringLiteral("ListView1"));
  table_->setShowGrid(true);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSortingEnabled(false);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(18);
  table_->horizontalHeader()->setSectionsClickable(true);
  table_->horizontalHeader()->setHighlightSections(false);
  QStringList headers;
  for (int c = 0; c < kSaveListColumnCount; ++c) {
    headers << FromUtf8(kSaveListColumns[static_cast<size_t>(c)]);
    table_->setColumnWidth(c, kColumnWidths[c]);
  }
  table_->setHorizontalHeaderLabels(headers);
  table_->installEventFilter(this);
  layout->addWidget(table_, 1);

  auto* commentRow = new QHBoxLayout;
  comment_ = new QLineEdit(this);
  comment_->setObjectName(QStringLiteral("Edit1"));
  commentButton_ = Button(kSaveListCommentButton, "Button4", this);
  commentRow->addWidget(comment_, 1);
  commentRow->addWidget(commentButton_);
  layout->addLayout(commentRow);

  auto* buttons = new QHBoxLayout;
  delete_ = Button(kSaveListDeleteButton, "Button3", this);
  close_ = Button(kSaveListCloseButton, "Button2", this);
  action_ = Button(kSaveListSave, "Button1", this);
  buttons->addWidget(delete_);
  buttons->addStretch();
  buttons->addWidget(close_);
  buttons->addWidget(action_);
  layout->addLayout(buttons);

  connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (!model_) return;
    model_->SortBy(column);
    ShowRows();
  });
  connect(table_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (!showingRows_) RowClicked(row);
  });
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    RowClicked(row);
    Act();
  });
  connect(comment_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (model_) model_->SetCommentBox(ToUtf8(text));
  });
  connect(commentButton_, &QPushButton::clicked, this, [this] {
    if (!model_) return;
    model_->SetCommentBox(ToUtf8(comment_->text()));
    if (model_->PressComment()) ShowRows();
  });
  connect(delete_, &QPushButton::clicked, this, [this] {
    if (!model_) return;
    if (model_->PressDelete()) ShowRows();
  });
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
  connect(action_, &QPushButton::clicked, this, [this] { Act(); });
}

void SaveListDialog::Bind(SaveListModel& model) {
  model_ = &model;
  const QString caption = FromUtf8(model.Caption());
  setWindowTitle(caption);
  heading_->setText(caption);
  action_->setText(caption);
  enterPressedInList_ = false;
  ShowRows();
  table_->setFocus();
}

void SaveListDialog::ShowRows() {
  showingRows_ = true;
  table_->setRowCount(model_->RowCount());
  for (int r = 0; r < model_->RowCount(); ++r) {
    for (int c = 0; c < kSaveListColumnCount; ++c) {
      const QString text = FromUtf8(model_->Cell(r, c));
      QTableWidgetItem* item = table_->item(r, c);
      if (!item) {
        table_->setItem(r, c, new QTableWidgetItem(text));
      } else if (item->text() != text) {
        item->setText(text);
      }
    }
  }
  table_->setCurrentCell(model_->Selected(), 0);
  table_->selectRow(model_->Selected());
  showingRows_ = false;
  ShowSelection();
}

void SaveListDialog::ShowSelection() {
  comment_->setText(FromUtf8(model_->CommentBox()));
  commentButton_->setEnabled(model_->CommentButtonEnabled());
}

void SaveListDialog::RowClicked(int row) {
  if (!model_ || row < 0) return;
  model_->Select(row);
  ShowSelection();
}

void SaveListDialog::Act() {
  if (!model_) return;
  model_->SetCommentBox(ToUtf8(comment_->text()));
  if (!model_->ConfirmAction()) return;
  done(kActionChosen);
}

void SaveListDialog::Run() {
  while (model_ && exec() == kActionChosen) {
    action_->setEnabled(false);
    const bool done = model_->PerformAction();
    action_->setEnabled(true);
    if (done) {
      setResult(QDialog::Accepted);
      return;
    }
    // A failed save or load has said so; the window comes back as it was.
    ShowRows();
    table_->setFocus();
  }
}

bool SaveListDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
      IsEnter(event)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress) {
      if (!key->isAutoRepeat()) enterPressedInList_ = true;
    } else if (!key->isAutoRepeat() && enterPressedInList_) {
      enterPressedInList_ = false;
      Act();
    }
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace torvel
