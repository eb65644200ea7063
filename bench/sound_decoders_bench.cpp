// Decoding speed of the sound formats: type A (one second of 44.1 kHz stereo, as the music tick
// refills it), type B (a ten-second stereo effect) and an Ogg voice of one minute, each beside a
// memcpy of its decoded size.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "resources/file_io.h"
#include "sound/ogg_voice.h"
#include "sound/wady_decoder.h"
#include "sound/wady_encoder.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint32_t kRate = 44100;

// A sound with the statistics of music: notes with harmonics and decaying envelopes.
std::vector<int16_t> MusicLike(size_t frames) {
  std::mt19937 rng(1);
  std::vector<int16_t> s(frames * 2);
  double f = 440;
  for (size_t i = 0; i < frames; ++i) {
    if (i % (kRate / 4) == 0) f = 220 * std::pow(2.0, static_cast<int>(rng() % 24) / 12.0);
    const double t = static_cast<double>(i % (kRate / 4)) / kRate;
    double v = 0;
    for (int h = 1; h <= 4; ++h) v += std::sin(2 * M_PI * f * h * t) / h;
    v *= std::exp(-4 * t) * 12000;
    s[2 * i] = static_cast<int16_t>(v);
    s[2 * i + 1] = static_cast<int16_t>(v * 0.7);
  }
  return s;
}

void TypeA(benchmark::State& state) {
  // Codes as the writer makes them for music: mostly deltas, some absolutes.
  const std::vector<int16_t> music = MusicLike(kRate);
  const Bytes entry = torvel::EncodeTypeA(music, 2, kRate);
  std::span<const uint8_t> data = std::span(entry).subspan(torvel::kWadyHeaderSize);
  Bytes out(kRate * 4);
  for (auto _ : state) {
    int16_t l = 0;
    int16_t r = 0;
    torvel::DecodeTypeA(data, out, entry[5], l, r, 2, kRate, false);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kRate * 2);
  state.SetBytesProcessed(state.iterations() * out.size());
}
BENCHMARK(TypeA);

void TypeB(benchmark::State& state) {
  static const Bytes entry = torvel::EncodeTypeB(MusicLike(kRate * 10), 2, kRate);
  size_t samples = 0;
  for (auto _ : state) {
    Bytes pcm = torvel::DecodeTypeB(entry);
    samples = pcm.size() / 2;
    benchmark::DoNotOptimize(pcm.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * samples));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * samples * 2));
}
BENCHMARK(TypeB);

// A minute of synthetic speech, made with the speech synthesizer and the Vorbis encoder the
// build machine has; empty when they are missing.
const Bytes& OneMinuteVoice() {
  static const Bytes voice = [] {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "torvel_bench_voice";
    fs::create_directories(dir);
    std::string text;
    for (int i = 0; i < 14; ++i) text += "The quick brown fox jumps over the lazy dog while the evening bells ring. ";
    const std::string d = dir.string();
    const std::string command = "espeak-ng -w '" + d + "/a.wav' '" + text + "' && sox -V1 '" + d +
                                "/a.wav' -r 22050 '" + d + "/b.wav' pad 0 60 trim 0 60 && oggenc -Q -q 4 -o '" + d +
                                "/v.ogg' '" + d + "/b.wav'";
    Bytes bytes;
    if (std::system(command.c_str()) == 0) torvel::ReadWholeFile(dir / "v.ogg", bytes);
    fs::remove_all(dir);
    return bytes;
  }();
  return voice;
}

void OggVoice(benchmark::State& state) {
  const Bytes& voice = OneMinuteVoice();
  torvel::OggVoice v;
  if (voice.empty() || !torvel::DecodeOggVoice(voice, v)) {
    state.SkipWithError("espeak-ng, sox or oggenc missing");
    return;
  }
  for (auto _ : state) {
    torvel::DecodeOggVoice(voice, v);
    benchmark::DoNotOptimize(v.pcm.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * v.pcm.size() / 2));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * v.pcm.size()));
}
BENCHMARK(OggVoice)->Unit(benchmark::kMillisecond);

// memcpy of each decoder's output size, the floor any decoder is measured against.
void Memcpy(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  Bytes from(bytes, 1);
  Bytes to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * bytes / 2));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(Memcpy)->Arg(kRate * 4)->Arg(kRate * 40)->Arg(22050 * 2 * 60);

}  // namespace
