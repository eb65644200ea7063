#include "graphics/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace torvel {

namespace {

// Larger pictures than this are damaged headers, not pictures the engine shows.
constexpr uint64_t kMaxJpegPictureBytes = uint64_t{64} << 20;
// A progressive stream may hold any number of scans; crafted ones make decoding crawl.
constexpr int kMaxJpegScans = 500;

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
  std::longjmp(trap->jump, 1);
}

void EmitMessage(j_common_ptr, int) {}
void OutputMessage(j_common_ptr) {}

void CheckScans(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxJpegScans) ErrorExit(info);
}

// Everything that longjmp may skip lives outside this function's frame: the caller owns the
// decompressor, and no object with a destructor is created between setjmp and the last libjpeg
// call.
bool Decode(jpeg_decompress_struct& info, ErrorTrap& trap, jpeg_progress_mgr& progress, std::span<const uint8_t> bytes,
            Bitmap& out) {
  if (setjmp(trap.jump)) return false;
  jpeg_create_decompress(&info);
  progress.progress_monitor = CheckScans;
  info.progress = &progress;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGR;
  uint64_t size = uint64_t{info.image_width} * info.image_height * 3;
  if (info.image_width == 0 || info.image_height == 0 || size > kMaxJpegPictureBytes) return false;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || info.output_width != info.image_width || info.output_height != info.image_height) {
    return false;
  }
  out.Resize(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.Row(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

bool DecodeJpeg(std::span<const uint8_t> bytes, Bitmap& bitmap) {
  if (bytes.empty()) return false;
  jpeg_decompress_struct info{};
  ErrorTrap trap{};
  jpeg_progress_mgr progress{};
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = ErrorExit;
  trap.manager.emit_message = EmitMessage;
  trap.manager.output_message = OutputMessage;
  Bitmap out;
  bool ok = Decode(info, trap, progress, bytes, out);
  jpeg_destroy_decompress(&info);
  if (ok) bitmap = std::move(out);
  return ok;
}

}  // namespace torvel
