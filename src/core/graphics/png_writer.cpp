#include "core/graphics/png_writer.h"

#include <zlib.h>

#include <cstdint>
#include <string_view>

#include "core/graphics/byte_order.h"

namespace quillet {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kColourTypeRgba = 6;
constexpr std::uint8_t kFilterNone = 0;

void AppendChunk(Bytes& out, std::string_view type, const Bytes& data) {
  std::uint8_t length[4];
  byte_order::WriteBe32(length, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), length, length + 4);
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  // The CRC covers the chunk type and its data, not the length.
  const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
  std::uint8_t crcBytes[4];
  byte_order::WriteBe32(crcBytes, static_cast<std::uint32_t>(crc));
  out.insert(out.end(), crcBytes, crcBytes + 4);
}

}  // namespace

Bytes EncodePngRgba(int width, int height, const Bytes& rgba) {
  if (width <= 0 || height <= 0) return {};
  const std::uint64_t rowBytes = static_cast<std::uint64_t>(width) * 4;
  if (rgba.size() != rowBytes * static_cast<std::uint64_t>(height)) return {};

  Bytes raw;
  raw.reserve(static_cast<std::size_t>((rowBytes + 1) * height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(kFilterNone);
    const auto* row = rgba.data() + rowBytes * static_cast<std::uint64_t>(y);
    raw.insert(raw.end(), row, row + rowBytes);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    return {};
  }
  packed.resize(packedSize);

  Bytes header(13, 0);
  byte_order::WriteBe32(header.data(), static_cast<std::uint32_t>(width));
  byte_order::WriteBe32(header.data() + 4, static_cast<std::uint32_t>(height));
  header[8] = 8;  // bits per channel
  header[9] = kColourTypeRgba;
  // compression method, filter method and interlace method stay 0

  Bytes out(kSignature, kSignature + 8);
  AppendChunk(out, "IHDR", header);
  AppendChunk(out, "IDAT", packed);
  AppendChunk(out, "IEND", {});
  return out;
}

}  // namespace quillet
