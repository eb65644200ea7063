// tvx anim pack, anim list: animation entries from a folder of pictures and a list of
// directives, and the table of an entry as the engine reads it.
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "graphics/animation_entry.h"
#include "graphics/bmp_io.h"
#include "graphics/jpeg_encoder.h"
#include "graphics/png_io.h"
#include "resources/file_io.h"
#include "sound/wady_encoder.h"
#include "sound/wav_file.h"
#include "tvx_commands.h"

namespace fs = std::filesystem;

namespace tvx {

namespace {

constexpr const char* kUsage =
    "usage: tvx anim pack DIR OUT   (DIR/anim.txt lists the frames)\n"
    "       tvx anim list FILE";
constexpr int kDefaultQuality = 90;

bool ReadPicture(const fs::path& file, torvel::Bitmap& picture) {
  std::vector<uint8_t> bytes;
  if (!torvel::ReadWholeFile(file, bytes)) return false;
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return torvel::DecodeBmp(bytes, picture);
  return torvel::ReadPng(file, picture) && !picture.Empty();
}

bool ParseNumber(const std::string& word, long long& value) {
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size();
}

struct Line {
  int number = 0;
  std::vector<std::string> words;
};

class Packer {
 public:
  explicit Packer(fs::path dir) : dir_(std::move(dir)) {}

  // Reads anim.txt and builds the entry; on a refusal `error` names the line.
  bool Build(std::vector<uint8_t>& out) {
    std::ifstream in(dir_ / "anim.txt");
    if (!in) return Refuse(0, "cannot read the list of frames");
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
      if (const size_t hash = text.find('#'); hash != std::string::npos) text.erase(hash);
      Line line{number, {}};
      std::istringstream words(text);
      for (std::string w; words >> w;) line.words.push_back(w);
      if (!line.words.empty() && !Directive(line)) return false;
    }
    if (blueprint_.frames.empty()) return Refuse(lastLine_, "no frame");
    if (!intervalSet_) return Refuse(lastLine_, "no interval (\"interval MS\" is required)");
    if (!sizeSet_) return Refuse(lastLine_, "no size and no key frame to take it from");
    if (!CheckFrames()) return false;
    if (!torvel::BuildAnimationEntry(blueprint_, out)) return Refuse(lastLine_, "the entry would pass 4 GiB");
    return true;
  }

  const std::string& Error() const { return error_; }
  const torvel::AnimationBlueprint& Blueprint() const { return blueprint_; }

 private:
  // "DIR/anim.txt:LINE: reason", or without the line when the list itself cannot be read.
  bool Refuse(int line, const std::string& why) {
    error_ = (dir_ / "anim.txt").string() + (line > 0 ? ":" + std::to_string(line) : "") + ": " + why;
    return false;
  }

  bool Number(const Line& l, size_t i, long long low, long long high, long long& value) {
    if (i >= l.words.size() || !ParseNumber(l.words[i], value) || value < low || value > high) return false;
    return true;
  }

  bool Directive(const Line& l) {
    lastLine_ = l.number;
    const std::string& what = l.words[0];
    const size_t n = l.words.size();
    long long a = 0, b = 0;
    if (what == "interval") {
      if (n != 2 || !Number(l, 1, 0, UINT32_MAX, a)) return Refuse(l.number, "expected interval MS");
      if (a == 0) return Refuse(l.number, "the interval must be at least 1 ms");
      blueprint_.header.interval = static_cast<uint32_t>(a);
      intervalSet_ = true;
    } else if (what == "size") {
      if (n != 3 || !Number(l, 1, 1, UINT32_MAX, a) || !Number(l, 2, 1, UINT32_MAX, b)) {
        return Refuse(l.number, "expected size W H");
      }
      blueprint_.header.width = static_cast<uint32_t>(a);
      blueprint_.header.height = static_cast<uint32_t>(b);
      sizeSet_ = true;
    } else if (what == "quality") {
      if (n != 2 || !Number(l, 1, 1, 100, a)) return Refuse(l.number, "expected quality 1..100");
      quality_ = static_cast<int>(a);
    } else if (what == "sound" || what == "sound-raw") {
      if (n != 2) return Refuse(l.number, "expected " + what + " FILE");
      return Sound(l, what == "sound-raw");
    } else if (what == "key" || what == "patch" || what == "hold") {
      return Frame(l);
    } else {
      return Refuse(l.number, "unknown directive \"" + what + "\"");
    }
    return true;
  }

