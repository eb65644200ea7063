// Where the save files live: beside the game as the original kept them, or in the player's data
// folder when nothing can be created beside the game (a game installed read-only).
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "resources/file_io.h"
#include "resources/settings_store.h"
#include "screens/global_data_file.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr const char* kSlotFolder = "save";
constexpr const char* kGlobalDataName = "save0.dat";
constexpr const char* kRecollectionName = "kaiso.dat";

// Creates and removes a file of our own: write permission bits alone do not tell (read-only
// mounts, access lists).
bool CanCreateFiles(const std::filesystem::path& folder) {
  const std::filesystem::path probe = folder / (".torvel-probe-" + std::to_string(::getpid()));
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

void CopyIfMissing(const std::filesystem::path& from, const std::filesystem::path& to, size_t limit) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(from, ec) || std::filesystem::exists(to, ec)) return;
  std::vector<uint8_t> bytes;
  if (ReadFileStart(from, limit, bytes)) WriteFileAtomically(to, bytes);
}

}  // namespace

const std::filesystem::path& TForm1::SaveFolder() const { return saves.folderChosen ? saves.folder : options.gameDir; }

std::filesystem::path TForm1::SlotFile(int slot) const {
  char name[16];
  std::snprintf(name, sizeof name, "save%02d.dat", slot);
  return SaveFolder() / kSlotFolder / name;
}

void TForm1::ChooseSaveFolder(bool copyExisting) {
  const bool writable = options.gameDirWritable ? *options.gameDirWritable : CanCreateFiles(options.gameDir);
  saves.folderChosen = true;
  if (writable) {
    saves.folder = options.gameDir;
    return;
  }
  saves.folder = GameDataFolder(host.DataFolder(), config.MAKER_REG, config.GAME_ID);
  if (!copyExisting) return;
  std::error_code ec;
  std::filesystem::create_directories(saves.folder / kSlotFolder, ec);
  // The game folder's saves come over once: "save0.dat" is written at every start, so once it
  // is here the copy has been made, and the player's own files are never replaced.
  if (std::filesystem::exists(saves.folder / kGlobalDataName, ec)) return;
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    const std::filesystem::path target = SlotFile(slot);
    CopyIfMissing(options.gameDir / kSlotFolder / target.filename(), target, kSlotFileSize);
  }
  CopyIfMissing(options.gameDir / kRecollectionName, saves.folder / kRecollectionName, kRecollectionFileSize);
  CopyIfMissing(options.gameDir / kGlobalDataName, saves.folder / kGlobalDataName, kGlobalDataSize);
}

}  // namespace torvel
