#pragma once

// A file's desktop icon as a small picture on a solid background, delivered
// as .bmp file bytes: the icon list takes pictures as bytes.

#include <QRgb>
#include <QString>

#include "core/text/text.h"

namespace quillet {

// The icon the desktop shows for `path` (by its type), drawn stretched to
// width x height over `background`; a file without an icon gives a plain
// square of the background. The bytes are a 32-bit .bmp file (54-byte
// headers, then width x height x 4 bytes); empty for a zero or negative size.
// GUI thread only: icons are pixmaps.
Bytes FileIconPicture(const QString& path, int width, int height, QRgb background);

}  // namespace quillet
