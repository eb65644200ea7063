// The sound commands on the headless host: which slots they fill, with what, at what volume, and
// what the settings, skip mode and the background window keep silent.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sound/sound_test_assets.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

using testing::EffectEntry;
using testing::GameFixture;
using testing::MusicEntry;
using testing::VoiceEntry;

constexpr int kOneSecond = 16000;

// A game with one voice in each voice archive, effects in the three effect archives and a track.
void AddSounds(GameFixture& game) {
  game.Entry("tq_ogg1.tvx", "V001", VoiceEntry(kOneSecond, 1))
      .Entry("tq_ogg1.tvx", "A001", VoiceEntry(kOneSecond / 2, 2))
      .Entry("tq_ogg2.tvx", "A001X", VoiceEntry(kOneSecond / 2, 3))
      .Entry("tq_ogg2.tvx", "V002", VoiceEntry(kOneSecond / 2, 4))
      .Entry("tq_ogg3.tvx", "SAMPLECV", VoiceEntry(kOneSecond / 4, 5))
      .Entry("tq_se0.tvx", "SEH1_DOOR", EffectEntry(kOneSecond / 2))
      .Entry("tq_se0.tvx", "SEHX", EffectEntry(kOneSecond / 2))
      .Entry("tq_se1.tvx", "SEH3_BELL", EffectEntry(kOneSecond / 2))
      .Entry("tq_se2.tvx", "RAIN", EffectEntry(kOneSecond))
      .Entry("tq_bgm.tvx", "M07", MusicEntry(5 * kOneSecond, kOneSecond));
}

class SoundGame : public ::testing::Test {
 protected:
  // Writes the game and runs FormCreate; `Run` then starts the script and the sound device.
  TForm1& Start(const std::string& main) {
    AddSounds(game);
    game.Script("main", main);
    return game.Start();
  }
  void Frames(int n) { game.Host().RunFrames(n); }
  TForm1& E() { return game.Engine(); }
  RecordingSoundDevice& Device() { return game.Host().Sound(); }
  std::vector<SoundCall> Creates(int slot) {
    std::vector<SoundCall> out;
    for (const SoundCall& c : Device().CallsOf(SoundOp::Create)) {
      if (c.slot == slot) out.push_back(c);
    }
    return out;
  }
  GameFixture game;
};

struct SlotCase {
  const char* name;
  const char* script;
  int slot;
  const char* entry;
  bool looping;
  int volume;
};

class CommandSlots : public SoundGame, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(CommandSlots, FillTheirSlot) {
  const SlotCase& c = GetParam();
  Start(std::string(c.script) + "!V001=1\n\\\n");
  E().settings.Vol1 = -400;
  E().settings.Vol2 = -801;
  E().settings.Vol3 = -1200;
  Frames(5);
  EXPECT_EQ(E().vars.V(1), 1);
  const std::vector<SoundCall> creates = Creates(c.slot);
  ASSERT_EQ(creates.size(), 1u);
  EXPECT_EQ(creates[0].name, c.entry);
  EXPECT_EQ(creates[0].format.rate, static_cast<int>(testing::kTestRate));
  EXPECT_TRUE(Device().Status(c.slot).playing);
  EXPECT_EQ(Device().Status(c.slot).looping, c.looping);
  EXPECT_EQ(Device().Volume(c.slot), c.volume);
  for (int other = 0; other < SoundDevice::kSlotCount; ++other) {
    if (other != c.slot) {
      EXPECT_FALSE(Device().Filled(other)) << "slot " << other;
    }
  }
}

