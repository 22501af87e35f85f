#include "core/graphics/bitmap_canvas.h"

#include <algorithm>
#include <cstring>

#include "core/graphics/byte_order.h"
#include "core/graphics/standard_palettes.h"

namespace quillet {

using namespace byte_order;

namespace {

// Offsets in a .bmp file: the info header starts after the 14-byte file
// header.
constexpr std::size_t kFileWidthAt = 18;
constexpr std::size_t kFileHeightAt = 22;
constexpr std::size_t kFileBitCountAt = 28;
constexpr std::size_t kFileCompressionAt = 30;
constexpr std::size_t kMinBmpFileBytes = 55;

constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionBitFields = 3;

std::uint32_t Red(std::uint32_t colour) { return colour & 0xFF; }
std::uint32_t Green(std::uint32_t colour) { return (colour >> 8) & 0xFF; }
std::uint32_t Blue(std::uint32_t colour) { return (colour >> 16) & 0xFF; }

std::uint32_t MakeColour(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return r | (g << 8) | (b << 16);
}

std::uint32_t Expand5(std::uint32_t v) { return (v << 3) | (v >> 2); }

}  // namespace

BitmapCanvas::BitmapCanvas()
    : palette2_(StandardPalette2()),
      palette16_(StandardPalette16()),
      palette256_(StandardPalette256()) {}

void BitmapCanvas::Reset() { dibBytes_.clear(); }

bool BitmapCanvas::BuildImageHeader(int width, int height, int bitCount) {
  if (!IsSupportedBitDepth(bitCount) || width < 0 || height < 0) return false;
  const std::int64_t entries = PaletteEntriesForDepth(bitCount);
  const std::int64_t rowBytes = RowBytesFor(static_cast<std::int64_t>(width) * bitCount);
  const std::int64_t fixed = kInfoHeaderSize + entries * 4;
  if (height > 0 && rowBytes > (kMaxDibBytes - fixed) / height) return false;
  const std::int64_t total = fixed + rowBytes * height;

  InfoHeader header;
  header.width = width;
  header.height = height;
  header.bitCount = static_cast<std::uint16_t>(bitCount);
  Bytes dib = InfoHeaderToBytes(header);
  dib.resize(static_cast<std::size_t>(total), 0);
  const Bytes& palette = StandardPaletteForDepth(bitCount);
  std::copy(palette.begin(), palette.end(), dib.begin() + kInfoHeaderSize);
  dibBytes_ = std::move(dib);
  return true;
}

bool BitmapCanvas::CreateBlank(int width, int height, int bitCount) {
  Reset();
  if (width <= 0 || height <= 0) return false;
  return BuildImageHeader(width, height, bitCount);
}

bool BitmapCanvas::Attach(const Bytes& packedDib) {
  if (packedDib.size() < static_cast<std::size_t>(kInfoHeaderSize) ||
      packedDib.size() > static_cast<std::size_t>(kMaxDibBytes)) {
    Reset();
    return false;
  }
  FileHeader header;
  header.fileSize = static_cast<std::uint32_t>(kFileHeaderSize + packedDib.size());
  const Bytes info(packedDib.begin(), packedDib.begin() + kInfoHeaderSize);
  header.pixelOffset =
      static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + 4 * PaletteEntryCount(info));
  Bytes file = FileHeaderToBytes(header);
  file.insert(file.end(), packedDib.begin(), packedDib.end());
  return LoadFromBmpBytes(file);
}

bool BitmapCanvas::LoadFromBmpBytes(const Bytes& bytes) {
  Reset();
  if (bytes.size() < kMinBmpFileBytes) return false;
  const int width = ReadLe16(bytes.data() + kFileWidthAt);
  const int height = ReadLe16(bytes.data() + kFileHeightAt);
  const int bitCount = ReadLe16(bytes.data() + kFileBitCountAt);
  if (width == 0 || height == 0 || !IsSupportedBitDepth(bitCount)) return false;

  // Run-length images would be copied as if they were pixel rows; bit-field
  // masks only sit between header and rows, so those rows are still plain.
  const std::uint32_t compression = ReadLe32(bytes.data() + kFileCompressionAt);
  if (compression != kCompressionNone && compression != kCompressionBitFields) return false;

  // Palette and rows are taken from the end of the file, which skips any
  // longer header or colour masks in front of them. The file must hold them
  // behind its own two headers, or the "rows" would be header bytes or lie
  // before the start of the buffer.
  const std::int64_t tail = static_cast<std::int64_t>(PaletteEntriesForDepth(bitCount)) * 4 +
                            RowBytesFor(static_cast<std::int64_t>(width) * bitCount) * height;
  if (static_cast<std::int64_t>(bytes.size()) < kFileHeaderSize + kInfoHeaderSize + tail) {
    return false;
  }
  if (!CreateBlank(width, height, bitCount)) return false;
  // The header stays the one built from the values read above, so every
  // later size computation agrees with the buffer's length.
  std::copy(bytes.end() - tail, bytes.end(), dibBytes_.begin() + kInfoHeaderSize);
  return true;
}

