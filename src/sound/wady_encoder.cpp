#include "sound/wady_encoder.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "sound/le_bytes.h"
#include "sound/wady_decoder.h"

namespace torvel {

namespace {

inline int16_t Wrap16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

inline int64_t Square(int32_t e) { return static_cast<int64_t>(e) * e; }

// The codes of one variant: its deltas in ascending order with their codes, and its absolute
// codes (multiples of 1 << absoluteShift from -32768 up).
struct CodeSet {
  std::vector<int32_t> delta;
  std::vector<uint8_t> code;
  int absoluteShift = 0;  // value = index << shift
  uint8_t absoluteFlag = 0;
  bool typeB = false;

  uint8_t Absolute(int32_t target, int16_t& value) const {
    const int32_t half = 1 << (absoluteShift - 1);
    const int32_t limit = 1 << (15 - absoluteShift);
    const int32_t q = std::clamp((target + half) >> absoluteShift, -limit, limit - 1);
    value = static_cast<int16_t>(q * (1 << absoluteShift));
    const uint8_t k = static_cast<uint8_t>(absoluteFlag | (q & (limit * 2 - 1)));
    return typeB ? static_cast<uint8_t>((k << 1) | 1) : k;
  }
  uint8_t Delta(size_t j) const { return typeB ? static_cast<uint8_t>((code[j] << 1) | 1) : code[j]; }
};

CodeSet TypeACodes(int scale) {
  std::vector<std::pair<int32_t, uint8_t>> all;
  for (int k = 0; k < 128; ++k) {
    if (k != 64) all.push_back({scale * kDeltaTableA[k], static_cast<uint8_t>(k)});  // 64 repeats 0
  }
  std::sort(all.begin(), all.end());
  CodeSet c;
  for (auto& [d, k] : all) {
    c.delta.push_back(d);
    c.code.push_back(k);
  }
  c.absoluteShift = 9;
  c.absoluteFlag = 0x80;
  return c;
}

CodeSet TypeBCodes() {
  std::vector<std::pair<int32_t, uint8_t>> all;
  for (int k = 0; k < 64; ++k) {
    if (k != 32) all.push_back({kDeltaTableB[k], static_cast<uint8_t>(k)});  // 32 repeats 0
  }
  std::sort(all.begin(), all.end());
  CodeSet c;
  for (auto& [d, k] : all) {
    c.delta.push_back(d);
    c.code.push_back(k);
  }
  c.absoluteShift = 10;
  c.absoluteFlag = 0x40;
  c.typeB = true;
  return c;
}

struct Candidate {
  uint8_t code;
  int16_t value;
};

// The absolute code and the deltas around the wanted one: the codes worth weighing.
inline size_t Candidates(const CodeSet& c, int16_t value, int32_t target, Candidate* out) {
  size_t n = 0;
  out[n].code = c.Absolute(target, out[n].value);
  ++n;
  const int32_t want = target - value;
  const size_t i = static_cast<size_t>(std::lower_bound(c.delta.begin(), c.delta.end(), want) - c.delta.begin());
  const size_t from = i >= 2 ? i - 2 : 0;
  const size_t to = std::min(i + 2, c.delta.size());
  for (size_t j = from; j < to; ++j) out[n++] = {c.Delta(j), Wrap16(value + c.delta[j])};
  return n;
}

inline Candidate Nearest(const CodeSet& c, int16_t value, int32_t target) {
  Candidate cand[5];
  const size_t n = Candidates(c, value, target, cand);
  Candidate best = cand[0];
  for (size_t j = 1; j < n; ++j) {
    if (std::abs(cand[j].value - target) < std::abs(best.value - target)) best = cand[j];
  }
  return best;
}

// The code for `target` chosen with one sample of look-ahead: the pair of codes with the least
// squared error decides, so a code that leaves the next sample out of reach loses.
inline Candidate Choose(const CodeSet& c, int16_t value, int32_t target, const int32_t* next) {
  if (!next) return Nearest(c, value, target);
  Candidate cand[5];
  const size_t n = Candidates(c, value, target, cand);
  Candidate best = cand[0];
  int64_t bestError = INT64_MAX;
  for (size_t j = 0; j < n; ++j) {
    const Candidate follow = Nearest(c, cand[j].value, *next);
    const int64_t e = Square(cand[j].value - target) + Square(follow.value - *next);
    if (e < bestError) {
      bestError = e;
      best = cand[j];
    }
  }
  return best;
}

// ---- Type A ----

// Codes one channel-interleaved sound; returns the squared error, and the codes when asked.
// Without look-ahead it is a quick estimate for comparing scales.
int64_t CodeTypeA(std::span<const int16_t> samples, unsigned channels, const CodeSet& c, bool lookAhead, uint8_t* codes,
                  size_t loopSample, int16_t* loopValues) {
  int16_t value[2] = {0, 0};
  int64_t error = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (loopValues && i == loopSample) {
      loopValues[0] = value[0];
      loopValues[1] = value[1];
    }
    int16_t& v = value[i % channels];
    int32_t next = 0;
    const bool hasNext = lookAhead && i + channels < samples.size();
    if (hasNext) next = samples[i + channels];
    const Candidate chosen = Choose(c, v, samples[i], hasNext ? &next : nullptr);
    if (codes) codes[i] = chosen.code;
    error += Square(chosen.value - samples[i]);
    v = chosen.value;
  }
  return error;
}

// ---- Type B ----

constexpr size_t kTypeBZeroedTail = 300;

// The samples a run token decodes to, exactly as the decoder computes them.
template <typename F>
inline void RunSamples(int16_t value, int16_t target, int n, F&& each) {
  const float step = static_cast<float>(static_cast<long double>(int32_t{target} - int32_t{value}) / n);
  float x = static_cast<float>(value);
  for (int j = 0; j < n; ++j) {
    x = x + step;
    if (!each(j, Wrap16(static_cast<int32_t>(x)))) return;
  }
}

// A run may cost this much more squared error per sample than per-sample tokens would.
constexpr int64_t kRunAllowance = 0;

std::vector<uint8_t> EncodeChannelB(std::span<const int16_t> samples, size_t channels, size_t channel) {
  const size_t count = samples.size() / channels;
  auto at = [&](size_t i) -> int32_t { return samples[i * channels + channel]; };
  const CodeSet codes = TypeBCodes();
  std::vector<uint8_t> tokens;
  uint32_t tokenCount = 0;
  int16_t value = static_cast<int16_t>(at(0));
  const int16_t initial = value;
  // The last 300 tokens decode from zero: they are one-byte tokens for the last 300 samples.
  const size_t headEnd = count > kTypeBZeroedTail ? count - kTypeBZeroedTail : count;
  std::array<int64_t, 257> tokenError{};  // squared error of per-sample tokens, prefix sums
  size_t p = 1;
  while (p < headEnd) {
    // Per-sample tokens from here, as far as the longest run that could still fit.
    int16_t v = value;
    size_t known = 0;
    auto extend = [&](size_t upTo) {
      for (; known < upTo; ++known) {
        const Candidate t = Nearest(codes, v, at(p + known));
        tokenError[known + 1] = tokenError[known] + Square(t.value - at(p + known));
        v = t.value;
      }
    };
    int bestRun = -1;
    for (int r = 0; r < static_cast<int>(kRunLengths.size()); ++r) {
      const int n = kRunLengths[r];
      if (p + n > headEnd) break;
      extend(static_cast<size_t>(n));
      const int32_t last = at(p + n - 1);
      const int16_t target = static_cast<int16_t>(std::clamp((last + 8) & ~15, -32768, 32752));
      const int64_t budget = tokenError[n] + kRunAllowance * n;
      int64_t error = 0;
      RunSamples(value, target, n, [&](int j, int16_t s) {
        error += Square(s - at(p + j));
        return error <= budget;
      });
      if (error > budget) break;
      bestRun = r;
    }
    if (bestRun >= 0) {
      const int n = kRunLengths[bestRun];
      const int32_t last = at(p + n - 1);
      const uint16_t target = static_cast<uint16_t>(std::clamp((last + 8) & ~15, -32768, 32752));
      const uint16_t w = static_cast<uint16_t>(target | (bestRun << 1));
      tokens.push_back(static_cast<uint8_t>(w));
      tokens.push_back(static_cast<uint8_t>(w >> 8));
      value = static_cast<int16_t>(target);
      p += static_cast<size_t>(n);
    } else {
      int32_t next = at(p + 1 < count ? p + 1 : p);
      const Candidate t = Choose(codes, value, at(p), p + 1 < headEnd ? &next : nullptr);
      tokens.push_back(t.code);
      value = t.value;
      ++p;
    }
    ++tokenCount;
  }
  if (count > kTypeBZeroedTail) {
    value = 0;
    for (; p < count; ++p) {
      int32_t next = p + 1 < count ? at(p + 1) : 0;
      const Candidate t = Choose(codes, value, at(p), p + 1 < count ? &next : nullptr);
      tokens.push_back(t.code);
      value = t.value;
      ++tokenCount;
    }
  }
  std::vector<uint8_t> block(10 + tokens.size());
  WriteLe32(block, 0, static_cast<uint32_t>(tokens.size()));
  WriteLe32(block, 4, tokenCount);
  WriteLe16(block, 8, static_cast<uint16_t>(initial));
  std::copy(tokens.begin(), tokens.end(), block.begin() + 10);
  return block;
}

WadyHeader BaseHeader(size_t frames, uint16_t channels, uint32_t rate) {
  WadyHeader h;
  h.channels = channels;
  h.sampleRate = rate;
  h.frames = static_cast<uint32_t>(frames);
  h.decodedLength = static_cast<uint32_t>(frames * channels * 2);
  h.format = MakeWaveFormat(channels, rate);
  return h;
}

}  // namespace

