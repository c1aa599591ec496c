#include "printouts/summary_table.h"

#include "calc/number_text.h"
#include "calc/overhead_texts.h"
#include "calc/rounding.h"
#include "store/codepage.h"

#include <array>

namespace kovra::printouts {
namespace {

using calc::element_overhead_table;
constexpr const char* money_sample = "-99999999,99";
// A label longer than its field is cut after one of these.
constexpr const char* label_breaks = "-;:\\>)]}?! ";

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }
std::string money(double v) { return calc::text_money(v); }

struct summary_writer {
  printout_sink& sink;
  const summary_style& style;
  const summary_labels& labels;
  table_layout layout;
  int values = 0;  // first value column after "Razem"

  // A row of the table: label, total and (with details) the U, R, M, S amounts of an entry.
  void amounts_row(const std::string& label, double total, const double* rms_u, row_style st,
                   cell_align label_align = cell_align::left) {
    table_row r;
    r.style = st;
    r.cells.push_back({label, 0, 1, label_align, true, true, label_breaks});
    r.cells.push_back({money(total), 1, 1, cell_align::right});
    if (style.details) {
      int c = 2;
      if (style.simplified_column) r.cells.push_back({rms_u ? money(rms_u[0]) : "", c++, 1, cell_align::right});
      for (int k = 1; k <= 3; ++k) r.cells.push_back({rms_u ? money(rms_u[k]) : "", c++, 1, cell_align::right});
    }
    sink.row(layout, r);
  }

  // Step 6 rows: right-aligned label, value, blank R, M, S fields joined by blanks.
  void closing_row(const std::string& label, double value, bool emphasis) {
    table_row r;
    r.style = emphasis ? row_style::emphasis : row_style::normal;
    r.cells.push_back({label, 0, 1, cell_align::right, true, true, label_breaks});
    r.cells.push_back({money(value), 1, 1, cell_align::right});
    if (style.details) {
      const int n = int(layout.columns.size()) - 2;
      r.cells.push_back({"", 2, n, cell_align::left, false, true});
    }
    sink.row(layout, r);
  }

