#include "shell/print_look.h"

#include "shell/ini_file.h"
#include "shell/section_codec.h"
#include "store/codepage.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kovra::shell {
namespace {

constexpr const char* labels[print_element_count] = {
    "Podgląd wydruku tekstowego", "Tytuł wydruku",  "Nagłówek tabeli",   "Tekst podstawowy",
    "Nazwa/numer elementu",       "Pogrubienia",    "Nagłówek/stopka",   "Nazwa/numer grupy"};

std::string trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> split(const std::string& v) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t c = v.find(',', start);
    parts.push_back(trim(v.substr(start, c == std::string::npos ? std::string::npos : c - start)));
    if (c == std::string::npos) break;
    start = c + 1;
  }
  return parts;
}

bool to_long(const std::string& s, long& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(s.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE) return false;
  out = v;
  return true;
}

bool to_u32(const std::string& s, uint32_t& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  unsigned long long v = std::strtoull(s.c_str(), &end, 0);
  if (*end != '\0' || errno == ERANGE || s[0] == '-' || v > 0xFFFFFFFFull) return false;
  out = uint32_t(v);
  return true;
}

// The rest of a name may itself hold ",": everything after the third value is the name.
std::string tail_from(const std::vector<std::string>& parts, std::size_t first) {
  std::string s;
  for (std::size_t i = first; i < parts.size(); ++i) s += (i > first ? "," : "") + parts[i];
  return s;
}

} // namespace

const char* print_element_label(int element) {
  return element >= 0 && element < print_element_count ? labels[element] : "";
}

print_look default_print_look() {
  print_look look;
  struct font_default {
    const char* face;
    int size;
    int style;
  };
  const font_default fonts[print_element_count] = {
      {"DejaVu Sans Mono", 10, 0},          {"DejaVu Sans", 12, font_bold}, {"DejaVu Sans", 8, font_bold},
      {"DejaVu Sans", 8, 0},                {"DejaVu Sans", 8, font_bold},  {"DejaVu Sans", 8, font_bold},
      {"DejaVu Sans", 7, 0},                {"DejaVu Sans", 8, font_bold | font_italic}};
  for (int i = 0; i < print_element_count; ++i) {
    look.design.elements.push_back(look_element{i, 0, 0, labels[i]});
    look.design.fonts.push_back(look_font{fonts[i].size, 0, fonts[i].style, fonts[i].face, east_european_charset});
  }
  return look;
}

void read_design(const ini_file& ini, const std::string& section, design_look& look) {
  for (std::size_t i = 0; i < look.elements.size(); ++i) {
    auto v = ini.read(section, "Element" + std::to_string(i + 1));
    if (!v) continue;
    auto parts = split(*v);
    long font;
    uint32_t colour, third;
    if (parts.size() < 4 || !to_long(parts[0], font) || !to_u32(parts[1], colour) || !to_u32(parts[2], third))
      continue;
    if (tail_from(parts, 3) != look.elements[i].name) continue;
    if (font < 0 || font >= long(look.fonts.size())) {
      // The screen's elements fall back to font 0; a print element keeps its whole default.
      if (section != screen_look_section) continue;
      font = 0;
    }
    look.elements[i].font = int(font);
    look.elements[i].colour = colour;
    look.elements[i].third = third;
  }
  for (std::size_t i = 0; i < look.fonts.size(); ++i) {
    auto v = ini.read(section, "Czcionka" + std::to_string(i + 1));
    if (!v) continue;
    auto parts = split(*v);
    long size, pitch, style, charset;
    if (parts.size() < 5 || !to_long(parts[0], size) || !to_long(parts[1], pitch) || !to_long(parts[2], style) ||
        !to_long(parts.back(), charset))
      continue;
    if (size < 1 || size > 200 || charset < 0 || charset > 255) continue;
    std::string face;
    for (std::size_t k = 3; k + 1 < parts.size(); ++k) face += (k > 3 ? "," : "") + parts[k];
    if (face.empty()) continue;
    look.fonts[i] = look_font{int(size), int(pitch), int(style & 15), face, charset == 0 ? east_european_charset
                                                                                        : int(charset)};
  }
}

void write_design(ini_file& ini, const std::string& section, const design_look& look) {
  for (std::size_t i = 0; i < look.elements.size(); ++i) {
    const auto& e = look.elements[i];
    ini.write(section, "Element" + std::to_string(i + 1),
              std::to_string(e.font) + "," + std::to_string(e.colour) + "," + std::to_string(e.third) + "," + e.name);
  }
  for (std::size_t i = 0; i < look.fonts.size(); ++i) {
    const auto& f = look.fonts[i];
    ini.write(section, "Czcionka" + std::to_string(i + 1),
              std::to_string(f.size) + "," + std::to_string(f.pitch) + "," + std::to_string(f.style) + "," + f.face +
                  "," + std::to_string(f.charset));
  }
}

