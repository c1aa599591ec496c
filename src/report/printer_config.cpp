#include "report/printer_config.h"

#include "report/printer_code_format.h"
#include "report/printer_dat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace kovra::report {
namespace {

constexpr std::size_t codes_offset = 72;
constexpr std::size_t code_size = 20;

void put16(printer_config_bytes& b, std::size_t at, int v) {
  b[at] = uint8_t(v & 0xFF);
  b[at + 1] = uint8_t((v >> 8) & 0xFF);
}

int get16(const uint8_t* b, std::size_t at) { return int16_t(uint16_t(b[at] | (b[at + 1] << 8))); }

bool in_range(int v, int lo, int hi) { return v >= lo && v <= hi; }

} // namespace

printer_config_bytes encode_printer_config(const printer_config& c) {
  printer_config_bytes b{};
  put16(b, 0, printer_config_format);
  put16(b, 2, c.port);
  for (std::size_t i = 0; i < c.model_name.size() && i < printer_model_name_size - 1; ++i)
    b[8 + i] = uint8_t(c.model_name[i]);
  put16(b, 38, c.paper);
  put16(b, 40, c.font);
  put16(b, 42, c.kind);
  put16(b, 44, c.letters);
  put16(b, 46, c.right_margin);
  put16(b, 48, c.saved_code_page);
  put16(b, 56, c.code_page);
  put16(b, 58, c.lines_per_page);
  put16(b, 60, c.left_margin);
  put16(b, 62, c.top_margin);
  put16(b, 64, c.bottom_margin);
  put16(b, 66, c.paper_length);
  put16(b, 68, c.density);
  for (int s = 0; s < printer_code_slots; ++s) {
    const std::string& code = c.codes[std::size_t(s)];
    const std::size_t n = std::min(code.size(), printer_code_max_bytes);
    const std::size_t at = codes_offset + std::size_t(s) * code_size;
    b[at] = uint8_t(n);
    for (std::size_t i = 0; i < n; ++i) b[at + 1 + i] = uint8_t(code[i]);
  }
  return b;
}

std::optional<printer_config> decode_printer_config(const uint8_t* b, std::size_t size) {
  if (size != printer_config_size || get16(b, 0) != printer_config_format) return std::nullopt;
  printer_config c;
  c.port = get16(b, 2);
  std::size_t name_length = 0;
  while (name_length < printer_model_name_size && b[8 + name_length] != 0) ++name_length;
  if (name_length == printer_model_name_size) return std::nullopt;
  c.model_name.assign(reinterpret_cast<const char*>(b + 8), name_length);
  c.paper = get16(b, 38);
  c.font = get16(b, 40);
  c.kind = get16(b, 42);
  c.letters = get16(b, 44);
  c.right_margin = get16(b, 46);
  c.saved_code_page = get16(b, 48);
  c.code_page = get16(b, 56);
  c.lines_per_page = get16(b, 58);
  c.left_margin = get16(b, 60);
  c.top_margin = get16(b, 62);
  c.bottom_margin = get16(b, 64);
  c.paper_length = get16(b, 66);
  c.density = get16(b, 68);
  if (!in_range(c.port, 0, 3) || !in_range(c.paper, 0, 1) || !in_range(c.font, 0, 1) || !in_range(c.kind, 0, 2) ||
      !in_range(c.letters, 0, 3) || !in_range(c.right_margin, 0, max_margin_mm) ||
      !in_range(c.saved_code_page, 0, 4) || !in_range(c.code_page, 0, 3) ||
      !in_range(c.lines_per_page, 1, max_lines_per_page) || !in_range(c.left_margin, 0, max_margin_mm) ||
      !in_range(c.top_margin, 0, max_margin_mm) || !in_range(c.bottom_margin, 0, max_margin_mm) ||
      !in_range(c.paper_length, 0, 2) || !in_range(c.density, 0, 3))
    return std::nullopt;
  for (int s = 0; s < printer_code_slots; ++s) {
    const std::size_t at = codes_offset + std::size_t(s) * code_size;
    if (b[at] > printer_code_max_bytes) return std::nullopt;
    c.codes[std::size_t(s)].assign(reinterpret_cast<const char*>(b + at + 1), b[at]);
  }
  return c;
}

printer_config_read read_printer_config(const std::string& path) {
  printer_config_read r;
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return r;
  r.source = printer_config_source::unreadable;
  if (!std::filesystem::is_regular_file(status)) return r;  // not ours to delete
  std::ifstream in(path, std::ios::binary);
  if (!in) return r;
  std::array<char, printer_config_size + 1> raw{};
  in.read(raw.data(), raw.size());
  const auto n = std::size_t(in.gcount());
  if (in.bad()) return r;
  in.close();
  if (auto c = decode_printer_config(reinterpret_cast<const uint8_t*>(raw.data()), n)) {
    r.config = *c;
    r.source = printer_config_source::file;
    // A run that switched to Win ANSI for a Windows file and never switched back.
    if (r.config.saved_code_page != 0) {
      r.config.code_page = r.config.saved_code_page - 1;
      r.config.saved_code_page = 0;
    }
    return r;
  }
  std::filesystem::remove(path, ec);
  r.source = printer_config_source::replaced;
  return r;
}

