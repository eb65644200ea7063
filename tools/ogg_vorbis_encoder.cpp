#include "ogg_vorbis_encoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace tvx {

namespace {

constexpr int kSerial = 0x54565856;  // fixed: the same sound gives the same stream
constexpr size_t kChunkFrames = 1024;

void AppendPage(const ogg_page& page, std::vector<uint8_t>& out) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<uint8_t> EncodeOggVorbis(int channels, long rate, std::span<const float> samples, float quality,
                                     int serial) {
  std::vector<uint8_t> out;
  if (channels <= 0 || rate <= 0) return out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
    vorbis_info_clear(&vi);
    return out;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, serial);
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  ogg_page page;
  while (ogg_stream_flush(&os, &page)) AppendPage(page, out);

  const size_t width = static_cast<size_t>(channels);
  const size_t frames = samples.size() / width;
  size_t done = 0;
  bool ended = false;
  bool closed = false;
  while (!ended) {
    if (!closed) {
      const size_t chunk = std::min(kChunkFrames, frames - done);
      if (chunk == 0) {
        vorbis_analysis_wrote(&vd, 0);  // the end of the sound
        closed = true;
      } else {
        float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(chunk));
        for (size_t i = 0; i < chunk; ++i) {
          for (size_t c = 0; c < width; ++c) buffer[c][i] = samples[(done + i) * width + c];
        }
        vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
        done += chunk;
      }
    }
    bool progressed = false;
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      progressed = true;
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page)) {
          AppendPage(page, out);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (closed && !progressed && !ended) {
      // Every block is out; whatever the stream still holds goes out as the last pages.
      while (ogg_stream_flush(&os, &page)) AppendPage(page, out);
      ended = true;
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

std::vector<uint8_t> EncodeOggVorbis(const torvel::WavSound& sound, float quality) {
  std::vector<float> samples(sound.samples.size());
  std::transform(sound.samples.begin(), sound.samples.end(), samples.begin(),
                 [](int16_t sample) { return sample / 32768.0f; });
  return EncodeOggVorbis(sound.channels, static_cast<long>(sound.rate), samples, quality, kSerial);
}

}  // namespace tvx
