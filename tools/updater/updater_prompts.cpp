#include "updater_prompts.h"

#include <QMessageBox>
#include <QPushButton>

namespace quillet::updater {

namespace {

bool AskTwoWay(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QString& yes,
               const QString& no) {
  QMessageBox box(icon, QStringLiteral("软件更新"), text, QMessageBox::NoButton, parent);
  QPushButton* yesButton = box.addButton(yes, QMessageBox::AcceptRole);
  box.addButton(no, QMessageBox::RejectRole);
  box.setDefaultButton(yesButton);
  box.exec();
  return box.clickedButton() == yesButton;
}

}  // namespace

bool MessageBoxPrompts::AskRetry(QWidget* parent, const QString& text) {
  return AskTwoWay(parent, QMessageBox::Warning, text, QStringLiteral("重试"),
                   QStringLiteral("取消更新"));
}

bool MessageBoxPrompts::AskStartProgram(QWidget* parent, const QString& text) {
  return AskTwoWay(parent, QMessageBox::Question, text, QStringLiteral("启动软件"),
                   QStringLiteral("关闭"));
}

void MessageBoxPrompts::ShowError(QWidget* parent, const QString& text) {
  QMessageBox::critical(parent, QStringLiteral("软件更新"), text);
}

}  // namespace quillet::updater
