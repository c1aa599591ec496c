#include "report/printer_dat.h"

#include "shell/messages.h"
#include "store/codepage.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace kovra::report {
namespace {

const char* const field_names[7] = {"Firma", "NazwaDrukarki", "KOD", "Font", "Papier", "Grafika", "PolskieZnaki"};

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

char lower(char c) { return char(std::tolower(static_cast<unsigned char>(c))); }

bool same_text(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

bool less_text(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return uint8_t(lower(x)) < uint8_t(lower(y)); });
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> tokens(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && is_blank(s[i])) ++i;
    std::size_t start = i;
    while (i < s.size() && !is_blank(s[i])) ++i;
    if (i > start) out.push_back(s.substr(start, i - start));
  }
  return out;
}

// The keyword's value in `words` (compared without regard to case), or -1.
int keyword(std::string_view token, std::initializer_list<std::pair<const char*, int>> words) {
  for (const auto& [word, value] : words)
    if (same_text(token, word)) return value;
  return -1;
}

// One code byte: a decimal number 0..255.
std::optional<uint8_t> code_byte(std::string_view token) {
  if (token.empty() || token.size() > 3) return std::nullopt;
  int v = 0;
  for (char c : token) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v > 255) return std::nullopt;
  return uint8_t(v);
}

struct parser {
  printer_definitions defs;
  printer_dat_error error;

  bool fail(int message, int line, std::string name) {
    error = {message, line, std::move(name)};
    return false;
  }

  int block_index(std::string_view name) {
    for (std::size_t i = 0; i < defs.blocks.size(); ++i)
      if (same_text(defs.blocks[i].name, name)) return int(i);
    defs.blocks.push_back({std::string(name), 0, false, {}});
    return int(defs.blocks.size() - 1);
  }

  printer_maker& maker(std::string_view name) {
    for (auto& m : defs.makers)
      if (same_text(m.name, name)) return m;
    defs.makers.push_back({std::string(name), {}});
    return defs.makers.back();
  }

  bool definition(std::string_view line, int line_no) {
    const auto t = tokens(line);
    auto missing = [&](std::size_t i) { return t.size() <= i; };
    for (std::size_t i = 0; i < 3; ++i)
      if (missing(i)) return fail(24, line_no, field_names[i]);
    printer_model model;
    model.name.assign(t[1]);
    std::replace(model.name.begin(), model.name.end(), '_', ' ');
    if (missing(3) || (model.font = keyword(t[3], {{"DONT_LOAD", FONT_DONT_LOAD}, {"LOAD_FONT", FONT_LOAD}})) < 0)
      return fail(24, line_no, field_names[3]);
    if (missing(4) || (model.paper = keyword(t[4], {{"CHOOSE", PAPER_CHOOSE}, {"CUT_SHEET", PAPER_CUT_SHEET}})) < 0)
      return fail(24, line_no, field_names[4]);
    if (missing(5) ||
        (model.kind = keyword(t[5], {{"DOT", PRINTER_DOT}, {"LASER", PRINTER_LASER}, {"INK", PRINTER_INK}})) < 0)
      return fail(24, line_no, field_names[5]);
    if (missing(6) || (model.letters = keyword(t[6], {{"CHOOSE", LETTERS_CHOOSE}, {"ASCII", LETTERS_ASCII},
                                                       {"MAZOVIA", LETTERS_MAZOVIA}, {"LATIN2", LETTERS_LATIN2}})) < 0)
      return fail(24, line_no, field_names[6]);
    model.code_block = block_index(t[2]);
    maker(t[0]).models.push_back(std::move(model));
    return true;
  }

  bool code_line(code_block& block, int slot, std::string_view line, int line_no) {
    const auto t = tokens(line);
    std::string& code = block.codes[slot];
    code.clear();
    if (t.size() == 1 && t[0] == "-") return true;
    for (std::size_t i = 0; i < t.size() && i < printer_code_max_bytes; ++i) {
      auto b = code_byte(t[i]);
      if (!b) return fail(24, line_no, field_names[2]);
      code += char(*b);
    }
    return true;
  }

