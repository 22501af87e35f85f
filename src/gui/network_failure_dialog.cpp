#include "gui/network_failure_dialog.h"

#include <QCommandLinkButton>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/startup/restart_program.h"
#include "gui/gui_text.h"
#include "gui/pictures.h"
#include "gui/task_message.h"

namespace quillet {

namespace {

struct CommandLink {
  int id;
  const char* main;
  const char* note;
};

constexpr CommandLink kLinks[] = {
    {kChoiceRestart, "尝试重新启动", "推荐操作"},
    {kChoiceForceClose, "强制关闭程序", "慎重选择"},
    {kChoiceReport, "联机检查解决方案并关闭该程序", "反馈问题"},
};

}  // namespace

NetworkFailureDialog::NetworkFailureDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("网络连接失败"));
  setWindowTitle(Ui("错误信息"));
  // About 246 dialog units of a task dialog.
  setMinimumWidth(430);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("主图标"));
  icon->setPixmap(ErrorSignPicture(32));
  auto* instruction = new QLabel(Ui("网络连接失败，请检查防火墙重试！"), this);
  instruction->setObjectName(QStringLiteral("主说明"));
  instruction->setStyleSheet(QStringLiteral("font-size: 15px; color: #003399;"));
  instruction->setWordWrap(true);
  auto* content = new QLabel(Ui("您需要连接网络，才能正常使用盒子。"), this);
  content->setObjectName(QStringLiteral("内容"));
  content->setWordWrap(true);

  auto* head = new QHBoxLayout;
  head->addWidget(icon, 0, Qt::AlignTop);
  auto* texts = new QVBoxLayout;
  texts->addWidget(instruction);
  texts->addWidget(content);
  head->addLayout(texts, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(head);
  for (const CommandLink& link : kLinks) {
    auto* button = new QCommandLinkButton(Ui(link.main), Ui(link.note), this);
    button->setObjectName(QStringLiteral("命令链接%1").arg(link.id));
    const int id = link.id;
    connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
    if (id == kChoiceRestart) {
      // Enter restarts.
      button->setDefault(true);
      button->setFocus();
    } else {
      button->setAutoDefault(false);
    }
    layout->addWidget(button);
  }

  details_ = new QLabel(
      Ui("您无法在无联网状态下使用盒子，因为那样会导致部分显示的异常，功能的无法使用!"), this);
  details_->setObjectName(QStringLiteral("展开信息"));
  details_->setWordWrap(true);

  detailsToggle_ = new QPushButton(this);
  detailsToggle_->setObjectName(QStringLiteral("详细信息按钮"));
  detailsToggle_->setFlat(true);
  detailsToggle_->setAutoDefault(false);
  connect(detailsToggle_, &QPushButton::clicked, this, &NetworkFailureDialog::ToggleDetails);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Yes, this);
  buttons->setObjectName(QStringLiteral("通用按钮"));
  for (QAbstractButton* b : buttons->buttons()) {
    if (auto* push = qobject_cast<QPushButton*>(b)) push->setAutoDefault(false);
  }
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Yes)->setObjectName(QStringLiteral("是"));
  connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this,
          [this] { done(kIdOk); });
  connect(buttons->button(QDialogButtonBox::Yes), &QPushButton::clicked, this,
          [this] { done(kIdYes); });

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(detailsToggle_);
  bottom->addStretch(1);
  bottom->addWidget(buttons);
  layout->addLayout(bottom);
  layout->addWidget(details_);

  // The explanation is open at first.
  details_->setVisible(true);
  detailsToggle_->setText(Ui("隐藏错误详细信息"));
}

bool NetworkFailureDialog::DetailsShown() const { return !details_->isHidden(); }

void NetworkFailureDialog::reject() { done(kIdCancel); }

void NetworkFailureDialog::ToggleDetails() {
  const bool show = details_->isHidden();
  details_->setVisible(show);
  detailsToggle_->setText(show ? Ui("隐藏错误详细信息") : Ui("显示错误详细信息"));
  adjustSize();
}

FailureOutcome ActOnFailureChoice(int choice, FailureActions& actions) {
  switch (choice) {
    case kChoiceRestart:
      // Even when the script could not be written or started the process
      // ends at once; only a missing program file ends it normally.
      return RestartProgram(actions.runDirectory, actions.launcher) == RestartResult::kNoProgramFile
                 ? FailureOutcome::kReturn
                 : FailureOutcome::kTerminateAtOnce;
    case kChoiceForceClose:
      return FailureOutcome::kEndProcess;
    case kChoiceReport:
      actions.shell.OpenUrl(actions.communityUrl);
      return FailureOutcome::kEndProcess;
    case kIdOk:
    case kIdYes:
      return FailureOutcome::kEndProcess;
    default:
      return FailureOutcome::kReturn;
  }
}

}  // namespace quillet
