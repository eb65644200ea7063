// tvx anim pack and anim list as an author runs them: an entry packed from pictures and a list
// of directives reads back frame by frame, and every refusal names the line of anim.txt.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "graphics/animation_entry.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/png_io.h"
#include "resources/file_io.h"
#include "sound/wady_decoder.h"
#include "sound/wav_file.h"
#include "support/game_fixture.h"
#include "support/program_run.h"

namespace torvel {
namespace {

const std::string kTvx = std::string(TORVEL_BINARY_DIR) + "/tools/tvx";

using testing::ProgramRun;

// Standard output and error together.
ProgramRun Execute(const std::string& command) { return testing::RunCommand(command + " 2>&1"); }

Bitmap Solid(int w, int h, uint8_t v) {
  Bitmap b(w, h);
  b.Fill(v, v, 255 - v);
  return b;
}

class TvxAnimTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WritePng(Dir() / "k0.png", Solid(32, 24, 40)));
    ASSERT_TRUE(WritePng(Dir() / "k1.png", Solid(32, 24, 200)));
    ASSERT_TRUE(WritePng(Dir() / "small.png", Solid(8, 4, 120)));
    ASSERT_TRUE(WritePng(Dir() / "big.png", Solid(40, 24, 120)));
    std::vector<int16_t> samples(800, 1000);
    std::vector<uint8_t> wav =
        BuildWav(1, 8000, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(samples.data()), 1600));
    ASSERT_TRUE(WriteFileAtomically(Dir() / "sound.wav", wav));
    ASSERT_TRUE(WriteFileAtomically(Dir() / "raw.bin", std::string_view("abc")));
  }
  std::filesystem::path Dir() const { return folder_.Path(); }
  ProgramRun Pack(const std::string& directives) {
    EXPECT_TRUE(WriteFileAtomically(Dir() / "anim.txt", std::string_view(directives)));
    return Execute(kTvx + " anim pack " + Dir().string() + " " + (Dir() / "OUT").string());
  }

 private:
  testing::TempFolder folder_;
};

TEST_F(TvxAnimTest, PacksEveryFrameKindAndTheSoundAndListsThem) {
  ProgramRun run = Pack(
      "# the opening\n"
      "interval 66\n"
      "quality 95\n"
      "sound sound.wav\n"
      "key k0.png\n"
      "patch small.png 24 20   # lower right corner\n"
      "hold\n"
      "hold k1.png\n"
      "key k1.png\n");
  ASSERT_EQ(run.code, 0) << run.output;
  std::vector<uint8_t> entry;
  ASSERT_TRUE(ReadWholeFile(Dir() / "OUT", entry));
  AnimationHeader h;
  ASSERT_TRUE(ReadAnimationHeader(entry, h));
  EXPECT_EQ(h.frameCount, 5u);
  EXPECT_EQ(h.interval, 66u);
  EXPECT_EQ(h.width, 32u) << "the first key frame's size";
  EXPECT_EQ(h.height, 24u);
  ASSERT_TRUE(AnimationTableFits(h, entry.size()));
  std::vector<AnimationFrame> f;
  ASSERT_TRUE(ReadAnimationFrames(std::span<const uint8_t>(entry).subspan(kAnimationHeaderSize), 5, f));
  EXPECT_EQ(f[0].kind, kKeyFrame);
  EXPECT_EQ(f[1].kind, kPatchFrame);
  EXPECT_EQ(f[1].x, 24);
  EXPECT_EQ(f[1].y, 20);
  EXPECT_EQ(f[2].kind, kHoldFrame);
  EXPECT_EQ(f[2].offset, f[1].offset) << "a hold without a picture shares the frame before it";
  EXPECT_EQ(f[2].length, f[1].length);
  EXPECT_NE(f[3].offset, f[2].offset);
  // Frames follow the arrays in order, then the sound.
  EXPECT_EQ(f[0].offset, AnimationTableEnd(5));
  EXPECT_EQ(f[3].offset + f[3].length, f[4].offset);
  EXPECT_EQ(h.soundOffset, f[4].offset + f[4].length);
  EXPECT_EQ(h.soundOffset + h.soundLength, entry.size());
  Bitmap picture;
  ASSERT_TRUE(DecodeJpeg(std::span<const uint8_t>(entry).subspan(f[1].offset, f[1].length), picture));
  EXPECT_EQ(picture.width, 8);
  WadyHeader sound;
  ASSERT_TRUE(ReadWadyHeader(std::span<const uint8_t>(entry).subspan(h.soundOffset), sound));
  EXPECT_EQ(sound.sampleRate, 8000u);

  ProgramRun list = Execute(kTvx + " anim list " + (Dir() / "OUT").string());
  ASSERT_EQ(list.code, 0) << list.output;
  EXPECT_NE(list.output.find("frames 5, interval 66 ms, size 32x24, sound " + std::to_string(h.soundLength)),
            std::string::npos)
      << list.output;
  EXPECT_NE(list.output.find("1 patch x 24 y 20 offset " + std::to_string(f[1].offset)), std::string::npos)
      << list.output;
  EXPECT_NE(list.output.find("2 hold"), std::string::npos);
}

