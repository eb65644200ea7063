// tvx wady encode / decode: 16-bit PCM WAVE files to and from both compressed wave variants.
#include <cmath>
#include <cstdlib>
#include <string>

#include "resources/file_io.h"
#include "sound/wady_decoder.h"
#include "sound/wady_encoder.h"
#include "sound/wav_file.h"
#include "tvx_commands.h"

namespace tvx {

namespace {

// Within the 4 GiB that a RIFF file can hold, and more than an hour of CD-quality sound.
constexpr uint64_t kMaxWaveFileBytes = uint64_t{1} << 30;

constexpr const char* kUsage =
    "usage: tvx wady encode --type a|b [--loop SECONDS] IN.wav OUT\n"
    "       tvx wady decode --type a|b IN OUT.wav";

int Encode(char type, double loopSeconds, const std::string& in, const std::string& out) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!torvel::ReadWholeFile(in, bytes, kMaxWaveFileBytes, error)) return Fail(error);
  torvel::WavSound sound;
  if (!torvel::ParseWav(bytes, sound)) return Fail(in + " is not a 16-bit PCM WAVE file");
  if (sound.channels != 1 && sound.channels != 2) return Fail(in + " is neither mono nor stereo");
  const size_t frames = sound.samples.size() / sound.channels;
  if (frames == 0) return Fail(in + " holds no sound");
  std::vector<uint8_t> encoded;
  if (type == 'a') {
    const double loopFrame = std::floor(loopSeconds * sound.rate);
    if (loopFrame >= static_cast<double>(frames)) return Fail("--loop lies past the end of the sound");
    encoded = torvel::EncodeTypeA(sound.samples, sound.channels, sound.rate, static_cast<uint32_t>(loopFrame));
  } else {
    if (loopSeconds > 0) return Fail("--loop applies to type a only");
    encoded = torvel::EncodeTypeB(sound.samples, sound.channels, sound.rate);
  }
  if (encoded.empty()) return Fail("cannot encode " + in);
  if (!torvel::WriteFileAtomically(out, encoded, &error)) return Fail(error);
  return 0;
}

int Decode(char type, const std::string& in, const std::string& out) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!torvel::ReadWholeFile(in, bytes, kMaxWaveFileBytes, error)) return Fail(error);
  torvel::WadyHeader h;
  if (!torvel::ReadWadyHeader(bytes, h)) return Fail(in + " is not a compressed wave");
  std::vector<uint8_t> pcm = type == 'a' ? torvel::DecodeTypeAEntry(bytes, false) : torvel::DecodeTypeB(bytes);
  if (h.format.channels == 0 || h.format.samplesPerSec == 0) return Fail(in + " has no usable format record");
  std::vector<uint8_t> wav = torvel::BuildWav(h.format.channels, h.format.samplesPerSec, pcm);
  if (!torvel::WriteFileAtomically(out, wav, &error)) return Fail(error);
  return 0;
}

}  // namespace

int Wady(const Args& args) {
  if (args.empty()) return Fail(kUsage);
  const std::string& verb = args[0];
  char type = 0;
  double loopSeconds = 0;
  std::vector<std::string> files;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--type" && i + 1 < args.size()) {
      const std::string& t = args[++i];
      if (t != "a" && t != "b") return Fail("--type takes a or b");
      type = t[0];
    } else if (args[i] == "--loop" && i + 1 < args.size() && verb == "encode") {
      char* end = nullptr;
      loopSeconds = std::strtod(args[++i].c_str(), &end);
      if (end == args[i].c_str() || *end != '\0' || !(loopSeconds >= 0)) {
        return Fail("--loop takes a number of seconds");
      }
    } else {
      files.push_back(args[i]);
    }
  }
  if (type == 0 || files.size() != 2) return Fail(kUsage);
  if (verb == "encode") return Encode(type, loopSeconds, files[0], files[1]);
  if (verb == "decode") return Decode(type, files[0], files[1]);
  return Fail(kUsage);
}

}  // namespace tvx
