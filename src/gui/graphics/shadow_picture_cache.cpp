#include "gui/graphics/shadow_picture_cache.h"

#include "core/graphics/shadow_pictures.h"
#include "gui/graphics/qt_image_decoder.h"

namespace quillet {

const QImage* ShadowPictureFrom(GdipImage& holder, int size) {
  if (holder.GetImageHandle() == nullptr && !holder.LoadFromBytes(ShadowPicturePng(size))) {
    return nullptr;
  }
  return DecodedQImage(holder);
}

}  // namespace quillet
