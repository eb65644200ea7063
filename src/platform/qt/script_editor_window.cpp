#include "platform/qt/script_editor_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBlock>
#include <QVBoxLayout>
#include <ctime>

#include "devtools/debug_settings.h"
#include "devtools/edit_history.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

QString Q(const std::string& sjis) { return QString::fromStdString(SjisToUtf8(sjis)); }
std::string S(const QString& text) { return Utf8ToSjis(text.toStdString()); }

DateTime Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  DateTime d;
  d.year = local.tm_year + 1900;
  d.month = local.tm_mon + 1;
  d.day = local.tm_mday;
  d.hour = local.tm_hour;
  d.minute = local.tm_min;
  d.second = local.tm_sec;
  return d;
}

const char* const kKindCaptions[] = {"絵", "コマンド", "変数", "文章", "分岐等", "その他"};

// The thumbnail area: presses go to the editor.
class ThumbnailArea : public QLabel {
 public:
  ThumbnailArea(ScriptEditorWindow& editor, QWidget* parent) : QLabel(parent), editor_(editor) {
    setFixedSize(kThumbnailAreaWidth, kThumbnailAreaHeight);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    editor_.PressThumbnail(e->position().toPoint().x(), e->position().toPoint().y(), e->button() == Qt::LeftButton);
  }
  void mouseReleaseEvent(QMouseEvent*) override { editor_.ReleaseThumbnail(); }

 private:
  ScriptEditorWindow& editor_;
};

}  // namespace

void BuildDebugScriptSet(TForm1& engine, const std::filesystem::path& settingsFolder, QWidget* parent) {
  SettingsStore store = DebugSettingsStore(settingsFolder, engine.config.GAME_ID);
  engine.RebuildDebugScriptSet();
  while (!engine.devtools.scripts.hasConfig) {
    const QString folder = QFileDialog::getExistingDirectory(parent, "DBG_SCRIPT_PATH");
    if (folder.isEmpty()) break;
    store.Write("DBG_SCRIPT_PATH", Utf8ToSjis(folder.toStdString()));
    engine.RebuildDebugScriptSet();
  }
}

// ---- TForm7 ----

