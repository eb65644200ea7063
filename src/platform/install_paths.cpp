#include "platform/install_paths.h"

#include <algorithm>

#include "resources/archives.h"

namespace torvel {

namespace {

std::filesystem::path SharedDataFolder(const std::filesystem::path& executableFolder) {
  return executableFolder.parent_path() / "share" / "torvel";
}

bool HoldsGame(const std::filesystem::path& folder) {
  std::error_code ec;
  return std::filesystem::is_regular_file(folder / kDataArchive, ec);
}

}  // namespace

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : self.parent_path();
}

std::filesystem::path BundledDemoFolder(const std::filesystem::path& executableFolder) {
  if (executableFolder.empty()) return {};
  for (const std::filesystem::path& candidate :
       {SharedDataFolder(executableFolder) / "demo", executableFolder.parent_path() / "demo" / "game"}) {
    if (HoldsGame(candidate)) return candidate;
  }
  return {};
}

bool IsInstalledGameFolder(const std::filesystem::path& gameDir, const std::filesystem::path& executableFolder) {
  if (executableFolder.empty()) return false;
  std::error_code ec;
  const std::filesystem::path shared = std::filesystem::weakly_canonical(SharedDataFolder(executableFolder), ec);
  if (ec) return false;
  const std::filesystem::path game = std::filesystem::weakly_canonical(gameDir, ec);
  if (ec) return false;
  auto [sharedEnd, gameAt] = std::mismatch(shared.begin(), shared.end(), game.begin(), game.end());
  return sharedEnd == shared.end();
}

}  // namespace torvel
