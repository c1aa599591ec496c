#include "store/text_helpers.h"

#include <algorithm>
#include <cstring>

namespace kovra::store {

namespace {

// Splits one paragraph [begin, end) of `w`; break positions go to `breaks`.
bool split_paragraph(const std::string& w, size_t begin, size_t end, size_t width, std::vector<std::string>& lines,
                     std::vector<size_t>& breaks) {
  size_t start = begin;
  for (;;) {
    if (end - start <= width) {
      lines.push_back(w.substr(start, end - start));
      return true;
    }
    size_t b = start + width;
    if (w[b] != ' ') {
      // The last blank inside the line; a blank at the very start would give an empty line.
      size_t i = b;
      while (i > start + 1 && w[i - 1] != ' ') --i;
      if (i <= start + 1) return false;  // one word longer than the line
      b = i - 1;
    }
    size_t line_end = b;
    while (line_end > start && w[line_end - 1] == ' ') --line_end;
    lines.push_back(w.substr(start, line_end - start));
    breaks.push_back(b);
    start = b + 1;
    while (start < end && w[start] == ' ') ++start;
    if (start >= end) return true;
  }
}

} // namespace

std::optional<std::vector<std::string>> split_lines(std::string& text, int width, int flags) {
  if (width < 1) return std::nullopt;
  std::string w = text;
  if (flags & SPLIT_LINE_FEEDS_TO_BLANKS) {
    for (size_t i = 0; i < w.size(); ++i) {
      if (w[i] != '\n') continue;
      w[i] = ' ';
      if (i > 0 && w[i - 1] == '\r') w[i - 1] = ' ';
    }
  }
  const bool forced = (flags & SPLIT_AT_LINE_FEEDS) != 0;

  std::vector<std::string> lines;
  std::vector<size_t> breaks;
  size_t begin = 0;
  while (begin < w.size()) {
    size_t end = forced ? w.find('\n', begin) : std::string::npos;
    const size_t next = end == std::string::npos ? w.size() : end + 1;
    if (end == std::string::npos) end = w.size();
    size_t content_end = end;
    if (forced && end < w.size() && content_end > begin && w[content_end - 1] == '\r') --content_end;
    if (!split_paragraph(w, begin, content_end, size_t(width), lines, breaks)) return std::nullopt;
    begin = next;
  }

  if (flags & SPLIT_MARK_BREAKS) {
    for (size_t b : breaks) w[b] = '\n';
    text = w;
  }
  return lines;
}

std::size_t bounded_copy(char* out, std::string_view text, std::size_t size) {
  if (!out || size == 0) return 0;
  const size_t n = std::min(text.size(), size - 1);
  std::memmove(out, text.data(), n);
  out[n] = '\0';
  return n;
}

std::size_t bounded_copy(char* out, const char* text, std::size_t size) {
  return bounded_copy(out, text ? std::string_view(text) : std::string_view(), size);
}

std::size_t bounded_append(char* out, std::string_view text, std::size_t size) {
  if (!out || size == 0) return 0;
  const size_t used = strnlen(out, size);
  if (used >= size) {
    out[size - 1] = '\0';
    return size - 1;
  }
  return used + bounded_copy(out + used, text, size - used);
}

std::size_t bounded_append(char* out, const char* text, std::size_t size) {
  return bounded_append(out, text ? std::string_view(text) : std::string_view(), size);
}

std::size_t join_texts(char* out, std::size_t size, std::initializer_list<std::string_view> texts) {
  if (!out || size == 0) return 0;
  out[0] = '\0';
  size_t length = 0;
  for (std::string_view t : texts) length = bounded_append(out, t, size);
  return length;
}

std::string trim(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string remove_blanks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text)
    if (c != ' ') result += c;
  return result;
}

} // namespace kovra::store
