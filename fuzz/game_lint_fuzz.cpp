// The game checker over hostile input: the input is split into a scenario script, one of the
// tables the checker reads and the bytes of an asset archive; the first two are packed into a
// data archive, the third is written as it is, and the whole game is checked.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "devtools/game_lint.h"
#include "resources/archive_writer.h"
#include "scratch_folder.h"

namespace {

constexpr const char* kTables[] = {"_config",      "_sprset", "_bgset", "view",   "seltree",
                                   "sys_flashbak", "effect",  "map",    "mapctrl"};

void WriteFile(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::filesystem::path& dir = torvel::fuzzing::ScratchFolder();
  const size_t tableChoice = data[0] % std::size(kTables);
  std::span<const uint8_t> rest(data + 1, size - 1);
  // Two split points from the second byte: script | table | archive.
  const size_t first = rest.size() * (data[1] & 0x0F) / 16;
  const size_t second = first + (rest.size() - first) * (data[1] >> 4) / 16;
  const std::span<const uint8_t> script = rest.subspan(0, first);
  const std::span<const uint8_t> table = rest.subspan(first, second - first);
  const std::span<const uint8_t> archive = rest.subspan(second);

  std::vector<torvel::ArchiveEntry> entries;
  entries.push_back({"main", std::vector<uint8_t>(script.begin(), script.end())});
  entries.push_back({"other", std::vector<uint8_t>(table.begin(), table.end())});
  entries.push_back({kTables[tableChoice], std::vector<uint8_t>(table.begin(), table.end())});
  std::vector<uint8_t> packed;
  if (!torvel::BuildDataArchive(entries, packed)) return 0;
  WriteFile(dir / "tq_data.tvx", packed);
  WriteFile(dir / "tq_gra.tvx", archive);
  const torvel::LintResult result = torvel::LintGame(dir);
  for (const torvel::LintFinding& finding : result.findings) (void)finding.Text();
  return 0;
}
