#include "gui/gui_text.h"

#include "core/text/encodings.h"

namespace quillet {

QString ToQString(const Text& text) {
  return QString::fromStdString(ConvertCharset(text, "CP936", "UTF-8"));
}

Text FromQString(const QString& text) {
  return ConvertCharset(text.toStdString(), "UTF-8", "CP936");
}

}  // namespace quillet
