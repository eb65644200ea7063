// tvx build as an author runs it: a source tree becomes the archive set, every conversion gives
// what the engine reads, one tree gives the same bytes every time, and a failing build names the
// file and leaves the game folder as it was.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <functional>
#include <map>

#include "graphics/animation_entry.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/jpeg_encoder.h"
#include "graphics/packed_picture.h"
#include "graphics/packed_picture_encoder.h"
#include "graphics/png_io.h"
#include "resources/archive.h"
#include "resources/file_io.h"
#include "sound/ogg_voice.h"
#include "sound/wady_decoder.h"
#include "sound/wav_file.h"
#include "support/game_fixture.h"
#include "support/program_run.h"

namespace torvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const std::string kTvx = std::string(TORVEL_BINARY_DIR) + "/tools/tvx";

struct BuildRun {
  int code;
  std::string errors;  // standard error only
};

BuildRun Build(const fs::path& source, const fs::path& out) {
  const testing::ProgramRun run =
      testing::RunCommand(kTvx + " build '" + source.string() + "' '" + out.string() + "' 2>&1 >/dev/null");
  return BuildRun{run.code, run.output};
}

void Put(const fs::path& file, std::string_view text) {
  fs::create_directories(file.parent_path());
  ASSERT_TRUE(WriteFileAtomically(file, text));
}
void Put(const fs::path& file, const Bytes& bytes) {
  fs::create_directories(file.parent_path());
  ASSERT_TRUE(WriteFileAtomically(file, bytes));
}

void PutPng(const fs::path& file, const Bitmap& picture) {
  fs::create_directories(file.parent_path());
  ASSERT_TRUE(WritePng(file, picture));
}

Bytes Read(const fs::path& file) {
  Bytes bytes;
  EXPECT_TRUE(ReadWholeFile(file, bytes)) << file;
  return bytes;
}

Bitmap Stripes(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = b.Row(y) + 3 * x;
      p[0] = static_cast<uint8_t>(x * 16);
      p[1] = static_cast<uint8_t>(y * 32);
      p[2] = static_cast<uint8_t>((x + y) % 2 ? 200 : 40);
    }
  }
  return b;
}

// A bottom-up 24-bit BMP file of a picture whose rows are a multiple of 4 bytes.
Bytes Bmp(const Bitmap& b) {
  Bytes out = {'B', 'M'};
  auto le32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  const uint32_t size = static_cast<uint32_t>(b.width * 3 * b.height);
  le32(54 + size), le32(0), le32(54), le32(40), le32(b.width), le32(b.height);
  for (uint8_t v : {1, 0, 24, 0}) out.push_back(v);
  le32(0), le32(size), le32(2835), le32(2835), le32(0), le32(0);
  for (int y = b.height - 1; y >= 0; --y) out.insert(out.end(), b.Row(y), b.Row(y) + b.width * 3);
  return out;
}

// A mono 16-bit WAVE file of `frames` samples at `rate`.
Bytes Wave(size_t frames, uint32_t rate, uint16_t channels = 1) {
  std::vector<int16_t> samples(frames * channels);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i % 40) * 500 - 10000);
  return BuildWav(channels, rate, std::span(reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2));
}

void PutAnimation(const fs::path& dir) {
  PutPng(dir / "k.png", Stripes(16, 8));
  Put(dir / "anim.txt", std::string_view("interval 50\nkey k.png\nhold\n"));
}

// Every file under `dir` (hidden ones too) with its bytes.
std::map<std::string, Bytes> Snapshot(const fs::path& dir) {
  std::map<std::string, Bytes> files;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir)) {
    std::string name = fs::relative(e.path(), dir).generic_string();
    files[name] = e.is_regular_file() ? Read(e.path()) : Bytes{'/'};
  }
  return files;
}

Bytes EntryOf(const fs::path& archive, const std::string& name, ArchiveLayout layout = ArchiveLayout::General) {
  const ArchiveIndex index = ReadArchiveIndex(archive, layout);
  Bytes body;
  EXPECT_TRUE(ReadEntry(index, index.FindEntry(name), body)) << archive << " " << name;
  if (layout == ArchiveLayout::Data) NegateBytes(body);
  return body;
}

class TvxBuildTest : public ::testing::Test {
 protected:
  fs::path Src() const { return folder_.Path() / "src"; }
  fs::path Out() const { return folder_.Path() / "out"; }
  fs::path Root() const { return folder_.Path(); }

 private:
  testing::TempFolder folder_;
};

