#pragma once
// The Common Procurement Vocabulary (CPV) in its Polish wording: the main and the
// supplementary vocabulary as sorted tables, and the correspondence that takes a code of
// the older (2003) edition to the edition in force. The tables are read from three text
// files next to the programs, each line "code<TAB>text" (correspondence: "old<TAB>new"),
// UTF-8, sorted by code. Descriptions stay as the vocabulary gives them (UTF-8, no-break
// spaces included).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kovra::document {

// One vocabulary entry. `text` is what views and printouts show for it: the code with its
// check digit, two blanks and the description ("45000000-7  Roboty budowlane",
// "FF01-1  Do czyszczenia").
struct cpv_entry {
  std::string text;
  uint8_t level = 0;       // main: significant code digits − 1 (1 division … 7); supplementary: 2
  uint8_t code_size = 8;   // 8 for main codes, 4 for supplementary codes

  std::string_view code() const { return std::string_view(text).substr(0, code_size); }
  char check_digit() const { return text[code_size + 1]; }
  std::string_view description() const { return std::string_view(text).substr(code_size + 4u); }
};

// One line of the 2003-to-2008 correspondence.
struct cpv_translation {
  char old_code[8];
  char old_check;
  const cpv_entry* entry;  // the 2008 entry the old code became
};

// Level of a main code from its eight digits: division 1 (two significant digits) to 7.
int cpv_level_of(std::string_view code8);
// The check digit computed from eight code digits (weights 3, 7, 1 repeated, modulo 10), as
// the 2003 edition and most 2008 codes carry it; '?' when the text is not eight digits.
// The published vocabulary is the authority for its own codes: a few hundred 2008 codes
// carry another digit, so a code found in a table is checked against its entry instead.
char cpv_computed_check_digit(std::string_view code8);
// The eight digits with every digit after the first `digits` (2 to 8) replaced by "0".
std::string cpv_cut_to_level(std::string_view code8, int digits);

class cpv_table {
public:
  // Reading a table file: false with `error` ("line N: what") when a line is not of the form,
  // and then the table is left as it was. Lines may come in any order; the tables are sorted
  // after reading and a repeated code keeps its first line. A missing final line end is fine.
  bool read_main(std::string_view file_text, std::string& error);
  bool read_supplementary(std::string_view file_text, std::string& error);
  // The correspondence needs the main table read first: an old code whose new code is not
  // in the main table is left out.
  bool read_correspondence(std::string_view file_text, std::string& error);

  // Binary search by the first eight (main) or four (supplementary) characters of `code`;
  // none for a shorter text or a code the table does not hold.
  const cpv_entry* find_main(std::string_view code) const;
  const cpv_entry* find_supplementary(std::string_view code) const;
  // A 2003-edition main code (first eight characters) through the correspondence.
  const cpv_translation* find_2003(std::string_view code) const;

  // Main entries whose code starts with `query` (when it is all digits, a "-" allowed) or
  // whose description holds every word of `query`, letter case and no-break spaces aside;
  // in table order, at most `limit`.
  std::vector<const cpv_entry*> search(std::string_view query, std::size_t limit = 100) const;

  const std::vector<cpv_entry>& main() const { return main_; }
  const std::vector<cpv_entry>& supplementary() const { return supplementary_; }
  std::size_t translations() const { return old_.size(); }

private:
  std::vector<cpv_entry> main_, supplementary_;
  std::vector<cpv_translation> old_;
  std::vector<std::string> folded_;  // main descriptions in lower case for search
};

// File names of the three tables in the program folder.
inline constexpr const char* cpv_main_file = "cpv_main_pl.tsv";
inline constexpr const char* cpv_supplementary_file = "cpv_supplementary_pl.tsv";
inline constexpr const char* cpv_correspondence_file = "cpv2003_to_cpv2008.tsv";

// Reads the three files from `folder` (ending in "/"). A file that is missing or damaged
// leaves its table empty and its reason in `error` (so its codes show as unknown).
std::shared_ptr<const cpv_table> load_cpv_tables(const std::string& folder, std::string& error);

// The process-wide tables, read from the program folder on first use. `cpv_tables_error`
// tells why a table is empty. `reset_cpv_tables` forgets them (tests); `use_cpv_tables`
// installs given tables instead.
const cpv_table& cpv_tables();
const std::string& cpv_tables_error();
void reset_cpv_tables();
void use_cpv_tables(std::shared_ptr<const cpv_table> tables);

} // namespace kovra::document
