#pragma once
// The program's log file and the fatal-error path.
//
// fatal_error() never ends the process: it writes the log, tells the installed
// fatal_handler and returns. The windowed program's handler shows the text and
// asks the event loop to quit; kovra-cli and the tests keep the text and let the
// failing call return its error.
#include <string>

namespace kovra::store {

class fatal_handler {
public:
  virtual ~fatal_handler() = default;
  // `text` is what the user is shown (caption "Error Exit").
  virtual void fatal(const std::string& text) = 0;
};

// The folder of the program (ends in "/"): LOG.LOG and the corruption report go there.
void set_program_folder(const std::string& folder);
const std::string& program_folder();

// Installs the handler (nullptr: the default, which writes to standard error).
void set_fatal_handler(fatal_handler* handler);

// Formats at most 500 characters and appends them to "LOG.LOG" in the program folder.
void log_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats at most 512 characters, logs "\nError Exit: <text>\n" and calls the handler.
void fatal_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True once fatal_error has run since the last reset (the quit request of the windowed program).
bool fatal_error_raised();
const std::string& last_fatal_text();

// Full path of the log: program folder + "LOG.LOG".
std::string log_path();
// Pushes buffered log text to the file (the log itself never flushes on its own).
void flush_log();

// Closes the log and forgets the fatal state: for tests and for kovra-cli between files.
void reset_log_state();

} // namespace kovra::store