TEST_F(TvxAnimTest, KeepsACompressedWaveOrRawBytesAsTheyAre) {
  ASSERT_TRUE(WriteFileAtomically(Dir() / "w.wady", std::string_view("WADY and the rest")));
  for (const char* line : {"sound w.wady\n", "sound-raw raw.bin\n"}) {
    SCOPED_TRACE(line);
    ProgramRun run = Pack(std::string("interval 10\n") + line + "key k0.png\n");
    ASSERT_EQ(run.code, 0) << run.output;
    std::vector<uint8_t> entry;
    ASSERT_TRUE(ReadWholeFile(Dir() / "OUT", entry));
    AnimationHeader h;
    ASSERT_TRUE(ReadAnimationHeader(entry, h));
    const std::string kept(entry.begin() + h.soundOffset, entry.end());
    EXPECT_EQ(kept, line[5] == '-' ? "abc" : "WADY and the rest");
  }
}

struct Refusal {
  const char* name;
  const char* directives;
  const char* message;
};

class TvxAnimRefusalTest : public TvxAnimTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(TvxAnimRefusalTest, NamesTheLine) {
  std::filesystem::remove(Dir() / "OUT");
  ProgramRun run = Pack(GetParam().directives);
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.output.find(GetParam().message), std::string::npos) << run.output;
  EXPECT_FALSE(std::filesystem::exists(Dir() / "OUT"));
}

INSTANTIATE_TEST_SUITE_P(
    Tvx, TvxAnimRefusalTest,
    ::testing::Values(Refusal{"NoFrame", "interval 10\n", "anim.txt:1: no frame"},
                      Refusal{"NoInterval", "key k0.png\n", "anim.txt:1: no interval"},
                      Refusal{"IntervalZero", "interval 0\nkey k0.png\n", "anim.txt:1: the interval must be at least"},
                      Refusal{"FirstFrameNotKey", "interval 10\npatch small.png 0 0\n",
                              "anim.txt:2: the first frame must be a key frame"},
                      Refusal{"FirstFrameHold", "interval 10\nhold\n", "anim.txt:2: the first frame must be a key"},
                      Refusal{"KeyOfAnotherSize", "interval 10\nkey k0.png\nkey big.png\n",
                              "anim.txt:3: the key frame is 40x24, not 32x24"},
                      Refusal{"KeyNotTheGivenSize", "interval 10\nsize 16 16\nkey k0.png\n",
                              "anim.txt:3: the key frame is 32x24, not 16x16"},
                      Refusal{"PatchOutside", "interval 10\nkey k0.png\npatch small.png 25 0\n",
                              "anim.txt:3: the patch lies outside the 32x24 picture"},
                      Refusal{"PatchAtNegative", "interval 10\nkey k0.png\npatch small.png -1 0\n",
                              "anim.txt:3: the patch lies outside"},
                      Refusal{"UnreadablePicture", "interval 10\nkey k0.png\nkey nothing.png\n",
                              "anim.txt:3: cannot read nothing.png"},
                      Refusal{"NotAPicture", "interval 10\nkey raw.bin\n", "anim.txt:2: cannot read raw.bin"},
                      Refusal{"UnknownDirective", "interval 10\nloop 3\n", "anim.txt:2: unknown directive"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TvxAnimListTest, ReportsATableThatDoesNotFit) {
  testing::TempFolder dir;
  std::vector<uint8_t> bytes(30, 0);
  bytes[0] = 9;
  ASSERT_TRUE(WriteFileAtomically(dir.Path() / "bad", bytes));
  ProgramRun run = Execute(kTvx + " anim list " + (dir.Path() / "bad").string());
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.output.find("frames 9"), std::string::npos);
  EXPECT_NE(run.output.find("does not fit"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace torvel
