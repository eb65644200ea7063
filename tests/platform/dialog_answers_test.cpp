// The "dialog" lines of the headless input file: the answers queued for the dialog windows.
#include "platform/headless/dialog_answers.h"

#include <gtest/gtest.h>

#include "platform/headless/input_script.h"

namespace torvel {
namespace {

DialogAnswer Parse(const std::string& line) {
  InputScript s = ParseInputScript("5 dialog " + line + "\n");
  EXPECT_EQ(s.error, "");
  if (s.events.size() != 1) return {};
  EXPECT_EQ(s.events[0].kind, InputEvent::Kind::Dialog);
  EXPECT_EQ(s.events[0].time, 5u);
  return s.events[0].dialog;
}

TEST(DialogAnswersTest, NameLinesGiveFieldsKeptOrReplaced) {
  DialogAnswer a = Parse("name 湊 - \"\"");
  EXPECT_EQ(a.window, DialogAnswer::Window::Name);
  EXPECT_FALSE(a.name.pressDefault);
  ASSERT_EQ(a.name.fields.size(), 3u);
  EXPECT_EQ(a.name.fields[0], "湊");
  EXPECT_EQ(a.name.fields[1], std::nullopt);
  EXPECT_EQ(a.name.fields[2], "");

  EXPECT_TRUE(Parse("name default").name.pressDefault);
  // Quoted, "default" and "-" are names like any other.
  EXPECT_EQ(Parse("name \"default\"").name.fields[0], "default");
  EXPECT_EQ(Parse("name \"-\"").name.fields[0], "-");
  EXPECT_EQ(Parse("name \"全角 空白\"").name.fields[0], "全角 空白");
}

TEST(DialogAnswersTest, SettingsLinesNameControlsAndValues) {
  DialogAnswer a = Parse("settings TrackBar2=-1001 Button3 ComboBox1=\"IPA Pゴシック\" CheckBox13=0 RadioGroup1=+2");
  EXPECT_EQ(a.window, DialogAnswer::Window::Settings);
  ASSERT_EQ(a.settings.changes.size(), 5u);
  EXPECT_EQ(a.settings.changes[0].control, "TrackBar2");
  EXPECT_EQ(a.settings.changes[0].number, -1001);
  EXPECT_EQ(a.settings.changes[1].control, "Button3");
  EXPECT_EQ(a.settings.changes[2].text, "IPA Pゴシック");
  EXPECT_EQ(a.settings.changes[3].number, 0);
  EXPECT_EQ(a.settings.changes[4].number, 2);
  EXPECT_TRUE(Parse("settings").settings.changes.empty());
}

TEST(DialogAnswersTest, ListLinesTakeTheRestOfTheLineAsText) {
  DialogAnswer a = Parse("list save 12   after the  battle  ");
  EXPECT_EQ(a.window, DialogAnswer::Window::List);
  EXPECT_EQ(a.list.action, ListAnswer::Action::Save);
  EXPECT_EQ(a.list.number, 12);
  EXPECT_EQ(a.list.text, "after the  battle");
  EXPECT_EQ(Parse("list save 3").list.text, std::nullopt);
  EXPECT_EQ(Parse("list comment 99 \"quoted\"").list.text, "\"quoted\"");
  EXPECT_EQ(Parse("list comment 4").list.text, "");
  EXPECT_EQ(Parse("list load 99").list.action, ListAnswer::Action::Load);
  EXPECT_EQ(Parse("list delete 1").list.action, ListAnswer::Action::Delete);
  DialogAnswer sort = Parse("list sort 1");
  EXPECT_EQ(sort.list.action, ListAnswer::Action::Sort);
  EXPECT_EQ(sort.list.number, 1);
  EXPECT_EQ(Parse("list close").list.action, ListAnswer::Action::Close);
}

struct BadDialogLine {
  const char* text;
  const char* error;
};

class BadDialogLineTest : public ::testing::TestWithParam<BadDialogLine> {};

TEST_P(BadDialogLineTest, FailsTheParse) {
  InputScript s = ParseInputScript(std::string("0 char a\n0 dialog ") + GetParam().text + "\n");
  EXPECT_EQ(s.error.substr(0, 7), "line 2:") << s.error;
  EXPECT_NE(s.error.find(GetParam().error), std::string::npos) << s.error;
  EXPECT_TRUE(s.events.empty());
}

INSTANTIATE_TEST_SUITE_P(
    DialogLines, BadDialogLineTest,
    ::testing::Values(BadDialogLine{"", "name, settings or list"}, BadDialogLine{"names 湊", "name, settings or list"},
                      BadDialogLine{"name", "one to three"}, BadDialogLine{"name a b c d", "one to three"},
                      BadDialogLine{"name \"open", "unclosed quote"},
                      BadDialogLine{"settings TrackBar99=1", "unknown control TrackBar99"},
                      BadDialogLine{"settings trackbar2=1", "unknown control"},
                      BadDialogLine{"settings TrackBar2", "TrackBar2=VALUE"},
                      BadDialogLine{"settings TrackBar2=loud", "number"},
                      BadDialogLine{"settings Button1=1", "no value"}, BadDialogLine{"list", "save, load"},
                      BadDialogLine{"list open 3", "save, load"}, BadDialogLine{"list save", "slot from 1 to 99"},
                      BadDialogLine{"list load 0", "slot from 1 to 99"}, BadDialogLine{"list load 100", "slot"},
                      BadDialogLine{"list load 3 now", "too many"}, BadDialogLine{"list sort 4", "column"},
                      BadDialogLine{"list close 1", "too many"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace torvel
