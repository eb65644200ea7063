#include "graphics/packed_picture_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "graphics/packed_picture.h"

namespace torvel {

namespace {

// The dictionary coder's tokens: what each can express and what it costs in bytes (every token,
// literal or not, also costs one flag bit).
constexpr size_t kWindow = 16384;
constexpr size_t kShortMaxDistance = 32;
constexpr size_t kShortMinLength = 2;
constexpr size_t kShortMaxLength = 4;
constexpr size_t kMediumMaxDistance = 1024;
constexpr size_t kMediumMaxLength = 18;
constexpr size_t kMaxMatchLength = 4096;
constexpr size_t kMinRunLiterals = 9;
constexpr size_t kMaxRunLiterals = 40;

constexpr int kHashBits = 15;
constexpr int kChainDepth = 48;

// Run-length coder.
constexpr size_t kMaxRunCount = 8192;
constexpr size_t kMaxRunUnit = 4;
constexpr size_t kMaxLiteralBlock = 128;

struct Match {
  size_t distance = 0;
  size_t length = 0;  // as encoded
  int gain = 0;       // bytes saved against literals
};

// The longest of the encodable lengths of the long match that does not exceed `length`.
size_t LongLength(size_t length) {
  if (length >= 4096) return 4096;
  if (length >= 1024) return 1024;
  if (length >= 256) return 256;
  return length;
}

// A match must save at least this many bytes over literals. Matches that save one byte are
// plentiful in detailed pictures and chop literal stretches into many items; dropping them costs
// about a tenth in size and makes decoding about three times faster.
constexpr int kMinMatchGain = 2;

// The token that saves most for a match of `length` bytes at `distance`.
Match BestToken(size_t distance, size_t length) {
  Match best;
  auto consider = [&](size_t encoded, int cost) {
    int gain = static_cast<int>(encoded) - cost;
    if (gain >= kMinMatchGain && gain > best.gain) best = Match{distance, encoded, gain};
  };
  if (distance <= kShortMaxDistance && length >= kShortMinLength) consider(std::min(length, kShortMaxLength), 1);
  if (length >= 3) {
    if (distance <= kMediumMaxDistance) consider(std::min(length, kMediumMaxLength), 2);
    consider(LongLength(length), 3);
  }
  return best;
}

class DictionaryCoder {
 public:
  explicit DictionaryCoder(std::span<const uint8_t> data) : data_(data) {
    head_.fill(-1);
    prev_.fill(-1);
  }

  std::vector<uint8_t> Run() {
    const size_t n = data_.size();
    size_t i = 0;
    Match cur;
    if (n > 0) {
      cur = Find(0);
      Insert(0);
    }
    while (i < n) {
      if (cur.gain <= 0) {
        ++pendingLiterals_;
        ++i;
        if (i < n) {
          cur = Find(i);
          Insert(i);
        }
        continue;
      }
      // One step of lazy matching: a better match one byte later wins over this one.
      if (i + 1 < n) {
        Match next = Find(i + 1);
        Insert(i + 1);
        if (next.gain > cur.gain) {
          ++pendingLiterals_;
          ++i;
          cur = next;
          continue;
        }
      }
      EmitMatch(i, cur);
      for (size_t p = i + 2; p < i + cur.length; ++p) Insert(p);
      i += cur.length;
      if (i < n) {
        cur = Find(i);
        Insert(i);
      }
    }
    FlushLiterals(n);
    return std::move(out_);
  }

