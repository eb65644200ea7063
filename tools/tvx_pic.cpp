// tvx pic encode, pic decode: pictures to and from the packed format of the graphic archives.
#include <filesystem>
#include <iostream>

#include "graphics/bmp_io.h"
#include "graphics/packed_picture.h"
#include "graphics/packed_picture_encoder.h"
#include "graphics/png_io.h"
#include "resources/file_io.h"
#include "tvx_commands.h"

namespace fs = std::filesystem;

namespace tvx {

namespace {

// Pictures to pack and packed pictures are a few megabytes at most.
constexpr uint64_t kMaxPictureFileBytes = 256 << 20;

// PNG or BMP, told apart by their first bytes rather than by the file name.
bool DecodePicture(const std::vector<uint8_t>& bytes, torvel::Bitmap& picture) {
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return torvel::DecodeBmp(bytes, picture);
  return torvel::DecodePng(bytes, picture);
}

int Encode(const fs::path& in, const fs::path& out) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!torvel::ReadWholeFile(in, bytes, kMaxPictureFileBytes, error)) return Fail(error);
  torvel::Bitmap picture;
  if (!DecodePicture(bytes, picture)) return Fail(in.string() + ": not a PNG or BMP picture");
  std::vector<uint8_t> packed = torvel::EncodePackedPictureSmallest(picture);
  if (packed.empty()) return Fail(in.string() + " is too large for the packed format");
  if (!torvel::WriteFileAtomically(out, packed, &error)) return Fail(error);
  uint8_t flags = packed[2];
  std::cout << out.string() << ": " << picture.width << "x" << picture.height << ", " << packed.size() << " bytes"
            << ((flags & torvel::kPackedRunLengthFlag) ? ", run-length" : "")
            << ((flags & torvel::kPackedDeltaFlag) ? ", delta" : "") << "\n";
  return 0;
}

int Decode(const fs::path& in, const fs::path& out) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!torvel::ReadWholeFile(in, bytes, kMaxPictureFileBytes, error)) return Fail(error);
  torvel::Bitmap picture;
  if (!torvel::DecodePackedPicture(bytes, picture)) return Fail(in.string() + ": not a packed picture");
  if (picture.Empty()) return Fail(in.string() + ": holds an empty picture");
  if (!torvel::WritePng(out, picture, &error)) return Fail(error);
  return 0;
}

}  // namespace

int Pic(const Args& args) {
  if (args.size() == 3 && args[0] == "encode") return Encode(args[1], args[2]);
  if (args.size() == 3 && args[0] == "decode") return Decode(args[1], args[2]);
  return Fail("usage: tvx pic encode IN.png|IN.bmp OUT, tvx pic decode IN OUT.png");
}

}  // namespace tvx