printer_config& current_printer_config() {
  static printer_config current;
  return current;
}

printer_config_source load_current_printer_config(const std::string& path) {
  printer_config_read r = read_printer_config(path);
  current_printer_config() = r.config;
  return r.source;
}

void reset_current_printer_config() { current_printer_config() = printer_config{}; }

bool write_printer_config(const std::string& path, const printer_config& config) {
  const printer_config_bytes b = encode_printer_config(config);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
  out.close();
  return bool(out);
}

const char* port_name(int port) {
  static const char* const names[] = {"LPT1", "LPT2", "LPT3", "LPT4"};
  return in_range(port, 0, 3) ? names[port] : "";
}

const char* paper_length_name(int id) {
  static const char* const names[] = {"A4", "11\"", "12\""};
  return in_range(id, 0, 2) ? names[id] : "";
}

const char* density_name(int id) {
  static const char* const names[] = {"8 lpi", "6 lpi", "4 lpi", "3 lpi"};
  return in_range(id, 0, 3) ? names[id] : "";
}

int paper_length_mm(int paper_length) {
  switch (paper_length) {
  case PAPER_11_INCH: return 279;
  case PAPER_12_INCH: return 305;
  default: return 297;
  }
}

bool eight_lpi_family(int density) { return density == DENSITY_8_LPI || density == DENSITY_4_LPI; }

bool doubled_line_feeds(int density) { return density == DENSITY_4_LPI || density == DENSITY_3_LPI; }

int compute_lines_per_page(int kind, int paper_length, int bottom_margin, int density) {
  const double length = paper_length_mm(paper_length);
  const double bottom = bottom_margin;
  const bool eight = eight_lpi_family(density);
  double lines = 0;
  if (kind == PRINTER_LASER) {
    lines = (eight ? 0.315 : 0.236) * (length - std::max(0.0, bottom - 15) - 30);
  } else if (kind == PRINTER_INK) {
    lines = (eight ? 0.353 : 0.235) * (length - std::max(0.0, bottom - 30) - 42);
    if (int(lines) == (eight ? 90 : 60)) lines -= 1;
  } else {
    lines = (eight ? 8 : 6) * (length - bottom) / 25.4;
  }
  const int n = int(lines);
  return std::clamp(n, 1, max_lines_per_page);
}

int left_margin_columns(const printer_config& c) {
  const int offset = c.kind == PRINTER_LASER || c.kind == PRINTER_INK ? 6 : 0;
  return int(std::lround(std::max(0, c.left_margin - offset) * 17 / 25.4));
}

int top_blank_lines(const printer_config& c) {
  const bool eight = eight_lpi_family(c.density);
  const bool ink = c.kind == PRINTER_INK;
  const int offset = ink ? 12 : c.kind == PRINTER_LASER ? 15 : 0;
  const double per_mm = eight ? (ink ? 0.353 : 0.315) : (ink ? 0.235 : 0.236);
  return std::max(0, int((c.top_margin - offset) * per_mm + 0.5));
}

void build_setting_codes(printer_config& c) {
  const int columns = left_margin_columns(c);
  auto margin = c.kind == PRINTER_DOT ? format_printer_code(c.codes[SLOT_LEFT_MARGIN_FORMAT], {columns, columns + 121})
                                      : format_printer_code(c.codes[SLOT_LEFT_MARGIN_FORMAT], {columns});
  c.codes[SLOT_LEFT_MARGIN] = margin.value_or(std::string());
  const int lpi = eight_lpi_family(c.density) ? (c.kind == PRINTER_INK ? 9 : 8) : 6;
  c.codes[SLOT_LINE_SPACING] = format_printer_code(c.codes[SLOT_LINE_SPACING_FORMAT], {lpi}).value_or(std::string());
}

void choose_printer_model(printer_config& c, const printer_model& model, const printer_codes& codes) {
  c.model_name = model.name.substr(0, printer_model_name_size - 1);
  c.paper = model.paper;
  c.font = model.font;
  c.kind = model.kind;
  c.letters = model.letters;
  if (model.letters != LETTERS_CHOOSE) c.code_page = model.letters - 1;
  if (model.paper == PAPER_CUT_SHEET) c.paper_length = PAPER_A4;
  c.lines_per_page = compute_lines_per_page(c.kind, c.paper_length, c.bottom_margin, c.density);
  for (int s = 0; s < printer_code_slots; ++s)
    c.codes[std::size_t(s)] = codes[std::size_t(s)].substr(0, printer_code_max_bytes);
}

} // namespace kovra::report
