#pragma once
// The private temporary file that holds the recorded pages of one report.
//
// The file is created with a unique name ("PRN" + random letters) in the temporary folder
// (the program folder when there is none) and its name is removed at once, so the file is
// gone when it is closed, also when the process dies in the middle of a report.
#include <cstdint>
#include <memory>
#include <string>

namespace kovra::report {

class page_file {
public:
  // nullptr when no file can be made.
  static std::unique_ptr<page_file> create();
  // As create(), in the given folder only (tests use it to check the fallback and failure).
  static std::unique_ptr<page_file> create_in(const std::string& folder);
  ~page_file();
  page_file(const page_file&) = delete;
  page_file& operator=(const page_file&) = delete;

  // Appends at the end of the file. A failed write is remembered (write_failed()).
  void append(const void* data, std::size_t size);
  void append_i32(int32_t value);
  // Overwrites bytes already written.
  void write_at(int64_t offset, const void* data, std::size_t size);
  // Reads up to size bytes at offset; returns how many were read (0 past the end or on error).
  std::size_t read_at(int64_t offset, void* data, std::size_t size) const;
  // Empties the file for a new report.
  void rewind();

  int64_t size() const { return size_; }
  bool write_failed() const { return write_failed_; }

private:
  explicit page_file(int fd) : fd_(fd) {}
  int fd_;
  int64_t size_ = 0;
  bool write_failed_ = false;
};

} // namespace kovra::report