// Volumes are the sliders times 2.5, truncated toward zero.
INSTANTIATE_TEST_SUITE_P(Sound, CommandSlots,
                         ::testing::Values(SlotCase{"Voice", "@cv V001\n", 0, "V001", false, -1000},
                                           SlotCase{"Effect", "@se seh1_door\n", 1, "SEH1_DOOR", false, -2002},
                                           SlotCase{"SecondEffectArchive", "@se SEH3_BELL\n", 1, "SEH3_BELL", false,
                                                    -2002},
                                           SlotCase{"LoopEffect", "@seloop RAIN\n", 2, "RAIN", true, -2002},
                                           SlotCase{"LoopingByArchiveNotCommand", "@se RAIN\n", 2, "RAIN", true, -2002},
                                           SlotCase{"Music", "@music 7\n", 3, "M07", true, -3000}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SilenceCase {
  const char* name;
  const char* script;
  std::function<void(TForm1&, HeadlessHost&)> setup;
  int slot;
  bool plays;
};

class Silencing : public SoundGame, public ::testing::WithParamInterface<SilenceCase> {};

TEST_P(Silencing, DisabledSoundIsSilentWhileTheScriptGoesOn) {
  const SilenceCase& c = GetParam();
  Start(std::string(c.script) + "!V001=1\n\\\n");
  c.setup(E(), game.Host());
  Frames(5);
  EXPECT_EQ(E().vars.V(1), 1);
  EXPECT_EQ(Creates(c.slot).size(), c.plays ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Sound, Silencing,
    ::testing::Values(
        SilenceCase{"EffectsOff", "@se SEH1_DOOR\n", [](TForm1& e, HeadlessHost&) { e.settings.SE_ENA = 0; }, 1, false},
        SilenceCase{"LoopEffectsOffToo", "@seloop RAIN\n", [](TForm1& e, HeadlessHost&) { e.settings.SE_ENA = 0; }, 2,
                    false},
        SilenceCase{"CategoryOff", "@se SEH1_DOOR\n", [](TForm1& e, HeadlessHost&) { e.settings.SE[1] = 0; }, 1, false},
        SilenceCase{"OtherCategoryOff", "@se SEH1_DOOR\n", [](TForm1& e, HeadlessHost&) { e.settings.SE[3] = 0; }, 1,
                    true},
        SilenceCase{"NoDigitNoCategory", "@se SEHX\n",
                    [](TForm1& e, HeadlessHost&) {
                      e.settings.SE = {0, 0, 0, 0, 0};
                    },
                    1, true},
        SilenceCase{"FirstVoiceArchiveOff", "@cv V001\n", [](TForm1& e, HeadlessHost&) { e.settings.CV1 = 0; }, 0,
                    false},
        SilenceCase{"SecondVoiceArchiveOff", "@cv V002\n", [](TForm1& e, HeadlessHost&) { e.settings.CV2 = 0; }, 0,
                    false},
        SilenceCase{"MusicOff", "@music 7\n", [](TForm1& e, HeadlessHost&) { e.settings.BGM_ENA = 0; }, 3, false},
        SilenceCase{"SkipCutsEffects", "@se SEH1_DOOR\n", [](TForm1& e, HeadlessHost&) { e.ctl.skipActive = true; }, 1,
                    false},
        SilenceCase{"SkipWithoutEffectCutPlays", "@se SEH1_DOOR\n",
                    [](TForm1& e, HeadlessHost&) {
                      e.ctl.skipActive = true;
                      e.settings.EFX_CUT = 0;
                    },
                    1, true},
        SilenceCase{"SkipKeepsTheLoopEffect", "@seloop RAIN\n",
                    [](TForm1& e, HeadlessHost&) { e.ctl.skipActive = true; }, 2, true},
        SilenceCase{"SkipSilencesVoices", "@cv V001\n", [](TForm1& e, HeadlessHost&) { e.ctl.skipActive = true; }, 0,
                    false},
        SilenceCase{"BackgroundWindow", "@cv V001\n", [](TForm1&, HeadlessHost& h) { h.SetWindowActive(false); }, 0,
                    false},
        SilenceCase{"SampleVoiceInBackground", "@cv samplecv\n",
                    [](TForm1&, HeadlessHost& h) { h.SetWindowActive(false); }, 0, true},
        SilenceCase{"MissingVoice", "@cv NOSUCH\n", [](TForm1&, HeadlessHost&) {}, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SoundGame, VoiceVariantWithoutThePlayersName) {
  Start("@cv A001\n\\\n");
  E().vars.S(6) = 1;
  Frames(5);
  ASSERT_EQ(Creates(0).size(), 1u);
  EXPECT_EQ(Creates(0)[0].name, "A001X");
  EXPECT_EQ(E().sound.lastVoice, "A001X");
  // The page wait records the page's voice list into the page history and empties it.
  EXPECT_EQ(E().pageHistory.entries[0].VoiceList(), "A001X ");
  EXPECT_EQ(E().sound.pageVoices, "");
  EXPECT_EQ(E().text.backlog.Line(0), "@A001X");  // the page wait closes an empty line after it
}

TEST_F(SoundGame, UnchangedNameKeepsTheVoice) {
  Start("@cv A001\n@cv v002\n\\\n");
  Frames(5);
  ASSERT_EQ(Creates(0).size(), 2u);
  EXPECT_EQ(Creates(0)[0].name, "A001");
  EXPECT_EQ(Creates(0)[1].name, "V002");
  EXPECT_EQ(E().sound.lastVoice, "v002");
  EXPECT_EQ(E().pageHistory.entries[0].VoiceList(), "A001 v002 ");
}

TEST_F(SoundGame, NamesAreCutToTheirFields) {
  const std::string longName(40, 'N');
  std::string script;
  for (int i = 0; i < 10; ++i) script += "@cv " + longName + "\n";
  Start(script + "\\\n");
  Frames(5);
  EXPECT_EQ(E().sound.lastVoice, std::string(30, 'N'));
  // Six names of 41 bytes fit the 256-byte list; the rest are left out whole.
  EXPECT_EQ(E().pageHistory.entries[0].VoiceList().size(), 6u * 41u);
}

TEST_F(SoundGame, LoopEffectNameIsCutToItsField) {
  const std::string name(31, 'W');
  game.Entry("tq_se2.tvx", name, EffectEntry(kOneSecond));
  Start("@seloop " + name + "\n\\\n");
  Frames(5);
  EXPECT_TRUE(Device().Status(2).looping);
  EXPECT_EQ(E().sound.loopEffectName, std::string(30, 'W'));
}

TEST_F(SoundGame, WaitVEndWaitsUntilTheVoiceEnds) {
  Start("@cv V001\n@wait_v_end\n!V001=1\n\\\n");
  Frames(3);
  const uint32_t started = Device().CallsOf(SoundOp::Play).at(0).time;
  EXPECT_TRUE(E().ctl.voiceWait);
  game.Host().RunUntil(started + 900);
  EXPECT_EQ(E().vars.V(1), 0);
  game.Host().RunUntil(started + 1100);
  EXPECT_FALSE(E().ctl.voiceWait);
  EXPECT_EQ(E().vars.V(1), 1);
}

TEST_F(SoundGame, WaitVEndWithoutWaveDevicesDoesNotWait) {
  Start("@cv V001\n@wait_v_end\n!V001=1\n\\\n");
  E().ctl.soundDevicePresent = false;
  Frames(4);
  EXPECT_FALSE(E().ctl.voiceWait);
  EXPECT_EQ(E().vars.V(1), 1);
}

TEST_F(SoundGame, LoopEffectSurvivesPageTurnsAndStopsWithSeoff) {
  Start("@seloop RAIN\n\\one\n\\two\n@seoff\n\\three\n");
  Frames(5);
  for (int page = 0; page < 2; ++page) {
    SCOPED_TRACE(page);
    EXPECT_TRUE(Device().Status(2).playing);
    EXPECT_NE(E().DescribeState().find("\"loopEffect\":\"RAIN\""), std::string::npos);
    game.Click();
    Frames(60);  // more than a second: the effect is a one-second loop
  }
  EXPECT_FALSE(Device().Filled(2));
  EXPECT_EQ(E().sound.loopEffectName, "");
  EXPECT_NE(E().DescribeState().find("\"loopEffect\":\"\""), std::string::npos);
}

TEST_F(SoundGame, StopVoiceEmptiesOnlyTheVoiceSlot) {
  Start("@cv V001\n@se SEH1_DOOR\n\\\n");
  Frames(3);
  EXPECT_TRUE(E().IsVoiceOrEffectPlaying());
  E().StopVoice();
  EXPECT_FALSE(Device().Filled(0));
  EXPECT_TRUE(Device().Filled(1));
  EXPECT_TRUE(E().IsVoiceOrEffectPlaying());  // the effect still plays
  game.Host().RunUntil(game.Host().TickCount() + 600);
  EXPECT_FALSE(E().IsVoiceOrEffectPlaying());
}

TEST_F(SoundGame, AClickStopsTheVoiceUnlessKeptThrough) {
  for (int through = 0; through <= 1; ++through) {
    SCOPED_TRACE(through);
    GameFixture fresh;
    AddSounds(fresh);
    fresh.Script("main", "@cv V001\none\n\\\n@cv V002\ntwo\n\\\n\\\n");
    TForm1& e = fresh.Start();
    e.settings.CV_THROUGH = through;
    fresh.Host().RunFrames(5);
    ASSERT_TRUE(fresh.Host().Sound().Status(0).playing);
    fresh.Click();
    EXPECT_EQ(fresh.Host().Sound().Filled(0), through == 1);
  }
}

TEST_F(SoundGame, VolumesFollowTheSlidersAndTheMute) {
  Start("@cv V001\n@se SEH1_DOOR\n@seloop RAIN\n@music 7\n\\\n");
  Frames(3);
  E().settings.Vol1 = -1;
  E().settings.Vol2 = -1201;
  E().settings.Vol3 = -3000;
  E().ApplyVolumes();
  EXPECT_EQ(Device().Volume(0), -2);
  EXPECT_EQ(Device().Volume(1), -3002);
  EXPECT_EQ(Device().Volume(2), -3002);
  EXPECT_EQ(Device().Volume(3), -7500);
  E().SetMute(true);
  EXPECT_EQ(Device().CallsOf(SoundOp::MasterVolume).back().volume, -9999);
  E().SetMute(false);
  EXPECT_EQ(Device().CallsOf(SoundOp::MasterVolume).back().volume, 0);
}

TEST_F(SoundGame, StateReportShowsTheSlots) {
  Start("@seloop RAIN\n@music 7\n\\\n");
  Frames(3);
  const std::string state = E().DescribeState();
  EXPECT_NE(state.find("\"sound\":{\"slots\":[{\"name\":null,\"playing\":false,\"looping\":false,\"volume\":0},"
                       "{\"name\":null,\"playing\":false,\"looping\":false,\"volume\":0},"
                       "{\"name\":\"RAIN\",\"playing\":true,\"looping\":true,\"volume\":0},"
                       "{\"name\":\"M07\",\"playing\":true,\"looping\":true,\"volume\":0},"),
            std::string::npos)
      << state;
  EXPECT_NE(state.find("],\"music\":7,\"loopEffect\":\"RAIN\",\"muted\":false,\"master\":"), std::string::npos)
      << state;
}

TEST_F(SoundGame, WithoutAnOutputTheGameGoesOnSilently) {
  Start("@cv V001\n@music 7\n!V001=1\n\\\n");
  game.Host().Sound().SetStartResult(false);
  Frames(4);
  EXPECT_EQ(E().vars.V(1), 1);
  EXPECT_EQ(E().vars.S(5), 7);
  EXPECT_TRUE(Device().CallsOf(SoundOp::Create).empty());
}

}  // namespace
}  // namespace torvel
