#pragma once
// Where the record store's own messages go: message 180 for a restored working copy, and
// the corruption report's messages 2 (or 1 when the report could not be written), after
// which the windowed program ends. The store knows none of this; these adapters plug the
// message catalogue in.
#include "store/corruption.h"
#include "store/store_notice.h"

#include <functional>

namespace kovra::shell {

// Store notices through the catalogue; the value is a file path, shown as it is named.
class catalogue_store_notices final : public store::store_notice_sink {
public:
  void notice(int number, const std::string& value) override;
};

// Shows message 2 with the description file's path (message 1 with it when the file could
// not be written), then asks `end_program` to end the process with exit code 1. Without an
// `end_program` (kovra-cli) only the message is shown; the store call returns its error.
class catalogue_corruption_handler final : public store::corruption_handler {
public:
  explicit catalogue_corruption_handler(std::function<void(int exit_code)> end_program = {})
      : end_program_(std::move(end_program)) {}
  void corrupted(const std::string& report_path, bool report_written) override;

private:
  std::function<void(int)> end_program_;
};

} // namespace kovra::shell