bool BitmapCanvas::LoadFromPixels(const BgraImage& image, int bitCount) {
  Reset();
  if (!IsSupportedBitDepth(bitCount) || image.width <= 0 || image.height <= 0) return false;
  const std::uint64_t expected =
      static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(image.height) * 4;
  if (image.pixels.size() != expected) return false;
  if (!CreateBlank(image.width, image.height, bitCount)) return false;

  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* src = image.pixels.data() + static_cast<std::size_t>(y) * image.width * 4;
    if (bitCount == 32) {
      // Same layout as the surface: the row is copied with its alpha.
      std::memcpy(dibBytes_.data() + RowStart(y), src, static_cast<std::size_t>(image.width) * 4);
      continue;
    }
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = src + static_cast<std::size_t>(x) * 4;
      WritePixel(x, y, MakeColour(p[2], p[1], p[0]));
    }
  }
  return true;
}

bool BitmapCanvas::LoadFromSource(PixelSource& source, int left, int top, int right, int bottom,
                                  int bitCount) {
  Reset();
  if (!IsSupportedBitDepth(bitCount)) return false;
  const std::int64_t width = static_cast<std::int64_t>(right) - left;
  const std::int64_t height = static_cast<std::int64_t>(bottom) - top;
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return false;
  std::optional<BgraImage> grabbed =
      source.Grab(left, top, static_cast<int>(width), static_cast<int>(height));
  if (!grabbed || grabbed->width != width || grabbed->height != height) return false;
  return LoadFromPixels(*grabbed, bitCount);
}

bool BitmapCanvas::CaptureRegion(PixelSource& source, int x, int y, int width, int height,
                                 int bitCount) {
  Reset();
  const std::int64_t w = width < 0 ? static_cast<std::int64_t>(source.Width()) - x : width;
  const std::int64_t h = height < 0 ? static_cast<std::int64_t>(source.Height()) - y : height;
  const std::int64_t right = x + w;
  const std::int64_t bottom = y + h;
  if (w <= 0 || h <= 0 || right > INT32_MAX || bottom > INT32_MAX) return false;
  return LoadFromSource(source, x, y, static_cast<int>(right), static_cast<int>(bottom), bitCount);
}

bool BitmapCanvas::ConvertBitDepth(int bitCount) {
  if (IsEmpty() || !IsSupportedBitDepth(bitCount)) return false;
  const int from = GetBitCount();
  if (from == bitCount && from > 8) return true;
  BitmapCanvas converted;
  if (!converted.CreateBlank(GetWidth(), GetHeight(), bitCount)) return false;
  for (int y = 0; y < GetHeight(); ++y) {
    for (int x = 0; x < GetWidth(); ++x) converted.WritePixel(x, y, ReadPixel(x, y));
  }
  dibBytes_ = std::move(converted.dibBytes_);
  return true;
}

