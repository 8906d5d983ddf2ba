#pragma once

#include <cstdint>
#include <string>

namespace slidemill::tools {

// A PNG of 8-bit RGB pixels (width * height * 3 bytes, rows top to bottom). The image data is
// stored uncompressed: test pictures are small and the encoder needs no compression library.
// Empty when the size does not match the pixels or is zero.
std::string EncodePngRgb(uint32_t width, uint32_t height, const std::string& rgb);

uint32_t Crc32(const std::string& bytes, uint32_t crc = 0);
uint32_t Adler32(const std::string& bytes);

} // namespace slidemill::tools
