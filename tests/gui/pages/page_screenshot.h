#pragma once

// Saves a picture of a page into the test program's build folder, and also
// into $QUILLET_SCREENSHOT_DIR when it is set (scripts/update-screenshots
// points it at docs/screenshots): an ordinary test run never writes into the
// source tree.

#include <QDir>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "qt_test_environment.h"

namespace quillet::test {

inline bool SavePageScreenshot(const QImage& image, const QString& name) {
  QStringList folders{ArtifactDirectory()};
  const QString extra = qEnvironmentVariable("QUILLET_SCREENSHOT_DIR");
  if (!extra.isEmpty()) folders.append(extra);
  bool saved = true;
  for (const QString& folder : folders) {
    QDir().mkpath(folder);
    saved = image.save(folder + QLatin1Char('/') + name) && saved;
  }
  return saved;
}

}  // namespace quillet::test
