#include "document/cpv_codes.h"

#include <algorithm>

namespace kovra::document {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The check digit written after the code ("45000000-7" with a code of 8), if any.
std::optional<char> stored_check(std::string_view item, std::size_t code_size) {
  if (item.size() > code_size + 1 && item[code_size] == '-') return item[code_size + 1];
  return std::nullopt;
}

cpv_check compare_check(std::optional<char> stored, char expected) {
  if (!stored) return cpv_check::absent;
  return *stored == expected ? cpv_check::right : cpv_check::wrong;
}

bool eight_digits(std::string_view s) {
  return s.size() >= 8 && std::all_of(s.begin(), s.begin() + 8, [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::string_view cpv_code::key() const {
  if (entry) return entry->code();
  return std::string_view(stored).substr(0, eight_digits(stored) ? 8 : stored.size());
}

std::string cpv_code::shown() const {
  std::string s = entry ? entry->text : stored + cpv_unknown_mark;
  if (check == cpv_check::wrong) s += cpv_wrong_check_mark;
  return s;
}

cpv_code resolve_main_code(const cpv_table& t, std::string_view item) {
  cpv_code c;
  item = trimmed(item);
  c.stored = std::string(item);
  if (item.empty()) return c;
  const std::optional<char> check = stored_check(item, 8);
  const cpv_entry* e = t.find_main(item);
  const cpv_translation* old = t.find_2003(item);
  // A code written in both editions is taken as the 2008 one, unless only its 2003 check
  // digit matches what is stored.
  if (e && old && check && *check != e->check_digit() && *check == old->old_check) e = nullptr;
  if (e) {
    c.entry = e;
    c.source = cpv_source::vocabulary;
    c.check = compare_check(check, e->check_digit());
  } else if (old) {
    c.entry = old->entry;
    c.source = cpv_source::translated;
    c.check = compare_check(check, old->old_check);
  } else if (eight_digits(item)) {
    c.check = compare_check(check, cpv_computed_check_digit(item));
  }
  return c;
}

cpv_code resolve_supplementary_code(const cpv_table& t, std::string_view item) {
  cpv_code c;
  item = trimmed(item);
  c.stored = std::string(item);
  if (item.empty()) return c;
  if (const cpv_entry* e = t.find_supplementary(item)) {
    c.entry = e;
    c.source = cpv_source::vocabulary;
    c.check = compare_check(stored_check(item, 4), e->check_digit());
  }
  // An unknown supplementary code has no rule to check its digit by.
  return c;
}

std::vector<cpv_pair> parse_cpv_text(const cpv_table& t, std::string_view text) {
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<cpv_pair> pairs;
  while (!text.empty()) {
    auto next_item = [&] {
      const std::size_t sep = text.find('\x01');
      std::string_view item = text.substr(0, sep);
      text = sep == std::string_view::npos ? std::string_view{} : text.substr(sep + 1);
      return item;
    };
    const std::string_view main = next_item();
    const std::string_view supplementary = next_item();
    if (trimmed(main).empty() && trimmed(supplementary).empty()) break;
    pairs.push_back({resolve_main_code(t, main), resolve_supplementary_code(t, supplementary)});
  }
  return pairs;
}

std::optional<cpv_code> aggregate_code(const cpv_table& t, const cpv_code& code, int digits) {
  const std::string_view key = code.key();
  if (!eight_digits(key)) return std::nullopt;
  cpv_code cut;
  cut.stored = cpv_cut_to_level(key, digits);
  if ((cut.entry = t.find_main(cut.stored))) cut.source = cpv_source::vocabulary;
  return cut;
}

bool add_distinct(std::vector<cpv_code>& list, const cpv_code& code) {
  if (code.empty()) return false;
  const std::string_view key = code.key();
  if (std::any_of(list.begin(), list.end(), [&](const cpv_code& c) { return c.key() == key; })) return false;
  list.push_back(code);
  return true;
}

} // namespace kovra::document
