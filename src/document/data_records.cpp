#include "document/data_records.h"

#include <algorithm>

namespace kovra::document {

std::vector<addition> decode_additions(std::span<const uint8_t> data) {
  std::vector<addition> out;
  if (data.size() < 2) return out;
  std::size_t n = std::min<std::size_t>(get_u16(data.data()), (data.size() - 2) / ADDITION_SIZE);
  for (std::size_t i = 0; i < n; ++i) {
    const uint8_t* p = data.data() + 2 + ADDITION_SIZE * i;
    out.push_back({get_text(p, ADDITION_NAME_WIDTH), get_f64(p + ADDITION_NAME_WIDTH)});
  }
  return out;
}

std::vector<uint8_t> encode_additions(std::span<const addition> list) {
  std::size_t n = std::min<std::size_t>(list.size(), 0xFFFF);
  std::vector<uint8_t> out(2 + ADDITION_SIZE * n, 0);
  put_u16(out.data(), uint16_t(n));
  for (std::size_t i = 0; i < n; ++i) {
    uint8_t* p = out.data() + 2 + ADDITION_SIZE * i;
    put_text(p, ADDITION_NAME_WIDTH, list[i].name);
    put_f64(p + ADDITION_NAME_WIDTH, list[i].amount);
  }
  return out;
}

overhead_record overhead_record::from_bytes(std::span<const uint8_t> data) {
  overhead_record r;
  std::copy_n(data.begin(), std::min(data.size(), OVERHEAD_RECORD_SIZE), r.bytes.begin());
  return r;
}

overhead_record new_overhead_record() {
  overhead_record r;
  r.set_head(5);
  r.set_tail(1.0);
  return r;
}

std::vector<author> decode_authors(std::span<const uint8_t> data) {
  std::vector<author> out;
  if (data.size() < 2) return out;
  std::size_t count = get_u16(data.data());
  std::size_t at = 2;
  auto next_text = [&](std::string& t) {
    if (at >= data.size()) return false;
    std::size_t end = at;
    while (end < data.size() && data[end] != 0) ++end;
    t.assign(reinterpret_cast<const char*>(data.data() + at), end - at);
    at = end + 1;
    return true;
  };
  for (std::size_t i = 0; i < count; ++i) {
    author a;
    if (!next_text(a.name) || !next_text(a.function)) break;
    out.push_back(std::move(a));
  }
  return out;
}

std::vector<uint8_t> encode_authors(std::span<const author> list) {
  std::size_t n = std::min<std::size_t>(list.size(), 0xFFFF);
  std::vector<uint8_t> out(2, 0);
  put_u16(out.data(), uint16_t(n));
  for (std::size_t i = 0; i < n; ++i) {
    for (const std::string* t : {&list[i].name, &list[i].function}) {
      std::string_view s(*t);
      s = s.substr(0, s.find('\0'));
      out.insert(out.end(), s.begin(), s.end());
      out.push_back(0);
    }
  }
  return out;
}

std::array<std::optional<std::string>, 3> split_description(std::string_view text) {
  std::array<std::optional<std::string>, 3> parts;
  std::size_t a = text.find(DESCRIPTION_SEPARATOR);
  if (a == std::string_view::npos) {
    parts[0] = std::string(text);
    return parts;
  }
  parts[0] = std::string(text.substr(0, a));
  std::string_view rest = text.substr(a + DESCRIPTION_SEPARATOR.size());
  std::size_t b = rest.find(DESCRIPTION_SEPARATOR);
  if (b == std::string_view::npos) {
    parts[1] = std::string(rest);
    return parts;
  }
  parts[1] = std::string(rest.substr(0, b));
  parts[2] = std::string(rest.substr(b + DESCRIPTION_SEPARATOR.size()));
  return parts;
}

std::string join_description(std::string_view p1, std::string_view p2, std::string_view p3) {
  std::string out(p1);
  out += DESCRIPTION_SEPARATOR;
  out += p2;
  out += DESCRIPTION_SEPARATOR;
  out += p3;
  return out;
}

std::string decode_text_record(std::span<const uint8_t> data) { return get_text(data.data(), data.size()); }

std::vector<uint8_t> encode_text_record(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<uint8_t> out(text.begin(), text.end());
  out.push_back(0);
  return out;
}

std::string specification_number(std::string_view text) { return std::string(text.substr(0, text.find('\x01'))); }

} // namespace kovra::document
