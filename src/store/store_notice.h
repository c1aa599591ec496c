#pragma once
// Catalogue messages the store must show on its own (the leftover working copy, message
// 180). The store does not know the catalogue: the program installs a sink that does.
#include <string>

namespace kovra::store {

class store_notice_sink {
public:
  virtual ~store_notice_sink() = default;
  // Shows catalogue message `number` with one value: a file path as the system names it
  // (UTF-8), never converted to the internal code page.
  virtual void notice(int number, const std::string& value) = 0;
};

// nullptr: messages are only written to the log.
void set_store_notice_sink(store_notice_sink* sink);
void store_notice(int number, const std::string& value);

} // namespace kovra::store
