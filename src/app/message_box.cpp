#include "app/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

namespace kovra::app {
namespace {

QMessageBox::Icon icon_of(shell::msg_icon icon) {
  switch (icon) {
  case shell::msg_icon::error: return QMessageBox::Critical;
  case shell::msg_icon::question: return QMessageBox::Question;
  case shell::msg_icon::exclamation: return QMessageBox::Warning;
  case shell::msg_icon::information: return QMessageBox::Information;
  case shell::msg_icon::none: break;
  }
  return QMessageBox::NoIcon;
}

const char* result_property = "kovra_result";
const char* answer_property = "kovra_answer";

} // namespace

std::unique_ptr<QMessageBox> make_message_box(const shell::message_request& r, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  // The answer is the button the user pressed; a box closed otherwise is a Cancel.
  QObject::connect(box.get(), &QMessageBox::buttonClicked, box.get(), [b = box.get()](QAbstractButton* clicked) {
    b->setProperty(answer_property, clicked->property(result_property));
  });
  box->setIcon(icon_of(r.icon));
  box->setWindowTitle(QString::fromStdString(r.caption));
  box->setText(QString::fromStdString(r.text));
  if (r.topmost) box->setWindowFlag(Qt::WindowStaysOnTopHint);
  using B = QMessageBox;
  auto add = [&](B::StandardButton b, int result) { box->addButton(b)->setProperty(result_property, result); };
  const bool cancel = r.buttons == shell::msg_buttons::ok_cancel || r.buttons == shell::msg_buttons::yes_no_cancel;
  if (r.choice) {
    box->addButton(QString::fromStdString(r.first_button), B::YesRole)->setProperty(result_property, int(shell::result_ok));
    box->addButton(QString::fromStdString(r.second_button), B::NoRole)->setProperty(result_property, int(shell::result_no));
    if (cancel) add(B::Cancel, shell::result_cancel);
    return box;
  }
  switch (r.buttons) {
  case shell::msg_buttons::ok: add(B::Ok, shell::result_ok); break;
  case shell::msg_buttons::ok_cancel: add(B::Ok, shell::result_ok); add(B::Cancel, shell::result_cancel); break;
  case shell::msg_buttons::yes_no: add(B::Yes, shell::result_ok); add(B::No, shell::result_no); break;
  case shell::msg_buttons::yes_no_cancel:
    add(B::Yes, shell::result_ok);
    add(B::No, shell::result_no);
    add(B::Cancel, shell::result_cancel);
    break;
  }
  return box;
}

int message_result(const QMessageBox& box) {
  QVariant v = box.property(answer_property);
  return v.isValid() ? v.toInt() : shell::result_cancel;
}

int gui_message_sink::ask(const shell::message_request& request) {
  auto box = make_message_box(request);  // without an owner: shown even while a progress window disables the others
  if (on_show) on_show(*box);
  box->exec();
  return message_result(*box);
}

void gui_fatal_handler::fatal(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, "Error Exit", QString::fromStdString(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
  QCoreApplication::exit(1);
}

} // namespace kovra::app
