#pragma once
// Where printer bytes go: a printer queue, a file, or memory (tests, benchmarks).
// A sink takes one document at a time: begin, any number of writes, end.
#include <cstddef>
#include <cstdio>
#include <string>

namespace kovra::report {

class print_sink {
public:
  virtual ~print_sink() = default;
  // Starts a document; false when the output cannot be opened.
  virtual bool begin(const std::string& document_name) = 0;
  // False when the bytes could not be sent.
  virtual bool write(const char* data, std::size_t size) = 0;
  // Ends the document; false when it could not be finished.
  virtual bool end() = 0;
  // True for a printer, false for a file.
  virtual bool is_printer() const = 0;
};

// Keeps every document's bytes in one string (documents follow each other).
class memory_sink : public print_sink {
public:
  explicit memory_sink(bool printer = true) : printer_(printer) {}
  bool begin(const std::string& document_name) override;
  bool write(const char* data, std::size_t size) override;
  bool end() override;
  bool is_printer() const override { return printer_; }

  const std::string& bytes() const { return bytes_; }
  int documents() const { return documents_; }
  const std::string& last_document_name() const { return name_; }
  // Makes writes fail from `offset` bytes on (a printer that goes off line).
  void fail_after(std::size_t offset) { fail_after_ = offset; }
  void fail_begin(bool fail) { fail_begin_ = fail; }

private:
  bool printer_;
  std::string bytes_;
  std::string name_;
  int documents_ = 0;
  bool open_ = false;
  bool fail_begin_ = false;
  std::size_t fail_after_ = std::string::npos;
};

} // namespace kovra::report
