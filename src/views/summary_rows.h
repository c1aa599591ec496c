#pragma once
// The lines of a labour, materials or equipment summary page: read from the last run of a
// simple estimate (its price records) or of a compound one (its merged summary records),
// filtered, sorted by a grid column, and turned into the texts of the page's cells. Nothing
// here computes what the calculation layer gives; it picks and formats.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

#include "calc/summaries.h"

namespace kovra::calc {
struct compound_model;
struct estimate_totals;
}

namespace kovra::views {

// Grid columns of a summary page.
enum summary_column {
  sc_lp, sc_eto, sc_name, sc_unit, sc_quantity, sc_base_price, sc_kz, sc_min_price, sc_price, sc_max_price,
  sc_value, sc_mp, sc_investor_quantity, sc_investor_value, summary_columns
};

struct summary_row {
  uint32_t id = 0;
  uint16_t sub = 0;
  std::string name;  // internal code page
  std::string unit;
  double price = 0;  // compound: the average price
  double min_price = 0;
  double max_price = 0;
  double quantity = 0;
  double value = 0;  // the line's value less its investor materials, as the calculation gives it
  double gross_value = 0;  // quantity x price (compound: the merged value), for sorting
  double excluded_quantity = 0;
  double excluded_value = 0;
  double investor_quantity = 0;  // compound: the investor share in percent
  double investor_value = 0;
  double base_price = 0;
  double kz_value = 0;          // as stored
  double kz_shown_value = 0;    // as column "Kz" shows it
  uint8_t kz_mode = 0;          // low 7 bits
  bool counts_in_mp = false;
  bool investor_at_base_price = false;
};

struct summary_closing {
  std::string title;  // internal code page
  double amount = 0;
  double hours = 0;   // total line of labour and equipment
  bool total = false;
  double investor = 0;  // the materials total row: the investor materials total
};

class summary_rows {
public:
  // filter: 0 zero prices, 1 non-zero prices, 2 all.
  enum { zero_prices, nonzero_prices, all_prices };

  void load_simple(const calc::estimate_model& model, const calc::estimate_totals& totals, uint8_t kind);
  void load_compound(const calc::compound_model& model, const calc::estimate_totals& totals, uint8_t kind);
  void clear();

  uint8_t kind() const { return kind_; }
  bool compound() const { return compound_; }
  bool column_exists(int col) const;
  // Columns that a title click sorts by.
  static bool sortable(int col);

  void set_filter(int filter);
  int filter() const { return filter_; }
  // Sorts by a grid column (no change for a column that does not sort).
  void sort(int col, bool ascending);

  int shown_count() const { return int(shown_.size()); }
  const summary_row& shown(int i) const { return lines_[size_t(shown_[size_t(i)])]; }
  int find_shown(uint32_t id, uint16_t sub) const;  // -1 none
  const std::vector<summary_closing>& closing() const { return closing_; }

  QString title(int col) const;
  // The text of a line's cell; `second` is the smaller line below (columns 4 and 10).
  QString cell(int i, int col, QString* second = nullptr) const;
  // The closing row: the column each text goes to.
  QString closing_cell(int c, int col) const;
  // First and last column of a closing row's label.
  int closing_label_end(int c) const;

  // Tab-separated rows for the clipboard, the columns and values of the CSV summary:
  // "Lp.", "Kod", "Nazwa", "Jedn.", "Ilość", "Cena", "Wartość"; numbers with "." and no
  // thousands separators; then the closing rows.
  QString tab_separated() const;

private:
  void finish_load();
  std::vector<summary_row> lines_;
  std::vector<int> shown_;
  std::vector<summary_closing> closing_;
  uint8_t kind_ = 0;
  bool compound_ = false;
  int filter_ = all_prices;
};

QString screen_text(const std::string& internal);
// A number text of calc/number_text.h without its padding.
QString trimmed(const char* text);

} // namespace kovra::views