  bool Sound(const Line& l, bool raw) {
    std::vector<uint8_t> bytes;
    if (!torvel::ReadWholeFile(dir_ / l.words[1], bytes)) return Refuse(l.number, "cannot read " + l.words[1]);
    const bool wady = bytes.size() >= 4 && bytes[0] == 'W' && bytes[1] == 'A' && bytes[2] == 'D' && bytes[3] == 'Y';
    if (raw || wady) {
      blueprint_.sound = std::move(bytes);
      return true;
    }
    torvel::WavSound wav;
    if (!torvel::ParseWav(bytes, wav) || (wav.channels != 1 && wav.channels != 2) || wav.samples.empty()) {
      return Refuse(l.number, l.words[1] + " is neither a compressed wave nor a 16-bit mono or stereo WAVE file");
    }
    blueprint_.sound = torvel::EncodeTypeA(wav.samples, wav.channels, wav.rate);
    if (blueprint_.sound.empty()) return Refuse(l.number, "cannot encode " + l.words[1]);
    return true;
  }

  bool Frame(const Line& l) {
    const std::string& what = l.words[0];
    torvel::AnimationBlueprint::Frame frame;
    frame.kind = what == "key" ? torvel::kKeyFrame : what == "patch" ? torvel::kPatchFrame : torvel::kHoldFrame;
    const size_t expected = what == "patch" ? 4 : 2;
    if (what == "hold" && l.words.size() == 1) {
      if (blueprint_.frames.empty()) return Refuse(l.number, "the first frame must be a key frame");
      frame.data = blueprint_.frames.back().data;
      blueprint_.frames.push_back(frame);
      return true;
    }
    if (l.words.size() != expected) {
      return Refuse(l.number, what == "patch" ? "expected patch FILE X Y" : "expected " + what + " FILE");
    }
    if (blueprint_.frames.empty() && frame.kind != torvel::kKeyFrame) {
      return Refuse(l.number, "the first frame must be a key frame");
    }
    long long x = 0, y = 0;
    if (frame.kind == torvel::kPatchFrame &&
        (!Number(l, 2, INT16_MIN, INT16_MAX, x) || !Number(l, 3, INT16_MIN, INT16_MAX, y))) {
      return Refuse(l.number, "expected patch FILE X Y with X and Y from -32768 to 32767");
    }
    frame.x = static_cast<int16_t>(x);
    frame.y = static_cast<int16_t>(y);
    torvel::Bitmap picture;
    if (!ReadPicture(dir_ / l.words[1], picture)) {
      return Refuse(l.number, "cannot read " + l.words[1] + " as a PNG or BMP picture");
    }
    if (frame.kind == torvel::kKeyFrame && !sizeSet_) {
      blueprint_.header.width = static_cast<uint32_t>(picture.width);
      blueprint_.header.height = static_cast<uint32_t>(picture.height);
      sizeSet_ = true;
    }
    sizes_.push_back({l.number, picture.width, picture.height});
    frame.data = static_cast<int>(blueprint_.pictures.size());
    blueprint_.pictures.push_back(torvel::EncodeJpeg(picture, torvel::JpegEncodeOptions{quality_, false, false}));
    blueprint_.frames.push_back(frame);
    return true;
  }

