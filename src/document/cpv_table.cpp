#include "document/cpv_table.h"

#include <algorithm>
#include <filesystem>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

#include "store/paths.h"

namespace kovra::document {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }

bool all_digits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), is_digit);
}

// "dddddddd-d" (main) or "LLdd-d" (supplementary).
bool main_code_form(std::string_view c) {
  return c.size() == 10 && all_digits(c.substr(0, 8)) && c[8] == '-' && is_digit(c[9]);
}
bool supplementary_code_form(std::string_view c) {
  return c.size() == 6 && is_upper(c[0]) && is_upper(c[1]) && all_digits(c.substr(2, 2)) && c[4] == '-' &&
         is_digit(c[5]);
}

// Splits the file into lines of two tab-separated fields; calls `take(line number, code,
// text)` for each, stops at the first line it refuses.
template <class F> bool for_each_line(std::string_view file, std::string& error, F&& take) {
  std::size_t number = 0;
  while (!file.empty()) {
    ++number;
    std::size_t end = file.find('\n');
    std::string_view line = file.substr(0, end);
    file = end == std::string_view::npos ? std::string_view{} : file.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const std::size_t tab = line.find('\t');
    const char* why = nullptr;
    if (tab == std::string_view::npos) why = "no tab between code and text";
    else why = take(line.substr(0, tab), line.substr(tab + 1));
    if (why) {
      error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
  }
  return true;
}

void sort_unique(std::vector<cpv_entry>& v) {
  std::stable_sort(v.begin(), v.end(), [](const cpv_entry& a, const cpv_entry& b) { return a.code() < b.code(); });
  v.erase(std::unique(v.begin(), v.end(), [](const cpv_entry& a, const cpv_entry& b) { return a.code() == b.code(); }),
          v.end());
}

const cpv_entry* find_in(const std::vector<cpv_entry>& v, std::string_view code, std::size_t size) {
  if (code.size() < size) return nullptr;
  code = code.substr(0, size);
  auto it = std::lower_bound(v.begin(), v.end(), code, [](const cpv_entry& e, std::string_view c) { return e.code() < c; });
  return it != v.end() && it->code() == code ? &*it : nullptr;
}

// Lower case for search: ASCII and the Polish capitals (two bytes in UTF-8), no-break space
// as a blank.
std::string fold(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
      continue;
    }
    if (i + 1 < s.size()) {
      const auto d = static_cast<unsigned char>(s[i + 1]);
      if (c == 0xC2 && d == 0xA0) { out += ' '; ++i; continue; }
      // Ą Ć Ę Ł Ń Ś Ź Ż: the lower-case letter is the next code point; Ó (U+00D3) is 0x20 up.
      if ((c == 0xC4 && (d == 0x84 || d == 0x86 || d == 0x98)) || (c == 0xC5 && (d == 0x81 || d == 0x83 || d == 0x9A || d == 0xB9 || d == 0xBB))) {
        out += static_cast<char>(c);
        out += static_cast<char>(d + 1);
        ++i;
        continue;
      }
      if (c == 0xC3 && d == 0x93) { out += "\xC3\xB3"; ++i; continue; }
    }
    out += static_cast<char>(c);
  }
  return out;
}

} // namespace

int cpv_level_of(std::string_view code8) {
  int last = 1;
  for (int i = 2; i < 8 && i < static_cast<int>(code8.size()); ++i)
    if (code8[i] != '0') last = i;
  return last;  // index of the last significant digit = significant digits − 1
}

char cpv_computed_check_digit(std::string_view code8) {
  if (code8.size() < 8 || !all_digits(code8.substr(0, 8))) return '?';
  static const int weights[8] = {3, 7, 1, 3, 7, 1, 3, 7};
  int sum = 0;
  for (int i = 0; i < 8; ++i) sum += (code8[i] - '0') * weights[i];
  return static_cast<char>('0' + sum % 10);
}

std::string cpv_cut_to_level(std::string_view code8, int digits) {
  std::string c(code8.substr(0, 8));
  digits = std::clamp(digits, 2, 8);
  for (std::size_t i = static_cast<std::size_t>(digits); i < c.size(); ++i) c[i] = '0';
  return c;
}

bool cpv_table::read_main(std::string_view file_text, std::string& error) {
  std::vector<cpv_entry> v;
  if (!for_each_line(file_text, error, [&](std::string_view code, std::string_view text) -> const char* {
        if (!main_code_form(code)) return "not a main code (dddddddd-d)";
        cpv_entry e;
        e.text.reserve(code.size() + 2 + text.size());
        e.text.append(code).append("  ").append(text);
        e.level = static_cast<uint8_t>(cpv_level_of(code));
        v.push_back(std::move(e));
        return nullptr;
      }))
    return false;
  sort_unique(v);
  main_ = std::move(v);
  old_.clear();  // it pointed into the previous table
  folded_.clear();
  folded_.reserve(main_.size());
  for (const cpv_entry& e : main_) folded_.push_back(fold(e.description()));
  return true;
}

