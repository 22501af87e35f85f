#pragma once

// Short modal messages: errors, success notices and one confirmation. The
// windows call ShowTaskMessage; what actually shows the message is a
// presenter, so tests answer the dialogs themselves.

#include <cstdint>

#include "core/text/text.h"

class QWidget;

namespace quillet {

// Common-button flags and the identifiers of the pressed button.
inline constexpr int kButtonOk = 1;
inline constexpr int kButtonYes = 2;
inline constexpr int kButtonNo = 4;
inline constexpr int kButtonCancel = 8;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr int kNoDialog = -1;

// The marks, as 16-bit resource numbers of negative value.
inline constexpr int kIconError = 0xFFF9;        // red header band
inline constexpr int kIconSuccess = 0xFFF8;      // green header band
inline constexpr int kIconInformation = 0xFFFD;  // information sign

struct TaskMessage {
  QWidget* owner = nullptr;
  Text mainInstruction;
  Text title;
  Text content;
  int buttons = 0;
  int icon = 0;
};

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  // Shows the message modally; the pressed button's identifier, or
  // kNoDialog when nothing could be shown.
  virtual int Present(const TaskMessage& message) = 0;
};

// Shows messages through a presenter. The instance handle is carried for
// callers written against the seven-argument form; nothing uses it.
class TaskMessages {
 public:
  explicit TaskMessages(MessagePresenter& presenter) : presenter_(presenter) {}
  int ShowTaskMessage(QWidget* owner = nullptr, const Text& mainInstruction = {},
                      const Text& title = {}, const Text& content = {}, int buttons = 0,
                      std::uintptr_t instance = 0, int icon = 0);

 private:
  MessagePresenter& presenter_;
};

// The desktop presenter: a QMessageBox with the title, the main line in large
// type, the content below and a mark drawn for the icon number.
class DialogMessagePresenter final : public MessagePresenter {
 public:
  int Present(const TaskMessage& message) override;
};

}  // namespace quillet
