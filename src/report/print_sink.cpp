#include "report/print_sink.h"

namespace kovra::report {

bool memory_sink::begin(const std::string& document_name) {
  if (fail_begin_) return false;
  name_ = document_name;
  open_ = true;
  ++documents_;
  return true;
}

bool memory_sink::write(const char* data, std::size_t size) {
  if (!open_) return false;
  if (fail_after_ != std::string::npos && bytes_.size() + size > fail_after_) {
    bytes_.append(data, fail_after_ > bytes_.size() ? fail_after_ - bytes_.size() : 0);
    return false;
  }
  bytes_.append(data, size);
  return true;
}

bool memory_sink::end() {
  const bool was_open = open_;
  open_ = false;
  return was_open;
}

} // namespace kovra::report
