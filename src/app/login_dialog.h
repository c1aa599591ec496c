#pragma once
// Tdlg_login: the start-up login (mode 0), the password of a protected estimate (mode 1)
// and the choice of a new password (mode 2).
#include "document/estimate_doc.h"
#include "shell/login_flow.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kovra::app {

enum login_mode : int { mode_login = 0, mode_check = 1, mode_choose = 2 };

class Tdlg_login : public QDialog {
public:
  // `start` only in mode 0 (its users and plan); `file_name` only in mode 1.
  Tdlg_login(int mode, shell::login_start* start = nullptr, const std::string& file_name = "",
             QWidget* parent = nullptr);

  int mode() const { return mode_; }
  uint32_t chosen_value() const { return chosen_value_; }  // mode 2, after success
  QString typed_password() const;

  QLabel* lbl_user;
  QLineEdit* edt_user;
  QComboBox* combo_user;
  QLabel* lbl_pswrd;
  QLineEdit* edt_pswrd;
  QLabel* lbl_top;
  QLabel* lbl_centre;
  QLabel* lbl_bottom;
  QPushButton* btn_ok;
  QPushButton* btn_cancel;
  QPushButton* btn_delete;

  void done(int result) override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void btn_ok_click();
  void btn_delete_click();

  int mode_;
  shell::login_start* start_;
  uint32_t chosen_value_ = 0;
};

// The start-up question answered with the dialog. `on_show` sees the dialog before it
// runs (tests answer it there).
class gui_login_question : public shell::login_question {
public:
  bool ask(shell::login_start& start) override;
  std::function<void(Tdlg_login&)> on_show;
};

// A protected estimate's password asked with the dialog in mode 1.
class gui_password_question : public document::password_question {
public:
  std::optional<std::string> ask(const std::string& path) override;
  std::function<void(Tdlg_login&)> on_show;
};

} // namespace kovra::app
