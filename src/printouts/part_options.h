#pragma once
// The options of the printed parts beyond the estimate: the bill of quantities, the title
// page, the summaries of inputs, the merged-element table and the parts that have only a
// new-page check and a title. Read by name from the print settings block.
#include "printouts/print_options.h"

#include <cstdint>
#include <string>

namespace kovra::printouts {

// "Drukuj od nowej strony" and the title of a part's page (the list's first entry when the
// stored title is empty; `block` is written only to store it). Parts without a page of their
// own have no new page and an empty title.
struct part_page_options {
  bool new_page = false;
  std::string title;  // internal code page
};
part_page_options read_part_page(uint8_t* block, int code);

// "Przedmiar - Obmiar" (the UPZP page for that method, else the common one).
struct survey_options {
  part_page_options page;
  bool survey = false;          // "Z wyliczeniami ilości"
  bool bases = false;           // "Z podstawami nakładów"
  bool note = false;
  bool cpv = false;
  bool stwior = false;
  bool individual_code = false;
  // The list of divisions (UPZP page only).
  bool division_list = false;   // "Drukuj spis dzialów"
  bool division_new_page = false;
  std::string division_title;
  bool list_chapters = false, list_groups = false, list_elements = false, list_positions = false;
};
survey_options read_survey_options(uint8_t* block, bool upzp);

// "Strona tytułowa".
struct title_options {
  part_page_options page;
  bool no_values = false;       // "Nie drukuj wartości kosztorysu"
  bool note = false;
  bool cpv = false;
  bool firm = false;            // "Drukuj nazwę firmy"
  bool stwior = false;
  bool individual_code = false;
};
title_options read_title_options(uint8_t* block);

// The summaries of inputs: 45 labour, 50 materials, 55 equipment, 60 investor materials, and
// the per-chapter pages 145 to 160.
enum class price_filter : int { all = 1, non_zero = 2, zero = 3 };
enum class material_layout : int { summary = 1, purchase_costs = 2, both = 3 };
struct summary_options {
  part_page_options page;
  bool eto = false;             // "Z kodami ETO"
  bool leaders = false;         // "Ze znakami wiodącymi"
  bool lp = false;              // "Z kolumną Lp."
  bool investor = false;        // "Z materiałami inwestora" (materials)
  bool values = true;           // "Nakłady + wartości" (investor materials: always)
  price_filter prices = price_filter::all;
  material_layout materials = material_layout::summary;
};
summary_options read_summary_options(uint8_t* block, int code);

// Where a summary page keeps its groups: checks, "Nakłady" / "Nakłady + wartości" (0: none),
// prices, the materials' layout (0: none). None for other codes.
struct summary_page {
  int code;
  std::size_t checks, values, prices, layout;
};
const summary_page* summary_page_of(int code);

// "Tabela elementów scalonych".
struct element_table_options {
  part_page_options page;
  bool shares = false;          // "Element - procent wartości w rozdziale i kosztorysie"
  bool ranges = false;          // "Nazwy elementów zawierają zakresy pozycji"
  int layout = 1;               // 1 to 4
};
element_table_options read_element_table_options(uint8_t* block);

} // namespace kovra::printouts

namespace kovra::printouts {

class printout_sink;
struct print_document;

// The title suffix of quantities per unit ("Ilości" on page "Ogólne"): "(na jednostkę
// kosztorysu, ilość jednostek: N)", "(na jednostkę rozdziału)", "(na jednostkę elementu)";
// empty for global quantities.
std::string quantities_suffix(const general_options& g, const print_document& doc);

// What amounts are divided by when quantities are per estimate unit (the estimate's count of
// units, 1 when it has none); 1 otherwise.
double per_unit_divisor(const general_options& g, const print_document& doc);

// The part heading with that suffix under the title (graphic: a second title line; text: a
// centred line under the letter-spaced title).
void part_heading_with_suffix(printout_sink& sink, const std::string& title, bool new_page, const std::string& suffix);

} // namespace kovra::printouts
