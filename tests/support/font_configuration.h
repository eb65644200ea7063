#pragma once
// A fontconfig configuration of the test's own, with one font folder, in force while it lives:
// the faces a listing finds are then known, whatever the machine has installed.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/game_fixture.h"

namespace torvel::testing {

class FontConfiguration {
 public:
  explicit FontConfiguration(const std::filesystem::path& fonts) {
    if (const char* old = std::getenv("FONTCONFIG_FILE")) old_ = old;
    const std::filesystem::path file = folder_.Path() / "fonts.conf";
    std::ofstream(file) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n<dir>"
                        << fonts.string() << "</dir>\n<cachedir>" << (folder_.Path() / "cache").string()
                        << "</cachedir>\n</fontconfig>\n";
    ::setenv("FONTCONFIG_FILE", file.c_str(), 1);
  }
  ~FontConfiguration() {
    if (old_)
      ::setenv("FONTCONFIG_FILE", old_->c_str(), 1);
    else
      ::unsetenv("FONTCONFIG_FILE");
  }
  FontConfiguration(const FontConfiguration&) = delete;
  FontConfiguration& operator=(const FontConfiguration&) = delete;

 private:
  TempFolder folder_;
  std::optional<std::string> old_;
};

// The folder of the IPA Gothic faces (fonts-ipafont-gothic): "IPAゴシック" and "IPA Pゴシック".
inline const std::filesystem::path kIpaGothicFolder = "/usr/share/fonts/opentype/ipafont-gothic";

}  // namespace torvel::testing
