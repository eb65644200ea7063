// The save part of the state report: where the files live, the slot files present, and the last
// banner.
#include <string>

#include "resources/file_io.h"
#include "resources/sjis.h"
#include "shell/engine.h"
#include "shell/json_text.h"

namespace torvel {

void TForm1::AppendSaveState(std::string& out) const {
  out += ",\"saveFolder\":";
  AppendJsonString(out, SaveFolder().string());
  out += ",\"saves\":[";
  bool first = true;
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    const std::filesystem::path file = SlotFile(slot);
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) continue;
    std::vector<uint8_t> bytes;
    if (std::filesystem::is_regular_file(file, ec)) ReadFileStart(file, kSlotFileSize, bytes);
    std::unique_ptr<SlotImage> image = DecodeSlotImage(bytes);
    const std::string label = image->label;
    const std::string script = image->names.loadedScript;
    const int32_t resume = image->state.resumePosition;
    const bool valid = !bytes.empty() && CheckSlotForLoad(*image);
    if (!first) out += ',';
    first = false;
    out += "{\"slot\":" + std::to_string(slot) + ",\"time\":";
    AppendJsonString(out, SjisToUtf8(std::string_view(label).substr(0, std::min(label.size(), kLabelTimeEnd))));
    out += ",\"title\":";
    AppendJsonString(out, SjisToUtf8(label.size() > kLabelTitleStart ? label.substr(kLabelTitleStart) : ""));
    out += ",\"comment\":";
    AppendJsonString(out, SjisToUtf8(image->comment));
    out += ",\"script\":";
    AppendJsonString(out, SjisToUtf8(script));
    out += ",\"pc\":" + std::to_string(resume);
    out += ",\"valid\":";
    out += valid ? "true" : "false";
    out += '}';
  }
  out += "],\"lastBanner\":";
  AppendJsonString(out, SjisToUtf8(saves.lastBanner));
  AppendSaveScreenState(out);
}

void TForm1::AppendSaveScreenState(std::string& out) const {
  const SaveScreenState& s = saveScreen;
  out += ",\"saveScreen\":{\"open\":";
  out += ctl.saveLoadScreen == 2 ? "true" : "false";
  out += ",\"mode\":" + std::to_string(s.mode) + ",\"page\":" + std::to_string(s.page);
  out += ",\"hovered\":" + std::to_string(s.hovered) + ",\"used\":[";
  for (size_t i = 0; i < s.used.size(); ++i) {
    if (i > 0) out += ',';
    out += s.used[i] ? "true" : "false";
  }
  out += "]}";
}

}  // namespace torvel
