// tvx build SRC_DIR OUT_DIR: a whole game folder from a source tree. Every folder of the layout
// becomes one archive; files/ is copied beside them. The archives are made in a temporary folder
// inside OUT_DIR and moved in only when all of them have succeeded, so a failed or killed build
// leaves the game as it was.
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <set>

#include "graphics/bmp_io.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/jpeg_encoder.h"
#include "graphics/packed_picture.h"
#include "graphics/packed_picture_encoder.h"
#include "graphics/png_io.h"
#include "ogg_vorbis_encoder.h"
#include "resources/archive.h"
#include "resources/archive_writer.h"
#include "resources/file_io.h"
#include "resources/sjis.h"
#include "sound/wady_encoder.h"
#include "sound/wav_file.h"
#include "tvx_commands.h"

namespace fs = std::filesystem;

namespace tvx {

namespace {

enum class Kind { Data, Jpeg, Picture, Music, Wave, Ogg, Animation };

struct Folder {
  const char* name;
  Kind kind;
};

// In the order the engine opens them.
constexpr Folder kFolders[] = {
    {"data", Kind::Data},    {"data2", Kind::Data},   {"gjp", Kind::Jpeg},       {"gra", Kind::Picture},
    {"gra2", Kind::Picture}, {"gra3", Kind::Picture}, {"wav1", Kind::Wave},      {"wav2", Kind::Wave},
    {"wav3", Kind::Wave},    {"wav4", Kind::Wave},    {"wav5", Kind::Wave},      {"se0", Kind::Wave},
    {"se1", Kind::Wave},     {"se2", Kind::Wave},     {"ogg1", Kind::Ogg},       {"ogg2", Kind::Ogg},
    {"ogg3", Kind::Ogg},     {"bgm", Kind::Music},    {"anim", Kind::Animation}, {"anim2", Kind::Animation},
};

constexpr const char* kFilesFolder = "files";
constexpr const char* kListName = "tvx-build.txt";
constexpr const char* kTemporaryPrefix = ".tvx-build-";
constexpr uint32_t kUsualNameField = 32;
constexpr size_t kDataNameLimit = 55;
constexpr int kJpegQuality = 90;
constexpr uint64_t kMaxSourceBytes = uint64_t{1} << 30;

std::string ArchiveName(const std::string& folder) { return "tq_" + folder + ".tvx"; }

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

// What the engine writes into the game folder: the builds never replace or remove it.
bool IsSaveName(const fs::path& relative) {
  const std::string first = Lower(relative.begin()->string());
  return first == "save" || first == "save0.dat" || first == "kaiso.dat";
}

// A path inside OUT_DIR as the list of an earlier build may give it; anything leading out of
// the folder is not ours to touch.
bool IsPlainRelative(const fs::path& p) {
  if (p.empty() || p.is_absolute()) return false;
  for (const fs::path& part : p) {
    if (part == ".." || part == "." || part.empty()) return false;
  }
  return true;
}

// One failure, "FILE[:LINE]: reason".
struct Failure {
  std::string message;
};

[[noreturn]] void Refuse(const fs::path& file, const std::string& why) { throw Failure{file.string() + ": " + why}; }
[[noreturn]] void Refuse(const fs::path& file, int line, const std::string& why) {
  throw Failure{file.string() + ":" + std::to_string(line) + ": " + why};
}

std::vector<uint8_t> ReadSource(const fs::path& file) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!torvel::ReadWholeFile(file, bytes, kMaxSourceBytes, error)) throw Failure{error};
  return bytes;
}

