#include "resources/storage_paths.h"

#include "platform/headless/headless_host.h"
#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

int PrintStoragePaths(const std::filesystem::path& gameDir, const std::filesystem::path& settingsFolder,
                      std::ostream& out) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(gameDir / kDataArchive, ec)) return 1;
  // Only the data archives and the configuration are read; nothing is started or written.
  HeadlessHost host(settingsFolder);
  TForm1 engine(host, EngineOptions{gameDir, 0});
  engine.OpenDataArchives();
  engine.ReadGameConfiguration();
  std::filesystem::path game = std::filesystem::absolute(gameDir, ec);
  out << "game:         " << game.string() << "\n";
  out << "settings:     " << engine.SettingsFile().string() << " [" << SjisToUtf8(engine.config.GAME_ID) << "]\n";
  SettingsStore counter(settingsFolder, kCompletedGamesKeyPath, kCompletedGamesSection);
  out << "clear count:  " << counter.File().string() << " [" << kCompletedGamesSection << "]\n";
  out << "saves:        " << (game / "save").string() << "\n";
  out << "global data:  " << (game / "save0.dat").string() << "\n";
  out << "recollection: " << (game / "kaiso.dat").string() << "\n";
  return 0;
}

}  // namespace torvel
