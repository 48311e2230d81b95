// File writers for the formats the game loads: BMP, DDS, JPEG, WAV and Ogg Vorbis.
#pragma once

#include <string>
#include <vector>

#include "image.h"

// 32-bit BMP with an alpha channel (BITMAPV5 header, BI_BITFIELDS masks).
void WriteBmp32(const std::string& path, const Image& img);
// 24-bit BMP, for pictures that need no transparency.
void WriteBmp24(const std::string& path, const Image& img);
// Uncompressed 32-bit DDS (A8R8G8B8).
void WriteDdsRgba(const std::string& path, const Image& img);
// Block-compressed DDS. DXT1 keeps only opaque pixels; DXT5 keeps a smooth alpha.
enum class Dxt { kDxt1, kDxt5 };
void WriteDdsCompressed(const std::string& path, const Image& img, Dxt format);
// Baseline JPEG (through SDL_image); the picture is flattened onto black.
void WriteJpeg(const std::string& path, const Image& img, int quality);
// A PNG copy, for looking at the results while working on them.
void WritePng(const std::string& path, const Image& img);
// 16-bit PCM WAV; samples are interleaved when there is more than one channel.
void WriteWav(const std::string& path, const std::vector<float>& samples, int channels,
              int sampleRate);
// Ogg Vorbis (libvorbis, variable bit rate); quality runs from -0.1 (smallest) to 1.0 (best).
void WriteOggVorbis(const std::string& path, const std::vector<float>& samples, int channels,
                    int sampleRate, float quality);
