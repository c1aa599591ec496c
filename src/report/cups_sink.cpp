#include "report/cups_sink.h"

#include <cups/cups.h>

namespace kovra::report {

std::vector<printer_queue> printer_queues() {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  std::vector<printer_queue> queues;
  for (int i = 0; i < count; ++i) {
    const cups_dest_t& d = dests[i];
    if (d.instance) continue;
    printer_queue q;
    q.name = d.name ? d.name : "";
    const char* info = cupsGetOption("printer-info", d.num_options, d.options);
    const char* location = cupsGetOption("printer-location", d.num_options, d.options);
    q.info = info ? info : "";
    q.location = location ? location : "";
    q.is_default = d.is_default != 0;
    queues.push_back(std::move(q));
  }
  cupsFreeDests(count, dests);
  return queues;
}

std::string default_printer_queue() {
  for (const auto& q : printer_queues())
    if (q.is_default) return q.name;
  return {};
}

cups_sink::~cups_sink() { cancel(); }

void cups_sink::cancel() {
  if (job_ > 0) cupsCancelJob2(CUPS_HTTP_DEFAULT, active_queue_.c_str(), job_, 0);
  job_ = 0;
}

bool cups_sink::begin(const std::string& document_name) {
  cancel();
  active_queue_ = queue_.empty() ? default_printer_queue() : queue_;
  if (active_queue_.empty()) return false;
  job_ = cupsCreateJob(CUPS_HTTP_DEFAULT, active_queue_.c_str(), document_name.c_str(), 0, nullptr);
  if (job_ <= 0) {
    job_ = 0;
    return false;
  }
  if (cupsStartDocument(CUPS_HTTP_DEFAULT, active_queue_.c_str(), job_, document_name.c_str(), CUPS_FORMAT_RAW, 1) !=
      HTTP_STATUS_CONTINUE) {
    cancel();
    return false;
  }
  return true;
}

bool cups_sink::write(const char* data, std::size_t size) {
  return job_ > 0 && cupsWriteRequestData(CUPS_HTTP_DEFAULT, data, size) == HTTP_STATUS_CONTINUE;
}

bool cups_sink::end() {
  if (job_ <= 0) return false;
  const bool ok = cupsFinishDocument(CUPS_HTTP_DEFAULT, active_queue_.c_str()) == IPP_STATUS_OK;
  job_ = 0;  // finished or failed, the job is no longer ours to cancel
  return ok;
}

} // namespace kovra::report
