#include "platform/qt/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/qt/dialog_support.h"

namespace torvel {

namespace {

using C = SettingsControl;

constexpr int kSwatchSize = 24;
constexpr int kBackgroundBarHeight = 80;
constexpr int kNovelBarHeight = 48;
constexpr int kBarWidth = 20;

void Tighten(QLayout* layout) {
  layout->setContentsMargins(4, 2, 4, 2);
  layout->setSpacing(2);
}

bool IsVerticalBar(C control) { return control >= C::TrackBar5 && control <= C::TrackBar9; }

}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent) {
  setFont(DialogFont());
  setWindowTitle(FromUtf8(kSettingsCaption));
  setFixedSize(kSettingsWidth, kSettingsHeight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  // The pages are the dialog's children from the start, so they measure text in its font.
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("PageControl1"));
  pages_->addTab(SystemPage(), FromUtf8(kSettingsPages[0]));
  pages_->addTab(SoundPage(), FromUtf8(kSettingsPages[1]));
  pages_->addTab(TextPage(), FromUtf8(kSettingsPages[2]));
  pages_->addTab(NoticePage(), FromUtf8(kSettingsPages[3]));
  layout->addWidget(pages_);

  auto* buttons = new QHBoxLayout;
  close_ = new QPushButton(FromUtf8(kSettingsCloseButton), this);
  close_->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(close_);
  layout->addLayout(buttons);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

QWidget* SettingsDialog::Make(C control, QWidget* parent, int columns) {
  const SettingsControlInfo& info = InfoOf(control);
  const size_t index = static_cast<size_t>(control);
  QWidget* widget = nullptr;
  switch (info.kind) {
    case ControlKind::Radio: {
      auto* box = new QGroupBox(FromUtf8(info.caption), parent);
      auto* grid = new QGridLayout(box);
      Tighten(grid);
      auto* group = new QButtonGroup(box);
      for (int item = 0; item < info.itemCount; ++item) {
        auto* button = new QRadioButton(FromUtf8(info.items[static_cast<size_t>(item)]), box);
        group->addButton(button, item);
        grid->addWidget(button, item / columns, item % columns);
      }
      connect(group, &QButtonGroup::idToggled, this, [this, control](int id, bool checked) {
        if (checked) Changed(control, id);
      });
      groups_[index] = group;
      widget = box;
      break;
    }
    case ControlKind::Check: {
      auto* box = new QCheckBox(FromUtf8(info.caption), parent);
      connect(box, &QCheckBox::toggled, this, [this, control](bool on) { Changed(control, on ? 1 : 0); });
      widget = box;
      break;
    }
    case ControlKind::Track: {
      auto* slider = new QSlider(IsVerticalBar(control) ? Qt::Vertical : Qt::Horizontal, parent);
      slider->setRange(info.minimum, info.maximum);
      // As the original track bars: the lowest position at the top of a vertical bar.
      if (IsVerticalBar(control)) slider->setInvertedAppearance(true);
      connect(slider, &QSlider::valueChanged, this, [this, control](int value) { Changed(control, value); });
      widget = slider;
      break;
    }
    case ControlKind::Combo: {
      auto* combo = new QComboBox(parent);
      connect(combo, &QComboBox::currentIndexChanged, this, [this, control](int value) {
        if (value >= 0) Changed(control, value);
      });
      widget = combo;
      break;
    }
    case ControlKind::Spin: {
      auto* spin = new QSpinBox(parent);
      spin->setRange(info.minimum, info.maximum);
      spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
      spin->setKeyboardTracking(false);
      connect(spin, &QSpinBox::valueChanged, this, [this, control](int value) { Changed(control, value); });
      widget = spin;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(FromUtf8(info.caption), parent);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, control] { Pressed(control); });
      widget = button;
      break;
    }
  }
  widget->setObjectName(FromUtf8(info.name));
  widgets_[index] = widget;
  return widget;
}

