// The sound commands of scripts: music, voices and sound effects.
#include "graphics/picture_arguments.h"
#include "resources/sjis.h"
#include "shell/engine.h"
#include "sound/effect_category.h"

namespace torvel {

int TForm1::CmdMusic(std::string_view arg) {
  SetMusic(ReadNumber(arg));
  return 0;
}

int TForm1::CmdCv(std::string_view arg) {
  std::string name(arg);
  // A variant recorded without the player's name, for a player who changed it.
  if (vars.S(6) != 0 && VoiceExists(name + "X")) name += "X";
  NoteVoiceName(name);
  PlayVoiceLine(name);
  AppendBacklogText("@" + name);
  CloseBacklogLine();
  return 0;
}

int TForm1::CmdSe(std::string_view arg) {
  if (ctl.skipActive && settings.EFX_CUT != 0) return 0;
  const std::string upper = SjisUpper(arg);
  if (CategoryMuted(settings, upper)) return 0;
  PlaySoundByName(upper, 1);
  return 0;
}

int TForm1::CmdSeloop(std::string_view arg) {
  const std::string upper = SjisUpper(arg);
  if (CategoryMuted(settings, upper)) return 0;
  PlaySoundByName(upper, 2);
  return 0;
}

int TForm1::CmdSeoff(std::string_view) {
  StopLoopEffect();
  return 0;
}

int TForm1::CmdWaitVEnd(std::string_view) {
  if (ctl.soundDevicePresent) ctl.voiceWait = true;
  return 1;
}

void TForm1::StopLoopEffect() {
  sound.loopEffectName.clear();
  if (sound.available) FreeSlot(kLoopEffectSlot);
}

}  // namespace torvel
