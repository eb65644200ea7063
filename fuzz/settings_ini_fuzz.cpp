// Arbitrary settings-file bytes through the INI reader; whatever it accepts must come back
// unchanged through the writer.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "resources/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<torvel::IniDocument> doc = torvel::ParseIni(std::span<const uint8_t>(data, size));
  if (!doc) return 0;
  std::string text = torvel::FormatIni(*doc, "fuzz");
  std::optional<torvel::IniDocument> again =
      torvel::ParseIni(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  if (!again || again->Sections().size() != doc->Sections().size()) __builtin_trap();
  for (size_t s = 0; s < doc->Sections().size(); ++s) {
    const torvel::IniSection& a = doc->Sections()[s];
    const torvel::IniSection& b = again->Sections()[s];
    if (a.name != b.name || a.values != b.values) __builtin_trap();
  }
  // A key path made of the same bytes stays inside the store's folder.
  std::string key(reinterpret_cast<const char*>(data), size < 64 ? size : 64);
  std::filesystem::path file = torvel::SettingsFilePath("/root/store", key).lexically_normal();
  if (file.string().rfind("/root/store/", 0) != 0) __builtin_trap();
  return 0;
}
