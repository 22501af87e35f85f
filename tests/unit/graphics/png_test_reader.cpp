#include "png_test_reader.h"

#include <zlib.h>

#include <cstring>
#include <string>

namespace quillet::test {
namespace {

std::uint32_t Be32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         p[3];
}

class DecodedPng final : public DecodedImage {
 public:
  explicit DecodedPng(PngImage image) : image_(std::move(image)) {}
  int Width() const override { return image_.width; }
  int Height() const override { return image_.height; }

 private:
  PngImage image_;
};

}  // namespace

std::optional<PngImage> ReadPng(const Bytes& bytes) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) return std::nullopt;
  PngImage image;
  Bytes packed;
  bool haveHeader = false, haveEnd = false;
  std::size_t at = 8;
  while (at + 12 <= bytes.size() && !haveEnd) {
    const std::uint32_t length = Be32(bytes.data() + at);
    if (length > bytes.size() - at - 12) return std::nullopt;
    const std::uint8_t* type = bytes.data() + at + 4;
    const std::uint8_t* data = type + 4;
    const uLong crc = crc32(0L, type, static_cast<uInt>(length + 4));
    if (crc != Be32(data + length)) return std::nullopt;
    const std::string name(reinterpret_cast<const char*>(type), 4);
    if (name == "IHDR") {
      if (length != 13) return std::nullopt;
      image.width = static_cast<int>(Be32(data));
      image.height = static_cast<int>(Be32(data + 4));
      image.bitDepth = data[8];
      image.colourType = data[9];
      if (data[10] != 0 || data[11] != 0 || data[12] != 0) return std::nullopt;
      haveHeader = true;
    } else if (name == "IDAT") {
      packed.insert(packed.end(), data, data + length);
    } else if (name == "IEND") {
      haveEnd = true;
    }
    at += 12 + length;
  }
  if (!haveHeader || !haveEnd || image.bitDepth != 8 || image.colourType != 6) return std::nullopt;
  if (image.width <= 0 || image.height <= 0 || image.width > 10000 || image.height > 10000) {
    return std::nullopt;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 4;
  Bytes raw((rowBytes + 1) * static_cast<std::size_t>(image.height));
  uLongf rawSize = raw.size();
  if (uncompress(raw.data(), &rawSize, packed.data(), packed.size()) != Z_OK ||
      rawSize != raw.size()) {
    return std::nullopt;
  }
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * (rowBytes + 1);
    if (row[0] != 0) return std::nullopt;  // only unfiltered rows are expected
    image.rgba.insert(image.rgba.end(), row + 1, row + 1 + rowBytes);
  }
  return image;
}

std::unique_ptr<DecodedImage> PngTestDecoder::Decode(const Bytes& bytes) const {
  std::optional<PngImage> image = ReadPng(bytes);
  if (!image) return nullptr;
  return std::make_unique<DecodedPng>(std::move(*image));
}

}  // namespace quillet::test
