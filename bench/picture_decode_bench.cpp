// Decoding speed of the two picture formats, in bytes of decoded picture a second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "graphics/jpeg_decoder.h"
#include "graphics/packed_picture.h"
#include "graphics/packed_picture_encoder.h"
#include "picture_samples.h"

namespace torvel::bench {
namespace {

constexpr int kJpegQuality = 90;

std::vector<uint8_t> CompressJpeg(const Bitmap& picture, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(picture.Row(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

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
  std::vector<uint8_t> jpeg = CompressJpeg(picture, kJpegQuality);
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
