#pragma once

// The window shadow's stored pictures live in the program state's two
// GdipImage objects (size 5 and size 10). They are decoded on first use and
// kept until the state is released.

#include <QImage>

#include "core/graphics/gdip_image.h"

namespace quillet {

// The picture for shadow size 5 or 10 held by `holder`, decoded from the
// stored PNG bytes when `holder` has none yet; null for another size or when
// decoding fails (the holder then stays empty and the next call tries again).
const QImage* ShadowPictureFrom(GdipImage& holder, int size);

}  // namespace quillet