std::string_view AsText(const std::vector<uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Calls `check` on every line (without its line break) with its number from 1.
template <typename Check>
void ForEachLine(std::string_view text, Check check) {
  int number = 1;
  for (size_t start = 0;; ++number) {
    size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    check(line, number);
    if (end == text.size()) return;
    start = end + 1;
  }
}

std::vector<uint8_t> Utf8Script(const fs::path& file, std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  ForEachLine(text, [&](std::string_view line, int number) {
    std::string sjis;
    if (!torvel::IsUtf8(line)) Refuse(file, number, "not UTF-8 text");
    if (!torvel::Utf8ToSjisExact(line, sjis)) Refuse(file, number, "a character that Shift-JIS cannot hold");
  });
  return torvel::ScriptTextToBody(text);
}

std::vector<uint8_t> SjisScript(const fs::path& file, std::string_view text) {
  ForEachLine(text, [&](std::string_view line, int number) {
    if (!torvel::IsSjisDefined(line)) Refuse(file, number, "not Shift-JIS text");
  });
  return torvel::SjisTextToBody(text);
}

// PNG or BMP, told apart by their first bytes.
torvel::Bitmap ReadPicture(const fs::path& file) {
  const std::vector<uint8_t> bytes = ReadSource(file);
  torvel::Bitmap picture;
  const bool bmp = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
  if (!(bmp ? torvel::DecodeBmp(bytes, picture) : torvel::DecodePng(bytes, picture)) || picture.Empty()) {
    Refuse(file, "not a PNG or BMP picture");
  }
  return picture;
}

torvel::WavSound ReadWave(const fs::path& file) {
  torvel::WavSound sound;
  if (!torvel::ParseWav(ReadSource(file), sound)) Refuse(file, "not a 16-bit PCM WAVE file");
  if (sound.channels != 1 && sound.channels != 2) Refuse(file, "neither mono nor stereo");
  if (sound.samples.size() < sound.channels || sound.rate == 0) Refuse(file, "holds no sound");
  return sound;
}

// The loop point of a music track in seconds: "NAME.loop" beside "NAME.wav", 0 without one.
uint32_t LoopFrame(const fs::path& wav, const torvel::WavSound& sound) {
  fs::path loopFile = wav;
  loopFile.replace_extension(".loop");
  std::error_code ec;
  if (!fs::exists(loopFile, ec)) return 0;
  const std::vector<uint8_t> bytes = ReadSource(loopFile);
  const std::string text(AsText(bytes));
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  const bool rest = std::all_of(const_cast<const char*>(end), text.c_str() + text.size(),
                                [](unsigned char c) { return std::isspace(c); });
  if (end == text.c_str() || !rest || !std::isfinite(seconds) || seconds < 0) {
    Refuse(loopFile, 1, "not a number of seconds");
  }
  const double frame = std::floor(seconds * sound.rate);
  if (frame >= static_cast<double>(sound.samples.size() / sound.channels)) {
    Refuse(loopFile, "the loop lies past the end of the sound");
  }
  return static_cast<uint32_t>(frame);
}

bool HasExtension(const fs::path& file, std::initializer_list<const char*> extensions) {
  const std::string ext = file.extension().string();
  return std::any_of(extensions.begin(), extensions.end(), [&](const char* e) { return ext == e; });
}

// The entry body a source file becomes in an archive of the kind, or nothing for a file that
// makes no entry of its own (a loop point beside its track).
std::optional<std::vector<uint8_t>> Convert(Kind kind, const fs::path& file) {
  const std::string ext = Lower(file.extension().string());
  switch (kind) {
    case Kind::Data:
      if (ext == ".txt") return Utf8Script(file, AsText(ReadSource(file)));
      if (HasExtension(file, {".s", ".S"})) return SjisScript(file, AsText(ReadSource(file)));
      return ReadSource(file);
    case Kind::Jpeg:
      if (ext == ".jpg" || ext == ".jpeg" || ext.empty()) {
        std::vector<uint8_t> bytes = ReadSource(file);
        torvel::Bitmap picture;
        if (!torvel::DecodeJpeg(bytes, picture) || picture.Empty()) Refuse(file, "not a JPEG picture");
        return bytes;
      }
      if (ext == ".png" || ext == ".bmp") {
        std::vector<uint8_t> jpeg = torvel::EncodeJpeg(ReadPicture(file), torvel::JpegEncodeOptions{kJpegQuality});
        if (jpeg.empty()) Refuse(file, "cannot be stored as JPEG");
        return jpeg;
      }
      break;
    case Kind::Picture:
      if (ext == ".png" || ext == ".bmp") {
        std::vector<uint8_t> packed = torvel::EncodePackedPictureSmallest(ReadPicture(file));
        if (packed.empty()) Refuse(file, "too large for the packed picture format");
        return packed;
      }
      if (ext.empty()) {
        std::vector<uint8_t> bytes = ReadSource(file);
        torvel::Bitmap picture;
        if (!torvel::DecodePackedPicture(bytes, picture) || picture.Empty()) Refuse(file, "not a packed picture");
        return bytes;
      }
      break;
    case Kind::Music:
      if (ext == ".loop") {
        fs::path wav = file;
        std::error_code ec;
        if (!fs::exists(wav.replace_extension(".wav"), ec)) Refuse(file, "no track " + wav.filename().string());
        return std::nullopt;
      }
      if (ext == ".wav") {
        const torvel::WavSound sound = ReadWave(file);
        std::vector<uint8_t> a = torvel::EncodeTypeA(sound.samples, sound.channels, sound.rate, LoopFrame(file, sound));
        if (a.empty()) Refuse(file, "cannot be encoded");
        return a;
      }
      break;
    case Kind::Wave:
      if (ext == ".wav") {
        const torvel::WavSound sound = ReadWave(file);
        std::vector<uint8_t> b = torvel::EncodeTypeB(sound.samples, sound.channels, sound.rate);
        if (b.empty()) Refuse(file, "cannot be encoded");
        return b;
      }
      break;
    case Kind::Ogg:
      if (ext == ".ogg") {
        std::vector<uint8_t> bytes = ReadSource(file);
        if (bytes.size() < 4 || AsText(bytes).substr(0, 4) != "OggS") Refuse(file, "not an Ogg stream");
        return bytes;
      }
      if (ext == ".wav") {
        std::vector<uint8_t> ogg = EncodeOggVorbis(ReadWave(file));
        if (ogg.empty()) Refuse(file, "cannot be encoded as Ogg Vorbis");
        return ogg;
      }
      break;
    case Kind::Animation: break;
  }
  Refuse(file, "unknown file type");
}

// Hidden files (".gitkeep", editors' notes) are no part of the game.
bool Hidden(const fs::path& p) { return p.filename().string().rfind('.', 0) == 0; }

std::vector<fs::path> SortedChildren(const fs::path& dir) {
  std::vector<fs::path> children;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
    if (!Hidden(e.path())) children.push_back(e.path());
  }
  if (ec) Refuse(dir, "cannot be read: " + ec.message());
  std::sort(children.begin(), children.end());
  return children;
}

