// `anim` and `animq`: short full-motion animations from the animation archives, played as a
// blocking loop by the command itself. Frames are JPEG pictures decoded one at a time; when the
// loop falls behind it skips frames instead of slowing down, and `animq` enlarges every frame.
#include <algorithm>
#include <climits>
#include <cstdio>

#include "graphics/animation_arguments.h"
#include "graphics/animation_clock.h"
#include "graphics/animation_enlarge.h"
#include "graphics/animation_entry.h"
#include "graphics/effect_support.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/picture_arguments.h"
#include "graphics/region_copy.h"
#include "resources/sjis.h"
#include "script/expressions.h"
#include "shell/engine.h"

namespace torvel {

namespace {

// The enlarging player's frames must lie within these sides: below 2 the smoothing rule has no
// neighbour to average with, and the enlarged picture must stay a screenful's worth.
constexpr uint32_t kSmallestEnlargedSide = 2;
constexpr uint32_t kWidestEnlargedFrame = 800;
constexpr uint32_t kTallestEnlargedFrame = 600;
// A frame's JPEG data above this is taken as damage, not as a picture.
constexpr uint32_t kLargestFrameData = 64u << 20;
// A wait longer than this is slept in pieces with the window's messages let through between them.
constexpr int64_t kLongestSleepMs = 100;
constexpr int kVarMusicPlaying = 5;

// The animation's archive entry, read through a file handle of its own: a streamed sound track
// opens another one on the same file.
class EntryFile {
 public:
  bool Open(const ArchiveIndex& archive, int entry) {
    const size_t i = static_cast<size_t>(entry);
    if (entry < 0 || i >= archive.offsets.size() || !archive.bodyFits[i]) return false;
    file_.reset(std::fopen(archive.file.c_str(), "rb"));
    base_ = archive.offsets[i];
    size_ = archive.sizes[i];
    return file_ != nullptr;
  }
  // The `length` bytes at `offset` of the entry; false when they do not lie inside it.
  bool Read(uint64_t offset, uint64_t length, std::vector<uint8_t>& out) {
    if (offset + length > size_) return false;
    out.resize(static_cast<size_t>(length));
    const uint64_t at = base_ + offset;
    return at <= static_cast<uint64_t>(LONG_MAX) && std::fseek(file_.get(), static_cast<long>(at), SEEK_SET) == 0 &&
           std::fread(out.data(), 1, out.size(), file_.get()) == out.size();
  }
  uint64_t Base() const { return base_; }
  uint64_t Size() const { return size_; }

