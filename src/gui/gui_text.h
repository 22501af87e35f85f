#pragma once

// The one crossing between the program's code page 936 texts and Qt's UTF-16
// strings. Everything behind the windows keeps Text; only widgets see QString.

#include <QString>

#include "core/text/text.h"

namespace quillet {

QString ToQString(const Text& text);
Text FromQString(const QString& text);

// A UTF-8 literal of the program's own, straight to the widget side.
inline QString Ui(const char* utf8) { return ToQString(Gbk(utf8)); }

}  // namespace quillet