 private:
  uint32_t Hash(size_t i) const {
    uint32_t v = data_[i] | data_[i + 1] << 8 | data_[i + 2] << 16;
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  void Insert(size_t i) {
    if (i + 3 > data_.size()) return;
    uint32_t h = Hash(i);
    prev_[i & (kWindow - 1)] = head_[h];
    head_[h] = static_cast<int32_t>(i);
  }

  size_t MatchLength(size_t i, size_t distance) const {
    size_t limit = std::min(kMaxMatchLength, data_.size() - i);
    const uint8_t* a = data_.data() + i;
    const uint8_t* b = a - distance;
    size_t k = 0;
    while (k + 8 <= limit) {
      uint64_t x, y;
      std::memcpy(&x, a + k, 8);
      std::memcpy(&y, b + k, 8);
      if (x != y) return k + static_cast<size_t>(__builtin_ctzll(x ^ y) >> 3);
      k += 8;
    }
    while (k < limit && a[k] == b[k]) ++k;
    return k;
  }

  Match Find(size_t i) const {
    Match best;
    auto consider = [&](size_t distance) {
      Match m = BestToken(distance, MatchLength(i, distance));
      if (m.gain > best.gain) best = m;
    };
    for (size_t d = 1; d <= std::min(kShortMaxDistance, i) && best.length < kMaxMatchLength; ++d) consider(d);
    if (i + 3 <= data_.size() && best.length < kMaxMatchLength) {
      int32_t pos = head_[Hash(i)];
      for (int depth = 0; depth < kChainDepth && pos >= 0; ++depth) {
        size_t distance = i - static_cast<size_t>(pos);
        if (distance > kWindow) break;
        if (distance > kShortMaxDistance) consider(distance);
        if (best.length == kMaxMatchLength) break;
        pos = prev_[static_cast<size_t>(pos) & (kWindow - 1)];
      }
    }
    return best;
  }

  void FlagBit(bool set) {
    if (flagBits_ == 8) {
      flagPos_ = out_.size();
      out_.push_back(0);
      flagBits_ = 0;
    }
    if (set) out_[flagPos_] |= static_cast<uint8_t>(0x80 >> flagBits_);
    ++flagBits_;
  }

  // Writes the literals that end at `end`.
  void FlushLiterals(size_t end) {
    size_t start = end - pendingLiterals_;
    while (pendingLiterals_ >= kMinRunLiterals) {
      size_t k = std::min(pendingLiterals_, kMaxRunLiterals);
      FlagBit(true);
      out_.push_back(static_cast<uint8_t>((k - kMinRunLiterals) << 2 | 3));
      out_.insert(out_.end(), data_.begin() + static_cast<std::ptrdiff_t>(start),
                  data_.begin() + static_cast<std::ptrdiff_t>(start + k));
      start += k;
      pendingLiterals_ -= k;
    }
    for (; pendingLiterals_ > 0; --pendingLiterals_) {
      FlagBit(false);
      out_.push_back(data_[start++]);
    }
  }

  void EmitMatch(size_t at, const Match& m) {
    FlushLiterals(at);
    FlagBit(true);
    size_t d = m.distance - 1;
    if (m.distance <= kShortMaxDistance && m.length <= kShortMaxLength) {
      out_.push_back(static_cast<uint8_t>(d << 2 | (m.length - 2)));
    } else if (m.distance <= kMediumMaxDistance && m.length <= kMediumMaxLength) {
      out_.push_back(static_cast<uint8_t>(0x80 | d >> 4));
      out_.push_back(static_cast<uint8_t>((d & 0x0F) << 4 | (m.length - 3)));
    } else {
      uint8_t c = m.length == 4096   ? 255
                  : m.length == 1024 ? 254
                  : m.length == 256  ? 253
                                     : static_cast<uint8_t>(m.length - 3);
      out_.push_back(static_cast<uint8_t>(0xC0 | d >> 8));
      out_.push_back(static_cast<uint8_t>(d & 0xFF));
      out_.push_back(c);
    }
  }

  std::span<const uint8_t> data_;
  std::array<int32_t, size_t{1} << kHashBits> head_;
  std::array<int32_t, kWindow> prev_;
  std::vector<uint8_t> out_;
  size_t flagPos_ = 0;
  int flagBits_ = 8;
  size_t pendingLiterals_ = 0;
};

void PutLe16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  PutLe16(out, v & 0xFFFF);
  PutLe16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> CompressDictionary(std::span<const uint8_t> data) {
  // The hash tables are large; keep them off the stack.
  auto coder = std::make_unique<DictionaryCoder>(data);
  return coder->Run();
}

std::vector<uint8_t> CompressRuns(std::span<const uint8_t> data) {
  std::vector<uint8_t> out;
  const size_t n = data.size();
  size_t literalStart = 0;
  auto flush = [&](size_t end) {
    while (literalStart < end) {
      size_t k = std::min(end - literalStart, kMaxLiteralBlock);
      out.push_back(static_cast<uint8_t>(k - 1));
      out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(literalStart),
                 data.begin() + static_cast<std::ptrdiff_t>(literalStart + k));
      literalStart += k;
    }
  };
  size_t i = 0;
  while (i < n) {
    size_t bestUnit = 0, bestCount = 0;
    long bestSaving = 1;  // a run must save more than the literal block header it may split
    for (size_t unit = 1; unit <= kMaxRunUnit; ++unit) {
      size_t count = 1;
      while (count < kMaxRunCount && i + (count + 1) * unit <= n &&
             std::memcmp(data.data() + i + count * unit, data.data() + i, unit) == 0) {
        ++count;
      }
      long saving = static_cast<long>(count * unit) - static_cast<long>(2 + unit);
      if (saving > bestSaving) {
        bestSaving = saving;
        bestUnit = unit;
        bestCount = count;
      }
    }
    if (bestUnit == 0) {
      ++i;
      continue;
    }
    flush(i);
    size_t c = bestCount - 1;
    out.push_back(static_cast<uint8_t>(0x80 | (bestUnit - 1) << 5 | c >> 8));
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
               data.begin() + static_cast<std::ptrdiff_t>(i + bestUnit));
    i += bestCount * bestUnit;
    literalStart = i;
  }
  flush(n);
  return out;
}

void ApplyDelta(std::span<uint8_t> data) {
  std::array<uint8_t, 3> previous{};
  for (size_t i = 0; i < data.size(); ++i) {
    uint8_t value = data[i];
    data[i] = static_cast<uint8_t>(value - previous[i % 3]);
    previous[i % 3] = value;
  }
}

std::vector<uint8_t> EncodePackedPicture(const Bitmap& picture, PackedStages stages) {
  if (picture.Empty() || picture.width > 0xFFFF || picture.height > 0xFFFF) return {};
  const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
  if (rowBytes * static_cast<size_t>(picture.height) > kMaxPackedStageBytes) return {};
  std::vector<uint8_t> data;
  data.reserve(rowBytes * static_cast<size_t>(picture.height));
  for (int y = 0; y < picture.height; ++y) data.insert(data.end(), picture.Row(y), picture.Row(y) + rowBytes);
  if (stages.delta) ApplyDelta(data);

  std::vector<uint8_t> payload;
  uint32_t dictionarySize = 0;
  if (stages.runLength) {
    std::vector<uint8_t> runs = CompressRuns(data);
    if (runs.size() > kMaxPackedStageBytes) return {};
    dictionarySize = static_cast<uint32_t>(runs.size());
    payload = CompressDictionary(runs);
  } else {
    payload = CompressDictionary(data);
  }

  std::vector<uint8_t> out;
  out.reserve(kPackedHeaderSize + payload.size());
  out.push_back(0);
  out.push_back(0);
  out.push_back(
      static_cast<uint8_t>((stages.runLength ? kPackedRunLengthFlag : 0) | (stages.delta ? kPackedDeltaFlag : 0)));
  out.push_back(3);
  PutLe32(out, static_cast<uint32_t>(payload.size()));
  PutLe32(out, dictionarySize);
  PutLe16(out, static_cast<uint32_t>(picture.width));
  PutLe16(out, static_cast<uint32_t>(picture.height));
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

std::vector<uint8_t> EncodePackedPictureSmallest(const Bitmap& picture) {
  std::vector<uint8_t> best;
  for (bool delta : {false, true}) {
    for (bool runLength : {false, true}) {
      std::vector<uint8_t> candidate = EncodePackedPicture(picture, PackedStages{runLength, delta});
      if (candidate.empty()) return {};
      if (best.empty() || candidate.size() < best.size()) best = std::move(candidate);
    }
  }
  return best;
}

}  // namespace torvel
