// The text question window on Qt's offscreen platform: its texts, the field's limit, OK and
// Cancel, and characters without a Shift-JIS form.
#include "platform/qt/text_question_dialog.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "qt_test_support.h"
#include "resources/sjis.h"

namespace torvel {
namespace {

TEST(TextQuestionDialog, OkTakesTheFieldAndCancelNothing) {
  struct Case {
    const char* typed;  // UTF-8; empty: the initial text stays
    bool ok;
    std::optional<std::string> expected;  // UTF-8
  };
  const Case cases[] = {
      {"", true, "Record Slot 1"},
      {"abc", true, "abc"},
      {"名前😀です", true, "名前です"},
      {"abc", false, std::nullopt},
  };
  for (const Case& c : cases) {
    TextQuestionDialog dialog;
    dialog.Ask(Utf8ToSjis("回想スロット"), Utf8ToSjis("回想スロットに名前を付けます（全角12文字まで）"),
               "Record Slot 1", 36);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("回想スロット"));
    EXPECT_EQ(dialog.Field().maxLength(), 36);
    dialog.show();
    if (*c.typed) dialog.Field().setText(QString::fromUtf8(c.typed));
    QPushButton* button = dialog.Buttons().button(c.ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    const std::optional<std::string> answer = dialog.Answer();
    ASSERT_EQ(answer.has_value(), c.expected.has_value()) << c.typed;
    if (answer) EXPECT_EQ(SjisToUtf8(*answer), *c.expected) << c.typed;
  }
}

TEST(TextQuestionDialog, TheFieldHoldsAtMost36Characters) {
  TextQuestionDialog dialog;
  dialog.Ask("t", "p", "", 36);
  dialog.show();
  QTest::keyClicks(&dialog.Field(), QString(40, QChar('x')));
  EXPECT_EQ(dialog.Field().text().size(), 36);
}

}  // namespace
}  // namespace torvel