bool cpv_table::read_supplementary(std::string_view file_text, std::string& error) {
  std::vector<cpv_entry> v;
  if (!for_each_line(file_text, error, [&](std::string_view code, std::string_view text) -> const char* {
        if (!supplementary_code_form(code)) return "not a supplementary code (LLdd-d)";
        cpv_entry e;
        e.text.append(code).append("  ").append(text);
        e.level = 2;
        e.code_size = 4;
        v.push_back(std::move(e));
        return nullptr;
      }))
    return false;
  sort_unique(v);
  supplementary_ = std::move(v);
  return true;
}

bool cpv_table::read_correspondence(std::string_view file_text, std::string& error) {
  std::vector<cpv_translation> v;
  if (!for_each_line(file_text, error, [&](std::string_view old_code, std::string_view new_code) -> const char* {
        // The new code may carry a footnote mark of the published table: "60112000-6(1)".
        if (const std::size_t mark = new_code.find('('); mark != std::string_view::npos && new_code.back() == ')')
          new_code = new_code.substr(0, mark);
        if (!main_code_form(old_code) || !main_code_form(new_code)) return "not two main codes (dddddddd-d)";
        if (const cpv_entry* e = find_main(new_code)) {
          cpv_translation t{};
          std::memcpy(t.old_code, old_code.data(), 8);
          t.old_check = old_code[9];
          t.entry = e;
          v.push_back(t);
        }
        return nullptr;
      }))
    return false;
  auto key = [](const cpv_translation& t) { return std::string_view(t.old_code, 8); };
  std::stable_sort(v.begin(), v.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
  v.erase(std::unique(v.begin(), v.end(), [&](const auto& a, const auto& b) { return key(a) == key(b); }), v.end());
  old_ = std::move(v);
  return true;
}

const cpv_entry* cpv_table::find_main(std::string_view code) const { return find_in(main_, code, 8); }
const cpv_entry* cpv_table::find_supplementary(std::string_view code) const { return find_in(supplementary_, code, 4); }

const cpv_translation* cpv_table::find_2003(std::string_view code) const {
  if (code.size() < 8) return nullptr;
  code = code.substr(0, 8);
  auto it = std::lower_bound(old_.begin(), old_.end(), code, [](const cpv_translation& t, std::string_view c) {
    return std::string_view(t.old_code, 8) < c;
  });
  return it != old_.end() && std::string_view(it->old_code, 8) == code ? &*it : nullptr;
}

std::vector<const cpv_entry*> cpv_table::search(std::string_view query, std::size_t limit) const {
  std::vector<const cpv_entry*> found;
  std::string q = fold(query);
  while (!q.empty() && q.front() == ' ') q.erase(0, 1);
  while (!q.empty() && q.back() == ' ') q.pop_back();
  if (q.empty() || limit == 0) return found;
  std::string digits = q;
  std::erase(digits, '-');
  if (all_digits(digits) && !digits.empty()) {
    for (const cpv_entry& e : main_) {
      if (found.size() == limit) break;
      std::string own(e.code());
      own += e.check_digit();
      if (own.compare(0, digits.size(), digits) == 0) found.push_back(&e);
    }
    return found;
  }
  std::vector<std::string> words;
  std::istringstream in(q);
  for (std::string w; in >> w;) words.push_back(w);
  for (std::size_t i = 0; i < main_.size() && found.size() < limit; ++i)
    if (std::all_of(words.begin(), words.end(), [&](const std::string& w) { return folded_[i].find(w) != std::string::npos; }))
      found.push_back(&main_[i]);
  return found;
}

namespace {

bool read_whole(const std::string& path, std::string& text) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::ostringstream s;
  s << f.rdbuf();
  text = std::move(s).str();
  return true;
}

std::mutex tables_mutex;
std::shared_ptr<const cpv_table> tables;
std::string tables_error;

} // namespace

std::shared_ptr<const cpv_table> load_cpv_tables(const std::string& folder, std::string& error) {
  auto t = std::make_shared<cpv_table>();
  error.clear();
  auto note = [&](const char* name, const std::string& why) {
    if (!error.empty()) error += "; ";
    error += std::string(name) + ": " + why;
  };
  using reader = bool (cpv_table::*)(std::string_view, std::string&);
  const std::pair<const char*, reader> files[] = {{cpv_main_file, &cpv_table::read_main},
                                                  {cpv_supplementary_file, &cpv_table::read_supplementary},
                                                  {cpv_correspondence_file, &cpv_table::read_correspondence}};
  for (const auto& [name, read] : files) {
    std::string text, why;
    if (!read_whole(folder + name, text)) note(name, "cannot be read");
    else if (!((*t).*read)(text, why)) note(name, why);
  }
  return t;
}

// The program folder, else (a tool that never set it) the folder of the running program.
static std::string tables_folder() {
  std::string folder = store::program_file("");
  if (!folder.empty()) return folder;
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string("./") : exe.parent_path().string() + "/";
}

const cpv_table& cpv_tables() {
  std::lock_guard lock(tables_mutex);
  if (!tables) tables = load_cpv_tables(tables_folder(), tables_error);
  return *tables;
}

const std::string& cpv_tables_error() {
  cpv_tables();
  return tables_error;
}

void reset_cpv_tables() {
  std::lock_guard lock(tables_mutex);
  tables.reset();
  tables_error.clear();
}

void use_cpv_tables(std::shared_ptr<const cpv_table> t) {
  std::lock_guard lock(tables_mutex);
  tables = std::move(t);
  tables_error.clear();
}

} // namespace kovra::document
