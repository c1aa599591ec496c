#include "printouts/print_options.h"

#include "printouts/part_options.h"

#include "store/codepage.h"
#include "shell/section_codec.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace kovra::printouts {
namespace {

using namespace kovra::shell;
namespace po = kovra::shell::print_offset;

int radio_value(const uint8_t* block, std::size_t offset, int items, int fallback) {
  for (int i = 1; i <= items; ++i)
    if (item_on(block, offset, i)) return i;
  return fallback;
}

int16_t get_i16(const uint8_t* p) { return int16_t(uint16_t(p[0] | (p[1] << 8))); }
void put_i16(uint8_t* p, int v) {
  p[0] = uint8_t(v & 0xff);
  p[1] = uint8_t((v >> 8) & 0xff);
}

// The estimate pages: new-page group, then the title 8 bytes on, the layout groups and the checks.
struct estimate_page {
  print_method method;
  std::size_t new_page;
  std::size_t rms;     // 0: none
  std::size_t layout;  // 0: none
  std::size_t checks;
};
constexpr estimate_page estimate_pages[] = {
    {print_method::formula_2, 3607, 3875, 3883, 3891},
    {print_method::formula_1, 3899, 0, 4167, 4175},
    {print_method::simplified, 4183, 0, 0, 4451},
    {print_method::upzp, 4459, 0, 4727, 4735},
};

const estimate_page& page_of(print_method m) {
  for (const auto& p : estimate_pages)
    if (p.method == m) return p;
  return estimate_pages[0];
}

// Parts whose page starts with "Drukuj od nowej strony" and a title (the estimate and the
// bill of quantities choose their page by the method).
struct part_page {
  int code;
  std::size_t new_page;
};
constexpr part_page part_pages[] = {
    {10, 1431},  {15, 2535},  {115, 2803}, {25, 3071},  {125, 3339}, {30, 4743},  {45, 5019},
    {145, 5311}, {50, 5603},  {150, 5903}, {55, 6203},  {155, 6495}, {60, 6787},  {160, 7071},
    {70, 7355},  {65, 7639},  {165, 7907}, {80, 8175},  {75, 8443},  {90, 8711},  {93, 8991},
    {96, 9271},  {100, 9551},
};

print_method block_method(const uint8_t* block) {
  return print_method(radio_value(block, po::calc_method, 4, 3));
}

// The page offset of a part for the method in use (0 when the part has no page of its own).
std::size_t new_page_offset(const uint8_t* block, int code) {
  if (code == 40) return page_of(block_method(block)).new_page;
  if (code == 35) return block_method(block) == print_method::upzp ? 1983 : 1707;
  for (const auto& p : part_pages)
    if (p.code == code) return p.new_page;
  return 0;
}

enum class field { check, radio, title, number16, text };
struct caption_item {
  std::size_t offset;
  int item;  // bit of the group; for number fields: minimum value
  const char* caption;
  field kind;
  int max = 0;  // number fields
};

std::vector<caption_item> estimate_captions(print_method m) {
  const estimate_page& p = page_of(m);
  std::vector<caption_item> v = {{p.new_page, 1, "Drukuj od nowej strony", field::check},
                                 {p.new_page + 8, 0, "Wybierz tytuł", field::title}};
  if (p.rms) {
    v.push_back({p.rms, 1, "RMS razem", field::radio});
    v.push_back({p.rms, 2, "RMS osobno", field::radio});
  }
  if (p.layout) {
    v.push_back({p.layout, 1, "Uproszczony", field::radio});
    v.push_back({p.layout, 2, "Pełny", field::radio});
  }
  static const char* const f2[] = {"Z narzutami", "Z wyliczeniami ilości", "Z podstawami nakładów",
                                   "Z podsumowaniem nakładów", "Z podsumowaniem pozycji", "Z podsumowaniem elementów",
                                   "Z podsumowaniem grup", "Z podsumowaniem rozdziałów", "Z podsumowaniem kosztorysu",
                                   "Z ceną jednostkową pozycji", "Z VAT w pozycjach razem", "Z notatką",
                                   "Nie pokazuj VAT w pozycjach", "Z kodami CPV", "Z numerami specyfikacji STWiOR",
                                   "Z indywidualnymi kodami pozycji"};
  static const char* const f1[] = {"Z wyliczeniami ilości", "Z podstawami nakładów", "Z podsumowaniem elementów",
                                   "Z podsumowaniem grup", "Z podsumowaniem rozdziałów", "Z podsumowaniem kosztorysu",
                                   "Z notatką", "Z kodami CPV", "Z numerami specyfikacji STWiOR",
                                   "Z indywidualnymi kodami pozycji"};
  if (m == print_method::formula_2) {
    for (int i = 0; i < 16; ++i) v.push_back({p.checks, i + 1, f2[i], field::check});
  } else if (m == print_method::simplified) {
    for (int i = 1; i < 10; ++i) v.push_back({p.checks, i, f1[i], field::check});
  } else {
    for (int i = 0; i < 10; ++i) v.push_back({p.checks, i + 1, f1[i], field::check});
  }
  return v;
}

std::vector<caption_item> device_captions() {
  return {{po::device, 1, "Drukarka", field::radio},
          {po::device, 2, "Zbiór", field::radio},
          {po::device, 3, "PDF", field::radio},
          {po::print_mode, 1, "Graficzny", field::radio},
          {po::print_mode, 2, "Tekstowy", field::radio},
          {po::print_kind, 1, "Wydruk dzielony", field::radio},
          {po::print_kind, 2, "Wydruk ciągły", field::radio},
          {po::file_type, 1, "Zbiór", field::radio},
          {po::file_type, 2, "Zbiór Mazovia", field::radio},
          {po::file_type, 3, "Zbiór Windows", field::radio},
          {po::page_range_mode, 1, "Cały dokument", field::radio},
          {po::page_range_mode, 2, "Zakres stron:", field::radio},
          {po::copies, 1, "Liczba kopii", field::number16, 999},
          {po::first_page_number, 0, "Numer pierwszej strony", field::number16, 9999},
          {po::margin_top, 0, "Górny", field::number16, 999},
          {po::margin_bottom, 0, "Dolny", field::number16, 999},
          {po::margin_left, 0, "Lewy", field::number16, 999},
          {po::margin_right, 0, "Prawy", field::number16, 999}};
}

std::vector<caption_item> general_captions() {
  return {{po::calc_method, 1, "Inwestorska UPZP", field::radio},
          {po::calc_method, 2, "FORMUŁA I", field::radio},
          {po::calc_method, 3, "FORMUŁA II", field::radio},
          {po::calc_method, 4, "Uproszczona", field::radio},
          {po::calc_as_estimate, 1, "zgodne z ustawieniami w kosztorysie", field::check},
          {po::overheads_level, 1, "dla Elementu", field::radio},
          {po::overheads_level, 2, "dla Pozycji", field::radio},
          {po::labour, 1, "Razem", field::radio},
          {po::labour, 2, "Osobno", field::radio},
          {po::names, 1, "Z drzewka", field::radio},
          {po::names, 2, "Z danych ogólnych", field::radio},
          {po::quantities, 1, "Ilości globalne", field::radio},
          {po::quantities, 2, "Ilości na jednostkę kosztorysu", field::radio},
          {po::quantities, 3, "Ilości na jednostkę rozdziału", field::radio},
          {po::quantities, 4, "Ilości na jednostkę elementu", field::radio},
          {po::general_checks, 1, "Rozdziały od nowej strony", field::check},
          {po::general_checks, 2, "Drukuj formuły narzutów", field::check},
          {po::general_checks, 3, "Elementy od nowej strony", field::check},
          {po::general_checks, 4, "Bez cen i wartości", field::check},
          {po::general_checks, 5, "Metoda liczenia - ceny materiałów z k. z.", field::check},
          {po::multiplicity_in_unit, 1, "Krotność w wartości jednostkowej", field::check}};
}

// The checks and radio items of the other parts' pages (after their new page and title).
void add_part_captions(std::vector<caption_item>& v, const uint8_t* block, int part, print_method method) {
  auto checks = [&](std::size_t off, std::initializer_list<const char*> names, field f = field::check) {
    int i = 1;
    for (const char* n : names) v.push_back({off, i++, n, f});
  };
  const std::initializer_list<const char*> survey = {"Z wyliczeniami ilości", "Z podstawami nakładów", "Z notatką",
                                                     "Z kodami CPV", "Z numerami specyfikacji STWiOR",
                                                     "Z indywidualnymi kodami pozycji"};
  if (part == 35) {
    const bool upzp = method == print_method::upzp;
    checks(upzp ? 2251 : 1975, survey);
    if (upzp) {
      v.push_back({2259, 2, "Drukuj spis dzialów", field::check});
      v.push_back({2267, 0, "Tytuł spisu działów", field::title});
      checks(2527, {"rozdziały", "grupy", "elementy", "pozycje"});
    }
  } else if (part == 10) {
    checks(1699, {"Nie drukuj wartości kosztorysu", "Z notatką", "Z kodami CPV", "Drukuj nazwę firmy",
                  "Z numerem specyfikacji STWiOR", "Z indywidualnym kodem"});
  } else if (part == 85) {
    v.push_back({9819, 1, "Drukuj od nowej strony", field::check});
    v.push_back({9819, 2, "Drukuj", field::check});
    v.push_back({9827, 0, "Wybierz tytuł", field::title});
    // The other two annex pages repeat these captions: each is named after its page.
    v.push_back({10087, 1, "Spis kalkulacji szczegółowych - załącznik 1 / Drukuj od nowej strony", field::check});
    v.push_back({10087, 2, "Spis kalkulacji szczegółowych - załącznik 1 / Drukuj", field::check});
    v.push_back({10095, 0, "Spis kalkulacji szczegółowych - załącznik 1 / Wybierz tytuł", field::title});
    v.push_back({10363, 1, "Założenia - załącznik 2 / Drukuj od nowej strony", field::check});
    v.push_back({10363, 2, "Założenia - załącznik 2 / Drukuj", field::check});
    v.push_back({10371, 0, "Założenia - załącznik 2 / Wybierz tytuł", field::title});
  } else if (part == 185) {
    v.push_back({10631, 1, "Drukuj od nowej strony", field::check});
    v.push_back({10631, 2, "Drukuj", field::check});
    v.push_back({10639, 0, "Wybierz tytuł", field::title});
  } else if (part == 70) {
    checks(7623, {"Element - procent wartości w rozdziale i kosztorysie", "Nazwy elementów zawierają zakresy pozycji"});
    checks(7631, {"Wartość elementów z narzutami, RMS razem", "Wartość elementów z narzutami, RMS osobno",
                  "Szczegółowe koszty elementów", "Koszty elementów z wyszczególnieniem narzutów"},
           field::radio);
  }
  if (const summary_page* sp = summary_page_of(part)) {
    const summary_page& s = *sp;
    checks(s.checks, {"Z kodami ETO", "Ze znakami wiodącymi", "Z kolumną Lp.", "Z materiałami inwestora"});
    if (part % 100 != 50) v.pop_back();
    if (s.values) checks(s.values, {"Nakłady", "Nakłady + wartości"}, field::radio);
    checks(s.prices, {"Ceny wszystkie", "Ceny niezerowe", "Ceny zerowe"}, field::radio);
    if (s.layout)
      checks(s.layout, {"Zestawienie materiałów", "Kalkulacja kosztów zakupu", "Zestawienie z kalkulacją kosztów"},
             field::radio);
  }
}

bool parse_number(const std::string& s, long& out) {
  if (s.empty() || s.size() > 6) return false;
  char* end = nullptr;
  out = std::strtol(s.c_str(), &end, 10);
  return *end == '\0';
}

// Applies one item; 1 done, 0 the value does not fit, -1 no such caption.
int apply(uint8_t* block, const std::vector<caption_item>& items, const std::string& caption,
          const std::string& value) {
  for (const auto& it : items) {
    if (caption != it.caption) continue;
    const bool on = value == "on", off = value == "off";
    switch (it.kind) {
    case field::check:
      if (!on && !off) return 0;
      set_item(block, it.offset, it.item, on);
      return 1;
    case field::radio: {
      if (it.offset == po::page_range_mode && it.item == 2 && !on && !off) {
        // "Zakres stron:" with its text.
        if (value.size() >= po::page_range_size) return 0;
        std::memset(block + po::page_range, 0, po::page_range_size);
        std::memcpy(block + po::page_range, value.data(), value.size());
      } else if (!on) {
        return off ? 1 : 0;  // a radio item is switched by selecting another
      }
      option_group g = get_group(block, it.offset);
      g.value = uint32_t(1) << it.item;
      put_group(block, it.offset, g);
      return 1;
    }
    case field::title: {
      const std::string text = store::utf8_to_mazovia(value);
      if (text.size() >= title_size) return 0;
      std::memset(block + it.offset, 0, title_size);
      std::memcpy(block + it.offset, text.data(), text.size());
      return 1;
    }
    case field::number16: {
      long n = 0;
      if (!parse_number(value, n) || n < it.item || n > it.max) return 0;
      put_i16(block + it.offset, int(n));
      return 1;
    }
    case field::text: return 0;
    }
  }
  return -1;
}

} // namespace