  // Key frames fill the animation picture; patches lie inside it. Checked once the size is known,
  // which a "size" line after the first key frame may still change.
  bool CheckFrames() {
    const int64_t w = blueprint_.header.width, h = blueprint_.header.height;
    size_t picture = 0;
    for (const torvel::AnimationBlueprint::Frame& f : blueprint_.frames) {
      if (f.data != static_cast<int>(picture)) continue;  // a hold sharing the frame before it
      const PictureSize& s = sizes_[picture++];
      if (f.kind == torvel::kKeyFrame && (s.width != w || s.height != h)) {
        return Refuse(s.line, "the key frame is " + std::to_string(s.width) + "x" + std::to_string(s.height) +
                                  ", not " + std::to_string(w) + "x" + std::to_string(h));
      }
      if (f.kind == torvel::kPatchFrame && (f.x < 0 || f.y < 0 || f.x + s.width > w || f.y + s.height > h)) {
        return Refuse(s.line, "the patch lies outside the " + std::to_string(w) + "x" + std::to_string(h) + " picture");
      }
    }
    return true;
  }

  struct PictureSize {
    int line;
    int width;
    int height;
  };
  fs::path dir_;
  torvel::AnimationBlueprint blueprint_;
  std::vector<PictureSize> sizes_;
  bool intervalSet_ = false;
  bool sizeSet_ = false;
  int quality_ = kDefaultQuality;
  int lastLine_ = 0;
  std::string error_;
};

int PackAnimation(const fs::path& dir, const fs::path& out) {
  Packer packer(dir);
  std::vector<uint8_t> entry;
  if (!packer.Build(entry)) return Fail(packer.Error());
  if (!torvel::WriteFileAtomically(out, entry)) return Fail("cannot write " + out.string());
  const torvel::AnimationHeader& h = packer.Blueprint().header;
  std::cout << out.string() << ": " << packer.Blueprint().frames.size() << " frames of " << h.width << "x" << h.height
            << " every " << h.interval << " ms, sound " << packer.Blueprint().sound.size() << " bytes, " << entry.size()
            << " bytes\n";
  return 0;
}

}  // namespace

bool PackAnimationFolder(const fs::path& dir, std::vector<uint8_t>& entry, std::string& error) {
  Packer packer(dir);
  if (packer.Build(entry)) return true;
  error = packer.Error();
  return false;
}

namespace {

const char* KindName(int16_t kind) {
  switch (kind) {
    case torvel::kKeyFrame: return "key";
    case torvel::kPatchFrame: return "patch";
    case torvel::kHoldFrame: return "hold";
    default: return "unknown";
  }
}

int ListAnimation(const fs::path& file) {
  std::vector<uint8_t> bytes;
  if (!torvel::ReadWholeFile(file, bytes)) return Fail("cannot read " + file.string());
  torvel::AnimationHeader h;
  if (!torvel::ReadAnimationHeader(bytes, h)) return Fail(file.string() + " is too short for an animation header");
  std::cout << "frames " << h.frameCount << ", interval " << h.interval << " ms, size " << h.width << "x" << h.height
            << ", sound " << h.soundLength << " bytes at " << h.soundOffset
            << (h.soundLength != 0 && !torvel::BlockInside(h.soundOffset, h.soundLength, bytes.size())
                    ? " (outside the entry)"
                    : "")
            << "\n";
  if (!torvel::AnimationTableFits(h, bytes.size())) return Fail("the frame table does not fit the entry");
  std::vector<torvel::AnimationFrame> frames;
  torvel::ReadAnimationFrames(std::span<const uint8_t>(bytes).subspan(torvel::kAnimationHeaderSize), h.frameCount,
                              frames);
  for (size_t i = 0; i < frames.size(); ++i) {
    const torvel::AnimationFrame& f = frames[i];
    std::cout << i << " " << KindName(f.kind) << " x " << f.x << " y " << f.y << " offset " << f.offset << " length "
              << f.length << (torvel::BlockInside(f.offset, f.length, bytes.size()) ? "" : " (outside the entry)")
              << "\n";
  }
  return 0;
}

}  // namespace

int Anim(const Args& args) {
  if (args.size() == 3 && args[0] == "pack") return PackAnimation(args[1], args[2]);
  if (args.size() == 2 && args[0] == "list") return ListAnimation(args[1]);
  return Fail(kUsage);
}

}  // namespace tvx