 private:
  MusicFile file_;
  uint64_t base_ = 0;
  uint64_t size_ = 0;
};

enum class SoundMode { None, InMemory, Streamed };

}  // namespace

int TForm1::CmdAnim(std::string_view arg) {
  const std::string& line = script.lineBuffer;
  const bool enlarged = line.size() > 5 && (line[5] == 'q' || line[5] == 'Q');
  const AnimArguments args = ParseAnimArguments(arg);
  const bool cut = Evaluate(args.cut, vars, random) != 0;

  const ArchiveIndex* archive = nullptr;
  int entry = -1;
  for (const ArchiveIndex& index : archives.anim) {
    entry = index.FindEntry(args.name);
    if (entry >= 0) {
      archive = &index;
      break;
    }
  }
  if (!archive) return 1;
  EntryFile file;
  std::vector<uint8_t> bytes;
  AnimationHeader header;
  std::vector<AnimationFrame> frames;
  if (!file.Open(*archive, entry) || !file.Read(0, kAnimationHeaderSize, bytes) ||
      !ReadAnimationHeader(bytes, header) || !AnimationTableFits(header, file.Size()) ||
      !file.Read(kAnimationHeaderSize, uint64_t{header.frameCount} * kAnimationFrameArrays, bytes) ||
      !ReadAnimationFrames(bytes, header.frameCount, frames)) {
    return 1;
  }
  if (enlarged && (header.width < kSmallestEnlargedSide || header.width > kWidestEnlargedFrame ||
                   header.height < kSmallestEnlargedSide || header.height > kTallestEnlargedFrame)) {
    return 1;
  }

  animation = AnimationStatus{};
  animation.name = SjisUpper(args.name);
  animation.playing = true;
  animation.enlarged = enlarged;

  SoundMode soundMode = SoundMode::None;
  if (header.soundLength != 0 && BlockInside(header.soundOffset, header.soundLength, file.Size())) {
    const uint64_t soundAt = file.Base() + header.soundOffset;
    if (header.soundLength > kLargestWholeAnimationSound) {
      PlayAnimationMusic(archive->file, soundAt, soundAt + header.soundLength);
      soundMode = SoundMode::Streamed;
    } else if (file.Read(header.soundOffset, header.soundLength, bytes)) {
      PlayAnimationSound(bytes);
      soundMode = SoundMode::InMemory;
    }
  }

  SetMenuLock(true);
  ctl.blockingScene = true;
  ctl.interruptibleWait = true;
  ctl.interruptRequest = 0;

  Picture32 framePicture, enlargedPicture;
  if (enlarged) {
    framePicture.Resize(static_cast<int>(header.width), static_cast<int>(header.height));
    enlargedPicture.Resize(2 * framePicture.width, 2 * framePicture.height);
    layers.screen.Fill(255, 255, 255);
  }
  std::vector<uint8_t> data;
  Bitmap decoded;
  auto decode = [&](const AnimationFrame& f) {
    return f.length <= kLargestFrameData && file.Read(f.offset, f.length, data) && DecodeJpeg(data, decoded);
  };
  // Draws a frame's picture at (dx, dy) of the animation picture; a frame that does not decode is
  // not drawn.
  auto draw = [&](const AnimationFrame& f, int dx, int dy) {
    if (!decode(f)) return;
    ++animation.drawn;
    if (!enlarged) {
      ShowOnWindow(decoded, Rect{0, 0, decoded.width, decoded.height}, args.x + dx, args.y + dy, false);
      return;
    }
    DrawInto(decoded, framePicture, dx, dy);
    Enlarge(framePicture, enlargedPicture);
    Point at;
    const Bitmap part = VisiblePart(enlargedPicture, args.x, args.y, at);
    if (!part.Empty()) ShowOnWindow(part, Rect{0, 0, part.width, part.height}, at.x, at.y, false);
  };

  const uint64_t count = header.frameCount;
  const uint32_t start = host.TickCount();
  uint64_t s = 0;
  for (uint64_t p = 0; p < count;) {
    animation.frame = static_cast<int64_t>(p);
    const FrameDraw d = ChooseFrameDraw(frames, p, s);
    if (d.droppedPatch) ++animation.dropped;
    if (d.index >= 0) {
      const AnimationFrame& f = frames[static_cast<size_t>(d.index)];
      draw(f, d.atPatchOffset ? f.x : 0, d.atPatchOffset ? f.y : 0);
    }
    host.PumpMessages();
    const int64_t elapsed = static_cast<uint32_t>(host.TickCount() - start);
    const FrameAdvance advance = AdvanceFrame(p, elapsed, header.interval, enlarged);
    for (int64_t left = advance.sleepMs; left > 0;) {
      const int64_t piece = std::min(left, kLongestSleepMs);
      host.Sleep(static_cast<int>(piece));
      left -= piece;
      if (left > 0) {
        host.PumpMessages();
        if (cut && ctl.interruptRequest != 0) break;
      }
    }
    p = advance.next;
    s = advance.skipped;
    if (cut && ctl.interruptRequest != 0) {
      vars.S(kVarAnimationCut) = 1;
      break;
    }
  }

  // The last frame stays on screen and in the screen buffer, whichever frame was showing at a
  // cut; the enlarging player leaves the screen buffer white instead.
  const AnimationFrame& last = frames.back();
  if (!enlarged && decode(last)) {
    const bool patch = last.kind == kPatchFrame;
    const int lx = args.x + (patch ? last.x : 0), ly = args.y + (patch ? last.y : 0);
    CopyRegion(decoded, 0, 0, layers.screen, lx, ly, decoded.width, decoded.height);
    ShowOnWindow(decoded, Rect{0, 0, decoded.width, decoded.height}, lx, ly, false);
  }
  if (soundMode == SoundMode::InMemory) FreeSlot(kAnimationSlot);
  if (soundMode == SoundMode::Streamed) {
    StopMusic();
    // The track the stream replaced has stopped: asking for it again must play it.
    if (sound.available) vars.S(kVarMusicPlaying) = 0;
  }
  ctl.interruptibleWait = false;
  ctl.blockingScene = false;
  SetMenuLock(false);
  animation.playing = false;
  animation.frame = -1;
  return 1;
}

}  // namespace torvel
