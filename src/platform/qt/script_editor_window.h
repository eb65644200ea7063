#pragma once
// TForm3, the script editor: the running script's source, scrolled to the line being run, with
// the picture search, the command composer, saving with an edit-history entry (TForm7, "保存")
// and the restart ten lines back. A view over the debug script set and the rules of
// devtools/script_editor_model and devtools/edit_history.
#include <QDialog>
#include <QImage>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "devtools/script_editor_model.h"
#include "graphics/bitmap.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace torvel {

class TForm1;

// TForm7: the entry for the edit history and the history text.
class SaveEditWindow : public QDialog {
 public:
  SaveEditWindow(int editedKinds, int lastEditedLine, const std::vector<std::string>& sjisLines,
                 QWidget* parent = nullptr);
  // The history text's lines, Shift-JIS.
  std::vector<std::string> History() const;
  // The entry as it stands (Shift-JIS), freshly dated.
  std::string Entry() const;
  QPushButton* SaveButton() const { return save_; }
  QPushButton* CancelButton() const { return cancel_; }
  QLineEdit* Note() const { return note_; }
  QPlainTextEdit* HistoryText() const { return history_; }

 private:
  void RebuildFirstLine();
  int Kinds() const;

  int lastEditedLine_;
  std::vector<QCheckBox*> kinds_;
  QLineEdit* note_;
  QPlainTextEdit* history_;
  QPushButton* save_;
  QPushButton* cancel_;
};

// Builds the debug script set from the folder in the debug settings; while that folder holds no
// "_CONFIG" script, asks for another (`parent` owns the question) and stores it, until one has
// it or the question is cancelled.
void BuildDebugScriptSet(TForm1& engine, const std::filesystem::path& settingsFolder, QWidget* parent);

class ScriptEditorWindow : public QDialog {
 public:
  ScriptEditorWindow(TForm1& engine, std::filesystem::path settingsFolder, QWidget* parent = nullptr);

  // Opens on the script running at `tag` and returns, once closed, the position to run from.
  int Run(int tag);
  // Everything Run does before showing; the tests drive the window without its event loop.
  void Open(int tag);
  int Tag() const { return tag_; }
  int EditedKinds() const { return editedKinds_; }
  int LastEditedLine() const { return lastEditedLine_; }
  bool Modified() const;

  QPlainTextEdit* Text() const { return text_; }
  QPushButton* SaveButton() const { return save_; }
  QPushButton* RestartButton() const { return restart_; }
  QPushButton* CloseButton() const { return close_; }
  QPushButton* InsertButton() const { return insert_; }
  QPushButton* SearchButton() const { return search_; }
  QLineEdit* Word(int i) const { return words_[static_cast<size_t>(i)]; }
  QLineEdit* SecondWord() const { return word2_; }
  QButtonGroup* Modes() const { return modes_; }
  QButtonGroup* Positions() const { return positions_; }
  QLineEdit* CommandBox() const { return command_; }
  QLineEdit* FolderBox() const { return folder_; }
  QSpinBox* FontSize() const { return fontSize_; }
  QProgressBar* Progress() const { return progress_; }
  const QImage& Thumbnails() const { return thumbnails_; }
  QLabel* ThumbnailView() const { return thumbnailView_; }
  const PictureSearchResult& Results() const { return results_; }
  QListWidget* Filters() const { return filterList_; }
  QLineEdit* FilterName() const { return filterName_; }
  QPushButton* FilterAdd() const { return filterAdd_; }
  QPushButton* FilterDelete() const { return filterDelete_; }
  // A press on the thumbnail area at (x, y), and the release of any button.
  void PressThumbnail(int x, int y, bool left);
  void ReleaseThumbnail();
  // The preview box's picture as last drawn, 289 × 225.
  const QImage& PreviewImage() const { return previewImage_; }
  bool PreviewHeld() const { return previewHeld_; }

  // The save window is shown by this; tests replace it to answer it.
  std::function<int(SaveEditWindow&)> runSaveWindow;

 protected:
  void reject() override;

 private:
  void Search();
  void DrawThumbnails();
  void Insert();
  // Composes the recorded scene on the engine's own layers and shows it in the preview box.
  void Preview();
  void ShowInPreview(const Bitmap& picture);
  void Save();
  void RestartTenBack();
  void CloseWritingSettings();
  bool MayDiscardEdits();
  void TextChanged();
  void PositionClicked(int id);
  void AddFilter();
  void FillFromFilter(int row);
  std::vector<std::string> SjisLines() const;

  TForm1& engine_;
  std::filesystem::path settingsFolder_;
  int tag_ = 0;
  int editedKinds_ = 0;
  int lastEditedLine_ = 0;
  bool tracking_ = false;
  // The developer has put the caret in the text since it opened.
  bool caretPlaced_ = false;
  bool previewHeld_ = false;
  QImage previewImage_;
  std::string opened_;  // the text as opened, UTF-8
  std::vector<PictureFilter> filters_;
  PictureSearchResult results_;
  ThumbnailGrid grid_;
  QImage thumbnails_;

  QPlainTextEdit* text_;
  std::vector<QLineEdit*> words_;
  QButtonGroup* wordButtons_;
  QButtonGroup* modes_;
  QLineEdit* word2_;
  QPushButton* search_;
  QSpinBox* trimStart_;
  QSpinBox* trimSize_;
  QListWidget* filterList_;
  QLineEdit* filterName_;
  QPushButton* filterAdd_;
  QPushButton* filterDelete_;
  QProgressBar* progress_;
  QButtonGroup* positions_;
  std::vector<QLineEdit*> boxes_;  // one, left, right, three ×3, background
  QLineEdit* command_;
  QPushButton* insert_;
  QLabel* thumbnailView_;
  QLabel* preview_;
  QLineEdit* folder_;
  QSpinBox* fontSize_;
  QPushButton* save_;
  QPushButton* restart_;
  QPushButton* close_;
};

}  // namespace torvel
