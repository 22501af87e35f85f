#pragma once

// An in-memory bitmap held as a packed DIB (`dibBytes`): 40-byte info header,
// palette for 1, 4 and 8 bits per pixel, bottom-up pixel rows padded to four
// bytes. The GUI draws it by handing GetBmpFile() or the DIB bytes to its
// image classes; pixels come in through a PixelSource (screen, window,
// clipboard) or as .bmp bytes.
//
// Colours are 0x00BBGGRR values (red in the low byte). On the palette depths a
// written colour becomes the nearest palette entry (smallest squared RGB
// distance, the lower index on a tie); 16-bit pixels are 5-5-5 and read back
// with their top bits repeated in the low bits, so white stays white.

#include <cstddef>
#include <cstdint>

#include "core/graphics/dib_layout.h"
#include "core/graphics/pixel_source.h"
#include "core/text/text.h"

namespace quillet {

inline constexpr std::uint32_t kInvalidColour = 0xFFFFFFFFu;

// The largest packed DIB a canvas makes: the .bmp file size field is 32 bits
// and signed readers exist, so the whole file stays below 2 GiB.
inline constexpr std::int64_t kMaxDibBytes = 0x7FFFFFFF - kFileHeaderSize;

class BitmapCanvas {
 public:
  BitmapCanvas();

  // Drops the image; the palettes stay.
  void Reset();
  bool IsEmpty() const { return dibBytes_.empty(); }

  const Bytes& Palette2() const { return palette2_; }
  const Bytes& Palette16() const { return palette16_; }
  const Bytes& Palette256() const { return palette256_; }

  // Builds the header, the standard palette and zeroed pixel rows. False for
  // a depth other than 1, 4, 8, 16, 24 or 32, a negative size or an image
  // above kMaxDibBytes; the canvas is then unchanged.
  bool BuildImageHeader(int width, int height, int bitCount);

  // Reset, then a blank image (all pixels 0). False, leaving the canvas
  // empty, for what BuildImageHeader refuses and for a zero width or height.
  bool CreateBlank(int width, int height, int bitCount);

  // Loads .bmp file bytes. Never reads outside `bytes`; false (canvas empty)
  // for fewer than 55 bytes, a zero width or height, an unsupported depth,
  // a compressed (run-length) image or a file too short for its pixel rows.
  bool LoadFromBmpBytes(const Bytes& bytes);

  // Takes a packed DIB (40-byte info header, palette, rows: what the
  // clipboard and a DIB section hand over) as the canvas's image, checked as
  // LoadFromBmpBytes checks a file.
  bool Attach(const Bytes& packedDib);

  // What copying from a drawing surface does once it has the pixels: an
  // image of the given size and depth, each pixel converted from `pixels`.
  bool LoadFromPixels(const BgraImage& pixels, int bitCount);

  // Copies the rectangle (left, top)-(right, bottom) of `source`. Reset
  // first; false for an unsupported depth, an empty rectangle or when the
  // source cannot deliver.
  bool LoadFromSource(PixelSource& source, int left, int top, int right, int bottom, int bitCount);

  // A region of `source` with (x, y) from its top left corner; a width or
  // height below 0 means "to the source's right or bottom edge".
  bool CaptureRegion(PixelSource& source, int x, int y, int width, int height, int bitCount);

  // Converts every pixel to `bitCount` (palette depths: nearest entry of the
  // standard palette). False when empty or for an unsupported depth.
  bool ConvertBitDepth(int bitCount);

  // Copies a width x height block from (sourceX, sourceY) to (targetX,
  // targetY) on `target`, clipped to both images; a width or height below 0
  // means the whole image. False when either canvas is empty.
  bool DrawTo(BitmapCanvas& target, int sourceX = 0, int sourceY = 0, int width = -1,
              int height = -1, int targetX = 0, int targetY = 0) const;

  int GetWidth() const;
  int GetHeight() const;
  int GetBitCount() const;

  // The packed DIB itself (the image address of the original class).
  const Bytes& DibBytes() const { return dibBytes_; }

  // Offsets into DibBytes(); 0 when empty.
  std::size_t GetPaletteAddress() const;
  std::size_t GetPixelDataAddress() const;

  std::size_t GetPaletteSize() const;
  std::int64_t GetRowBytes() const;
  std::size_t GetPixelDataSize() const;
  Bytes GetPixelData() const;

  // 14-byte file header + DibBytes(). An empty canvas gives the header alone
  // (file size 14, pixel offset 54).
  Bytes GetBmpFile() const;

  // kInvalidColour outside the image or on an empty canvas.
  std::uint32_t ReadPixel(int x, int y) const;
  // False outside the image or on an empty canvas.
  bool WritePixel(int x, int y, std::uint32_t colour);

 private:
  bool Contains(int x, int y) const;
  std::size_t RowStart(int y) const;
  std::uint32_t ReadRaw(int x, int y) const;
  void WriteRaw(int x, int y, std::uint32_t raw);
  std::uint32_t PaletteColour(std::uint32_t index) const;
  std::uint32_t NearestPaletteIndex(std::uint32_t colour) const;
  bool SamePixelFormat(const BitmapCanvas& other) const;

  Bytes palette2_;
  Bytes palette16_;
  Bytes palette256_;
  Bytes dibBytes_;
};

}  // namespace quillet
