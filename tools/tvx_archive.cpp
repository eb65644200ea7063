// tvx pack-data, pack, list, extract.
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "graphics/packed_picture_encoder.h"
#include "graphics/png_io.h"
#include "resources/archive.h"
#include "resources/archive_writer.h"
#include "resources/file_io.h"
#include "resources/sjis.h"
#include "tvx_commands.h"

namespace fs = std::filesystem;

namespace tvx {

namespace {

bool EndsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A script comes through whole or not at all: text that is not UTF-8, or a character Shift-JIS
// cannot hold, is named by its file and line rather than turned into "?".
bool CheckScriptText(const fs::path& file, std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int number = 1;
  for (size_t start = 0;; ++number) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    std::string sjis;
    if (!torvel::IsUtf8(line)) {
      Fail(file.string() + ":" + std::to_string(number) + ": not UTF-8 text");
      return false;
    }
    if (!torvel::Utf8ToSjisExact(line, sjis)) {
      Fail(file.string() + ":" + std::to_string(number) + ": a character that Shift-JIS cannot hold");
      return false;
    }
    if (end == text.size()) return true;
    start = end + 1;
  }
}

// Every regular file of the folder becomes an entry named by its file name. Scripts written as
// UTF-8 text ("NAME.txt") are stored as Shift-JIS lines ended by NUL, under NAME; PNG pictures
// ("NAME.png") are stored in the packed picture format, under NAME.
bool CollectEntries(const fs::path& dir, std::vector<torvel::ArchiveEntry>& entries) {
  std::error_code ec;
  std::vector<fs::path> files;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  if (ec) {
    Fail("cannot read folder " + dir.string());
    return false;
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::string name = file.filename().string();
    std::vector<uint8_t> bytes;
    std::string error;
    if (!torvel::ReadWholeFile(file, bytes, torvel::kDefaultReadLimit, error)) {
      Fail(error);
      return false;
    }
    torvel::ArchiveEntry entry;
    if (EndsWith(name, ".txt")) {
      name.resize(name.size() - 4);
      const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      if (!CheckScriptText(file, text)) return false;
      entry.body = torvel::ScriptTextToBody(text);
    } else if (EndsWith(name, ".png")) {
      name.resize(name.size() - 4);
      torvel::Bitmap picture;
      if (torvel::DecodePng(bytes, picture)) entry.body = torvel::EncodePackedPictureSmallest(picture);
      if (entry.body.empty()) {
        Fail("cannot pack the picture " + file.string());
        return false;
      }
    } else {
      entry.body = std::move(bytes);
    }
    entry.name = torvel::Utf8ToSjis(name);
    entries.push_back(std::move(entry));
  }
  return true;
}

int Write(const fs::path& out, const std::vector<uint8_t>& bytes) {
  std::string error;
  if (!torvel::WriteFileAtomically(out, bytes, &error)) return Fail(error);
  return 0;
}

// Which layout an archive has: the data archives by their name, else by whether the header
// reads as a plausible general-layout index.
torvel::ArchiveLayout GuessLayout(const fs::path& file) {
  std::string name = file.filename().string();
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  if (name.rfind("tq_data", 0) == 0) return torvel::ArchiveLayout::Data;
  torvel::ArchiveIndex general = torvel::ReadArchiveIndex(file, torvel::ArchiveLayout::General);
  bool plausible = general.nameLength >= 2 && general.nameLength <= 256 &&
                   std::all_of(general.bodyFits.begin(), general.bodyFits.end(), [](bool b) { return b; });
  return plausible ? torvel::ArchiveLayout::General : torvel::ArchiveLayout::Data;
}

// An entry name made safe as a file name inside the target folder.
std::string SafeFileName(const std::string& sjisName, size_t index) {
  std::string name = torvel::SjisToUtf8(sjisName);
  for (char& c : name) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
  }
  if (name.empty() || name == "." || name == "..") name = "entry" + std::to_string(index);
  return name;
}

}  // namespace

int PackData(const Args& args) {
  if (args.size() != 2) return Fail("usage: tvx pack-data DIR OUT.tvx");
  std::vector<torvel::ArchiveEntry> entries;
  if (!CollectEntries(args[0], entries)) return 1;
  std::vector<uint8_t> bytes;
  if (!torvel::BuildDataArchive(entries, bytes)) return Fail("an entry name is longer than 55 bytes");
  return Write(args[1], bytes);
}

int Pack(const Args& args) {
  uint32_t nameLength = 32;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--name-length" && i + 1 < args.size()) {
      int n = std::atoi(args[++i].c_str());
      if (n < 2 || n > 4096) return Fail("--name-length takes a number from 2 to 4096");
      nameLength = static_cast<uint32_t>(n);
    } else {
      rest.push_back(args[i]);
    }
  }
  if (rest.size() != 2) return Fail("usage: tvx pack [--name-length N] DIR OUT.tvx");
  std::vector<torvel::ArchiveEntry> entries;
  if (!CollectEntries(rest[0], entries)) return 1;
  std::vector<uint8_t> bytes;
  if (!torvel::BuildGeneralArchive(entries, nameLength, bytes)) {
    return Fail("an entry name does not fit the name field of " + std::to_string(nameLength) + " bytes");
  }
  return Write(rest[1], bytes);
}

int List(const Args& args) {
  if (args.size() != 1) return Fail("usage: tvx list ARCHIVE");
  torvel::ArchiveIndex index = torvel::ReadArchiveIndex(args[0], GuessLayout(args[0]));
  if (!index.Present()) return Fail(index.error);
  for (size_t i = 0; i < index.names.size(); ++i) {
    std::cout << torvel::SjisToUtf8(index.names[i]) << " " << index.offsets[i] << " " << index.sizes[i] << "\n";
  }
  // The entries that fit are listed all the same.
  return index.Damaged() ? Fail(index.error) : 0;
}

int Extract(const Args& args) {
  if (args.size() != 2) return Fail("usage: tvx extract ARCHIVE DIR");
  torvel::ArchiveLayout layout = GuessLayout(args[0]);
  torvel::ArchiveIndex index = torvel::ReadArchiveIndex(args[0], layout);
  if (!index.Present()) return Fail(index.error);
  int failures = index.Damaged() ? Fail(index.error) : 0;
  std::error_code ec;
  fs::create_directories(args[1], ec);
  for (size_t i = 0; i < index.names.size(); ++i) {
    std::vector<uint8_t> body;
    if (!torvel::ReadEntry(index, static_cast<int>(i), body)) {
      std::cerr << "tvx: entry " << torvel::SjisToUtf8(index.names[i]) << " does not fit the file\n";
      ++failures;
      continue;
    }
    if (layout == torvel::ArchiveLayout::Data) torvel::NegateBytes(body);
    if (Write(fs::path(args[1]) / SafeFileName(index.names[i], i), body) != 0) ++failures;
  }
  return failures ? 1 : 0;
}

}  // namespace tvx
