#include "gui/task_message.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "gui/gui_text.h"
#include "gui/pictures.h"

namespace quillet {

namespace {

struct ButtonChoice {
  int flag;
  QMessageBox::StandardButton button;
  int id;
};

constexpr ButtonChoice kChoices[] = {
    {kButtonOk, QMessageBox::Ok, kIdOk},
    {kButtonYes, QMessageBox::Yes, kIdYes},
    {kButtonNo, QMessageBox::No, kIdNo},
    {kButtonCancel, QMessageBox::Cancel, kIdCancel},
};

}  // namespace

int TaskMessages::ShowTaskMessage(QWidget* owner, const Text& mainInstruction, const Text& title,
                                  const Text& content, int buttons, std::uintptr_t /*instance*/,
                                  int icon) {
  TaskMessage message{owner, mainInstruction, title, content, buttons, icon};
  return presenter_.Present(message);
}

int DialogMessagePresenter::Present(const TaskMessage& message) {
  QMessageBox box(message.owner);
  box.setObjectName(QStringLiteral("TaskMessage"));
  box.setWindowTitle(ToQString(message.title));
  box.setTextFormat(Qt::PlainText);
  // An empty main line still shows the dialog with its title and content.
  box.setText(ToQString(message.mainInstruction));
  box.setInformativeText(ToQString(message.content));
  switch (message.icon & 0xFFFF) {
    case kIconError:
      box.setIconPixmap(MarkPicture(Mark::kError, 40));
      break;
    case kIconSuccess:
      box.setIconPixmap(MarkPicture(Mark::kSuccess, 40));
      break;
    case kIconInformation:
      box.setIconPixmap(MarkPicture(Mark::kInformation, 40));
      break;
    default:
      break;
  }

  QMessageBox::StandardButtons standard;
  for (const ButtonChoice& c : kChoices) {
    if (message.buttons & c.flag) standard |= c.button;
  }
  // No flag at all still gives the user a way out, as a task dialog does.
  if (standard == QMessageBox::NoButton) standard = QMessageBox::Ok;
  box.setStandardButtons(standard);
  box.setWindowModality(Qt::WindowModal);
  box.exec();
  QAbstractButton* pressed = box.clickedButton();
  if (pressed == nullptr) return kIdCancel;
  const QMessageBox::StandardButton which = box.standardButton(pressed);
  for (const ButtonChoice& c : kChoices) {
    if (c.button == which) return c.id;
  }
  return kIdCancel;
}

}  // namespace quillet