print_method method_of_document(int calc_method) {
  switch (calc_method) {
  case 1: return print_method::formula_1;
  case 2: return print_method::upzp;
  case 3: return print_method::simplified;
  default: return print_method::formula_2;
  }
}

int document_method(print_method m) {
  switch (m) {
  case print_method::formula_1: return 1;
  case print_method::upzp: return 2;
  case print_method::simplified: return 3;
  default: return 0;
  }
}

general_options read_general_options(const uint8_t* b) {
  general_options g;
  g.method = block_method(b);
  g.as_estimate = item_on(b, po::calc_as_estimate, 1);
  g.overheads_per_element = radio_value(b, po::overheads_level, 2, 1) == 1;
  g.labour_total = radio_value(b, po::labour, 2, 2) == 1;
  g.names_from_general = radio_value(b, po::names, 2, 1) == 2;
  g.quantities = radio_value(b, po::quantities, 4, 1);
  g.chapters_new_page = item_on(b, po::general_checks, 1);
  g.overhead_formulas = item_on(b, po::general_checks, 2);
  g.elements_new_page = item_on(b, po::general_checks, 3);
  g.without_prices = item_on(b, po::general_checks, 4);
  g.prices_with_kz = item_on(b, po::general_checks, 5);
  g.multiplicity_in_unit = item_on(b, po::multiplicity_in_unit, 1);
  if (g.without_prices) g.overhead_formulas = false;
  return g;
}

