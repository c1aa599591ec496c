#include "store/file_header.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kovra::store {

namespace {
void put16(uint8_t* p, int16_t v) {
  p[0] = uint8_t(v & 0xFF);
  p[1] = uint8_t((uint16_t(v) >> 8) & 0xFF);
}
int16_t get16(const uint8_t* p) { return int16_t(uint16_t(p[0] | (p[1] << 8))); }

file_header make_template() {
  file_header h;
  h.file_type = 0;
  h.version = CONTAINER_VERSION;
  h.revision = FORMAT_REVISION;
  std::strncpy(h.label.data(), "KOSZTORYS ", h.label.size() - 1);
  std::strncpy(h.creator.data(), CREATOR_LINE, h.creator.size() - 1);
  return h;
}
} // namespace

void encode_file_header(const file_header& h, uint8_t out[file_header_size]) {
  std::memset(out, 0, file_header_size);
  out[0] = uint8_t(h.magic[0]);
  out[1] = uint8_t(h.magic[1]);
  out[2] = h.file_type;
  put16(out + 3, h.version);
  put16(out + 5, h.revision);
  out[7] = h.open_count;
  out[8] = h.flags;
  std::memcpy(out + 9, h.label.data(), h.label.size());
  std::memcpy(out + 28, h.creator.data(), h.creator.size());
  std::memcpy(out + 69, h.description.data(), h.description.size());
}

file_header decode_file_header(const uint8_t in[file_header_size]) {
  file_header h;
  h.magic[0] = char(in[0]);
  h.magic[1] = char(in[1]);
  h.file_type = in[2];
  h.version = get16(in + 3);
  h.revision = get16(in + 5);
  h.open_count = in[7];
  h.flags = in[8];
  std::memcpy(h.label.data(), in + 9, h.label.size());
  std::memcpy(h.creator.data(), in + 28, h.creator.size());
  std::memcpy(h.description.data(), in + 69, h.description.size());
  return h;
}

file_header& header_template() {
  static file_header t = make_template();
  return t;
}

void stamp_header_template(const std::string& version_text, int minor) {
  file_header& t = header_template();
  std::string label = "KOSZTORYS " + version_text;
  t.label.fill(0);
  std::memcpy(t.label.data(), label.data(), std::min(label.size(), t.label.size() - 1));
  // A file stamped with a lower revision than its records have would be "upgraded" on its
  // next open, resetting the coefficients and the multiplicity switch it was saved with.
  t.revision = int16_t(std::max<int>(minor, FORMAT_REVISION));
}

void reset_header_template() { header_template() = make_template(); }

void set_header_description(file_header& h, const std::string& text) {
  constexpr size_t line_bytes = 56, line_chars = 55, lines = 4;
  h.description.fill(0);
  std::string clean;
  for (char c : text)
    if (c != '\r') clean += (c == '\n' ? ' ' : c);

  // Greedy wrap at blanks; a word longer than a line is cut.
  std::vector<std::string> out;
  size_t i = 0;
  while (i < clean.size() && out.size() < lines) {
    while (i < clean.size() && clean[i] == ' ') ++i;
    if (i >= clean.size()) break;
    size_t end = std::min(clean.size(), i + line_chars);
    if (end < clean.size() && clean[end] != ' ') {
      size_t blank = clean.rfind(' ', end);
      if (blank != std::string::npos && blank > i) end = blank;
    }
    std::string line = clean.substr(i, end - i);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out.push_back(line);
    i = end;
  }
  for (size_t n = 0; n < out.size(); ++n)
    std::memcpy(h.description.data() + n * line_bytes, out[n].data(), std::min(out[n].size(), line_chars));
}

std::string header_description(const file_header& h) {
  constexpr size_t line_bytes = 56;
  const char* d = h.description.data();
  if (std::memchr(d, 0, line_bytes) == nullptr) {
    const char* end = static_cast<const char*>(std::memchr(d, 0, h.description.size()));
    return std::string(d, end ? size_t(end - d) : h.description.size());
  }
  std::string text;
  for (size_t n = 0; n < 4; ++n) {
    const char* line = d + n * line_bytes;
    size_t len = strnlen(line, line_bytes);
    if (len == 0) continue;
    if (!text.empty()) text += ' ';
    text.append(line, len);
  }
  return text;
}

} // namespace kovra::store