std::vector<uint8_t> BuildArchive(const fs::path& dir, Kind kind) {
  struct Source {
    fs::path file;
    torvel::ArchiveEntry entry;
  };
  std::vector<Source> sources;
  std::error_code ec;
  if (fs::exists(dir, ec)) {
    for (const fs::path& file : SortedChildren(dir)) {
      Source s{file, {}};
      const bool folder = fs::is_directory(file, ec);
      const std::string stem = folder ? file.filename().string() : file.stem().string();
      if (!torvel::Utf8ToSjisExact(stem, s.entry.name)) Refuse(file, "the name cannot be written in Shift-JIS");
      if (kind == Kind::Data && s.entry.name.size() > kDataNameLimit) {
        Refuse(file, "the name is longer than " + std::to_string(kDataNameLimit) + " bytes");
      }
      if (kind == Kind::Animation) {
        if (!folder) Refuse(file, "unknown file type (an animation is a folder with anim.txt)");
        std::string error;
        if (!PackAnimationFolder(file, s.entry.body, error)) throw Failure{error};
      } else {
        if (folder) Refuse(file, "a folder where files are expected");
        std::optional<std::vector<uint8_t>> body = Convert(kind, file);
        if (!body) continue;
        s.entry.body = std::move(*body);
      }
      sources.push_back(std::move(s));
    }
  }
  // Sorted by the stored name, so that one tree gives one archive whatever the file system's order.
  std::stable_sort(sources.begin(), sources.end(),
                   [](const Source& a, const Source& b) { return a.entry.name < b.entry.name; });
  std::map<std::string, fs::path> seen;
  for (const Source& s : sources) {
    auto [at, fresh] = seen.emplace(torvel::SjisUpper(s.entry.name), s.file);
    if (!fresh) Refuse(s.file, "the same name as " + at->second.filename().string());
  }
  std::vector<torvel::ArchiveEntry> entries;
  size_t longest = 0;
  for (Source& s : sources) {
    longest = std::max(longest, s.entry.name.size());
    entries.push_back(std::move(s.entry));
  }
  std::vector<uint8_t> bytes;
  // General archives widen their name field for a name that does not fit the usual one.
  const uint32_t field = std::max<uint32_t>(kUsualNameField, static_cast<uint32_t>(longest + 1));
  const bool built = kind == Kind::Data ? torvel::BuildDataArchive(entries, bytes)
                                        : torvel::BuildGeneralArchive(entries, field, bytes);
  if (!built) Refuse(dir, "the archive would pass 4 GiB");
  return bytes;
}

