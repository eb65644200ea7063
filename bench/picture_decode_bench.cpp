// Decoding speed of the two picture formats, in bytes of decoded picture a second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "graphics/jpeg_encoder.h"

#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"
#include "graphics/packed_picture_encoder.h"
#include "picture_samples.h"

namespace torvel::bench {
namespace {

constexpr int kJpegQuality = 90;

// The sprite as the graphic archives hold it: colour on the left, mask on the right.
Bitmap SpriteSheet() {
  Bitmap colour, mask;
  SampleSprite(300, 560, colour, mask);
  Bitmap sheet(600, 560);
  for (int y = 0; y < 560; ++y) {
    std::copy(colour.Row(y), colour.Row(y) + 900, sheet.Row(y));
    std::copy(mask.Row(y), mask.Row(y) + 900, sheet.At(300, y));
  }
  return sheet;
}

void DecodePacked(benchmark::State& state, const Bitmap& picture) {
  std::vector<uint8_t> packed = EncodePackedPictureSmallest(picture);
  Bitmap out;
  for (auto _ : state) {
    DecodePackedPicture(packed, out);
    benchmark::DoNotOptimize(out.pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(picture.pixels.size()));
  state.counters["packed_bytes"] = static_cast<double>(packed.size());
  state.counters["flags"] = packed[2];
}

void BM_PackedDecodeBackground(benchmark::State& state) { DecodePacked(state, SampleBackground()); }
BENCHMARK(BM_PackedDecodeBackground)->Unit(benchmark::kMillisecond);

void BM_PackedDecodeSprite(benchmark::State& state) { DecodePacked(state, SpriteSheet()); }
BENCHMARK(BM_PackedDecodeSprite)->Unit(benchmark::kMillisecond);

void BM_JpegDecodeBackground(benchmark::State& state) {
  Bitmap picture = SampleBackground();
  std::vector<uint8_t> jpeg = EncodeJpeg(picture, JpegEncodeOptions{kJpegQuality});
  Bitmap out;
  for (auto _ : state) {
    DecodeJpeg(jpeg, out);
    benchmark::DoNotOptimize(out.pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(picture.pixels.size()));
  state.counters["jpeg_bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(BM_JpegDecodeBackground)->Unit(benchmark::kMillisecond);

void BM_PackedEncodeBackground(benchmark::State& state) {
  Bitmap picture = SampleBackground();
  for (auto _ : state) benchmark::DoNotOptimize(EncodePackedPictureSmallest(picture).data());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(picture.pixels.size()));
}
BENCHMARK(BM_PackedEncodeBackground)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace torvel::bench
