#pragma once
// Printer bytes into a file: created anew or appended to.
#include "report/print_sink.h"

#include <cstdio>
#include <string>

namespace kovra::report {

class file_sink : public print_sink {
public:
  file_sink(std::string path, bool create_anew) : path_(std::move(path)), create_(create_anew) {}
  ~file_sink() override;
  file_sink(const file_sink&) = delete;
  file_sink& operator=(const file_sink&) = delete;

  bool begin(const std::string& document_name) override;
  bool write(const char* data, std::size_t size) override;
  bool end() override;
  bool is_printer() const override { return false; }

  const std::string& path() const { return path_; }
  // Later documents are appended.
  void set_create_anew(bool create) { create_ = create; }

private:
  std::string path_;
  bool create_;
  std::FILE* file_ = nullptr;
};

} // namespace kovra::report