QWidget* SettingsDialog::SystemPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  Tighten(grid);
  grid->addWidget(Make(C::RadioGroup6, page), 0, 0);
  grid->addWidget(Make(C::RadioGroup4, page), 1, 0);
  grid->addWidget(Make(C::RadioGroup5, page), 2, 0);
  grid->addWidget(Make(C::RadioGroup1, page), 0, 1, 2, 1);
  grid->addWidget(Make(C::RadioGroup2, page), 2, 1);
  grid->addWidget(Make(C::RadioGroup3, page, 1), 3, 0, 1, 2);
  grid->addWidget(Make(C::CheckBox1, page), 4, 0);
  grid->addWidget(Make(C::CheckBox2, page), 4, 1);
  grid->addWidget(Make(C::CheckBox15, page), 5, 0);
  grid->addWidget(Make(C::CheckBox17, page), 5, 1);
  grid->addWidget(Make(C::CheckBox6, page), 6, 0, 1, 2);
  grid->setRowStretch(7, 1);
  return page;
}

QWidget* SettingsDialog::SoundPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  Tighten(layout);
  auto* switches = new QHBoxLayout;
  switches->addWidget(Make(C::CheckBox13, page));
  switches->addWidget(Make(C::CheckBox3, page));
  switches->addWidget(Make(C::CheckBox14, page));
  switches->addStretch();
  layout->addLayout(switches);

  auto* bars = new QGridLayout;
  bars->setVerticalSpacing(0);
  int row = 0;
  for (C bar : {C::TrackBar1, C::TrackBar2, C::TrackBar3, C::TrackBar4}) {
    QWidget* heading = bar == C::TrackBar2 ? Make(C::Button1, page) : new QLabel(FromUtf8(InfoOf(bar).caption), page);
    bars->addWidget(heading, row, 0);
    bars->addWidget(Make(bar, page), row, 1);
    ++row;
  }
  layout->addLayout(bars);

  auto* detail = new QGroupBox(FromUtf8(kEffectDetailGroup), page);
  auto* detailGrid = new QGridLayout(detail);
  Tighten(detailGrid);
  detailGrid->addWidget(Make(C::CheckBox7, detail), 0, 0);
  detailGrid->addWidget(Make(C::CheckBox8, detail), 0, 1);
  detailGrid->addWidget(Make(C::CheckBox10, detail), 1, 0);
  detailGrid->addWidget(Make(C::CheckBox11, detail), 1, 1);
  layout->addWidget(detail);
  layout->addWidget(Make(C::CheckBox12, page));
  layout->addStretch();
  return page;
}

QWidget* SettingsDialog::TextPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  Tighten(grid);

  auto* font = new QVBoxLayout;
  font->addWidget(new QLabel(FromUtf8(kFontHeading), page));
  font->addWidget(Make(C::ComboBox1, page));
  font->addWidget(Make(C::CheckBox5, page));
  font->addWidget(new QLabel(FromUtf8(kFontSizeHeading), page));
  font->addWidget(Make(C::CSpinEdit1, page));
  font->addWidget(Make(C::RadioGroup7, page, 1));
  font->addStretch();
  grid->addLayout(font, 0, 0, 2, 1);

  auto* background = new QGroupBox(FromUtf8(kTextBackgroundGroup), page);
  auto* backgroundGrid = new QGridLayout(background);
  Tighten(backgroundGrid);
  // The four bars stand under the letters of the legend, placed by the legend's own spacing.
  auto* bars = new QWidget(background);
  const QString legendText = FromUtf8(kTextBackgroundLegend);
  auto* legend = new QLabel(legendText, bars);
  legend->move(0, 0);
  const QFontMetrics metrics(legend->font());
  const int legendHeight = metrics.height();
  const C barOrder[] = {C::TrackBar5, C::TrackBar6, C::TrackBar7, C::TrackBar8};
  qsizetype at = 0;
  for (C bar : barOrder) {
    while (at < legendText.size() && legendText[at] == QLatin1Char(' ')) ++at;
    qsizetype end = at;
    while (end < legendText.size() && legendText[end] != QLatin1Char(' ')) ++end;
    const int centre =
        (metrics.horizontalAdvance(legendText.left(at)) + metrics.horizontalAdvance(legendText.left(end))) / 2;
    QWidget* slider = Make(bar, bars);
    slider->setFixedSize(kBarWidth, kBackgroundBarHeight);
    slider->move(std::max(0, centre - kBarWidth / 2), legendHeight + 2);
    at = end;
  }
  bars->setFixedSize(std::max(metrics.horizontalAdvance(legendText), 0) + kBarWidth / 2,
                     legendHeight + 2 + kBackgroundBarHeight);
  backgroundGrid->addWidget(bars, 0, 0, 1, 4);
  swatch_ = new QLabel(background);
  swatch_->setObjectName(QStringLiteral("Image1"));
  swatch_->setFixedSize(kSwatchSize, kSwatchSize);
  swatch_->setAutoFillBackground(true);
  backgroundGrid->addWidget(swatch_, 2, 0, 1, 2);
  backgroundGrid->addWidget(Make(C::Button3, background), 2, 2, 1, 2);
  grid->addWidget(background, 0, 1);

  auto* novel = new QGroupBox(FromUtf8(kNovelModeGroup), page);
  auto* novelLayout = new QHBoxLayout(novel);
  Tighten(novelLayout);
  novelLayout->addWidget(new QLabel(FromUtf8(kNovelModeLabel), novel));
  QWidget* novelBar = Make(C::TrackBar9, novel);
  novelBar->setFixedHeight(kNovelBarHeight);
  novelLayout->addWidget(novelBar);
  novelLayout->addStretch();
  grid->addWidget(novel, 1, 1);

  auto* note = new QLabel(FromUtf8(kFontNote), page);
  note->setWordWrap(true);
  grid->addWidget(note, 2, 0, 1, 2);
  return page;
}