std::size_t estimate_page_offset(print_method method) { return page_of(method).new_page; }

estimate_options read_estimate_options(uint8_t* b, print_method method) {
  const estimate_page& p = page_of(method);
  estimate_options o;
  o.method = method;
  o.new_page = item_on(b, p.new_page, 1);
  o.title = effective_title(b, p.new_page + 8);
  o.rms_total = p.rms && radio_value(b, p.rms, 2, 2) == 1;
  o.full = p.layout && radio_value(b, p.layout, 2, 2) == 2;
  auto c = [&](int item) { return item_on(b, p.checks, item); };
  if (method == print_method::formula_2) {
    o.with_overheads = c(1);
    o.survey = c(2);
    o.bases = c(3);
    o.input_summary = c(4);
    o.position_summary = c(5);
    o.element_summary = c(6);
    o.group_summary = c(7);
    o.chapter_summary = c(8);
    o.estimate_summary = c(9);
    o.unit_price = c(10);
    o.vat_in_positions = c(11);
    o.note = c(12);
    o.hide_vat = c(13);
    o.cpv = c(14);
    o.stwior = c(15);
    o.individual_code = c(16);
  } else if (method == print_method::simplified) {
    o.bases = c(1);
    o.element_summary = c(2);
    o.group_summary = c(3);
    o.chapter_summary = c(4);
    o.estimate_summary = c(5);
    o.note = c(6);
    o.cpv = c(7);
    o.stwior = c(8);
    o.individual_code = c(9);
  } else {
    o.survey = c(1);
    o.bases = c(2);
    o.element_summary = c(3);
    o.group_summary = c(4);
    o.chapter_summary = c(5);
    o.estimate_summary = c(6);
    o.note = c(7);
    o.cpv = c(8);
    o.stwior = c(9);
    o.individual_code = c(10);
  }
  // What the dialog's rules allow: the survey lines and the input summary only in the full
  // layout, the unit price in the full layout or with one value column, the VAT options only
  // in the full layout with overheads.
  if (!o.full) {
    o.survey = false;
    o.input_summary = false;
    o.hide_vat = false;
    o.vat_in_positions = false;
    if (!o.rms_total) o.unit_price = false;
  }
  if (!o.with_overheads) o.hide_vat = o.vat_in_positions = false;
  if (o.hide_vat) o.vat_in_positions = false;
  return o;
}