// ---- Conversions ----

TEST_F(TvxBuildTest, DataArchiveHoldsShiftJisLinesEndedByNulExactly) {
  // "@bg 駅" CR LF "あ" LF: 駅 is 89 77 and あ is 82 A0 in Shift-JIS.
  Put(Src() / "data" / "main.txt", std::string_view("@bg \xE9\xA7\x85\r\n\xE3\x81\x82\n"));
  ASSERT_EQ(Build(Src(), Out()).code, 0);
  const Bytes plain = {'@', 'b', 'g', ' ', 0x89, 0x77, 0, 0x82, 0xA0, 0};
  Bytes expected = {1, 0, 0, 0, 'm', 'a', 'i', 'n'};
  expected.resize(4 + 56, 0);
  const Bytes offsetAndSize = {68, 0, 0, 0, static_cast<uint8_t>(plain.size()), 0, 0, 0};
  expected.insert(expected.end(), offsetAndSize.begin(), offsetAndSize.end());
  for (uint8_t b : plain) expected.push_back(static_cast<uint8_t>(256 - b));  // stored negated
  EXPECT_EQ(Read(Out() / "tq_data.tvx"), expected);
}

TEST_F(TvxBuildTest, EveryFolderConvertsItsFiles) {
  const Bitmap picture = Stripes(16, 8);
  const Bytes packed = EncodePackedPictureSmallest(picture);
  const Bytes jpeg = EncodeJpeg(picture);
  const Bytes ogg = {'O', 'g', 'g', 'S', 1, 2, 3};
  Put(Src() / "data" / "sj.s", Bytes{0x82, 0xA0, '\r', '\n', 'x'});
  Put(Src() / "data" / "table.bin", Bytes{1, 0, 2});
  PutPng(Src() / "gra" / "P.png", picture);
  Put(Src() / "gra2" / "Q.bmp", Bmp(picture));
  Put(Src() / "gra2" / "ready", packed);
  PutPng(Src() / "gjp" / "J.png", picture);
  Put(Src() / "gjp" / "K.jpg", jpeg);
  Put(Src() / "bgm" / "M.wav", Wave(16000, 8000));
  Put(Src() / "bgm" / "M.loop", std::string_view("0.5\n"));
  Put(Src() / "bgm" / "N.wav", Wave(800, 8000, 2));
  Put(Src() / "se1" / "S.wav", Wave(900, 8000));
  Put(Src() / "wav3" / "W.wav", Wave(700, 11025));
  Put(Src() / "ogg2" / "V.wav", Wave(22050, 22050));
  Put(Src() / "ogg2" / "O.ogg", ogg);
  PutAnimation(Src() / "anim2" / "A");
  Put(Src() / "files" / "panic.bmp", std::string_view("BM..."));
  Put(Src() / "files" / "movie" / "op.mpg", std::string_view("mpg"));
  Put(Src() / "files" / ".hidden", std::string_view("not copied"));
  ASSERT_EQ(Build(Src(), Out()).code, 0);

  EXPECT_EQ(EntryOf(Out() / "tq_data.tvx", "SJ", ArchiveLayout::Data), (Bytes{0x82, 0xA0, 0, 'x', 0}));
  EXPECT_EQ(EntryOf(Out() / "tq_data.tvx", "table", ArchiveLayout::Data), (Bytes{1, 0, 2}));
  for (const auto& [archive, name] : {std::pair{"tq_gra.tvx", "P"}, {"tq_gra2.tvx", "Q"}, {"tq_gra2.tvx", "ready"}}) {
    Bitmap back;
    ASSERT_TRUE(DecodePackedPicture(EntryOf(Out() / archive, name), back)) << name;
    EXPECT_EQ(back.width, 16);
    EXPECT_EQ(back.height, 8);
    EXPECT_EQ(back.pixels, picture.pixels) << name;
  }
  EXPECT_EQ(EntryOf(Out() / "tq_gra2.tvx", "ready"), packed);
  EXPECT_EQ(EntryOf(Out() / "tq_gjp.tvx", "K"), jpeg);
  EXPECT_EQ(EntryOf(Out() / "tq_gjp.tvx", "J"), jpeg) << "a PNG becomes a JPEG of quality 90";

  WadyHeader music;
  ASSERT_TRUE(ReadWadyHeader(EntryOf(Out() / "tq_bgm.tvx", "M"), music));
  EXPECT_NE(music.scale, 0) << "type A";
  EXPECT_EQ(music.frames, 16000u);
  EXPECT_EQ(music.loopStart, 4000u) << "half a second at 8000 Hz";
  WadyHeader still;
  ASSERT_TRUE(ReadWadyHeader(EntryOf(Out() / "tq_bgm.tvx", "N"), still));
  EXPECT_EQ(still.channels, 2);
  EXPECT_EQ(still.loopStart, 0u) << "no loop file: the track loops from its start";
  for (const auto& [archive, name, frames] : {std::tuple{"tq_se1.tvx", "S", 900u}, {"tq_wav3.tvx", "W", 700u}}) {
    const Bytes entry = EntryOf(Out() / archive, name);
    WadyHeader b;
    ASSERT_TRUE(ReadWadyHeader(entry, b));
    EXPECT_EQ(b.scale, 0) << "type B";
    EXPECT_EQ(DecodeTypeB(entry).size(), frames * 2) << name;
  }
  const Bytes voice = EntryOf(Out() / "tq_ogg2.tvx", "V");
  OggVoice decoded;
  ASSERT_TRUE(DecodeOggVoice(voice, decoded));
  EXPECT_EQ(decoded.pcm.size(), 22050u * 2);
  EXPECT_EQ(EntryOf(Out() / "tq_ogg2.tvx", "O"), ogg);
  AnimationHeader animation;
  ASSERT_TRUE(ReadAnimationHeader(EntryOf(Out() / "tq_anim2.tvx", "A"), animation));
  EXPECT_EQ(animation.frameCount, 2u);
  EXPECT_EQ(animation.interval, 50u);

  EXPECT_EQ(Read(Out() / "panic.bmp"), (Bytes{'B', 'M', '.', '.', '.'}));
  EXPECT_EQ(Read(Out() / "movie" / "op.mpg"), (Bytes{'m', 'p', 'g'}));
  std::vector<std::string> made;
  for (const auto& [name, bytes] : Snapshot(Out())) made.push_back(name);
  EXPECT_EQ(made, (std::vector<std::string>{"movie", "movie/op.mpg", "panic.bmp", "tq_anim2.tvx", "tq_bgm.tvx",
                                            "tq_data.tvx", "tq_gjp.tvx", "tq_gra.tvx", "tq_gra2.tvx", "tq_ogg2.tvx",
                                            "tq_se1.tvx", "tq_wav3.tvx", "tvx-build.txt"}));
}

