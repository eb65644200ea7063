// The global data files beside the game: the persistent flags and read marks ("save0.dat"), the
// recollection play lists ("kaiso.dat"), and the global variables in the settings store.
#include <algorithm>
#include <cstdio>

#include "resources/file_io.h"
#include "screens/global_data_file.h"
#include "shell/engine.h"

namespace torvel {

namespace {

constexpr const char* kGlobalDataName = "save0.dat";
constexpr const char* kDamagedName = "save0.dat.damaged";
constexpr const char* kRecollectionName = "kaiso.dat";
constexpr int kGlobalVarCount = 10;

// A flag set's bytes into a block of the files, and back. The set's last byte may hold fewer
// than eight bits; bits past the set's size stay zero in memory.
void CopyOut(const FlagSet& flags, std::span<uint8_t> block) {
  const std::vector<uint8_t>& bytes = flags.Bytes();
  std::copy_n(bytes.begin(), std::min(bytes.size(), block.size()), block.begin());
}

void CopyIn(std::span<const uint8_t> block, FlagSet& flags) {
  std::vector<uint8_t>& bytes = flags.Bytes();
  const size_t n = std::min(bytes.size(), block.size());
  std::copy_n(block.begin(), n, bytes.begin());
  const int spareBits = static_cast<int>(bytes.size()) * 8 - flags.Size();
  if (n == bytes.size() && spareBits > 0) bytes.back() = static_cast<uint8_t>(bytes.back() & (0xFF >> spareBits));
}

}  // namespace

GlobalData TForm1::CollectGlobalData() const {
  GlobalData data;
  CopyOut(vars.E, data.sceneFlags);
  CopyOut(vars.D, data.pictureSeen);
  std::copy(saves.pictureSeenTail.begin(), saves.pictureSeenTail.end(),
            data.pictureSeen.end() - static_cast<std::ptrdiff_t>(kPictureSeenTail));
  CopyOut(vars.C, data.sceneSeen);
  std::copy(saves.sceneSeenTail.begin(), saves.sceneSeenTail.end(),
            data.sceneSeen.end() - static_cast<std::ptrdiff_t>(kSceneSeenTail));
  CopyOut(text.readMarks, data.readMarks);
  return data;
}

bool TForm1::SaveGlobalData(int mode) {
  GlobalData memory = CollectGlobalData();
  const std::filesystem::path file = SaveFolder() / kGlobalDataName;
  std::error_code ec;
  bool writable = true;
  if (!std::filesystem::exists(file, ec)) {
    // No global data yet: whatever was read before does not count.
    text.readMarks.Clear();
    memory.readMarks.fill(0);
  } else {
    std::vector<uint8_t> bytes;
    if (!std::filesystem::is_regular_file(file, ec) || !ReadFileStart(file, kGlobalDataSize, bytes)) {
      // What cannot be read is not replaced either.
      writable = false;
    } else if (std::optional<GlobalData> stored = DecodeGlobalData(bytes)) {
      if (devtools.globalDataReplace) {
        // The variable editor's changes stand as memory holds them; read marks still join.
        GlobalData marksOnly = memory;
        marksOnly.readMarks = stored->readMarks;
        MergeGlobalData(memory, marksOnly);
      } else {
        MergeGlobalData(memory, *stored);
      }
    } else {
      // Damaged or cut short: set aside for the player, and not merged, so memory keeps its flags
      // and marks.
      std::filesystem::rename(file, SaveFolder() / kDamagedName, ec);
      writable = !ec;
    }
  }

  CopyIn(memory.sceneFlags, vars.E);
  CopyIn(memory.pictureSeen, vars.D);
  CopyIn(memory.sceneSeen, vars.C);
  CopyIn(memory.readMarks, text.readMarks);
  if (mode == 1) {
    layers.spriteChanges = static_cast<int>(memory.SpriteCounter());
  } else {
    memory.SetSpriteCounter(static_cast<uint32_t>(layers.spriteChanges));
  }
  std::copy_n(memory.pictureSeen.end() - static_cast<std::ptrdiff_t>(kPictureSeenTail), kPictureSeenTail,
              saves.pictureSeenTail.begin());
  std::copy_n(memory.sceneSeen.end() - static_cast<std::ptrdiff_t>(kSceneSeenTail), kSceneSeenTail,
              saves.sceneSeenTail.begin());

  // What memory now holds is what is written: marks past the last one the engine keeps are not.
  const bool written = writable && WriteFileAtomically(file, EncodeGlobalData(CollectGlobalData()));
  if (written && devtools.replaceEndsAtNextWrite) {
    devtools.replaceEndsAtNextWrite = false;
    devtools.globalDataReplace = false;
  }

  std::vector<std::pair<std::string, std::string>> globals;
  for (int i = 0; i < kGlobalVarCount; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "GV%02d", i);
    globals.emplace_back(name, std::to_string(vars.G(i)));
  }
  WriteSettings(globals);
  if (!saves.recollectionUnreadable) {
    WriteFileAtomically(SaveFolder() / kRecollectionName, EncodeRecollectionRecords(recollection));
  }
  return written;
}

void TForm1::LoadGlobalData() {
  ChooseSaveFolder(true);
  const std::filesystem::path file = SaveFolder() / kRecollectionName;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    WriteFileAtomically(file, std::vector<uint8_t>(kRecollectionFileSize, 0));
  }
  std::vector<uint8_t> bytes;
  const bool read = std::filesystem::is_regular_file(file, ec) && ReadFileStart(file, kRecollectionFileSize, bytes);
  saves.recollectionUnreadable = !read && std::filesystem::exists(file, ec);
  recollection = DecodeRecollectionRecords(bytes);
}

}  // namespace torvel