void WriteOut(const fs::path& file, std::span<const uint8_t> bytes) {
  std::string error;
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  if (!torvel::WriteFileAtomically(file, bytes, &error)) throw Failure{error};
}

// The files of files/, relative to it, every folder walked.
void CollectFiles(const fs::path& root, const fs::path& dir, std::vector<fs::path>& files) {
  std::error_code ec;
  for (const fs::path& p : SortedChildren(dir)) {
    if (fs::is_directory(p, ec)) {
      CollectFiles(root, p, files);
    } else if (fs::is_regular_file(p, ec)) {
      files.push_back(fs::relative(p, root, ec));
    } else {
      Refuse(p, "neither a file nor a folder");
    }
  }
}

bool WriterRunning(const std::string& name) {
  char* end = nullptr;
  const long pid = std::strtol(name.c_str() + std::string_view(kTemporaryPrefix).size(), &end, 10);
  if (end == nullptr || *end != '\0' || pid <= 0) return false;
  return pid == getpid() || kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::vector<fs::path> ReadList(const fs::path& listFile) {
  std::vector<fs::path> listed;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!torvel::ReadWholeFile(listFile, bytes, 1 << 20, error)) throw Failure{error};
  ForEachLine(AsText(bytes), [&](std::string_view line, int) {
    if (line.empty() || line[0] == '#') return;
    fs::path p = fs::path(std::string(line)).lexically_normal();
    if (IsPlainRelative(p) && !IsSaveName(p)) listed.push_back(p);
  });
  return listed;
}

std::vector<uint8_t> ListText(const std::vector<fs::path>& outputs) {
  std::string text = "# Made by tvx build; the next build replaces or removes these files.\n";
  for (const fs::path& p : outputs) text += p.generic_string() + "\n";
  return {text.begin(), text.end()};
}

// Removes a file an earlier build wrote and the folders it leaves empty, up to the game folder.
void RemoveStale(const fs::path& out, const fs::path& relative) {
  std::error_code ec;
  const fs::path file = out / relative;
  if (!fs::is_regular_file(fs::symlink_status(file, ec))) return;
  fs::remove(file, ec);
  for (fs::path dir = relative.parent_path(); !dir.empty(); dir = dir.parent_path()) {
    if (!fs::is_empty(out / dir, ec) || ec) break;
    fs::remove(out / dir, ec);
  }
}