void read_print_look(const ini_file& ini, print_look& look) {
  read_design(ini, print_look_section, look.design);
  auto one = [&](int n, int lo, int hi, int& field) {
    auto v = ini.read(print_look_section, "ElementWydruku" + std::to_string(n));
    long x;
    if (v && to_long(trim(*v), x) && x >= lo && x <= hi) field = int(x);
  };
  one(1, 0, 1000, look.inner_rule);
  one(2, 0, 1000, look.outer_rule);
  one(4, 0, 28, look.line_spacing);
  if (auto v = ini.read(print_look_section, "ElementWydruku3")) {
    auto parts = split(*v);
    long a, b;
    if (parts.size() == 2 && to_long(parts[0], a) && to_long(parts[1], b) && a >= 0 && a <= 1000 && b >= 0 &&
        b <= 1000) {
      look.page_number_1 = int(a);
      look.page_number_2 = int(b);
    }
  }
}

void write_print_look(ini_file& ini, const print_look& look) {
  write_design(ini, print_look_section, look.design);
  ini.write(print_look_section, "ElementWydruku1", std::to_string(look.inner_rule));
  ini.write(print_look_section, "ElementWydruku2", std::to_string(look.outer_rule));
  ini.write(print_look_section, "ElementWydruku3",
            std::to_string(look.page_number_1) + "," + std::to_string(look.page_number_2));
  ini.write(print_look_section, "ElementWydruku4", std::to_string(look.line_spacing));
}

print_look& current_print_look() {
  static print_look look = default_print_look();
  return look;
}

void reset_print_look() { current_print_look() = default_print_look(); }

void load_print_look(const std::string& ini_path) {
  ini_file ini;
  print_look look = default_print_look();
  if (ini.load(ini_path)) read_print_look(ini, look);
  current_print_look() = look;
}

bool save_print_look(const std::string& ini_path) {
  ini_file ini;
  if (!ini.load(ini_path) && std::ifstream(ini_path).good()) return false;
  write_print_look(ini, current_print_look());
  return ini.save(ini_path);
}

bool convert_design_file(const std::string& des_path, const std::string& ini_path, const std::string& section,
                         design_look& look) {
  constexpr std::size_t body_size = 1015, font_record = 60;
  std::ifstream f(des_path, std::ios::binary);
  if (!f) return false;
  std::vector<uint8_t> bytes;
  char buf[4096];
  while (bytes.size() <= 4 + body_size && (f.read(buf, sizeof buf) || f.gcount() > 0))
    bytes.insert(bytes.end(), buf, buf + f.gcount());
  f.close();
  if (bytes.size() < 4 + body_size || get_u32(bytes.data()) != 1) return false;

  const uint8_t* p = bytes.data() + 4;
  const uint8_t* end = p + body_size;
  design_look converted = look;
  for (auto& e : converted.elements) {
    if (end - p < 12) return false;
    int32_t font = int32_t(get_u32(p));
    e.font = font >= 0 && font < int32_t(converted.fonts.size()) ? font : 0;
    e.colour = get_u32(p + 4);
    e.third = get_u32(p + 8);
    p += 12;
  }
  for (auto& font : converted.fonts) {
    if (std::size_t(end - p) < font_record) return false;
    // height, width, escapement, orientation, weight; italic, underline, strike-out, character
    // set, precision, clipping, quality, pitch and family; a 32-byte face name.
    int32_t height = int32_t(get_u32(p));
    int32_t weight = int32_t(get_u32(p + 16));
    int size = height < 0 ? (-height * 72 + 48) / 96 : height;
    std::string face = get_text(p + 28, 32);
    store::cp1250_to_mazovia(face);
    face = store::mazovia_to_utf8(face);
    if (size >= 1 && size <= 200 && !face.empty()) {
      font.size = size;
      font.style = (weight >= 700 ? font_bold : 0) | (p[20] ? font_italic : 0) | (p[21] ? font_underline : 0) |
                   (p[22] ? font_strikeout : 0);
      font.charset = p[23] == 0 ? east_european_charset : p[23];
      font.pitch = p[27];
      font.face = face;
    }
    p += font_record;
  }
  ini_file ini;
  if (!ini.load(ini_path) && std::ifstream(ini_path).good()) return false;
  write_design(ini, section, converted);
  if (!ini.save(ini_path)) return false;
  look = converted;
  std::remove(des_path.c_str());
  return true;
}

} // namespace kovra::shell
