#include "report/file_sink.h"

namespace kovra::report {

file_sink::~file_sink() {
  if (file_) std::fclose(file_);
}

bool file_sink::begin(const std::string&) {
  if (file_) std::fclose(file_);
  file_ = std::fopen(path_.c_str(), create_ ? "wb" : "ab");
  return file_ != nullptr;
}

bool file_sink::write(const char* data, std::size_t size) {
  return file_ && std::fwrite(data, 1, size, file_) == size;
}

bool file_sink::end() {
  if (!file_) return false;
  const bool ok = std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok && closed;
}

} // namespace kovra::report