SaveEditWindow::SaveEditWindow(int editedKinds, int lastEditedLine, const std::vector<std::string>& sjisLines,
                               QWidget* parent)
    : QDialog(parent), lastEditedLine_(lastEditedLine) {
  setWindowTitle(QString::fromUtf8("保存"));
  setObjectName("TForm7");
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QString::fromUtf8("今回の編集内容"), this);
  auto* groupLayout = new QHBoxLayout(group);
  for (int i = 0; i < 6; ++i) {
    auto* box = new QCheckBox(QString::fromUtf8(kKindCaptions[i]), group);
    box->setChecked((editedKinds & (1 << i)) != 0);
    groupLayout->addWidget(box);
    kinds_.push_back(box);
  }
  note_ = new QLineEdit(Q(HistoryNotePreset()), this);
  history_ = new QPlainTextEdit(this);
  save_ = new QPushButton(QString::fromUtf8("保存"), this);
  cancel_ = new QPushButton(QString::fromUtf8("キャンセル"), this);
  layout->addWidget(group);
  layout->addWidget(note_);
  layout->addWidget(history_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(save_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  QStringList lines;
  for (const std::string& line : StartHistory(sjisLines, Entry())) lines << Q(line);
  history_->setPlainText(lines.join('\n'));
  for (QCheckBox* box : kinds_) connect(box, &QCheckBox::toggled, this, [this] { RebuildFirstLine(); });
  connect(note_, &QLineEdit::textChanged, this, [this] { RebuildFirstLine(); });
  connect(save_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  resize(640, 360);
}

int SaveEditWindow::Kinds() const {
  int kinds = 0;
  for (size_t i = 0; i < kinds_.size(); ++i)
    if (kinds_[i]->isChecked()) kinds |= 1 << i;
  return kinds;
}

std::string SaveEditWindow::Entry() const {
  return HistoryEntry(Now(), LoginName(), lastEditedLine_, Kinds(), S(note_->text()));
}

void SaveEditWindow::RebuildFirstLine() {
  QStringList lines = history_->toPlainText().split('\n');
  if (lines.isEmpty()) lines << QString();
  lines[0] = Q(Entry());
  history_->setPlainText(lines.join('\n'));
}

std::vector<std::string> SaveEditWindow::History() const {
  std::vector<std::string> out;
  for (const QString& line : history_->toPlainText().split('\n')) out.push_back(S(line));
  return out;
}

// ---- TForm3 ----

ScriptEditorWindow::ScriptEditorWindow(TForm1& engine, std::filesystem::path settingsFolder, QWidget* parent)
    : QDialog(parent),
      engine_(engine),
      settingsFolder_(std::move(settingsFolder)),
      thumbnails_(kThumbnailAreaWidth, kThumbnailAreaHeight, QImage::Format_RGB32) {
  setObjectName("TForm3");
  setWindowTitle("Script Editor");
  setFixedSize(999, 707);
  runSaveWindow = [](SaveEditWindow& w) { return w.exec(); };
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  thumbnails_.fill(QColor(128, 128, 128));
  thumbnailView_ = new ThumbnailArea(*this, this);
  thumbnailView_->setPixmap(QPixmap::fromImage(thumbnails_));
  layout->addWidget(thumbnailView_);

  // The search words, the mode, the trim and the filters.
  auto* search = new QGroupBox(QString::fromUtf8("一致ワード(頭に # をつけるとバストアップ・トリミング）"), this);
  auto* searchLayout = new QGridLayout(search);
  wordButtons_ = new QButtonGroup(this);
  for (int i = 0; i < 8; ++i) {
    auto* button = new QRadioButton(search);
    auto* word = new QLineEdit(search);
    wordButtons_->addButton(button, i);
    words_.push_back(word);
    searchLayout->addWidget(button, i / 4, (i % 4) * 2);
    searchLayout->addWidget(word, i / 4, (i % 4) * 2 + 1);
  }
  wordButtons_->button(0)->setChecked(true);
  modes_ = new QButtonGroup(this);
  const char* const modeNames[] = {"AND", "OR", "NOT"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QRadioButton(modeNames[i], search);
    modes_->addButton(b, i);
    searchLayout->addWidget(b, 2, i);
  }
  modes_->button(0)->setChecked(true);
  word2_ = new QLineEdit(search);
  search_ = new QPushButton(QString::fromUtf8("検索"), search);
  trimStart_ = new QSpinBox(search);
  trimStart_->setRange(0, 300);
  trimStart_->setValue(50);
  trimSize_ = new QSpinBox(search);
  trimSize_->setRange(100, 600);
  trimSize_->setValue(200);
  searchLayout->addWidget(word2_, 2, 3);
  searchLayout->addWidget(search_, 2, 4);
  searchLayout->addWidget(new QLabel(QString::fromUtf8("トリム開始位置"), search), 2, 5);
  searchLayout->addWidget(trimStart_, 2, 6);
  searchLayout->addWidget(new QLabel(QString::fromUtf8("トリムサイズ"), search), 2, 7);
  searchLayout->addWidget(trimSize_, 2, 8);
  filterList_ = new QListWidget(search);
  filterName_ = new QLineEdit(search);
  filterAdd_ = new QPushButton(QString::fromUtf8("→"), search);
  filterDelete_ = new QPushButton("Del", search);
  searchLayout->addWidget(filterName_, 0, 8);
  searchLayout->addWidget(filterAdd_, 0, 9);
  searchLayout->addWidget(filterDelete_, 1, 9);
  searchLayout->addWidget(filterList_, 0, 10, 3, 1);
  layout->addWidget(search);

  progress_ = new QProgressBar(this);
  layout->addWidget(progress_);

  auto* middle = new QHBoxLayout;
  text_ = new QPlainTextEdit(this);
  text_->setStyleSheet("QPlainTextEdit { color: white; background: blue; }");
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  middle->addWidget(text_, 1);
  auto* right = new QVBoxLayout;
  auto* positions = new QGroupBox(QString::fromUtf8("立ち指定(BGを指定するときは注意）"), this);
  auto* posLayout = new QGridLayout(positions);
  positions_ = new QButtonGroup(this);
  const char* const posNames[] = {"１体", "左", "右", "BG", "", "", ""};
  for (int i = 0; i < 7; ++i) {
    auto* b = new QRadioButton(QString::fromUtf8(posNames[i]), positions);
    positions_->addButton(b, i);
    auto* box = new QLineEdit(positions);
    boxes_.push_back(box);
    posLayout->addWidget(b, i, 0);
    posLayout->addWidget(box, i, 1);
  }
  // The background's box belongs to "BG"; the boxes run one, left, right, background, three ×3.
  command_ = new QLineEdit(positions);
  insert_ = new QPushButton(QString::fromUtf8("埋め込み"), positions);
  posLayout->addWidget(command_, 7, 0, 1, 2);
  posLayout->addWidget(insert_, 8, 0, 1, 2);
  right->addWidget(positions);
  preview_ = new QLabel(this);
  preview_->setFixedSize(289, 225);
  right->addWidget(preview_);
  middle->addLayout(right);
  layout->addLayout(middle, 1);

  auto* bottom = new QHBoxLayout;
  folder_ = new QLineEdit(this);
  auto* browse = new QPushButton("...", this);
  fontSize_ = new QSpinBox(this);
  fontSize_->setRange(8, 36);
  fontSize_->setPrefix("FontSize ");
  save_ = new QPushButton(QString::fromUtf8("保存"), this);
  restart_ = new QPushButton(QString::fromUtf8("10行前からスタート"), this);
  close_ = new QPushButton(QString::fromUtf8("閉じる"), this);
  for (QWidget* w : std::initializer_list<QWidget*>{folder_, browse, fontSize_, save_, restart_, close_})
    bottom->addWidget(w);
  layout->addLayout(bottom);

  connect(search_, &QPushButton::clicked, this, [this] { Search(); });
  connect(wordButtons_, &QButtonGroup::idClicked, this, [this] { Search(); });
  connect(positions_, &QButtonGroup::idClicked, this, [this](int id) { PositionClicked(id); });
  connect(insert_, &QPushButton::clicked, this, [this] { Insert(); });
  connect(text_, &QPlainTextEdit::textChanged, this, [this] { TextChanged(); });
  connect(text_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (tracking_) caretPlaced_ = true;
  });
  connect(fontSize_, &QSpinBox::valueChanged, this, [this](int size) {
    QFont font = text_->font();
    font.setPointSize(size);
    text_->setFont(font);
  });
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString folder = QFileDialog::getExistingDirectory(this, QString(), folder_->text());
    if (!folder.isEmpty()) folder_->setText(folder);
  });
  connect(filterAdd_, &QPushButton::clicked, this, [this] { AddFilter(); });
  connect(filterDelete_, &QPushButton::clicked, this, [this] {
    const int row = filterList_->currentRow();
    if (row < 0 || static_cast<size_t>(row) >= filters_.size()) return;
    filters_.erase(filters_.begin() + row);
    delete filterList_->takeItem(row);
  });
  connect(filterList_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { FillFromFilter(filterList_->row(item)); });
  connect(save_, &QPushButton::clicked, this, [this] { Save(); });
  connect(restart_, &QPushButton::clicked, this, [this] { RestartTenBack(); });
  connect(close_, &QPushButton::clicked, this, [this] {
    if (MayDiscardEdits()) CloseWritingSettings();
  });
}

