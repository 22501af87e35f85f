#pragma once

// The byte layout of a packed device-independent bitmap (40-byte info header,
// palette, bottom-up pixel rows) and of the 14-byte .bmp file header.

#include <cstdint>

#include "core/text/text.h"

namespace quillet {

inline constexpr int kInfoHeaderSize = 40;
inline constexpr int kFileHeaderSize = 14;

// The eleven fields of the info header, in file order.
struct InfoHeader {
  std::uint32_t size = kInfoHeaderSize;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows stored bottom-up
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::int32_t xPixelsPerMeter = 0;
  std::int32_t yPixelsPerMeter = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t coloursImportant = 0;
};

struct FileHeader {
  std::uint16_t type = 0x4D42;  // "BM"
  std::uint32_t fileSize = 0;
  std::uint16_t reserved1 = 0;
  std::uint16_t reserved2 = 0;
  std::uint32_t pixelOffset = 0;
};

// True for the depths a canvas holds: 1, 4, 8, 16, 24, 32.
bool IsSupportedBitDepth(int bitCount);

// 2, 16 or 256 for 1, 4 or 8 bits per pixel; 0 for any other depth.
int PaletteEntriesForDepth(int bitCount);

// Bytes of one pixel row of `bits` bits, padded to a multiple of 4 bytes.
// Negative bit counts give 0.
std::int64_t RowBytesFor(std::int64_t bits);

// Palette entries that the bits-per-pixel field (offset 14) of the 40 header
// bytes at `header` calls for; 0 when fewer than 40 bytes are given.
int PaletteEntryCount(const Bytes& header);

Bytes InfoHeaderToBytes(const InfoHeader& header);
Bytes FileHeaderToBytes(const FileHeader& header);

// Reads the eleven fields back from the first 40 bytes; all zero when shorter.
InfoHeader InfoHeaderFromBytes(const Bytes& bytes);

}  // namespace quillet
