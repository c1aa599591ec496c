#pragma once
// Catalogue messages, fatal errors and store notices as boxes on the screen.
#include "shell/message_sink.h"
#include "store/log.h"

#include <functional>
#include <memory>

#include <QMessageBox>

namespace kovra::app {

// The box of a request: the kind's icon, buttons and caption (kind 10 stays on top);
// msg_choice boxes carry the caller's texts on their first two buttons.
std::unique_ptr<QMessageBox> make_message_box(const shell::message_request& request, QWidget* parent = nullptr);
// 13 for OK/Yes (or the first choice), 32 for No (or the second), 27 for Cancel or a closed box.
int message_result(const QMessageBox& box);

// Shows every catalogue message as a modal box. `on_show`, when set, sees each box just
// before it runs (tests answer it from there).
class gui_message_sink : public shell::message_sink {
public:
  int ask(const shell::message_request& request) override;
  std::function<void(QMessageBox&)> on_show;
};

// fatal_error: the text in an "Error Exit" box, then the program quits with exit code 1.
class gui_fatal_handler : public store::fatal_handler {
public:
  void fatal(const std::string& text) override;
};

} // namespace kovra::app
