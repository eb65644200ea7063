// The animation player's and the screen effects' part of the state report.
#include <string>

#include "resources/sjis.h"
#include "shell/engine.h"

namespace torvel {

namespace {

const char* Bool(bool b) { return b ? "true" : "false"; }

void AppendString(std::string& out, const std::string& sjis) {
  out += '"';
  for (char c : SjisToUtf8(sjis)) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) < 0x20) continue;
    out += c;
  }
  out += '"';
}

}  // namespace

void TForm1::AppendAnimationState(std::string& out) const {
  const AnimationStatus& a = animation;
  out += "{\"name\":";
  AppendString(out, a.name);
  out += ",\"playing\":";
  out += Bool(a.playing);
  out += ",\"enlarged\":";
  out += Bool(a.enlarged);
  out += ",\"frame\":" + std::to_string(a.playing ? a.frame : -1);
  out += ",\"drawn\":" + std::to_string(a.drawn);
  out += ",\"dropped\":" + std::to_string(a.dropped) + "}";
}

void TForm1::AppendEffectsState(std::string& out) const {
  const BackgroundAnimation& b = effects.bgAnim;
  out += "{\"bgAnim\":{\"active\":";
  out += Bool(b.count > 0);
  out += ",\"delay\":" + std::to_string(b.delay);
  out += ",\"frames\":" + std::to_string(b.count);
  out += ",\"sequence\":[";
  for (size_t i = 0; i < b.sequence.size(); ++i) {
    if (i) out += ',';
    out += std::to_string(b.sequence[i]);
  }
  out += "],\"position\":" + std::to_string(b.position);
  out += ",\"offsets\":";
  out += Bool(b.offsets);
  out += "},\"mark\":{\"active\":";
  out += Bool(effects.mark.active);
  out += ",\"mode\":" + std::to_string(effects.mark.mode) + "}}";
}

}  // namespace torvel
