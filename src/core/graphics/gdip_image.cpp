#include "core/graphics/gdip_image.h"

namespace quillet {

namespace {
// Nothing shorter is a picture in any format the program draws; the check
// spares the decoder empty and stub inputs.
constexpr std::size_t kMinImageBytes = 5;
}  // namespace

bool GdipImage::LoadFromBytes(const Bytes& bytes) {
  Release();
  if (bytes.size() < kMinImageBytes) return false;
  image_ = decoder_->Decode(bytes);
  return image_ != nullptr;
}

void GdipImage::Release() {
  image_.reset();
  width_ = 0;
  height_ = 0;
}

void GdipImage::GetSize() {
  width_ = image_->Width();
  height_ = image_->Height();
  if (width_ <= 0 || height_ <= 0) Release();
}

int GdipImage::GetWidth() {
  if (image_ && width_ == 0) GetSize();
  return width_;
}

int GdipImage::GetHeight() {
  if (image_ && height_ == 0) GetSize();
  return height_;
}

}  // namespace quillet