TEST_F(TvxBuildTest, DataAndGraphicArchivesAreWrittenEvenWithoutTheirFolders) {
  fs::create_directories(Src() / "se0");
  ASSERT_EQ(Build(Src(), Out()).code, 0);
  for (const char* empty : {"tq_data.tvx", "tq_se0.tvx"}) {
    const Bytes count = Read(Out() / empty);
    ASSERT_GE(count.size(), 4u);
    EXPECT_EQ(count[0], 0) << empty;
  }
  // A general archive with no entry: count 0 and the usual name field of 32.
  EXPECT_EQ(Read(Out() / "tq_gra.tvx"), (Bytes{0, 0, 0, 0, 32, 0, 0, 0}));
}

TEST_F(TvxBuildTest, EntriesAreSortedByNameAndALongNameWidensTheField) {
  const std::string longName(40, 'L');
  Put(Src() / "se2" / "b.wav", Wave(100, 8000));
  Put(Src() / "se2" / "B2.wav", Wave(100, 8000));
  Put(Src() / "se2" / (longName + ".wav"), Wave(100, 8000));
  Put(Src() / "data" / (std::string(55, 'd') + ".txt"), std::string_view("ok\n"));
  ASSERT_EQ(Build(Src(), Out()).code, 0);
  const Bytes se = Read(Out() / "tq_se2.tvx");
  ASSERT_GE(se.size(), 8u + 3 * 49);
  EXPECT_EQ(se[4], 41) << "the longest name and its NUL";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&se[8])), "B2");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&se[8 + 49])), longName);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&se[8 + 98])), "b");
}

