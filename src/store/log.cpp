#include "store/log.h"

#include <cstdarg>
#include <cstdio>

namespace kovra::store {

namespace {

class stderr_fatal_handler final : public fatal_handler {
public:
  void fatal(const std::string& text) override { std::fprintf(stderr, "Error Exit: %s\n", text.c_str()); }
};

struct log_state {
  std::string folder;
  std::FILE* file = nullptr;
  bool open_failed = false;  // one attempt only: a log that cannot be opened is not retried
  bool fatal_raised = false;
  std::string fatal_text;
  fatal_handler* handler = nullptr;
};

log_state& state() {
  static log_state s;
  return s;
}

fatal_handler& current_handler() {
  static stderr_fatal_handler fallback;
  log_state& s = state();
  return s.handler ? *s.handler : fallback;
}

// The log is opened on first use (created or truncated) and then kept open.
std::FILE* log_file() {
  log_state& s = state();
  if (s.file || s.open_failed) return s.file;
  const std::string path = log_path();
  s.file = std::fopen(path.c_str(), "wb");
  if (!s.file) {
    s.open_failed = true;
    fatal_error("Nie mozna otworzyc zbioru: %s\n", path.c_str());
  }
  return s.file;
}

void write_log(const char* text, size_t length) {
  if (std::FILE* f = log_file()) std::fwrite(text, 1, length, f);
}

// vsnprintf into a fixed buffer; returns the number of characters kept.
size_t format_bounded(char* out, size_t size, const char* format, va_list args) {
  int n = std::vsnprintf(out, size, format, args);
  if (n < 0) {
    out[0] = '\0';
    return 0;
  }
  return size_t(n) < size ? size_t(n) : size - 1;
}

} // namespace

void set_program_folder(const std::string& folder) { state().folder = folder; }
const std::string& program_folder() { return state().folder; }

void set_fatal_handler(fatal_handler* handler) { state().handler = handler; }

std::string log_path() { return state().folder + "LOG.LOG"; }

void log_text(const char* format, ...) {
  char buffer[501];
  va_list args;
  va_start(args, format);
  size_t n = format_bounded(buffer, sizeof buffer, format, args);
  va_end(args);
  write_log(buffer, n);
}

void fatal_error(const char* format, ...) {
  char buffer[513];
  va_list args;
  va_start(args, format);
  size_t n = format_bounded(buffer, sizeof buffer, format, args);
  va_end(args);

  log_state& s = state();
  s.fatal_raised = true;
  s.fatal_text.assign(buffer, n);

  static const char prefix[] = "\nError Exit: ";
  write_log(prefix, sizeof prefix - 1);
  write_log(buffer, n);
  write_log("\n", 1);
  // The windowed program ends soon after this; the text must reach the disk first.
  flush_log();

  current_handler().fatal(s.fatal_text);
}

bool fatal_error_raised() { return state().fatal_raised; }
const std::string& last_fatal_text() { return state().fatal_text; }

void flush_log() {
  if (state().file) std::fflush(state().file);
}

void reset_log_state() {
  log_state& s = state();
  if (s.file) std::fclose(s.file);
  s.file = nullptr;
  s.open_failed = false;
  s.fatal_raised = false;
  s.fatal_text.clear();
}

} // namespace kovra::store
