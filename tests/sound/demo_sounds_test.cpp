// The demo game's sounds, as the build made them: every entry decodes, the music loops from its
// loop point, and the story starts its music.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless_host.h"
#include "resources/archive.h"
#include "shell/engine.h"
#include "sound/ogg_voice.h"
#include "sound/wady_decoder.h"
#include "support/built_demo.h"
#include "support/game_fixture.h"

namespace torvel {
namespace {

const std::filesystem::path kDemo = std::filesystem::path(TORVEL_BINARY_DIR) / "demo" / "game";

std::vector<uint8_t> Entry(const char* archive, const char* name) {
  const ArchiveIndex index = ReadArchiveIndex(kDemo / archive, ArchiveLayout::General);
  std::vector<uint8_t> body;
  EXPECT_TRUE(ReadEntry(index, index.FindEntry(name), body)) << archive << " " << name;
  return body;
}

TEST(DemoSounds, EveryEntryDecodes) {
  WadyHeader music;
  ASSERT_TRUE(ReadWadyHeader(Entry("tq_bgm.tvx", "M01"), music));
  EXPECT_EQ(music.channels, 2);
  EXPECT_EQ(music.loopStart, 2u * 2u * music.sampleRate) << "the loop point is two seconds in";
  EXPECT_GE(music.dataLength, 4u * 2u * music.sampleRate) << "at least the four seconds of the ring";
  for (const char* effect : {"SEH1_GATE", "SSE05", "SSE06"})
    EXPECT_FALSE(DecodeTypeB(Entry("tq_se0.tvx", effect)).empty());
  EXPECT_FALSE(DecodeTypeB(Entry("tq_se2.tvx", "WIND")).empty());
  for (const char* voice : {"V0001", "V0002"}) {
    OggVoice v;
    EXPECT_TRUE(DecodeOggVoice(Entry("tq_ogg1.tvx", voice), v)) << voice;
    EXPECT_GT(v.playedLength, 20000u) << voice;
  }
}

TEST(DemoSounds, TheStoryStartsItsMusic) {
  testing::TempFolder settings;
  HeadlessHost host(settings.Path());
  TForm1 engine(host, EngineOptions{kDemo, 1, false});  // saves in the test's own folder
  host.Attach(&engine);
  ASSERT_TRUE(host.Start());
  host.RunUntilSettled(2000);
  ASSERT_TRUE(testing::StartDemoStory(host, engine));
  EXPECT_EQ(engine.vars.S(5), 1);
  EXPECT_TRUE(host.Sound().Status(3).playing);
  EXPECT_EQ(engine.sound.slotNames[3], "M01");
}

}  // namespace
}  // namespace torvel