TEST_F(TvxBuildTest, OneTreeGivesTheSameBytesEveryTime) {
  PutPng(Src() / "gra" / "P.png", Stripes(16, 8));
  PutPng(Src() / "gjp" / "J.png", Stripes(16, 8));
  Put(Src() / "data" / "main.txt", std::string_view("@bg J\n"));
  Put(Src() / "data" / "other.txt", std::string_view("x\n"));
  Put(Src() / "bgm" / "M.wav", Wave(3000, 8000));
  Put(Src() / "ogg1" / "V.wav", Wave(4000, 8000));
  PutAnimation(Src() / "anim" / "A");
  ASSERT_EQ(Build(Src(), Out()).code, 0);
  const auto first = Snapshot(Out());
  const fs::path second = Out().string() + "2";
  ASSERT_EQ(Build(Src(), second).code, 0);
  EXPECT_EQ(Snapshot(second), first);
  ASSERT_EQ(Build(Src(), Out()).code, 0) << "again into the earlier build's folder";
  EXPECT_EQ(Snapshot(Out()), first);
}

// ---- The game folder ----

TEST_F(TvxBuildTest, AnEarlierBuildsStaleFilesGoAndSavesStay) {
  Put(Src() / "data" / "main.txt", std::string_view("x\n"));
  Put(Src() / "se0" / "S.wav", Wave(100, 8000));
  Put(Src() / "files" / "movie" / "op.mpg", std::string_view("mpg"));
  ASSERT_EQ(Build(Src(), Out()).code, 0);
  Put(Out() / "save0.dat", std::string_view("global"));
  Put(Out() / "save" / "save01.dat", std::string_view("slot"));
  Put(Out() / "notes.txt", std::string_view("the player's own"));
  fs::create_directories(Out() / ".tvx-build-999999999");  // left by a build that was killed
  fs::remove_all(Src() / "se0");
  fs::remove_all(Src() / "files");
  ASSERT_EQ(Build(Src(), Out()).code, 0);
  std::vector<std::string> left;
  for (const auto& [name, bytes] : Snapshot(Out())) left.push_back(name);
  EXPECT_EQ(left, (std::vector<std::string>{"notes.txt", "save", "save/save01.dat", "save0.dat", "tq_data.tvx",
                                            "tq_gra.tvx", "tvx-build.txt"}));
  EXPECT_EQ(Read(Out() / "save0.dat"), (Bytes{'g', 'l', 'o', 'b', 'a', 'l'}));
}

// ---- Refusals ----

struct Refusal {
  const char* name;
  std::function<void(const fs::path& src)> make;
  std::string message;  // with SRC for the source folder
};

class TvxBuildRefusal : public TvxBuildTest, public ::testing::WithParamInterface<Refusal> {};

// The game folder holds an earlier build and a save; a refused build changes none of it.
TEST_P(TvxBuildRefusal, NamesTheFileAndLeavesTheGameAsItWas) {
  Put(Src() / "data" / "main.txt", std::string_view("fine\n"));
  ASSERT_EQ(Build(Src(), Out()).code, 0);
  Put(Out() / "save0.dat", std::string_view("global"));
  const auto before = Snapshot(Out());
  // The data archive this build would write differs from the one in the game folder.
  Put(Src() / "data" / "main.txt", std::string_view("changed\n"));
  GetParam().make(Src());
  const BuildRun run = Build(Src(), Out());
  EXPECT_EQ(run.code, 1);
  std::string expected = GetParam().message;
  expected.replace(expected.find("SRC"), 3, Src().string());
  EXPECT_EQ(run.errors, expected + "\n");
  EXPECT_EQ(Snapshot(Out()), before);
  EXPECT_EQ(Build(Src(), Root() / "new").code, 1);
  EXPECT_FALSE(fs::exists(Root() / "new")) << "a new folder is not left behind";
}

