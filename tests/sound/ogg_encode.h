#pragma once
// Ogg Vorbis streams made in tests with libvorbisenc.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace torvel::testing {

// Encodes interleaved samples (-1..1) as one Ogg Vorbis stream with its own serial number.
inline std::vector<uint8_t> EncodeOgg(int channels, long rate, const std::vector<float>& samples, int serial) {
  std::vector<uint8_t> out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, channels, rate, 0.5f) != 0) return out;
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
  auto emit = [&] {
    out.insert(out.end(), page.header, page.header + page.header_len),
        out.insert(out.end(), page.body, page.body + page.body_len);
  };
  while (ogg_stream_flush(&os, &page)) emit();
  const size_t frames = samples.size() / channels;
  size_t done = 0;
  bool ended = false;
  while (!ended) {
    const size_t chunk = std::min<size_t>(1024, frames - done);
    if (chunk == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(chunk));
      for (size_t i = 0; i < chunk; ++i) {
        for (int c = 0; c < channels; ++c) buffer[c][i] = samples[(done + i) * channels + c];
      }
      vorbis_analysis_wrote(&vd, static_cast<int>(chunk));
      done += chunk;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page)) {
          emit();
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

}  // namespace torvel::testing
