#include "graphics/png_io.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "resources/file_io.h"

namespace torvel {

namespace {

void WriteToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

constexpr uint32_t kMaxSide = 16384;

}  // namespace

bool WritePng(const std::filesystem::path& file, const Bitmap& picture, std::string* error) {
  if (picture.Empty()) {
    if (error) *error = file.string() + ": the picture is empty";
    return false;
  }
  std::vector<uint8_t> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  std::vector<uint8_t> row(static_cast<size_t>(picture.width) * 3);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    if (error) *error = file.string() + ": the picture could not be encoded";
    return false;
  }
  png_set_write_fn(png, &bytes, WriteToVector, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* src = picture.Row(y);
    for (int x = 0; x < picture.width; ++x) {
      row[x * 3 + 0] = src[x * 3 + 2];
      row[x * 3 + 1] = src[x * 3 + 1];
      row[x * 3 + 2] = src[x * 3 + 0];
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return WriteFileAtomically(file, bytes, error);
}

bool ReadPng(const std::filesystem::path& file, Bitmap& picture) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(file, bytes)) return false;
  return DecodePng(bytes, picture);
}

bool DecodePng(std::span<const uint8_t> bytes, Bitmap& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  image.format = PNG_FORMAT_BGR;
  // The header's size is checked before anything that large is made: a few hostile bytes could
  // otherwise ask for gigabytes.
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide ||
      uint64_t{image.width} * image.height > kMaxPngPixels) {
    png_image_free(&image);
    return false;
  }
  Bitmap out(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), out.stride, nullptr)) {
    png_image_free(&image);
    return false;
  }
  picture = std::move(out);
  return true;
}

}  // namespace torvel
