#pragma once

// "盒子通行证": register a new account or sign in. Opened by start-up as the
// first window, and again from the main window's Login button as a modal
// dialog.

#include <QDialog>
#include <functional>

#include "core/startup/remembered_account.h"
#include "core/text/text.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QThread;

namespace quillet {

struct AppContext;
class MainWindow;

// Where a successful sign-in lands: the main window that shows the session.
class SessionHost {
 public:
  virtual ~SessionHost() = default;
  // The main window for a new session: the one already open, or a newly
  // created one. Null when none can be had (another copy of the program
  // holds the main window); the program is then ending.
  virtual MainWindow* MainWindowForSignIn() = 0;
};

class BoxPassWindow final : public QDialog {
  Q_OBJECT
 public:
  BoxPassWindow(AppContext& context, SessionHost& host, QWidget* parent = nullptr);
  ~BoxPassWindow() override;

  // The window's creation work: `updateCheck` first (false: the program is
  // handing over to the updater, nothing else happens and false comes
  // back), then the set-up worker, which enables the buttons when done.
  bool RunCreation(const std::function<bool()>& updateCheck);

  // True once the set-up worker has finished and the buttons are enabled.
  bool Ready() const { return ready_; }

 signals:
  void setUpFinished();
  void signedIn();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  struct SetUpResult {
    Text accountNumber;
    Text machineCode;
    RememberedAccount remembered;
  };

  void StartSetUp();
  void FinishSetUp(const SetUpResult& result);
  void Register();
  void SignIn();
  void SetBusy(bool busy);
  std::string AccountFilePath() const;

  AppContext& context_;
  SessionHost& host_;
  QTabWidget* tabs_ = nullptr;
  QLabel* accountNumber_ = nullptr;
  QLineEdit* nickname_ = nullptr;
  QLineEdit* password_ = nullptr;
  QLineEdit* passwordAgain_ = nullptr;
  QPushButton* registerButton_ = nullptr;
  QLineEdit* account_ = nullptr;
  QLineEdit* signInPassword_ = nullptr;
  QCheckBox* autoLogOn_ = nullptr;
  QCheckBox* rememberAccount_ = nullptr;
  QPushButton* signInButton_ = nullptr;
  QThread* worker_ = nullptr;
  bool ready_ = false;
  bool busy_ = false;
};

}  // namespace quillet