  double amount(const element_overhead_table& t, int row, int col) const { return t.cell[std::size_t(row)][std::size_t(col)]; }
};

std::string overhead_name(const summary_labels& labels, int row) {
  if (!labels.overheads) return {};
  std::string name = labels.overheads->rows[std::size_t(row)].name;
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

std::string formula(const summary_labels& labels, int row) {
  if (!labels.model) return {};
  calc::formula_context ctx;
  ctx.model = labels.model;
  ctx.totals = labels.totals;
  ctx.simple = true;
  return calc::overhead_formula_text(ctx, row);
}

} // namespace

table_layout summary_layout(const summary_style& style) {
  table_layout l;
  if (!style.details) {
    l.columns = {{107, ""}, {11, money_sample}};
  } else if (style.simplified_column) {
    l.columns = {{59, ""}, {11, money_sample}, {11, money_sample}, {11, money_sample}, {11, money_sample},
                 {11, money_sample}};
  } else {
    l.columns = {{71, ""}, {11, money_sample}, {11, money_sample}, {11, money_sample}, {11, money_sample}};
  }
  return l;
}

void print_summary_table(printout_sink& sink, const summary_sums& sums, const summary_style& style,
                         const std::string& container_name, const summary_labels& labels) {
  if (style.without_prices) return;
  const bool big = style.kind == summary_kind::chapter || style.kind == summary_kind::estimate;
  // Formulas only for an element summary with overheads per element; a chapter or estimate
  // summary without details keeps only the VAT formula.
  const bool formulas = style.formulas && style.kind == summary_kind::element && style.overheads_per_element;
  const bool vat_formula = style.formulas && big && !style.details;

  summary_writer w{sink, style, labels, summary_layout(style)};
  static const char* const kinds[] = {" elementu", " grupy", " rozdziału", " kosztorysu"};
  std::string title = mz("Podsumowanie") + mz(kinds[int(style.kind)]);
  if (style.merged) title += mz(" scalonego");

  sink.begin_block();
  sink.rule(w.layout, '-');
  table_row heading;
  heading.style = row_style::heading;
  heading.cells.push_back({title, 0, 1, cell_align::centre, true});
  heading.cells.push_back({"   Razem   ", 1, 1, cell_align::centre});
  if (style.details) {
    int c = 2;
    if (style.simplified_column)
      heading.cells.push_back({style.short_headers ? "U" : "Uproszczone", c++, 1, cell_align::centre});
    heading.cells.push_back({style.short_headers ? "R" : " Robocizna ", c++, 1, cell_align::centre});
    heading.cells.push_back({style.short_headers ? "M" : mz(" Materiały "), c++, 1, cell_align::centre});
    heading.cells.push_back({style.short_headers ? "S" : mz("  Sprzęt   "), c++, 1, cell_align::centre});
  }
  // The text heading centres the title with half the free room on its left.
  sink.row(w.layout, heading);
  sink.rule(w.layout, '-');

  const element_overhead_table& t = sums.table;
  // The "Uproszczone", R, M, S amounts of an entry.
  auto entry = [&](int row) {
    const auto& c = t.cell[std::size_t(row)];
    return std::array<double, 4>{c[calc::ec_other], c[calc::ec_r], c[calc::ec_m], c[calc::ec_s]};
  };
  auto total = [&](int row) { return t.cell[std::size_t(row)][calc::ec_total]; };

  if (style.details)
    w.amounts_row(mz("Koszty bezpośrednie"), total(calc::row_direct), entry(calc::row_direct).data(), row_style::normal);
  if (total(calc::row_kz_investor) != 0) {
    const double m[4] = {0, 0, t.cell[calc::row_kz_investor][calc::ec_m], 0};
    w.amounts_row(mz("Koszty transportu materiałów inwestora"), total(calc::row_kz_investor), m, row_style::normal);
  }
  if (total(calc::row_kz) != 0) {
    std::string label = mz("Koszty zakupu");
    if (formulas) {
      const std::string f = formula(labels, 0);
      if (!f.empty()) label += " " + f;
    }
    const double m[4] = {0, 0, t.cell[calc::row_kz][calc::ec_m], 0};
    w.amounts_row(label, total(calc::row_kz), m, row_style::normal);
  }
  if (style.details) {
    double own_total = 0, own[4] = {0, 0, 0, 0};
    for (int item = 1; item <= 10; ++item) {
      const int row = calc::row_first_item + item - 1;
      if (style.compound_own && item >= 5 && item <= 9) {
        own_total += total(row);
        const auto amounts = entry(row);
        for (int k = 0; k < 4; ++k) own[k] += amounts[std::size_t(k)];
        if (item == 9 && own_total != 0) w.amounts_row(mz("Narzuty własne"), own_total, own, row_style::normal);
        continue;
      }
      if (total(row) == 0) continue;
      std::string label = overhead_name(labels, item);
      if (formulas) {
        const std::string f = formula(labels, item);
        if (!f.empty()) label += " " + f;
      }
      w.amounts_row(label, total(row), entry(row).data(), row_style::normal);
    }
    sink.rule(w.layout, '-');
  }
  const std::string total_label =
      big ? mz("Razem") : mz("Ogółem ") + container_name;
  w.amounts_row(total_label, total(calc::row_sums), entry(calc::row_sums).data(), row_style::emphasis);

  if (big) {
    sink.rule(w.layout, '-');
    const bool any_vat = sums.vat != 0 || sums.global_vat != 0;
    if (sums.additions != 0 || sums.global_additions != 0) {
      if (sums.additions != 0)
        w.closing_row(style.compound_own ? mz("Dodatki z rozdziałów:") : mz("Dodatki:"), sums.additions, false);
      if (sums.global_additions != 0) w.closing_row(mz("Dodatki globalne:"), sums.global_additions, false);
      sink.rule(w.layout, '-');
    }
    const std::string unit = style.per_unit ? mz(" (na jednostkę)") : std::string();
    double net = sums.net + sums.global_additions;
    if (!any_vat) net = calc::round_total(net);
    w.closing_row(mz("Wartość netto") + unit + ":", net, true);
    if (any_vat) {
      sink.rule(w.layout, '-');
      if (sums.vat != 0) {
        std::string label = "VAT";
        if (style.compound_own) {
          label += mz(" (z rozdziałów)");
        } else if (vat_formula) {
          const std::string f = formula(labels, calc::row_vat);
          if (!f.empty()) label += " " + f;
        }
        w.closing_row(label, sums.vat, false);
      }
      if (sums.global_vat != 0) w.closing_row(mz("VAT (Dodatki globalne):"), sums.global_vat, false);
      sink.rule(w.layout, '-');
      double gross = sums.gross + sums.global_additions + sums.global_vat;
      if (style.kind == summary_kind::estimate) gross = calc::round_total(gross);
      w.closing_row(mz("Wartość brutto") + unit + ":", gross, true);
    }
  }
  sink.rule(w.layout, '-');
  sink.end_block();
}

} // namespace kovra::printouts
