#pragma once

// The questions the updater asks; the program shows message boxes, tests
// answer from a script.

#include <QString>

class QWidget;

namespace quillet::updater {

class UpdaterPrompts {
 public:
  virtual ~UpdaterPrompts() = default;
  // A download failed: true to try it again ("重试"), false to give up.
  virtual bool AskRetry(QWidget* parent, const QString& text) = 0;
  // Everything is in place: true to start the program now.
  virtual bool AskStartProgram(QWidget* parent, const QString& text) = 0;
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

class MessageBoxPrompts final : public UpdaterPrompts {
 public:
  bool AskRetry(QWidget* parent, const QString& text) override;
  bool AskStartProgram(QWidget* parent, const QString& text) override;
  void ShowError(QWidget* parent, const QString& text) override;
};

}  // namespace quillet::updater
