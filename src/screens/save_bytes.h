#pragma once
// Sequential little-endian writing and reading of the fixed layouts of the save files. The
// writer fills a buffer of the layout's size; the reader takes whatever a file holds and reads
// missing bytes as zero, so a short or damaged file never makes it read past its data.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/sjis.h"

namespace torvel {

// A fixed text field up to its NUL, at most its whole length.
template <size_t N>
std::string_view FieldText(const std::array<uint8_t, N>& field) {
  const void* nul = std::memchr(field.data(), 0, N);
  size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - field.data()) : N;
  return {reinterpret_cast<const char*>(field.data()), n};
}

class SaveWriter {
 public:
  explicit SaveWriter(size_t size) : bytes_(size, 0) {}

  void Bytes(std::span<const uint8_t> data) {
    const size_t n = std::min(data.size(), Room());
    if (n) std::memcpy(bytes_.data() + pos_, data.data(), n);
    pos_ += data.size();
  }
  void Int(int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    const uint8_t le[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                           static_cast<uint8_t>(u >> 24)};
    Bytes(le);
  }
  void Ints(std::span<const int32_t> values) {
    for (int32_t v : values) Int(v);
  }
  // A text cut to at most `limit` bytes (never inside a two-byte character), its NUL, and zeros
  // to the end of the `field`-byte field. `limit` is below `field`.
  void Text(std::string_view text, size_t field, size_t limit) {
    const std::string_view cut = SjisCut(text, std::min(limit, field - 1));
    Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(cut.data()), cut.size()));
    Zeros(field - cut.size());
  }
  void Text(std::string_view text, size_t field) { Text(text, field, field - 1); }
  void Zeros(size_t n) { pos_ += n; }

  size_t Position() const { return pos_; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  size_t Room() const { return pos_ < bytes_.size() ? bytes_.size() - pos_ : 0; }
  std::vector<uint8_t> bytes_;
  size_t pos_ = 0;
};

class SaveReader {
 public:
  explicit SaveReader(std::span<const uint8_t> data) : data_(data) {}

  void Bytes(std::span<uint8_t> out) {
    const size_t n = std::min(out.size(), Left());
    if (n) std::memcpy(out.data(), data_.data() + pos_, n);
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(n), out.end(), uint8_t{0});
    pos_ += out.size();
  }
  int32_t Int() {
    uint8_t le[4];
    Bytes(le);
    return static_cast<int32_t>(static_cast<uint32_t>(le[0]) | static_cast<uint32_t>(le[1]) << 8 |
                                static_cast<uint32_t>(le[2]) << 16 | static_cast<uint32_t>(le[3]) << 24);
  }
  void Ints(std::span<int32_t> out) {
    for (int32_t& v : out) v = Int();
  }
  // A text field read up to its NUL, at most `field` − 1 bytes.
  std::string Text(size_t field) {
    std::string text;
    const size_t start = std::min(pos_, data_.size());
    const size_t avail = std::min(field - 1, data_.size() - start);
    const uint8_t* p = data_.data() + start;
    const void* nul = avail ? std::memchr(p, 0, avail) : nullptr;
    const size_t n = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - p) : avail;
    if (n) text.assign(reinterpret_cast<const char*>(p), n);
    pos_ += field;
    return text;
  }
  void Skip(size_t n) { pos_ += n; }
  size_t Position() const { return pos_; }

 private:
  size_t Left() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace torvel
