#include "printouts/part_options.h"

#include "shell/print_block.h"

namespace kovra::printouts {
namespace {

using shell::item_on;

int radio(const uint8_t* block, std::size_t offset, int items, int fallback) {
  for (int i = 1; i <= items; ++i)
    if (item_on(block, offset, i)) return i;
  return fallback;
}

part_page_options page_at_offset(uint8_t* block, std::size_t offset) {
  part_page_options p;
  p.new_page = item_on(block, offset, 1);
  p.title = shell::effective_title(block, offset + 8);
  return p;
}

constexpr summary_page summary_pages[] = {
    {45, 5287, 5295, 5303, 0},     {145, 5579, 5587, 5595, 0},    {50, 5879, 5887, 5895, 5871},
    {150, 6179, 6187, 6195, 6171}, {55, 6471, 6479, 6487, 0},     {155, 6763, 6771, 6779, 0},
    {60, 7055, 0, 7063, 0},        {160, 7339, 0, 7347, 0},
};

} // namespace

part_page_options read_part_page(uint8_t* block, int code) {
  const std::size_t offset = part_page_offset(block, code);
  return offset ? page_at_offset(block, offset) : part_page_options{};
}

const summary_page* summary_page_of(int code) {
  for (const summary_page& p : summary_pages)
    if (p.code == code) return &p;
  return nullptr;
}

survey_options read_survey_options(uint8_t* block, bool upzp) {
  survey_options o;
  const std::size_t base = upzp ? 1983 : 1707;
  o.page = page_at_offset(block, base);
  const std::size_t checks = base + 268;
  o.survey = item_on(block, checks, 1);
  o.bases = item_on(block, checks, 2);
  o.note = item_on(block, checks, 3);
  o.cpv = item_on(block, checks, 4);
  o.stwior = item_on(block, checks, 5);
  o.individual_code = item_on(block, checks, 6);
  if (upzp) {
    o.division_new_page = item_on(block, 2259, 1);
    o.division_list = item_on(block, 2259, 2);
    o.division_title = shell::effective_title(block, 2267);
    o.list_chapters = item_on(block, 2527, 1);
    o.list_groups = item_on(block, 2527, 2);
    o.list_elements = item_on(block, 2527, 3);
    o.list_positions = item_on(block, 2527, 4);
  }
  return o;
}

title_options read_title_options(uint8_t* block) {
  title_options o;
  o.page = page_at_offset(block, 1431);
  o.no_values = item_on(block, 1699, 1);
  o.note = item_on(block, 1699, 2);
  o.cpv = item_on(block, 1699, 3);
  o.firm = item_on(block, 1699, 4);
  o.stwior = item_on(block, 1699, 5);
  o.individual_code = item_on(block, 1699, 6);
  return o;
}

summary_options read_summary_options(uint8_t* block, int code) {
  summary_options o;
  o.page = read_part_page(block, code);
  if (const summary_page* sp = summary_page_of(code)) {
    const summary_page& p = *sp;
    o.eto = item_on(block, p.checks, 1);
    o.leaders = item_on(block, p.checks, 2);
    o.lp = item_on(block, p.checks, 3);
    o.investor = code % 100 == 50 && item_on(block, p.checks, 4);
    o.values = p.values == 0 || radio(block, p.values, 2, 2) == 2;
    o.prices = price_filter(radio(block, p.prices, 3, 1));
    if (p.layout) o.materials = material_layout(radio(block, p.layout, 3, 1));
  }
  return o;
}

element_table_options read_element_table_options(uint8_t* block) {
  element_table_options o;
  o.page = page_at_offset(block, 7355);
  o.shares = item_on(block, 7623, 1);
  o.ranges = item_on(block, 7623, 2);
  o.layout = radio(block, 7631, 4, 1);
  return o;
}

} // namespace kovra::printouts

#include <algorithm>
#include <cstdio>
#include "printouts/print_document.h"
#include "printouts/printout_sink.h"
#include "store/codepage.h"

namespace kovra::printouts {

std::string quantities_suffix(const general_options& g, const print_document& doc) {
  switch (g.quantities) {
  case 2: {
    const double units = doc.general.units_count() > 0 ? doc.general.units_count() : 1.0;
    char count[32];
    std::snprintf(count, sizeof count, "%g", units);
    return store::utf8_to_mazovia("(na jednostkę kosztorysu, ilość jednostek: ") + std::string(count) + ")";
  }
  case 3: return store::utf8_to_mazovia("(na jednostkę rozdziału)");
  case 4: return store::utf8_to_mazovia("(na jednostkę elementu)");
  default: return {};
  }
}

double per_unit_divisor(const general_options& g, const print_document& doc) {
  return g.quantities == 2 && doc.general.units_count() > 0 ? doc.general.units_count() : 1.0;
}

void part_heading_with_suffix(printout_sink& sink, const std::string& title, bool new_page, const std::string& suffix) {
  if (suffix.empty()) {
    sink.part_heading(title, new_page);
  } else if (!sink.text_mode()) {
    sink.part_heading(title + "\n" + suffix, new_page);
  } else {
    sink.part_heading(title, new_page);
    sink.text_line(std::string(std::size_t(std::max(0, (72 - int(suffix.size())) / 2)), ' ') + suffix, false);
    sink.text_line("", false);
  }
}

} // namespace kovra::printouts
