#include "store/store_notice.h"

#include "store/log.h"

namespace kovra::store {

namespace {
store_notice_sink*& current() {
  static store_notice_sink* sink = nullptr;
  return sink;
}
} // namespace

void set_store_notice_sink(store_notice_sink* sink) { current() = sink; }

void store_notice(int number, const std::string& value) {
  if (current()) current()->notice(number, value);
  else log_text("message %d: %s\n", number, value.c_str());
}

} // namespace kovra::store
