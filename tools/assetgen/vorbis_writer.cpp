// The music as Ogg Vorbis through libvorbis: a 32-second loop is 5.6 MB as WAV, a few hundred
// kilobytes here, which matters for a game that is also downloaded into a browser.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "writers.h"

namespace {

// Owns libvorbis's encoder state for one file.
class VorbisEncoder {
 public:
  VorbisEncoder(int channels, int sampleRate, float quality) {
    vorbis_info_init(&info_);
    if (vorbis_encode_init_vbr(&info_, channels, sampleRate, quality) != 0) {
      vorbis_info_clear(&info_);
      throw std::runtime_error("libvorbis cannot encode this kind of sound");
    }
    vorbis_comment_init(&comment_);
    vorbis_comment_add_tag(&comment_, "TITLE", "Swayfire");
    vorbis_analysis_init(&dsp_, &info_);
    vorbis_block_init(&dsp_, &block_);
    // A fixed stream serial number: the same music gives the same bytes on every run.
    ogg_stream_init(&stream_, 0x53574159);
  }
  ~VorbisEncoder() {
    ogg_stream_clear(&stream_);
    vorbis_block_clear(&block_);
    vorbis_dsp_clear(&dsp_);
    vorbis_comment_clear(&comment_);
    vorbis_info_clear(&info_);
  }
  VorbisEncoder(const VorbisEncoder&) = delete;
  VorbisEncoder& operator=(const VorbisEncoder&) = delete;

  void Headers(std::ofstream& out) {
    ogg_packet id, comments, codebooks;
    vorbis_analysis_headerout(&dsp_, &comment_, &id, &comments, &codebooks);
    ogg_stream_packetin(&stream_, &id);
    ogg_stream_packetin(&stream_, &comments);
    ogg_stream_packetin(&stream_, &codebooks);
    // The audio starts on a page of its own.
    ogg_page page;
    while (ogg_stream_flush(&stream_, &page) != 0) Write(out, page);
  }

  // Hands interleaved samples to the encoder; an empty span marks the end of the sound.
  void Samples(const float* samples, int frames, int channels) {
    if (frames > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp_, frames);
      for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
          buffer[c][i] = std::clamp(samples[size_t(i) * channels + c], -1.0f, 1.0f);
    }
    vorbis_analysis_wrote(&dsp_, frames);
  }

  void Pages(std::ofstream& out) {
    while (vorbis_analysis_blockout(&dsp_, &block_) == 1) {
      vorbis_analysis(&block_, nullptr);
      vorbis_bitrate_addblock(&block_);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp_, &packet) == 1) {
        ogg_stream_packetin(&stream_, &packet);
        ogg_page page;
        while (ogg_stream_pageout(&stream_, &page) != 0) Write(out, page);
      }
    }
    ogg_page page;
    while (ogg_stream_flush(&stream_, &page) != 0) Write(out, page);
  }

 private:
  static void Write(std::ofstream& out, const ogg_page& page) {
    out.write(reinterpret_cast<const char*>(page.header), page.header_len);
    out.write(reinterpret_cast<const char*>(page.body), page.body_len);
  }

  vorbis_info info_;
  vorbis_comment comment_;
  vorbis_dsp_state dsp_;
  vorbis_block block_;
  ogg_stream_state stream_;
};

}  // namespace

void WriteOggVorbis(const std::string& path, const std::vector<float>& samples, int channels,
                    int sampleRate, float quality) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  VorbisEncoder encoder(channels, sampleRate, quality);
  encoder.Headers(out);
  const int total = int(samples.size() / size_t(channels));
  constexpr int kChunk = 4096;
  for (int at = 0; at < total; at += kChunk) {
    encoder.Samples(samples.data() + size_t(at) * channels, std::min(kChunk, total - at), channels);
    encoder.Pages(out);
  }
  encoder.Samples(nullptr, 0, channels);
  encoder.Pages(out);
  if (!out) throw std::runtime_error("cannot write " + path);
}