bool BitmapCanvas::DrawTo(BitmapCanvas& target, int sourceX, int sourceY, int width, int height,
                          int targetX, int targetY) const {
  if (IsEmpty() || target.IsEmpty()) return false;
  if (&target == this) {
    // Overlapping blocks of one image: read from a snapshot, as a blit would.
    const BitmapCanvas snapshot = *this;
    return snapshot.DrawTo(target, sourceX, sourceY, width, height, targetX, targetY);
  }
  const std::int64_t w = width < 0 ? GetWidth() : width;
  const std::int64_t h = height < 0 ? GetHeight() : height;
  const std::int64_t sx = sourceX, sy = sourceY, tx = targetX, ty = targetY;
  const std::int64_t i0 = std::max<std::int64_t>({0, -sx, -tx});
  const std::int64_t j0 = std::max<std::int64_t>({0, -sy, -ty});
  const std::int64_t i1 = std::min<std::int64_t>({w, GetWidth() - sx, target.GetWidth() - tx});
  const std::int64_t j1 = std::min<std::int64_t>({h, GetHeight() - sy, target.GetHeight() - ty});
  const bool raw = SamePixelFormat(target);
  for (std::int64_t j = j0; j < j1; ++j) {
    for (std::int64_t i = i0; i < i1; ++i) {
      const int fx = static_cast<int>(sx + i), fy = static_cast<int>(sy + j);
      const int toX = static_cast<int>(tx + i), toY = static_cast<int>(ty + j);
      if (raw) {
        target.WriteRaw(toX, toY, ReadRaw(fx, fy));
      } else {
        target.WritePixel(toX, toY, ReadPixel(fx, fy));
      }
    }
  }
  return true;
}

int BitmapCanvas::GetWidth() const {
  return IsEmpty() ? 0 : static_cast<int>(ReadLe32(dibBytes_.data() + 4));
}

int BitmapCanvas::GetHeight() const {
  return IsEmpty() ? 0 : static_cast<int>(ReadLe32(dibBytes_.data() + 8));
}

int BitmapCanvas::GetBitCount() const { return IsEmpty() ? 0 : ReadLe16(dibBytes_.data() + 14); }

std::size_t BitmapCanvas::GetPaletteAddress() const {
  return (!IsEmpty() && GetBitCount() <= 15) ? kInfoHeaderSize : 0;
}

std::size_t BitmapCanvas::GetPaletteSize() const {
  return 4 * static_cast<std::size_t>(PaletteEntryCount(dibBytes_));
}

std::size_t BitmapCanvas::GetPixelDataAddress() const {
  return IsEmpty() ? 0 : kInfoHeaderSize + GetPaletteSize();
}

std::int64_t BitmapCanvas::GetRowBytes() const {
  if (IsEmpty()) return 0;
  const std::int64_t planes = ReadLe16(dibBytes_.data() + 12);
  return RowBytesFor(static_cast<std::int64_t>(GetWidth()) * planes * GetBitCount());
}

std::size_t BitmapCanvas::GetPixelDataSize() const {
  return static_cast<std::size_t>(GetRowBytes() * GetHeight());
}

Bytes BitmapCanvas::GetPixelData() const {
  if (IsEmpty()) return {};
  return Bytes(dibBytes_.begin() + static_cast<std::ptrdiff_t>(GetPixelDataAddress()),
               dibBytes_.end());
}

Bytes BitmapCanvas::GetBmpFile() const {
  FileHeader header;
  header.fileSize = static_cast<std::uint32_t>(kFileHeaderSize + dibBytes_.size());
  header.pixelOffset =
      static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + GetPaletteSize());
  Bytes out = FileHeaderToBytes(header);
  out.insert(out.end(), dibBytes_.begin(), dibBytes_.end());
  return out;
}

bool BitmapCanvas::Contains(int x, int y) const {
  return !IsEmpty() && x >= 0 && y >= 0 && x < GetWidth() && y < GetHeight();
}

std::size_t BitmapCanvas::RowStart(int y) const {
  // Rows are stored bottom-up: y = 0 is the last row in the buffer.
  return GetPixelDataAddress() +
         static_cast<std::size_t>(GetHeight() - 1 - y) * static_cast<std::size_t>(GetRowBytes());
}

std::uint32_t BitmapCanvas::ReadRaw(int x, int y) const {
  const std::uint8_t* row = dibBytes_.data() + RowStart(y);
  const auto ux = static_cast<std::size_t>(x);
  switch (GetBitCount()) {
    case 1:
      return (row[ux / 8] >> (7 - ux % 8)) & 1u;
    case 4:
      return (ux % 2 == 0) ? (row[ux / 2] >> 4) : (row[ux / 2] & 0x0Fu);
    case 8:
      return row[ux];
    case 16:
      return ReadLe16(row + 2 * ux);
    case 24:
      return static_cast<std::uint32_t>(row[3 * ux]) | (row[3 * ux + 1] << 8) |
             (row[3 * ux + 2] << 16);
    default:
      return ReadLe32(row + 4 * ux);
  }
}

