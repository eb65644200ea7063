// Messages about troubles the game goes on through. They are Torvel's own, not the game's, and
// are written in English: on a machine without a Japanese font a Japanese message could not be
// read.
#include <string>

#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {
constexpr std::string_view kCaption = "Torvel";
}  // namespace

void TForm1::NoticeSettingsNotSaved(const std::string& reason) {
  if (notices.settingsNotSaved) return;
  notices.settingsNotSaved = true;
  host.ShowMessage(kCaption,
                   Utf8ToSjis("The settings could not be saved (" + reason +
                              ").\nThe game goes on with the settings as they are now, but they will be lost when it "
                              "ends. Make sure that " +
                              host.SettingsFolder().string() + " can be written and that the disk is not full."),
                   MessageButtons::Ok, MessageIcon::Warning);
}

void TForm1::NoticeNoJapaneseFont() {
  if (notices.noJapaneseFont) return;
  notices.noJapaneseFont = true;
  host.ShowMessage(kCaption,
                   "No font for Japanese text was found, so the game's text cannot be shown.\nThe Debian package "
                   "fonts-ipafont-gothic provides one: sudo apt install fonts-ipafont-gothic",
                   MessageButtons::Ok, MessageIcon::Warning);
}

void TForm1::NoticeScriptTooLarge(std::string_view name) {
  if (!notices.oversizedScripts.insert(SjisUpper(name)).second) return;
  host.ShowMessage(kCaption,
                   "The script " + std::string(name) + " is larger than " + std::to_string(kScriptBufferSize) +
                       " bytes and cannot be loaded.",
                   MessageButtons::Ok, MessageIcon::Error);
}

bool TForm1::ScriptRefusedForSize(std::string_view name) const {
  return notices.oversizedScripts.count(SjisUpper(name)) > 0;
}

}  // namespace torvel
