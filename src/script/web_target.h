#pragma once
// Which targets `web` may hand to the desktop's default handler.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace torvel {

// The target to open for the argument of `web`, or nothing when it is refused: an "http://" or
// "https://" address of printable ASCII, or an existing file inside the game folder (its full
// path). Anything else (other schemes, paths leading out of the folder, missing files) is
// refused.
std::optional<std::string> WebTarget(std::string_view text, const std::filesystem::path& gameDir);

}  // namespace torvel
