#include "platform/qt/name_entry_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/dialog_support.h"
#include "screens/name_entry.h"

namespace torvel {

NameEntryDialog::NameEntryDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setFont(DialogFont());
  setWindowTitle(FromUtf8(kNameEntryCaption));
  setFixedSize(kNameEntryWidth, kNameEntryHeight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 8, 12, 8);
  layout->setSpacing(4);
  auto* prompt = new QLabel(FromUtf8(kNameEntryPrompt), this);
  prompt->setObjectName(QStringLiteral("StaticText1"));
  auto* rule = new QLabel(FromUtf8(kNameEntryRule), this);
  rule->setObjectName(QStringLiteral("StaticText2"));
  layout->addWidget(prompt);
  layout->addWidget(rule);

  auto* fields = new QGridLayout;
  fields->setVerticalSpacing(3);
  for (int i = 0; i < NameEntryModel::kFieldCount; ++i) {
    auto* label = new QLabel(FromUtf8(kNameEntryLabels[static_cast<size_t>(i)]), this);
    label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
    label->setBuddy(edit);
    fields->addWidget(label, i, 0);
    fields->addWidget(edit, i, 1);
    edits_[static_cast<size_t>(i)] = edit;
    connect(edit, &QLineEdit::textChanged, this, [this, i](const QString& text) {
      if (model_) model_->SetField(i, ToUtf8(text));
    });
  }
  layout->addLayout(fields);

  auto* buttons = new QHBoxLayout;
  default_ = new QPushButton(FromUtf8(kNameEntryDefaultButton), this);
  default_->setObjectName(QStringLiteral("Button2"));
  default_->setAutoDefault(false);
  ok_ = new QPushButton(FromUtf8(kNameEntryOkButton), this);
  ok_->setObjectName(QStringLiteral("Button1"));
  ok_->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(default_);
  buttons->addWidget(ok_);
  layout->addLayout(buttons);

  connect(default_, &QPushButton::clicked, this, [this] {
    if (!model_) return;
    model_->PressDefault();
    ShowFields();
  });
  connect(ok_, &QPushButton::clicked, this, [this] { PressOk(); });
}

void NameEntryDialog::Bind(NameEntryModel& model) {
  model_ = &model;
  ShowFields();
  edits_[0]->setFocus();
  edits_[0]->selectAll();
}

void NameEntryDialog::ShowFields() {
  for (int i = 0; i < NameEntryModel::kFieldCount; ++i) {
    QLineEdit* edit = edits_[static_cast<size_t>(i)];
    const QString text = FromUtf8(model_->Field(i));
    // Only a field that differs is replaced, so the caret stays where the player left it.
    if (edit->text() != text) edit->setText(text);
  }
}

void NameEntryDialog::PressOk() {
  if (!model_) return;
  if (model_->PressOk()) {
    accept();
    return;
  }
  ShowFields();
  if (model_->RefusedField() >= 0) {
    QLineEdit* refused = edits_[static_cast<size_t>(model_->RefusedField())];
    refused->setFocus();
    refused->selectAll();
  }
}

void NameEntryDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace torvel