device_options read_device_options(const uint8_t* b) {
  device_options d;
  d.device = print_device(radio_value(b, po::device, 3, 1));
  d.text_mode = radio_value(b, po::print_mode, 2, 1) == 2;
  d.continuous = radio_value(b, po::print_kind, 2, 1) == 2;
  d.margin_top = std::max(0, int(get_i16(b + po::margin_top)));
  d.margin_bottom = std::max(0, int(get_i16(b + po::margin_bottom)));
  d.margin_left = std::max(0, int(get_i16(b + po::margin_left)));
  d.margin_right = std::max(0, int(get_i16(b + po::margin_right)));
  d.file_type = text_file_type(radio_value(b, po::file_type, 4, 1));
  d.whole_document = radio_value(b, po::page_range_mode, 2, 1) == 1;
  d.range_text = get_text(b + po::page_range, po::page_range_size);
  d.copies = std::max(1, int(get_i16(b + po::copies)));
  d.first_page_number = std::max(1, int(get_i16(b + po::first_page_number)));
  return d;
}

page_range parse_page_range(const std::string& text, int first_page_number) {
  first_page_number = std::clamp(first_page_number, 1, 9999);
  auto number = [](std::string s) {
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    if (s.empty()) return 1;
    const bool digits = std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) return s[0] == '-' ? 1 : 9999;  // out of range: the nearer limit
    if (s.size() > 5) return 9999;
    return std::clamp(std::atoi(s.c_str()), 1, 9999);
  };
  page_range r;
  const auto dash = text.find('-');
  if (dash == std::string::npos) {
    r.first = r.last = number(text);
  } else {
    r.first = number(text.substr(0, dash));
    r.last = number(text.substr(dash + 1));
  }
  r.first = std::max(r.first, first_page_number);
  return r;
}