uint8_t ChooseTypeAScale(std::span<const int16_t> samples, uint16_t channels) {
  if (channels != 1 && channels != 2) return 1;
  // The choice is made on a few stretches spread over the sound, which stand for the whole.
  constexpr size_t kStretches = 16;
  constexpr size_t kStretchFrames = 8192;
  constexpr int kMaxScale = 64;
  const size_t frames = samples.size() / channels;
  std::vector<int16_t> probe;
  if (frames <= kStretches * kStretchFrames) {
    probe.assign(samples.begin(), samples.begin() + static_cast<ptrdiff_t>(frames * channels));
  } else {
    for (size_t s = 0; s < kStretches; ++s) {
      const size_t start = (frames - kStretchFrames) * s / (kStretches - 1) * channels;
      probe.insert(probe.end(), samples.begin() + static_cast<ptrdiff_t>(start),
                   samples.begin() + static_cast<ptrdiff_t>(start + kStretchFrames * channels));
    }
  }
  int best = 1;
  int64_t bestError = INT64_MAX;
  for (int scale = 1; scale <= kMaxScale; ++scale) {
    const int64_t e = CodeTypeA(probe, channels, TypeACodes(scale), false, nullptr, 0, nullptr);
    if (e < bestError) {
      bestError = e;
      best = scale;
    }
  }
  return static_cast<uint8_t>(best);
}

