#include "resources/storage_paths.h"

#include "platform/headless/headless_host.h"
#include "resources/settings_store.h"
#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

int PrintStoragePaths(const std::filesystem::path& gameDir, const std::filesystem::path& settingsFolder,
                      std::ostream& out, const std::filesystem::path& dataFolder, std::optional<bool> gameDirWritable) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(gameDir / kDataArchive, ec)) return 1;
  // Only the data archives and the configuration are read; nothing is started or written.
  HeadlessHost host(settingsFolder);
  if (!dataFolder.empty()) host.SetDataFolder(dataFolder);
  TForm1 engine(host, EngineOptions{gameDir, 0, gameDirWritable});
  engine.OpenDataArchives();
  engine.ReadGameConfiguration();
  engine.ChooseSaveFolder(false);
  std::filesystem::path game = std::filesystem::absolute(gameDir, ec);
  out << "game:         " << game.string() << "\n";
  out << "settings:     " << engine.SettingsFile().string() << " [" << SjisToUtf8(engine.config.GAME_ID) << "]\n";
  SettingsStore counter(settingsFolder, kCompletedGamesKeyPath, kCompletedGamesSection);
  out << "clear count:  " << counter.File().string() << " [" << kCompletedGamesSection << "]\n";
  const std::filesystem::path saves = std::filesystem::absolute(engine.SaveFolder(), ec);
  out << "saves:        " << (saves / "save").string() << "\n";
  out << "global data:  " << (saves / "save0.dat").string() << "\n";
  out << "recollection: " << (saves / "kaiso.dat").string() << "\n";
  out << "debug:        " << engine.DebugSettingsFile().string() << " [DBG]\n";
  return 0;
}

}  // namespace torvel