// Interruptions from the terminal or the system wait while the new files are moved in, so that
// Ctrl-C leaves the old game or the new one, not a mix.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&set, s);
    sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~SignalsHeld() { sigprocmask(SIG_SETMASK, &old_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t old_;
};

class Builder {
 public:
  Builder(fs::path source, fs::path out) : source_(std::move(source)), out_(std::move(out)) {}

  ~Builder() {
    std::error_code ec;
    if (!temporary_.empty()) fs::remove_all(temporary_, ec);
    if (createdOut_ && !committed_) fs::remove(out_, ec);
  }

  int Run() {
    CheckSource();
    PrepareOut();
    std::vector<fs::path> outputs;
    for (const Folder& f : kFolders) {
      const fs::path dir = source_ / f.name;
      std::error_code ec;
      const std::string name = f.name;
      if (!fs::exists(dir, ec) && name != "data" && name != "gra") continue;
      WriteOut(temporary_ / ArchiveName(name), BuildArchive(dir, f.kind));
      outputs.push_back(ArchiveName(name));
    }
    std::vector<fs::path> files;
    const fs::path filesDir = source_ / kFilesFolder;
    std::error_code ec;
    if (fs::exists(filesDir, ec)) CollectFiles(filesDir, filesDir, files);
    const std::set<fs::path> archives(outputs.begin(), outputs.end());
    for (const fs::path& f : files) {
      const fs::path& first = *f.begin();
      if (archives.count(first) || Lower(first.string()) == kListName || IsSaveName(f) ||
          Lower(first.string()).rfind(kTemporaryPrefix, 0) == 0) {
        Refuse(filesDir / f, "takes the place of what the build or the game writes");
      }
      WriteOut(temporary_ / f, ReadSource(filesDir / f));
      outputs.push_back(f);
    }
    Commit(outputs);
    std::cout << out_.string() << ": " << archives.size() << " archives, " << files.size() << " other files\n";
    return 0;
  }

 private:
  void CheckSource() {
    std::error_code ec;
    if (!fs::is_directory(source_, ec)) Refuse(source_, "not a folder");
    std::set<std::string> known{kFilesFolder};
    for (const Folder& f : kFolders) known.insert(f.name);
    for (const fs::path& p : SortedChildren(source_)) {
      const bool folder = fs::is_directory(p, ec);
      if (!folder) Refuse(p, "unknown file type (a source tree holds only the layout's folders)");
      if (!known.count(p.filename().string())) Refuse(p, "unknown folder");
    }
  }

  // OUT_DIR is new, empty or an earlier build's; what a killed build left behind goes first.
  void PrepareOut() {
    std::error_code ec;
    if (!fs::exists(out_, ec)) {
      if (!fs::create_directories(out_, ec)) Refuse(out_, "cannot be created: " + ec.message());
      createdOut_ = true;
    } else if (!fs::is_directory(out_, ec)) {
      Refuse(out_, "not a folder");
    }
    const bool earlier = fs::exists(out_ / kListName, ec);
    for (const fs::directory_entry& e : fs::directory_iterator(out_, ec)) {
      const std::string name = e.path().filename().string();
      if (name.rfind(kTemporaryPrefix, 0) == 0) {
        if (!WriterRunning(name)) fs::remove_all(e.path(), ec);
        continue;
      }
      if (!earlier) Refuse(out_, "neither empty nor made by tvx build (no " + std::string(kListName) + ")");
    }
    if (earlier) listed_ = ReadList(out_ / kListName);
    temporary_ = out_ / (kTemporaryPrefix + std::to_string(getpid()));
    fs::remove_all(temporary_, ec);
    if (!fs::create_directory(temporary_, ec)) Refuse(temporary_, "cannot be created: " + ec.message());
  }

  // Moves the new files in. The list names the old and the new files while they are moved, so
  // that a build killed halfway leaves a folder the next build still knows as its own.
  void Commit(const std::vector<fs::path>& outputs) {
    std::error_code ec;
    for (const fs::path& f : outputs) {
      const fs::path target = out_ / f;
      if (fs::is_directory(fs::symlink_status(target, ec))) Refuse(target, "a folder where the build puts a file");
    }
    const SignalsHeld held;
    std::set<fs::path> all(listed_.begin(), listed_.end());
    all.insert(outputs.begin(), outputs.end());
    WriteOut(out_ / kListName, ListText({all.begin(), all.end()}));
    for (const fs::path& f : outputs) {
      const fs::path target = out_ / f;
      fs::create_directories(target.parent_path(), ec);
      fs::rename(temporary_ / f, target, ec);
      if (ec) Refuse(target, "cannot be written: " + ec.message());
    }
    committed_ = true;
    const std::set<fs::path> fresh(outputs.begin(), outputs.end());
    for (const fs::path& old : listed_) {
      if (!fresh.count(old)) RemoveStale(out_, old);
    }
    WriteOut(out_ / kListName, ListText(outputs));
    fs::remove_all(temporary_, ec);
    temporary_.clear();
  }

  fs::path source_;
  fs::path out_;
  fs::path temporary_;
  std::vector<fs::path> listed_;
  bool createdOut_ = false;
  bool committed_ = false;
};

}  // namespace

int Build(const Args& args) {
  if (args.size() != 2) return Fail("usage: tvx build SRC_DIR OUT_DIR");
  try {
    Builder builder{fs::path(args[0]), fs::path(args[1])};
    return builder.Run();
  } catch (const Failure& f) {
    std::cerr << f.message << "\n";
    return 1;
  } catch (const std::exception& e) {  // a file system that fails under the build
    std::cerr << args[1] << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace tvx