page_range page_range_of(const device_options& d) {
  if (d.whole_document) return {d.first_page_number, 9999};
  return parse_page_range(d.range_text, d.first_page_number);
}

std::size_t part_page_offset(const uint8_t* block, int code) { return new_page_offset(block, code); }

void sync_new_page_flags(uint8_t* block) {
  for (const auto& part : print_parts()) {
    const std::size_t off = new_page_offset(block, part.code);
    if (off) block[po::new_page + std::size_t(part.code)] = item_on(block, off, 1) ? 1 : 0;
  }
}

std::vector<page_option> page_options(const uint8_t* block, int part, print_method method) {
  std::vector<caption_item> items;
  if (part == 1) items = device_captions();
  else if (part == 5) items = general_captions();
  else if (part == 40) items = estimate_captions(method);
  else {
    std::size_t off = new_page_offset(block, part);
    if (part == 35) off = method == print_method::upzp ? 1983 : 1707;  // the bill of quantities of the method
    // The annex parts' pages are made of their annexes' own options.
    if (off && part != 85 && part != 185)
      items = {{off, 1, "Drukuj od nowej strony", field::check}, {off + 8, 0, "Wybierz tytuł", field::title}};
    add_part_captions(items, block, part, method);
  }
  std::vector<page_option> out;
  for (const auto& it : items) {
    if (it.kind == field::text) continue;
    const option_kind k = it.kind == field::check   ? option_kind::check
                          : it.kind == field::radio ? option_kind::radio
                          : it.kind == field::title ? option_kind::title
                                                    : option_kind::number16;
    out.push_back({it.offset, it.item, it.caption, k, it.max});
  }
  return out;
}

bool set_option_by_caption(uint8_t* block, int part, const std::string& caption, const std::string& value,
                           int document_method_code, std::string& error) {
  std::vector<std::vector<caption_item>> pages;
  if (part == 1) {
    pages.push_back(device_captions());
  } else if (part == 5) {
    pages.push_back(general_captions());
  } else if (part == 40) {
    const print_method chosen =
        item_on(block, po::calc_as_estimate, 1) ? method_of_document(document_method_code) : block_method(block);
    pages.push_back(estimate_captions(chosen));
    for (const auto& p : estimate_pages)
      if (p.method != chosen) pages.push_back(estimate_captions(p.method));
  } else {
    const print_method method =
        item_on(block, po::calc_as_estimate, 1) ? method_of_document(document_method_code) : block_method(block);
    std::size_t off = new_page_offset(block, part);
    if (part == 35) off = method == print_method::upzp ? 1983 : 1707;  // the page of the method in use
    if (off)
      pages.push_back({{off, 1, "Drukuj od nowej strony", field::check}, {off + 8, 0, "Wybierz tytuł", field::title}});
    if (pages.empty()) pages.emplace_back();
    add_part_captions(pages.back(), block, part, method);
  }
  for (const auto& items : pages) {
    const int r = apply(block, items, caption, value);
    if (r == 1) {
      repair_radio_groups(block);
      sync_new_page_flags(block);
      return true;
    }
    if (r == 0) {
      error = "part " + std::to_string(part) + ": \"" + value + "\" does not fit \"" + caption + "\"";
      return false;
    }
  }
  error = "part " + std::to_string(part) + " has no option \"" + caption + "\"";
  return false;
}

bool part_included(const uint8_t* block, int code) {
  if (code < 0 || code >= 200) return false;
  return block[po::include + std::size_t(code)] != 0;
}

void include_part(uint8_t* block, int code, bool on) {
  if (code >= 0 && code < 200) block[po::include + std::size_t(code)] = on ? 1 : 0;
}

} // namespace kovra::printouts