QWidget* SettingsDialog::NoticePage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  Tighten(layout);
  layout->addWidget(new QLabel(FromUtf8(kLicenceHeading), page));
  auto* notice = new QPlainTextEdit(FromUtf8(kLicenceNotice), page);
  notice->setReadOnly(true);
  layout->addWidget(notice);
  return page;
}

void SettingsDialog::Bind(SettingsDialogModel& model) {
  model_ = &model;
  auto* combo = static_cast<QComboBox*>(Control(C::ComboBox1));
  {
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const std::string& face : model.Faces()) combo->addItem(FromUtf8(face));
    combo->setPlaceholderText(FromUtf8(model.FaceText()));
  }
  pages_->setCurrentIndex(0);
  Sync();
}

void SettingsDialog::Changed(C control, int value) {
  if (!model_ || syncing_) return;
  model_->Change(control, value);
  Sync();
}

void SettingsDialog::Pressed(C control) {
  if (!model_) return;
  model_->Press(control);
  Sync();
}

void SettingsDialog::Sync() {
  if (!model_) return;
  syncing_ = true;
  for (const SettingsControlInfo& info : SettingsControls()) {
    QWidget* widget = Control(info.id);
    const int value = model_->Value(info.id);
    const QSignalBlocker blocker(widget);
    widget->setVisible(model_->Visible(info.id));
    switch (info.kind) {
      case ControlKind::Radio: {
        QButtonGroup* group = Group(info.id);
        const QSignalBlocker groupBlocker(group);
        // A stored value that names no item shows no item chosen.
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons()) button->setChecked(group->id(button) == value);
        group->setExclusive(true);
        break;
      }
      case ControlKind::Check: static_cast<QCheckBox*>(widget)->setChecked(value != 0); break;
      case ControlKind::Track: static_cast<QSlider*>(widget)->setValue(value); break;
      case ControlKind::Combo: static_cast<QComboBox*>(widget)->setCurrentIndex(value); break;
      case ControlKind::Spin: static_cast<QSpinBox*>(widget)->setValue(value); break;
      case ControlKind::Button: break;
    }
  }
  const std::array<uint8_t, 3> rgb = model_->Swatch();
  QPalette palette = swatch_->palette();
  palette.setColor(QPalette::Window, QColor(rgb[0], rgb[1], rgb[2]));
  swatch_->setPalette(palette);
  syncing_ = false;
}

}  // namespace torvel
