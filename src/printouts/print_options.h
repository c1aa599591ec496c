#pragma once
// The options printed parts read from a print settings block, by name: the page "Ogólne",
// the device page, the four option pages of the estimate part, the page range and the
// numbers whose values below 1 count as 1. Generators use these, never raw offsets.
#include "shell/print_block.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovra::printouts {

// "Metoda kalkulacji" as the block stores it (radio item numbers).
enum class print_method : int { upzp = 1, formula_1 = 2, formula_2 = 3, simplified = 4 };

// The calculation method of a document (0 FORMUŁA II, 1 FORMUŁA I, 2 UPZP, 3 simplified)
// as the block's radio item, and back.
print_method method_of_document(int calc_method);
int document_method(print_method m);

// Page "Ogólne".
struct general_options {
  print_method method = print_method::formula_2;
  bool as_estimate = true;            // "zgodne z ustawieniami w kosztorysie"
  bool overheads_per_element = true;  // "Narzuty": "dla Elementu" / "dla Pozycji"
  bool labour_total = false;          // "Robocizna": "Razem" / "Osobno"
  bool names_from_general = false;    // "Nazwy": "Z danych ogólnych" / "Z drzewka"
  int quantities = 1;                 // "Ilości": 1 global, 2 per estimate unit, 3 per chapter unit, 4 per element unit
  bool chapters_new_page = false;
  bool overhead_formulas = false;     // "Drukuj formuły narzutów"
  bool elements_new_page = false;
  bool without_prices = false;        // "Bez cen i wartości"
  bool prices_with_kz = true;         // "Metoda liczenia - ceny materiałów z k. z."
  bool multiplicity_in_unit = true;   // "Krotność w wartości jednostkowej"
  bool per_unit() const { return quantities != 1; }
};
general_options read_general_options(const uint8_t* block);

// The four option pages of the part "Kosztorys"; each keeps its options at its own place.
struct estimate_options {
  print_method method = print_method::formula_2;
  bool new_page = false;
  std::string title;          // internal text; the page list's first entry when empty
  bool rms_total = false;     // "RMS razem" (FORMUŁA II only; other methods print R, M, S)
  bool full = true;           // "Pełny" (the simplified method always prints the unit-price layout)
  bool detail_annex = false;  // printed as the detail annex: merged elements without their one-row form
  bool with_overheads = false;
  bool survey = false;        // "Z wyliczeniami ilości"
  bool bases = false;         // "Z podstawami nakładów"
  bool input_summary = false; // "Z podsumowaniem nakładów"
  bool position_summary = false;
  bool element_summary = false;
  bool group_summary = false;
  bool chapter_summary = false;
  bool estimate_summary = false;
  bool unit_price = false;    // "Z ceną jednostkową pozycji"
  bool vat_in_positions = false;  // "Z VAT w pozycjach razem"
  bool note = false;
  bool hide_vat = false;      // "Nie pokazuj VAT w pozycjach"
  bool cpv = false;
  bool stwior = false;
  bool individual_code = false;
};
// The options of the method's page; `block` is written only to store a defaulted title.
estimate_options read_estimate_options(uint8_t* block, print_method method);
// Offset of the method page's group "Drukuj od nowej strony" (its title follows 8 bytes on).
std::size_t estimate_page_offset(print_method method);

// Device page.
enum class print_device : int { printer = 1, file = 2, pdf = 3 };
enum class text_file_type : int { plain = 1, mazovia = 2, windows = 3, pdf = 4 };
struct device_options {
  print_device device = print_device::printer;
  bool text_mode = false;         // "Tekstowy"
  bool continuous = false;        // "Wydruk ciągły"
  int margin_top = 5, margin_bottom = 5, margin_left = 5, margin_right = 5;  // mm
  text_file_type file_type = text_file_type::plain;
  bool whole_document = true;     // "Cały dokument"
  std::string range_text;
  int copies = 1;                 // below 1 counts as 1
  int first_page_number = 1;      // below 1 counts as 1
};
device_options read_device_options(const uint8_t* block);

// Pages first..last, numbered as printed (from the first page number on).
struct page_range {
  int first = 1;
  int last = 9999;
};
// "Cały dokument": the first page number to 9999. A range text "A-B": each number limited
// to 1..9999 (a missing or out-of-range number becomes the nearer limit, an empty one 1),
// the first at least the first page number; a text without "-" is one page.
page_range parse_page_range(const std::string& text, int first_page_number);
page_range page_range_of(const device_options& d);

// Offset of a part's group "Drukuj od nowej strony" (its title follows 8 bytes on); 0 for a
// part without a page of its own. Parts 35 and 40 by the method chosen on "Ogólne".
std::size_t part_page_offset(const uint8_t* block, int code);

// Sets the new-page flag of every part (byte 400 + code) from its "Drukuj od nowej strony".
void sync_new_page_flags(uint8_t* block);

// Sets an option of a part's page by its caption as the page shows it: a check box or a
// radio item ("on"/"off"; "on" selects a radio item), or an edit field (any text:
// "Wybierz tytuł", "Zakres stron:" on the device page, "Liczba kopii", "Numer pierwszej
// strony", the four margins). Part 1 is the device page, 5 "Ogólne"; for part 40 the page of
// the method chosen on "Ogólne" (or the document's own), then the other three.
// False with a reason in `error` when the page has no such caption or the value does not fit.
bool set_option_by_caption(uint8_t* block, int part, const std::string& caption, const std::string& value,
                           int document_method_code, std::string& error);

// The options a part's page shows, in page order, where the block keeps them: for part 1
// the device page, 5 "Ogólne", 40 the page of `method`, other parts their new-page check
// and title (none for a part without a page of its own).
enum class option_kind { check, radio, title, number16 };
struct page_option {
  std::size_t offset;  // the option group, title or number
  int item;            // the group's item (from 1); for numbers their minimum
  std::string caption;
  option_kind kind;
  int max = 0;         // numbers
};
std::vector<page_option> page_options(const uint8_t* block, int part, print_method method);

// Include flags: the part itself or its per-chapter variant.
bool part_included(const uint8_t* block, int code);
void include_part(uint8_t* block, int code, bool on);

} // namespace kovra::printouts
