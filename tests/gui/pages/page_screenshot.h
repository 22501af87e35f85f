#pragma once

// Saves a picture of a page where people look at them: the test program's
// build folder and the repository's docs/screenshots.

#include <QDir>
#include <QImage>
#include <QString>

#include "qt_test_environment.h"

namespace quillet::test {

inline bool SavePageScreenshot(const QImage& image, const QString& name) {
  const QString docs = QStringLiteral(QUILLET_TEST_DATA_DIR "/../../docs/screenshots");
  bool saved = true;
  for (const QString& folder : {ArtifactDirectory(), docs}) {
    QDir().mkpath(folder);
    saved = image.save(folder + QLatin1Char('/') + name) && saved;
  }
  return saved;
}

}  // namespace quillet::test
