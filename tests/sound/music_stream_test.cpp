// The music stream on the headless host: the ring refilled from the timer, the loop point, the
// play-once rule, fades, the `music` number rules and the deferred start.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "resources/file_io.h"
#include "sound/sound_test_assets.h"
#include "sound/wady_decoder.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::GameFixture;
using testing::kTestRate;
using testing::MusicEntry;

constexpr size_t kFramesPerMs = kTestRate / 1000;

class MusicGame : public ::testing::Test {
 protected:
  TForm1& Start(const std::string& main) {
    game.Script("main", main);
    TForm1& e = game.Start();
    return e;
  }
  TForm1& E() { return game.Engine(); }
  RecordingSoundDevice& Device() { return game.Host().Sound(); }
  int Creates(int slot) {
    int n = 0;
    for (const SoundCall& c : Device().CallsOf(SoundOp::Create)) n += c.slot == slot;
    return n;
  }
  GameFixture game;
};

struct SeamCase {
  const char* name;
  size_t frames;
  uint32_t loopFrame;
  bool playOnce;
};

class MusicSeam : public MusicGame, public ::testing::WithParamInterface<SeamCase> {};

// The mix must be the track as a player that jumps back to the loop point would play it.
TEST_P(MusicSeam, LoopsAtTheLoopPointWithoutAClick) {
  const SeamCase& c = GetParam();
  const std::vector<uint8_t> entry = MusicEntry(c.frames, c.loopFrame);
  const std::vector<uint8_t> whole = DecodeTypeAEntry(entry, false);
  ASSERT_EQ(whole.size(), c.frames * 2);
  auto sample = [&](size_t f) { return static_cast<int16_t>(whole[2 * f] | (whole[2 * f + 1] << 8)); };
  game.Entry("tq_bgm.tvx", "M01", entry);
  Start("@music 1\n\\\n");
  if (c.playOnce) E().vars.S(57) = 1;
  Device().StartMix(static_cast<int>(kTestRate));
  const uint32_t origin = game.Host().TickCount();
  game.Host().RunUntil(origin + 13000);
  const std::vector<SoundCall> plays = Device().CallsOf(SoundOp::Play);
  ASSERT_EQ(plays.size(), 1u);
  const size_t start = (plays[0].time - origin) * kFramesPerMs;
  const std::vector<int16_t>& mix = Device().Mix();
  const size_t played = mix.size() / 2 - start;
  ASSERT_GT(played, 12 * kTestRate);
  const size_t region = c.frames - c.loopFrame;
  size_t mismatches = 0;
  for (size_t t = 0; t < played; ++t) {
    int16_t expected = 0;
    if (t < c.frames) {
      expected = sample(t);
    } else if (!c.playOnce) {
      expected = sample(c.loopFrame + (t - c.frames) % region);
    }
    if (mix[2 * (start + t)] != expected && mismatches++ < 5) {
      ADD_FAILURE() << "frame " << t << ": " << mix[2 * (start + t)] << " instead of " << expected;
    }
  }
  EXPECT_EQ(mismatches, 0u);
  if (c.playOnce) {
    EXPECT_EQ(E().vars.S(57), 2);
    return;
  }
  // Around every seam the wave steps no further than the tone does anywhere else.
  int largestStep = 0;
  for (size_t f = 1; f < c.frames; ++f) largestStep = std::max(largestStep, std::abs(sample(f) - sample(f - 1)));
  for (size_t seam = c.frames; seam + 50 < played; seam += region) {
    for (size_t t = seam - 50; t < seam + 50; ++t) {
      const int step = std::abs(mix[2 * (start + t)] - mix[2 * (start + t - 1)]);
      ASSERT_LE(step, largestStep) << "seam at frame " << seam;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sound, MusicSeam,
                         ::testing::Values(SeamCase{"LoopAfterOneSecond", 5 * kTestRate, kTestRate, false},
                                           SeamCase{"LoopFromTheStart", 5 * kTestRate, 0, false},
                                           SeamCase{"LoopShorterThanABlock", 5 * kTestRate, 5 * kTestRate - 1000,
                                                    false},
                                           SeamCase{"TrackShorterThanTheRing", kTestRate, kTestRate / 2, false},
                                           SeamCase{"PlayOnceEndsInSilence", 5 * kTestRate, kTestRate, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MusicGame, RefilledWithoutGapsWhenFramesTakeAHundredMilliseconds) {
  game.Entry("tq_bgm.tvx", "M01", MusicEntry(5 * kTestRate, kTestRate));
  Start("@music 1\n\\\n");
  game.Host().RunFrames(3);
  ASSERT_TRUE(Device().Status(3).playing);
  // Each pass is one frame whose work takes 100 ms; the ticks due meanwhile arrive late, once.
  for (int frame = 0; frame < 200; ++frame) {
    game.Host().Sleep(100);
    game.Host().PumpMessages();
  }
  EXPECT_GE(E().ctl.timerCounter, 150);
  EXPECT_EQ(Device().Underruns(3), 0);
  EXPECT_EQ(Device().StaleBytes(3), 0u);
}

TEST_F(MusicGame, UnderrunsAreSeenWhenNoTickComes) {
  game.Entry("tq_bgm.tvx", "M01", MusicEntry(5 * kTestRate, kTestRate));
  Start("@music 1\n\\\n");
  game.Host().RunFrames(3);
  game.Host().Sleep(6000);  // no tick for six seconds: the ring plays its old blocks again
  game.Host().PumpMessages();
  EXPECT_GT(Device().Underruns(3), 0);
}

TEST_F(MusicGame, FadeStepsEveryTickAndStops) {
  game.Entry("tq_bgm.tvx", "M01", MusicEntry(5 * kTestRate, kTestRate));
  Start("@music 1\n\\\n");
  game.Host().RunFrames(3);
  Device().ClearCalls();
  E().SetMusic(-100);
  EXPECT_EQ(E().vars.S(5), 0);
  EXPECT_EQ(E().vars.S(3), 0);
  std::vector<int> volumes;
  int ticks = 0;
  while (Device().Filled(3) && ticks < 100) {
    E().Timer1Timer();
    ++ticks;
    if (Device().Filled(3)) volumes.push_back(Device().Volume(3));
  }
  EXPECT_EQ(ticks, 30);
  ASSERT_EQ(volumes.size(), 29u);
  EXPECT_EQ(volumes.front(), -101);
  EXPECT_EQ(volumes.back(), -2901);
}

struct FadeCase {
  const char* name;
  int music;
  int slider;
  int ticks;  // until the music stops
};

class MusicFade : public MusicGame, public ::testing::WithParamInterface<FadeCase> {};

TEST_P(MusicFade, StopsOnTheTickTheLevelFallsBelowThreeThousand) {
  game.Entry("tq_bgm.tvx", "M01", MusicEntry(5 * kTestRate, kTestRate));
  Start("@music 1\n\\\n");
  game.Host().RunFrames(3);
  E().settings.Vol3 = GetParam().slider;
  E().Timer1Timer();
  E().SetMusic(GetParam().music);
  int ticks = 0;
  while (Device().Filled(3) && ticks < 100) {
    E().Timer1Timer();
    ++ticks;
  }
  EXPECT_EQ(ticks, GetParam().ticks);
  EXPECT_EQ(E().sound.music.source, 0);
}

INSTANTIATE_TEST_SUITE_P(Sound, MusicFade,
                         ::testing::Values(FadeCase{"OneDecibelPerTick", -100, 0, 30},
                                           FadeCase{"QuietMusicStopsAtOnce", -1, -1200, 1},
                                           FadeCase{"LargestNegativeNumber", INT_MIN, 0, 1},
                                           FadeCase{"LargeStep", -5000, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MusicGame, NumberRules) {
  game.Entry("tq_bgm.tvx", "M05", MusicEntry(5 * kTestRate, 0));
  Start("\\\n");
  game.Host().RunFrames(3);
  E().SetMusic(5);
  E().SetMusic(5);
  EXPECT_EQ(Creates(3), 1) << "a repeated request does not restart the track";
  E().SetMusic(-40);
  EXPECT_EQ(E().vars.S(5), 0);
  E().SetMusic(5);
  EXPECT_EQ(Creates(3), 2) << "after a fade began the same track starts again";
  E().SetMusic(9);  // not in the archive: nothing new plays, the number is kept
  EXPECT_EQ(Creates(3), 2);
  EXPECT_EQ(E().vars.S(5), 9);
  E().SetMusic(0);
  E().SetMusic(0);
  EXPECT_EQ(E().sound.music.filesOpened, E().sound.music.filesClosed);
  EXPECT_EQ(E().sound.music.filesOpened, 2);
}

TEST_F(MusicGame, StartingAStreamRestartsTheFrameClock) {
  game.Entry("tq_bgm.tvx", "M05", MusicEntry(5 * kTestRate, 0));
  Start("\\\n");
  game.Host().RunFrames(3);
  // A loop pacing its frames does not count the time the first seconds take to decode.
  E().layers.frameClock = 0;
  E().SetMusic(5);
  ASSERT_EQ(Creates(3), 1);
  EXPECT_EQ(E().layers.frameClock, game.Host().TickCount());
}

TEST_F(MusicGame, SwitchingMusicOffAndOnRestartsTheRequestedTrack) {
  game.Entry("tq_bgm.tvx", "M05", MusicEntry(5 * kTestRate, 0));
  Start("@music 5\n\\\n");
  game.Host().RunFrames(3);
  E().settings.BGM_ENA = 0;
  E().RestartMusic();
  EXPECT_FALSE(Device().Filled(3));
  EXPECT_EQ(E().vars.S(5), 0);
  EXPECT_EQ(E().vars.S(3), 5);
  E().settings.BGM_ENA = 1;
  E().RestartMusic();
  EXPECT_TRUE(Device().Status(3).playing);
  EXPECT_EQ(E().vars.S(5), 5);
}

TEST_F(MusicGame, TrackAskedForInTheBackgroundStartsWhenTheWindowIsBack) {
  game.Entry("tq_bgm.tvx", "M05", MusicEntry(5 * kTestRate, 0));
  Start("@music 5\n\\\n");
  game.Host().SetWindowActive(false);
  game.Host().RunFrames(3);
  EXPECT_EQ(E().vars.S(5), 5);
  EXPECT_FALSE(Device().Filled(3));
  game.Host().RunUntil(game.Host().TickCount() + 1000);
  EXPECT_FALSE(Device().Filled(3)) << "tried again every third tick, still in the background";
  game.Host().SetWindowActive(true);
  const int tick = E().ctl.timerCounter;
  while (!Device().Filled(3) && E().ctl.timerCounter < tick + 10) game.Host().RunFrames(1);
  EXPECT_TRUE(Device().Status(3).playing);
  EXPECT_LE(E().ctl.timerCounter, tick + 3);
}

TEST_F(MusicGame, AnimationSoundAndAnimationMusic) {
  Start("\\\n");
  game.Host().RunFrames(3);
  E().settings.Vol2 = -400;
  E().settings.Vol3 = -800;
  const std::vector<uint8_t> wave = MusicEntry(kTestRate / 2, 0);
  E().PlayAnimationSound(wave);
  EXPECT_TRUE(Device().Status(5).playing);
  EXPECT_FALSE(Device().Status(5).looping);
  EXPECT_EQ(Device().Volume(5), -1000);
  // The animation file holds other bytes before the wave; the stream reads only the wave.
  std::vector<uint8_t> file(100, 0xBF);
  const std::vector<uint8_t> track = MusicEntry(5 * kTestRate, kTestRate);
  file.insert(file.end(), track.begin(), track.end());
  file.resize(file.size() + 1000, 0xBF);
  ASSERT_TRUE(WriteFileAtomically(game.Dir() / "anim.bin", file));
  E().PlayAnimationMusic(game.Dir() / "anim.bin", 100, 100 + track.size());
  EXPECT_EQ(E().sound.music.source, 2);
  EXPECT_TRUE(Device().Status(3).looping);
  E().Timer1Timer();
  EXPECT_EQ(Device().Volume(3), -2000);
  EXPECT_EQ(Device().Volume(5), -2000) << "the music tick gives the animation sound the music volume";
}

// A header that lies must not make the stream read or allocate what is not there.
struct BadTrackCase {
  const char* name;
  std::function<void(std::vector<uint8_t>&)> damage;
  bool plays;
};

class BadTrack : public MusicGame, public ::testing::WithParamInterface<BadTrackCase> {};

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST_P(BadTrack, IsRefusedOrStaysInsideItsEntry) {
  // Silence (code 0x80) followed by an entry of full-scale codes: a read past the track's end
  // would be heard.
  std::vector<uint8_t> track = MusicEntry(2 * kTestRate, 0);
  std::fill(track.begin() + kWadyHeaderSize, track.end(), uint8_t{0x80});
  GetParam().damage(track);
  game.Entry("tq_bgm.tvx", "M01", track).Entry("tq_bgm.tvx", "M02", std::vector<uint8_t>(8 * kTestRate, 0xBF));
  Start("@music 1\n!V001=1\n\\\n");
  Device().StartMix(static_cast<int>(kTestRate));
  game.Host().RunUntil(game.Host().TickCount() + 6000);
  EXPECT_EQ(E().vars.V(1), 1);
  EXPECT_EQ(Device().Filled(3), GetParam().plays);
  for (int16_t s : Device().Mix()) ASSERT_EQ(s, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sound, BadTrack,
    ::testing::Values(
        BadTrackCase{"Sound", [](std::vector<uint8_t>&) {}, true},
        BadTrackCase{"DataLongerThanTheEntry", [](std::vector<uint8_t>& b) { Put32(b, 0x0C, 6 * kTestRate); }, true},
        BadTrackCase{"LoopPastTheEnd", [](std::vector<uint8_t>& b) { Put32(b, 0x18, 0xFFFFFFF0u); }, true},
        BadTrackCase{"NoChannels", [](std::vector<uint8_t>& b) { b[6] = b[7] = 0; }, false},
        BadTrackCase{"ThreeChannels", [](std::vector<uint8_t>& b) { b[6] = 3; }, false},
        BadTrackCase{"RateZero", [](std::vector<uint8_t>& b) { Put32(b, 0x08, 0); }, false},
        BadTrackCase{"HugeRate", [](std::vector<uint8_t>& b) { Put32(b, 0x08, 0x7FFFFFFF); }, false},
        BadTrackCase{"NotAWave", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace torvel