std::vector<uint8_t> EncodeTypeA(std::span<const int16_t> samples, uint16_t channels, uint32_t rate,
                                 uint32_t loopFrame) {
  if (channels != 1 && channels != 2) return {};
  const size_t frames = samples.size() / channels;
  if (loopFrame > 0 && loopFrame >= frames) return {};
  const uint8_t scale = ChooseTypeAScale(samples.first(frames * channels), channels);
  WadyHeader h = BaseHeader(frames, channels, rate);
  h.scale = scale;
  h.dataLength = static_cast<uint32_t>(frames * channels);
  h.loopStart = loopFrame * channels;
  std::vector<uint8_t> out(kWadyHeaderSize + frames * channels);
  int16_t loopValues[2] = {0, 0};
  CodeTypeA(samples.first(frames * channels), channels, TypeACodes(scale), true, out.data() + kWadyHeaderSize,
            static_cast<size_t>(loopFrame) * channels, loopValues);
  h.loopLeft = loopValues[0];
  h.loopRight = loopValues[1];
  WriteWadyHeader(h, out);
  return out;
}

std::vector<uint8_t> EncodeTypeB(std::span<const int16_t> samples, uint16_t channels, uint32_t rate) {
  if ((channels != 1 && channels != 2) || samples.size() < channels) return {};
  const size_t frames = samples.size() / channels;
  WadyHeader h = BaseHeader(frames, channels, rate);
  std::vector<uint8_t> out(kWadyHeaderSize);
  if (channels == 1) {
    std::vector<uint8_t> block = EncodeChannelB(samples, 1, 0);
    out.insert(out.end(), block.begin(), block.end());
  } else {
    std::vector<uint8_t> left = EncodeChannelB(samples, 2, 0);
    std::vector<uint8_t> right = EncodeChannelB(samples, 2, 1);
    // The right block starts at 0x38 + distance, just after the left block at 0x34.
    out.resize(out.size() + 4);
    WriteLe32(out, kWadyHeaderSize, static_cast<uint32_t>(left.size() - 4));
    out.insert(out.end(), left.begin(), left.end());
    out.insert(out.end(), right.begin(), right.end());
  }
  h.dataLength = static_cast<uint32_t>(out.size() - kWadyHeaderSize);
  WriteWadyHeader(h, out);
  return out;
}

}  // namespace torvel
