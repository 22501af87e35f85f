#include "core/graphics/dib_layout.h"

#include "core/graphics/byte_order.h"

namespace quillet {

using namespace byte_order;

bool IsSupportedBitDepth(int bitCount) {
  switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return true;
    default:
      return false;
  }
}

int PaletteEntriesForDepth(int bitCount) {
  switch (bitCount) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

std::int64_t RowBytesFor(std::int64_t bits) {
  if (bits <= 0) return 0;
  return ((bits + 31) >> 5) << 2;
}

int PaletteEntryCount(const Bytes& header) {
  if (header.size() < static_cast<std::size_t>(kInfoHeaderSize)) return 0;
  return PaletteEntriesForDepth(ReadLe16(header.data() + 14));
}

Bytes InfoHeaderToBytes(const InfoHeader& h) {
  Bytes out(kInfoHeaderSize, 0);
  std::uint8_t* p = out.data();
  WriteLe32(p + 0, h.size);
  WriteLe32(p + 4, static_cast<std::uint32_t>(h.width));
  WriteLe32(p + 8, static_cast<std::uint32_t>(h.height));
  WriteLe16(p + 12, h.planes);
  WriteLe16(p + 14, h.bitCount);
  WriteLe32(p + 16, h.compression);
  WriteLe32(p + 20, h.imageSize);
  WriteLe32(p + 24, static_cast<std::uint32_t>(h.xPixelsPerMeter));
  WriteLe32(p + 28, static_cast<std::uint32_t>(h.yPixelsPerMeter));
  WriteLe32(p + 32, h.coloursUsed);
  WriteLe32(p + 36, h.coloursImportant);
  return out;
}

Bytes FileHeaderToBytes(const FileHeader& h) {
  Bytes out(kFileHeaderSize, 0);
  std::uint8_t* p = out.data();
  WriteLe16(p + 0, h.type);
  WriteLe32(p + 2, h.fileSize);
  WriteLe16(p + 6, h.reserved1);
  WriteLe16(p + 8, h.reserved2);
  WriteLe32(p + 10, h.pixelOffset);
  return out;
}

InfoHeader InfoHeaderFromBytes(const Bytes& bytes) {
  InfoHeader h{};
  if (bytes.size() < static_cast<std::size_t>(kInfoHeaderSize)) {
    h.size = 0;
    h.planes = 0;
    return h;
  }
  const std::uint8_t* p = bytes.data();
  h.size = ReadLe32(p + 0);
  h.width = static_cast<std::int32_t>(ReadLe32(p + 4));
  h.height = static_cast<std::int32_t>(ReadLe32(p + 8));
  h.planes = ReadLe16(p + 12);
  h.bitCount = ReadLe16(p + 14);
  h.compression = ReadLe32(p + 16);
  h.imageSize = ReadLe32(p + 20);
  h.xPixelsPerMeter = static_cast<std::int32_t>(ReadLe32(p + 24));
  h.yPixelsPerMeter = static_cast<std::int32_t>(ReadLe32(p + 28));
  h.coloursUsed = ReadLe32(p + 32);
  h.coloursImportant = ReadLe32(p + 36);
  return h;
}

}  // namespace quillet