int ScriptEditorWindow::Run(int tag) {
  Open(tag);
  exec();
  return tag_;
}

void ScriptEditorWindow::Open(int tag) {
  tag_ = tag;
  editedKinds_ = 0;
  lastEditedLine_ = 0;
  SettingsStore store = DebugSettingsStore(settingsFolder_, engine_.config.GAME_ID);
  store.Load();
  folder_->setText(Q(store.ReadText("DBG_SCRIPT_PATH", "")));
  filters_.clear();
  filterList_->clear();
  for (int i = 0; i < kMaxFilters; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "DBG_FILTER%02d", i);
    const std::string record = store.ReadText(key, "");
    if (record.empty()) break;
    filters_.push_back(ParseFilter(record));
    filterList_->addItem(Q(filters_.back().name));
  }
  fontSize_->setValue(std::clamp(store.ReadInt("EDIT_FONTSIZE", 12), 8, 36));
  const int top = store.ReadInt("WinTop", -1);
  const int left = store.ReadInt("WinLeft", -1);
  if (top >= 0 && left >= 0) move(left, top);

  const DebugScriptSet& set = engine_.devtools.scripts;
  tracking_ = false;
  QStringList lines;
  for (const std::string& line : set.sourceLines) lines << Q(line);
  text_->setPlainText(lines.join('\n'));
  opened_ = text_->toPlainText().toStdString();
  text_->setReadOnly(set.sourceReadOnly);
  // Without a source for the running script there is nothing to insert into, save or restart in.
  const bool hasSource = set.current >= 0;
  insert_->setEnabled(hasSource && !set.sourceReadOnly);
  save_->setEnabled(hasSource && !set.sourceReadOnly);
  restart_->setEnabled(hasSource);
  caretPlaced_ = false;
  const int topLine = EditorTopLine(set, tag);
  QTextCursor cursor(text_->document()->findBlockByNumber(topLine));
  text_->setTextCursor(cursor);
  text_->verticalScrollBar()->setValue(topLine);
  tracking_ = true;

  // The scene as the running story left it.
  // The scene as the running story left it: by the sprite arrangement, its names go into the
  // boxes of that arrangement and its button is selected, which composes the command.
  for (QLineEdit* box : boxes_) box->clear();
  boxes_[3]->setText(Q(engine_.layers.backgroundName));
  const QStringList fields = Q(engine_.layers.spriteSpec).split(',');
  auto field = [&fields](int i) { return i < fields.size() ? fields[i] : QString(); };
  switch (engine_.layers.spriteCount) {
    case 1:
      boxes_[0]->setText(field(0));
      positions_->button(0)->click();
      break;
    case 2:
      boxes_[1]->setText(field(0));
      boxes_[2]->setText(field(1));
      positions_->button(1)->click();
      break;
    case 3:
      for (int i = 0; i < 3; ++i) boxes_[static_cast<size_t>(4 + i)]->setText(field(i));
      positions_->button(4)->click();
      break;
    default: positions_->button(3)->click(); break;
  }
  Preview();
}

