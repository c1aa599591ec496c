#pragma once
// Helpers of the window tests: one application object for the whole run (offscreen, with
// DejaVu Sans so that pictures and metrics are the same everywhere), a program started in a
// folder of its own with scripted answers, and the demo estimates copied there.
#include "app/program.h"
#include "shell/message_sink.h"
#include "shell/temp_folder.h"

#include <QApplication>
#include <functional>
#include <string>

namespace kovra::test {

QApplication& test_app();

// Runs the event loop until `done` holds or `ms` pass; the result of `done`.
bool wait_until(const std::function<bool()>& done, int ms = 3000);

// Clicks a button of the next modal box or dialog when it shows.
void click_later(const std::function<void()>& click);

struct scripted_login : shell::login_question {
  std::function<bool(shell::login_start&)> answer = [](shell::login_start&) { return true; };
  int asked = 0;
  bool ask(shell::login_start& s) override {
    ++asked;
    return answer(s);
  }
};

// A program with its folders, socket and settings under one temporary folder.
struct program_fixture {
  temp_folder tmp;
  shell::recording_message_sink sink;
  scripted_login login;
  std::unique_ptr<app::kovra_program> program;

  program_fixture();
  ~program_fixture();
  shell::startup_input input(std::vector<std::string> files = {}) const;
  // A new program object, started; the start's result (-1: running).
  int start(std::vector<std::string> files = {});
  void stop();
  app::Tfrm_main& main() const;
  // A demo estimate ("demo_house", "demo_compound") copied into the folder under `name`.
  std::string demo(const std::string& which, const std::string& name = "") const;
  std::string user_folder() const { return tmp.path() + "user/"; }
  std::string socket() const { return tmp.path() + "kovra.sock"; }
};

} // namespace kovra::test