  bool run(std::string_view text) {
    if (text.size() > printer_dat_max_size) return fail(22, 0, {});
    enum { FORMAT, DEFINITIONS, BLOCKS } stage = FORMAT;
    int line_no = 0;
    code_block* block = nullptr;  // the block whose code lines are being read, or none
    int slot = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find('\n', pos);
      std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
      std::string_view line = text.substr(pos, (end == std::string_view::npos ? text.size() : end) - pos);
      pos = next;
      ++line_no;
      // A line longer than the reader takes is cut; the rest of it is not a line of its own.
      if (line.size() > printer_dat_line_max) line = line.substr(0, printer_dat_line_max);
      if (auto c = line.find("//"); c != std::string_view::npos) line = line.substr(0, c);
      line = trimmed(line);
      if (line.empty()) continue;

      if (stage == FORMAT) {
        auto t = tokens(line);
        if (t.size() != 1 || t[0] != "315") return fail(21, line_no, {});
        stage = DEFINITIONS;
        continue;
      }
      if (line.front() == '#') {
        stage = BLOCKS;
        code_block& b = defs.blocks[std::size_t(block_index(trimmed(line.substr(1))))];
        if (b.opened) {
          block = nullptr;  // a repeated block: the first one stands
        } else {
          b.opened = true;
          b.position = next;
          block = &b;
          slot = 0;
        }
        continue;
      }
      if (stage == DEFINITIONS) {
        if (!definition(line, line_no)) return false;
      } else if (block && slot < printer_code_slots) {
        if (!code_line(*block, slot++, line, line_no)) return false;
      }
    }
    if (stage == FORMAT) return fail(21, 0, {});
    for (const auto& b : defs.blocks)
      if (!b.opened) return fail(23, 0, b.name);
    std::stable_sort(defs.makers.begin(), defs.makers.end(),
                     [](const printer_maker& a, const printer_maker& b) { return less_text(a.name, b.name); });
    for (auto& m : defs.makers)
      std::stable_sort(m.models.begin(), m.models.end(),
                       [](const printer_model& a, const printer_model& b) { return less_text(a.name, b.name); });
    return true;
  }
};

} // namespace

const printer_model* printer_definitions::find_model(std::string_view name) const {
  std::string wanted(name);
  std::replace(wanted.begin(), wanted.end(), '_', ' ');
  for (const auto& m : makers)
    for (const auto& model : m.models)
      if (same_text(model.name, wanted)) return &model;
  return nullptr;
}

const printer_codes& printer_definitions::codes_of(const printer_model& model) const {
  static const printer_codes none{};
  if (model.code_block < 0 || std::size_t(model.code_block) >= blocks.size()) return none;
  return blocks[std::size_t(model.code_block)].codes;
}

printer_dat_result parse_printer_dat(std::string_view text) {
  parser p;
  printer_dat_result r;
  if (p.run(text))
    r.definitions = std::move(p.defs);
  else
    r.error = p.error;
  return r;
}

std::optional<printer_definitions> load_printer_dat(const std::string& path) {
  const std::string& shown = path;  // as typed
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    shell::msg_box_screen(20, shown.c_str());
    return std::nullopt;
  }
  std::string text;
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    text.append(chunk, std::size_t(in.gcount()));
    if (text.size() > printer_dat_max_size) break;
  }
  printer_dat_result r = parse_printer_dat(text);
  if (r.definitions) return std::move(r.definitions);
  const printer_dat_error& e = r.error;
  switch (e.message) {
  case 21: shell::msg_box_screen(21, shown.c_str()); break;
  case 23: shell::msg_box_screen(23, store::mazovia_to_utf8(e.name).c_str(), shown.c_str()); break;
  case 24: shell::msg_box_screen(24, e.line, store::mazovia_to_utf8(e.name).c_str(), shown.c_str()); break;
  default: shell::msg_box(22); break;
  }
  return std::nullopt;
}

} // namespace kovra::report
