#include "report/page_file.h"

#include "report/raport_buffer.h"
#include "store/paths.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace kovra::report {

namespace {

std::string temp_folder() {
  std::error_code ec;
  const auto path = std::filesystem::temp_directory_path(ec);
  const std::string text = ec ? std::string() : path.string();
  if (text.empty() || text.size() > 260) return store::program_file("");
  return store::add_backslash(text);
}

} // namespace

std::unique_ptr<page_file> page_file::create() {
  if (auto file = create_in(temp_folder())) return file;
  return create_in(store::program_file(""));
}

std::unique_ptr<page_file> page_file::create_in(const std::string& folder) {
  std::string name = store::add_backslash(folder) + "PRNXXXXXX";
  std::vector<char> buf(name.begin(), name.end());
  buf.push_back('\0');
  const int fd = mkostemp(buf.data(), O_CLOEXEC);
  if (fd < 0) return nullptr;
  // Nobody else needs the name: without it the file disappears with its last handle.
  ::unlink(buf.data());
  return std::unique_ptr<page_file>(new page_file(fd));
}

page_file::~page_file() { ::close(fd_); }

void page_file::append(const void* data, std::size_t size) {
  write_at(size_, data, size);
}

void page_file::append_i32(int32_t value) {
  uint8_t b[4];
  store_i32(b, value);
  append(b, 4);
}

void page_file::write_at(int64_t offset, const void* data, std::size_t size) {
  // Offsets inside the file are 32-bit: a report that would outgrow them is a failed write.
  if (offset < 0 || offset + static_cast<int64_t>(size) > INT32_MAX) {
    write_failed_ = true;
    return;
  }
  const auto* p = static_cast<const char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pwrite(fd_, p + done, size - done, static_cast<off_t>(offset + done));
    if (n <= 0) {
      write_failed_ = true;
      return;
    }
    done += static_cast<std::size_t>(n);
  }
  if (offset + static_cast<int64_t>(size) > size_) size_ = offset + static_cast<int64_t>(size);
}

std::size_t page_file::read_at(int64_t offset, void* data, std::size_t size) const {
  if (offset < 0) return 0;
  auto* p = static_cast<char*>(data);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd_, p + done, size - done, static_cast<off_t>(offset + done));
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

void page_file::rewind() {
  if (::ftruncate(fd_, 0) != 0) write_failed_ = true;
  size_ = 0;
}

} // namespace kovra::report