void BitmapCanvas::WriteRaw(int x, int y, std::uint32_t raw) {
  std::uint8_t* row = dibBytes_.data() + RowStart(y);
  const auto ux = static_cast<std::size_t>(x);
  switch (GetBitCount()) {
    case 1: {
      const auto mask = static_cast<std::uint8_t>(0x80u >> (ux % 8));
      row[ux / 8] =
          static_cast<std::uint8_t>((raw & 1u) ? (row[ux / 8] | mask) : (row[ux / 8] & ~mask));
      break;
    }
    case 4:
      if (ux % 2 == 0) {
        row[ux / 2] = static_cast<std::uint8_t>((row[ux / 2] & 0x0F) | ((raw & 0x0F) << 4));
      } else {
        row[ux / 2] = static_cast<std::uint8_t>((row[ux / 2] & 0xF0) | (raw & 0x0F));
      }
      break;
    case 8:
      row[ux] = static_cast<std::uint8_t>(raw);
      break;
    case 16:
      WriteLe16(row + 2 * ux, static_cast<std::uint16_t>(raw));
      break;
    case 24:
      row[3 * ux] = static_cast<std::uint8_t>(raw);
      row[3 * ux + 1] = static_cast<std::uint8_t>(raw >> 8);
      row[3 * ux + 2] = static_cast<std::uint8_t>(raw >> 16);
      break;
    default:
      WriteLe32(row + 4 * ux, raw);
      break;
  }
}

std::uint32_t BitmapCanvas::PaletteColour(std::uint32_t index) const {
  const std::uint8_t* entry = dibBytes_.data() + kInfoHeaderSize + 4 * index;
  return MakeColour(entry[2], entry[1], entry[0]);
}

std::uint32_t BitmapCanvas::NearestPaletteIndex(std::uint32_t colour) const {
  const auto entries = static_cast<std::uint32_t>(PaletteEntryCount(dibBytes_));
  std::uint32_t best = 0;
  std::uint32_t bestDistance = UINT32_MAX;
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint32_t entry = PaletteColour(i);
    const auto d = [](std::uint32_t a, std::uint32_t b) {
      const int diff = static_cast<int>(a) - static_cast<int>(b);
      return static_cast<std::uint32_t>(diff * diff);
    };
    const std::uint32_t distance =
        d(Red(entry), Red(colour)) + d(Green(entry), Green(colour)) + d(Blue(entry), Blue(colour));
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
      if (distance == 0) break;
    }
  }
  return best;
}

bool BitmapCanvas::SamePixelFormat(const BitmapCanvas& other) const {
  if (GetBitCount() != other.GetBitCount()) return false;
  const std::size_t paletteEnd = kInfoHeaderSize + GetPaletteSize();
  return std::equal(dibBytes_.begin() + kInfoHeaderSize,
                    dibBytes_.begin() + static_cast<std::ptrdiff_t>(paletteEnd),
                    other.dibBytes_.begin() + kInfoHeaderSize);
}

std::uint32_t BitmapCanvas::ReadPixel(int x, int y) const {
  if (!Contains(x, y)) return kInvalidColour;
  const std::uint32_t raw = ReadRaw(x, y);
  switch (GetBitCount()) {
    case 1:
    case 4:
    case 8:
      return PaletteColour(raw);
    case 16:
      return MakeColour(Expand5((raw >> 10) & 31), Expand5((raw >> 5) & 31), Expand5(raw & 31));
    default:
      // Stored blue, green, red: the low three bytes hold the colour reversed.
      return MakeColour((raw >> 16) & 0xFF, (raw >> 8) & 0xFF, raw & 0xFF);
  }
}

bool BitmapCanvas::WritePixel(int x, int y, std::uint32_t colour) {
  if (!Contains(x, y)) return false;
  switch (GetBitCount()) {
    case 1:
    case 4:
    case 8:
      WriteRaw(x, y, NearestPaletteIndex(colour));
      break;
    case 16:
      WriteRaw(x, y,
               ((Red(colour) >> 3) << 10) | ((Green(colour) >> 3) << 5) | (Blue(colour) >> 3));
      break;
    default:
      WriteRaw(x, y, Blue(colour) | (Green(colour) << 8) | (Red(colour) << 16));
      break;
  }
  return true;
}

}  // namespace quillet
