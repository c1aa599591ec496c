#pragma once
// Raw printer output through CUPS: the bytes go to the queue unchanged (format
// "application/vnd.cups-raw"), so the printer gets exactly its own control codes.
#include "report/print_sink.h"

#include <string>
#include <vector>

namespace kovra::report {

struct printer_queue {
  std::string name;
  std::string info;      // the queue's description
  std::string location;
  bool is_default = false;
};

// The queues CUPS knows (empty when there is no CUPS service).
std::vector<printer_queue> printer_queues();
// The default queue's name; empty when none.
std::string default_printer_queue();

class cups_sink : public print_sink {
public:
  // An empty queue name means the default queue.
  explicit cups_sink(std::string queue) : queue_(std::move(queue)) {}
  ~cups_sink() override;
  cups_sink(const cups_sink&) = delete;
  cups_sink& operator=(const cups_sink&) = delete;

  bool begin(const std::string& document_name) override;
  bool write(const char* data, std::size_t size) override;
  bool end() override;
  bool is_printer() const override { return true; }

private:
  void cancel();

  std::string queue_;
  std::string active_queue_;
  int job_ = 0;
};

} // namespace kovra::report