void ScriptEditorWindow::ShowInPreview(const Bitmap& picture) {
  if (picture.width <= 0 || picture.height <= 0) return;
  const QImage image(picture.pixels.data(), picture.width, picture.height, picture.stride, QImage::Format_BGR888);
  previewImage_ = image.scaled(preview_->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  preview_->setPixmap(QPixmap::fromImage(previewImage_));
}

void ScriptEditorWindow::Preview() {
  // The developer's choice becomes the engine's scene: it stands when the editor closes. A
  // preview is no picture the player saw, so the gallery's flags are left alone.
  Layers& layers = engine_.layers;
  engine_.LoadPicture(layers.backgroundName, layers.background);
  const int changes = layers.spriteChanges;
  const std::string spec = layers.spriteSpec;
  engine_.SetSprites(spec);
  layers.spriteChanges = changes;
  engine_.ComposeScene();
  ShowInPreview(layers.scene);
}

std::vector<std::string> ScriptEditorWindow::SjisLines() const {
  std::vector<std::string> out;
  for (const QString& line : text_->toPlainText().split('\n')) out.push_back(S(line));
  return out;
}

bool ScriptEditorWindow::Modified() const { return text_->toPlainText().toStdString() != opened_; }

void ScriptEditorWindow::TextChanged() {
  if (!tracking_) return;
  const QTextCursor cursor = text_->textCursor();
  lastEditedLine_ = cursor.blockNumber() + 1;
  editedKinds_ |= ClassifyEditedLine(S(cursor.block().text()));
}

void ScriptEditorWindow::PositionClicked(int id) {
  auto box = [this](int i) { return boxes_[static_cast<size_t>(i)]->text(); };
  QString command;
  switch (id) {
    case 0: command = "@spr " + box(0); break;
    case 1:
    case 2: command = "@spr " + box(1) + "," + box(2); break;
    case 3: command = "@bg " + box(3); break;
    default: command = "@spr " + box(4) + "," + box(5) + "," + box(6); break;
  }
  command_->setText(command);
}

void ScriptEditorWindow::Search() {
  const int selected = std::max(wordButtons_->checkedId(), 0);
  const std::string word1 = S(words_[static_cast<size_t>(selected)]->text());
  if (word1.empty()) return;
  std::vector<const std::vector<std::string>*> names = {&engine_.archives.gjp.names};
  for (const ArchiveIndex& index : engine_.archives.gra) names.push_back(&index.names);
  results_ = SearchPictures(names, word1, S(word2_->text()), static_cast<SearchMode>(std::max(modes_->checkedId(), 0)));
  grid_ = GridForResults(static_cast<int>(results_.names.size()));
  DrawThumbnails();
}

void ScriptEditorWindow::DrawThumbnails() {
  thumbnails_.fill(QColor(128, 128, 128));
  QPainter painter(&thumbnails_);
  progress_->setRange(0, std::max(grid_.drawn, 1));
  for (int i = 0; i < grid_.drawn; ++i) {
    progress_->setValue(i);
    Bitmap picture;
    if (!engine_.LoadImage(results_.names[static_cast<size_t>(i)], picture) || picture.width <= 0) continue;
    QImage image(picture.pixels.data(), picture.width, picture.height, picture.stride, QImage::Format_BGR888);
    QRect source(0, 0, picture.width, picture.height);
    // A side-by-side sprite: its colour half only.
    if (engine_.config.TACHI_TYPE == 1) source.setWidth(picture.width / 2);
    if (results_.trim) {
      const PixelRect r = TrimRegion(source.width(), source.height(), trimStart_->value(), trimSize_->value());
      source = QRect(r.x, r.y, r.w, r.h);
    }
    if (source.isEmpty()) continue;
    const QRect cell((i % grid_.columns) * grid_.cellWidth, (i / grid_.columns) * grid_.cellHeight, grid_.cellWidth,
                     grid_.cellHeight);
    painter.drawImage(cell, image, source);
  }
  progress_->setValue(grid_.drawn);
  painter.end();
  thumbnailView_->setPixmap(QPixmap::fromImage(thumbnails_));
}

void ScriptEditorWindow::PressThumbnail(int x, int y, bool left) {
  const int index = ThumbnailAt(grid_, x, y);
  if (index < 0 || static_cast<size_t>(index) >= results_.names.size()) return;
  const std::string& picture = results_.names[static_cast<size_t>(index)];
  if (!left) {
    // Held down, the other buttons show the picture alone; the release brings the scene back.
    if (!engine_.LoadImage(picture, engine_.layers.background)) return;
    ShowInPreview(engine_.layers.background);
    previewHeld_ = true;
    return;
  }
  const int position = positions_->checkedId();
  if (position < 0) return;
  const QString name = Q(picture);
  boxes_[static_cast<size_t>(position)]->setText(name);
  auto box = [this](int i) { return S(boxes_[static_cast<size_t>(i)]->text()); };
  Layers& layers = engine_.layers;
  switch (position) {
    case 3: layers.backgroundName = picture; break;
    case 0: layers.spriteSpec = picture; break;
    case 1:
    case 2: layers.spriteSpec = box(1) + "," + box(2); break;
    default: layers.spriteSpec = box(4) + "," + box(5) + "," + box(6); break;
  }
  PositionClicked(position);
  Preview();
}

void ScriptEditorWindow::ReleaseThumbnail() {
  if (!previewHeld_) return;
  previewHeld_ = false;
  Preview();
}

void ScriptEditorWindow::Insert() {
  tracking_ = false;
  editedKinds_ |= kEditedPicture;
  const DebugScriptSet& set = engine_.devtools.scripts;
  // Without a caret put in the text, the command goes where the last command of its kind ran.
  const PictureCommandRecord& record =
      positions_->checkedId() == 3 ? engine_.layers.lastBackgroundCommand : engine_.layers.lastSpriteCommand;
  std::optional<int> recorded;
  if (!record.script.empty() && SjisUpper(record.script) == SjisUpper(engine_.script.currentScript))
    recorded = record.line;
  const int lineCount = text_->document()->blockCount();
  const int line = InsertionLine(set, caretPlaced_ ? text_->textCursor().blockNumber() : -1, lineCount, recorded, tag_);
  QTextCursor cursor(text_->document());
  if (line < lineCount) {
    cursor.setPosition(text_->document()->findBlockByNumber(line).position());
    cursor.insertText(command_->text() + "\n");
  } else {
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("\n" + command_->text());
  }
  lastEditedLine_ = line + 1;
  tracking_ = true;
}

bool ScriptEditorWindow::MayDiscardEdits() {
  if (!Modified()) return true;
  return QMessageBox::question(this, "Script Editor", QString::fromUtf8("編集内容を破棄しますか？"),
                               QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void ScriptEditorWindow::Save() {
  DebugScriptSet& set = engine_.devtools.scripts;
  if (!Modified() || set.current < 0 || set.sourceReadOnly) return;
  tracking_ = false;
  const std::vector<std::string> lines = SjisLines();
  SaveEditWindow window(editedKinds_, lastEditedLine_, lines, this);
  tracking_ = true;
  // "キャンセル" returns here with the edits kept.
  if (runSaveWindow(window) != QDialog::Accepted) return;
  const DebugScriptFile file = set.files[static_cast<size_t>(set.current)];
  const SaveOutcome saved = SaveScriptFile(file, MergeHistory(lines, window.History()));
  if (!saved.ok) {
    QMessageBox::warning(this, "Script Editor", QString::fromStdString(saved.message));
    return;
  }
  SettingsStore store = DebugSettingsStore(settingsFolder_, engine_.config.GAME_ID);
  store.Load();
  const SaveOutcome logged = AppendEditLog(std::filesystem::path(SjisToUtf8(store.ReadText("DBG_SCRIPT_PATH", ""))),
                                           file.name, window.Entry());
  if (!logged.ok) QMessageBox::warning(this, "Script Editor", QString::fromStdString(logged.message));
  // The running script is loaded again; the opener continues at the old position.
  engine_.LoadScript(engine_.script.loadedScript, 1);
  accept();
}

void ScriptEditorWindow::RestartTenBack() {
  if (!MayDiscardEdits()) return;
  tag_ = RestartTenLinesBack(engine_.devtools.scripts, tag_, engine_.script.scenarioSize);
  accept();
}

void ScriptEditorWindow::reject() {
  // The close button: the settings are not written.
  if (MayDiscardEdits()) QDialog::reject();
}

void ScriptEditorWindow::CloseWritingSettings() {
  SettingsStore store = DebugSettingsStore(settingsFolder_, engine_.config.GAME_ID);
  store.Load();
  std::vector<std::pair<std::string, std::string>> values;
  for (int i = 0; i < kMaxFilters; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "DBG_FILTER%02d", i);
    values.emplace_back(
        key, static_cast<size_t>(i) < filters_.size() ? FormatFilter(filters_[static_cast<size_t>(i)]) : std::string());
  }
  values.emplace_back("EDIT_FONTSIZE", std::to_string(fontSize_->value()));
  values.emplace_back("WinTop", std::to_string(y()));
  values.emplace_back("WinLeft", std::to_string(x()));
  const std::string folder = S(folder_->text());
  const bool newFolder = folder != store.ReadText("DBG_SCRIPT_PATH", "");
  if (newFolder) values.emplace_back("DBG_SCRIPT_PATH", folder);
  store.WriteValues(values);
  if (newFolder) BuildDebugScriptSet(engine_, settingsFolder_, this);
  QDialog::accept();
}

void ScriptEditorWindow::AddFilter() {
  if (filterName_->text().isEmpty()) return;
  PictureFilter filter;
  filter.name = S(filterName_->text());
  for (int i = 0; i < 8; ++i) filter.words[i] = S(words_[static_cast<size_t>(i)]->text());
  filter.word2 = S(word2_->text());
  filter.mode = static_cast<SearchMode>(std::max(modes_->checkedId(), 0));
  filter.trimStart = trimStart_->value();
  filter.trimSize = trimSize_->value();
  for (size_t i = 0; i < filters_.size(); ++i) {
    if (filters_[i].name == filter.name) {
      filters_[i] = filter;
      return;
    }
  }
  if (static_cast<int>(filters_.size()) >= kMaxFilters) return;
  filters_.push_back(filter);
  filterList_->addItem(filterName_->text());
}

void ScriptEditorWindow::FillFromFilter(int row) {
  if (row < 0 || static_cast<size_t>(row) >= filters_.size()) return;
  const PictureFilter& f = filters_[static_cast<size_t>(row)];
  filterName_->setText(Q(f.name));
  for (int i = 0; i < 8; ++i) words_[static_cast<size_t>(i)]->setText(Q(f.words[i]));
  word2_->setText(Q(f.word2));
  modes_->button(static_cast<int>(f.mode))->setChecked(true);
  trimStart_->setValue(f.trimStart);
  trimSize_->setValue(f.trimSize);
}

}  // namespace torvel
