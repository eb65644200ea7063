// Finding a voice or an effect by name and playing it in the slot its archive decides.
#include "resources/sjis.h"
#include "shell/engine.h"
#include "sound/ogg_voice.h"
#include "sound/text_fields.h"
#include "sound/wady_decoder.h"

namespace torvel {

namespace {
// The settings dialog's voice sample plays even while another window is active.
constexpr std::string_view kSampleVoice = "SAMPLECV";
// Effects of the third effect archive loop.
constexpr size_t kLoopingEffectArchive = 2;

}  // namespace

int TForm1::PlaySoundByName(std::string_view name, int /*kind*/) {
  if (!sound.available) return 0;
  const std::string upper = SjisUpper(name);
  if (upper != kSampleVoice && !host.WindowActive()) return 0;

  // Voice archives: the third first; the first two only while their setting allows them.
  for (int n = 3; n >= 1; --n) {
    if ((n == 2 && settings.CV2 == 0) || (n == 1 && settings.CV1 == 0)) continue;
    const ArchiveIndex& archive = archives.ogg[static_cast<size_t>(n - 1)];
    const int entry = archive.FindEntry(upper);
    if (entry < 0) continue;
    std::vector<uint8_t> body;
    if (!ReadEntry(archive, entry, body)) return 1;
    OggVoice voice;
    if (DecodeOggVoice(body, voice)) {
      PlayPcmInSlot(kVoiceSlot, upper, voice.format.channels, static_cast<int>(voice.format.samplesPerSec),
                    std::span<const uint8_t>(voice.pcm).first(voice.playedLength), VoiceVolume(), false);
    }
    return 0;
  }

  if (settings.SE_ENA == 0) return 1;
  for (size_t n = 0; n < archives.se.size(); ++n) {
    const ArchiveIndex& archive = archives.se[n];
    const int entry = archive.FindEntry(upper);
    if (entry < 0) continue;
    const bool looping = n == kLoopingEffectArchive;
    if (looping) sound.loopEffectName = CutToField(upper, kLoopEffectField);
    std::vector<uint8_t> body;
    if (!ReadEntry(archive, entry, body)) return 1;
    WadyHeader header;
    if (!ReadWadyHeader(body, header)) return 0;
    const std::vector<uint8_t> pcm = DecodeTypeB(body);
    PlayPcmInSlot(looping ? kLoopEffectSlot : kEffectSlot, upper, header.format.channels,
                  static_cast<int>(header.format.samplesPerSec), pcm, EffectVolume(), looping);
    return 0;
  }
  return 1;
}

bool TForm1::VoiceExists(std::string_view name) const {
  const std::string upper = SjisUpper(name);
  auto in = [&upper](const auto& set) {
    for (const ArchiveIndex& archive : set) {
      if (archive.FindEntry(upper) >= 0) return true;
    }
    return false;
  };
  return in(archives.ogg) || in(archives.wav) || in(archives.se);
}

}  // namespace torvel