Bytes Png() {
  Bytes png;
  testing::TempFolder t;
  EXPECT_TRUE(WritePng(t.Path() / "p.png", Stripes(4, 4)));
  return Read(t.Path() / "p.png");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TvxBuildRefusal,
    ::testing::Values(
        Refusal{"UnknownFolder", [](const fs::path& s) { Put(s / "music" / "a.wav", Wave(10, 8000)); },
                "SRC/music: unknown folder"},
        Refusal{"FileBesideTheFolders", [](const fs::path& s) { Put(s / "notes.txt", std::string_view("x")); },
                "SRC/notes.txt: unknown file type (a source tree holds only the layout's folders)"},
        Refusal{"UnknownFileType", [](const fs::path& s) { Put(s / "gra" / "a.gif", std::string_view("GIF89a")); },
                "SRC/gra/a.gif: unknown file type"},
        Refusal{"WaveOfUnknownType", [](const fs::path& s) { Put(s / "se0" / "a.mp3", std::string_view("x")); },
                "SRC/se0/a.mp3: unknown file type"},
        Refusal{"CharacterOutsideShiftJis",
                [](const fs::path& s) { Put(s / "data" / "b.txt", std::string_view("ok\n\xF0\x9F\x98\x80\n")); },
                "SRC/data/b.txt:2: a character that Shift-JIS cannot hold"},
        Refusal{"NotUtf8", [](const fs::path& s) { Put(s / "data" / "b.txt", std::string_view("a\nb\n\xFF\n")); },
                "SRC/data/b.txt:3: not UTF-8 text"},
        Refusal{"ShiftJisOutsideCp932",
                [](const fs::path& s) { Put(s / "data" / "b.S", std::string_view("ok\r\n\x85\x40\r\n")); },
                "SRC/data/b.S:2: not Shift-JIS text"},
        Refusal{"FailingPicture", [](const fs::path& s) { Put(s / "gra3" / "a.png", std::string_view("no png")); },
                "SRC/gra3/a.png: not a PNG or BMP picture"},
        Refusal{"FailingJpeg", [](const fs::path& s) { Put(s / "gjp" / "a.jpg", Png()); },
                "SRC/gjp/a.jpg: not a JPEG picture"},
        Refusal{"NotAPackedPicture", [](const fs::path& s) { Put(s / "gra" / "B", Png()); },
                "SRC/gra/B: not a packed picture"},
        Refusal{"NamesEqualInUpperCase",
                [](const fs::path& s) {
                  Put(s / "data" / "x.txt", std::string_view("a\n"));
                  Put(s / "data" / "X.s", std::string_view("b\n"));
                },
                "SRC/data/x.txt: the same name as X.s"},
        Refusal{"DataNameOver55Bytes",
                [](const fs::path& s) { Put(s / "data" / (std::string(56, 'n') + ".txt"), std::string_view("")); },
                "SRC/data/" + std::string(56, 'n') + ".txt: the name is longer than 55 bytes"},
        Refusal{"LoopNotANumber",
                [](const fs::path& s) {
                  Put(s / "bgm" / "M.wav", Wave(100, 8000));
                  Put(s / "bgm" / "M.loop", std::string_view("soon\n"));
                },
                "SRC/bgm/M.loop:1: not a number of seconds"},
        Refusal{"LoopPastTheEnd",
                [](const fs::path& s) {
                  Put(s / "bgm" / "M.wav", Wave(100, 8000));
                  Put(s / "bgm" / "M.loop", std::string_view("1"));
                },
                "SRC/bgm/M.loop: the loop lies past the end of the sound"},
        Refusal{"LoopWithoutTrack", [](const fs::path& s) { Put(s / "bgm" / "M.loop", std::string_view("1")); },
                "SRC/bgm/M.loop: no track M.wav"},
        Refusal{"NotAWave", [](const fs::path& s) { Put(s / "wav5" / "a.wav", std::string_view("RIFF")); },
                "SRC/wav5/a.wav: not a 16-bit PCM WAVE file"},
        Refusal{"AnimationNotAFolder", [](const fs::path& s) { Put(s / "anim" / "a.txt", std::string_view("")); },
                "SRC/anim/a.txt: unknown file type (an animation is a folder with anim.txt)"},
        Refusal{"AnimationListRefused",
                [](const fs::path& s) { Put(s / "anim" / "A" / "anim.txt", std::string_view("interval 10\n")); },
                "SRC/anim/A/anim.txt:1: no frame"},
        Refusal{"FileInPlaceOfAnArchive",
                [](const fs::path& s) { Put(s / "files" / "tq_gra.tvx", std::string_view("x")); },
                "SRC/files/tq_gra.tvx: takes the place of what the build or the game writes"},
        Refusal{"FileInPlaceOfASave", [](const fs::path& s) { Put(s / "files" / "save0.dat", std::string_view("x")); },
                "SRC/files/save0.dat: takes the place of what the build or the game writes"}),
    [](const ::testing::TestParamInfo<Refusal>& i) { return std::string(i.param.name); });

TEST_F(TvxBuildTest, RefusesAFolderThatNoBuildMade) {
  Put(Src() / "data" / "main.txt", std::string_view("x\n"));
  Put(Out() / "tq_data.tvx", std::string_view("someone else's"));
  const auto before = Snapshot(Out());
  const BuildRun run = Build(Src(), Out());
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.errors, Out().string() + ": neither empty nor made by tvx build (no tvx-build.txt)\n");
  EXPECT_EQ(Snapshot(Out()), before);
}

}  // namespace
}  // namespace torvel
