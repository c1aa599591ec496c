#include "printouts/element_table_printout.h"

#include "calc/number_text.h"
#include "calc/overhead_texts.h"
#include "calc/overheads.h"
#include "calc/recalculation.h"
#include "calc/rounding.h"
#include "printouts/part_options.h"
#include "printouts/position_heading.h"
#include "store/codepage.h"

namespace kovra::printouts {
namespace {

using namespace kovra::calc;

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }
constexpr const char* money_sample = "-99999999,99";

// The values one row shows, by layout.
struct value_columns {
  std::vector<std::string> headings;  // UTF-8, first heading line
  int name_width = 0;
};

class element_table {
public:
  element_table(printout_sink& sink, const element_table_options& o, const general_options& g, print_estimate& e,
                bool chapter, double estimate_base, bool simplified_column)
      : sink_(sink), o_(o), g_(g), e_(e), chapter_(chapter), estimate_base_(estimate_base) {
    model_ = e.model;
    recalc_options ro = options_from_settings(model_.settings);
    ro.prices_include_kz = g.prices_with_kz;
    ro.keep_aggregate_tables = true;
    result_ = run_single(model_, ro);
    const bool f2 = model_.settings.calc_method == method_formula_2;
    layout_no_ = f2 ? o.layout : 1;
    u_ = f2 && simplified_column;
    prices_ = !g.without_prices;
    vat_ = vat(model_.overheads, 100.0) != 0;
    build();
  }

  double net_without_additions() const { return result_.totals.net - result_.totals.additions; }
  const estimate_totals& totals() const { return result_.totals; }

  void print() {
    sink_.table_heading(layout_, heading());
    sums_.assign(layout_.columns.size(), 0.0);
    rows(model_.roots, true);
    sum_lines();
    sink_.end_table();
  }

private:
  void col(int width, const char* sample) { layout_.columns.push_back({width, sample}); }

  void build() {
    layout_.columns.clear();
    const int u = u_ ? 12 : 0;
    switch (layout_no_) {
    case 2:
      col(71 - u, "");
      for (int i = 0; i < (u_ ? 5 : 4); ++i) col(11, money_sample);
      break;
    case 3: {
      const int values = (g_.prices_with_kz ? 7 : 8) + (u_ ? 1 : 0);
      col(g_.prices_with_kz ? 35 - u : 23 - u, "");
      for (int i = 0; i < values; ++i) col(11, money_sample);
      break;
    }
    case 4:
      col(59 - u, "");
      for (int i = 0; i < (u_ ? 6 : 5); ++i) col(11, money_sample);
      break;
    default:
      shares_ = o_.shares ? (chapter_ ? 2 : 1) : 0;
      col(107 - 12 * shares_, "");
      for (int i = 0; i <= shares_; ++i) col(11, money_sample);
      break;
    }
  }

  std::vector<table_row> heading() const {
    auto cells = [](std::initializer_list<const char*> texts, int first) {
      std::vector<table_cell> v;
      for (const char* t : texts) v.push_back({mz(t), first++});
      return v;
    };
    table_row a, b, c;
    const int last = int(layout_.columns.size()) - 1;
    switch (layout_no_) {
    case 2:
      a.cells = {{mz("Nazwa elementu"), 0}, {mz("Wartość z narzutami (bez VAT)"), 1, last, cell_align::centre}};
      b.cells = {{std::string(std::size_t(layout_.text_width(1, last)), '-'), 1, last}};
      c.cells = cells({"      R", "      M", "      S"}, 1);
      if (u_) c.cells.push_back({"      U", 4});
      c.cells.push_back({"   Razem", last});
      return {a, b, c};
    case 3: {
      const bool kz = g_.prices_with_kz;
      a.cells = {{mz(kz ? "Nazwa elementu" : "Nazwa"), 0}};
      if (!kz) b.cells.push_back({"elementu", 0});
      std::vector<const char*> t = {"      R", "      M"};
      if (!kz) t.push_back("      Kz");
      for (const char* s : {"      S", "      Kp", "    Zysk"}) t.push_back(s);
      if (u_) t.push_back("Uproszczone");
      t.push_back("    Inne");
      t.push_back("    Razem");
      for (std::size_t i = 0; i < t.size(); ++i) a.cells.push_back({t[i], int(i) + 1});
      if (vat_) b.cells.push_back({"  bez VAT", last});
      if (b.cells.empty()) return {a};
      return {a, b};
    }
    case 4:
      a.cells = cells({"Nazwa elementu", "      R", "      M", "      S", ""}, 0);
      if (u_) a.cells.push_back({"      U", 5});
      a.cells.push_back({"   Razem", last});
      return {a};
    default:
      a.cells = {{"Nazwa elementu", 0}, {mz("  Wartość  "), 1}};
      b.cells = {{"", 0}, {" z narzut. ", 1}};
      for (int i = 0; i < shares_; ++i) {
        a.cells.push_back({mz(" % wartości"), 2 + i});
        b.cells.push_back({shares_ == 2 && i == 0 ? mz(" rozdziału ") : " kosztorysu", 2 + i});
      }
      return {a, b};
    }
  }

  std::string money(double v) const { return prices_ ? std::string(text_money(v)) : std::string(); }

  std::string share(double v, double base) const {
    if (!prices_ || v < 0 || base <= 0) return {};
    return text_money(round_2(v * 100 / base));
  }

  // The values of a node by layout, one per value column.
  std::vector<double> values_of(int index) const {
    const model_node& n = model_.nodes[std::size_t(index)];
    if (layout_no_ == 1 || std::size_t(index) >= result_.aggregate_tables.size()) return {n.net};
    element_overhead_table t = result_.aggregate_tables[std::size_t(index)];
    t.finish();
    const auto& s = t.cell[row_sums];
    if (layout_no_ == 2 || layout_no_ == 4) {
      std::vector<double> v = {s[ec_r], s[ec_m], s[ec_s]};
      if (layout_no_ == 4) v.push_back(0);
      if (u_) v.push_back(s[ec_other]);
      v.push_back(s[ec_total]);
      return v;
    }
    const auto& d = t.cell[row_direct];
    const double kz = t.cell[row_kz_investor][ec_total] + t.cell[row_kz][ec_total];
    double others = 0;
    for (int r = row_first_item + 2; r < row_first_item + 10; ++r) others += t.cell[std::size_t(r)][ec_total];
    std::vector<double> v = {d[ec_r], d[ec_m] + (g_.prices_with_kz ? kz : 0)};
    if (!g_.prices_with_kz) v.push_back(kz);
    v.push_back(d[ec_s]);
    v.push_back(t.cell[row_first_item][ec_total]);
    v.push_back(t.cell[row_first_item + 1][ec_total]);
    if (u_) v.push_back(d[ec_other]);
    v.push_back(others);
    v.push_back(s[ec_total]);
    return v;
  }

  void rows(const std::vector<int>& nodes, bool top) {
    for (int i : nodes) {
      const model_node& n = model_.nodes[std::size_t(i)];
      if (!n.is_aggregate()) continue;
      table_row r;
      r.style = sink_.text_mode() ? row_style::normal
                : n.type == node_element ? row_style::normal
                : top                    ? row_style::group
                                         : row_style::element;
      std::string name = (sink_.text_mode() ? " " : "") + trimmed_text(n.number) + " " + trimmed_text(n.description);
      if (o_.ranges) name += position_range(i);
      r.cells.push_back({name, 0, 1, cell_align::left, int(name.size()) > layout_.columns[0].width});
      const std::vector<double> v = values_of(i);
      for (std::size_t k = 0; k < v.size(); ++k) {
        const bool blank = layout_no_ == 4 && k == 3;
        r.cells.push_back({blank ? std::string() : money(v[k]), int(k) + 1, 1, cell_align::right});
        if (top) sums_[k + 1] += v[k];
      }
      if (layout_no_ == 1) {
        const double base = net_without_additions();
        if (shares_ == 2) r.cells.push_back({share(v[0], base), 2, 1, cell_align::right});
        if (shares_ >= 1) r.cells.push_back({share(v[0], chapter_ ? estimate_base_ : base), 1 + shares_, 1, cell_align::right});
      }
      sink_.row(layout_, r);
      if (layout_no_ == 4 && n.type == node_element) cost_lines(i);
      if (n.type == node_group) rows(n.children, false);
    }
  }

  // " (poz. first-last)": the numbers of the first and the last position under a node.
  std::string position_range(int index) const {
    std::string first, last;
    std::vector<int> stack(model_.nodes[std::size_t(index)].children.rbegin(),
                           model_.nodes[std::size_t(index)].children.rend());
    while (!stack.empty()) {
      const model_node& n = model_.nodes[std::size_t(stack.back())];
      stack.pop_back();
      if (n.is_aggregate()) {
        stack.insert(stack.end(), n.children.rbegin(), n.children.rend());
        continue;
      }
      const std::string number = trimmed_text(n.number);
      if (first.empty()) first = number;
      last = number;
    }
    if (first.empty()) return {};
    return " (poz. " + (first == last ? first : first + "-" + last) + ")";
  }

  // Layout 4: the cost lines of an element.
  void cost_lines(int index) {
    if (std::size_t(index) >= result_.aggregate_tables.size()) return;
    element_overhead_table t = result_.aggregate_tables[std::size_t(index)];
    t.finish();
    auto line = [&](const std::string& label, const std::array<double, 5>& c) {
      if (c[ec_r] == 0 && c[ec_m] == 0 && c[ec_s] == 0 && c[ec_other] == 0 && c[ec_total] == 0) return;
      table_row r;
      r.cells.push_back({label, 0, 1, cell_align::left, int(label.size()) > layout_.columns[0].width});
      int k = 1;
      for (int col : {ec_r, ec_m, ec_s}) r.cells.push_back({money(c[std::size_t(col)]), k++, 1, cell_align::right});
      k++;
      if (u_) r.cells.push_back({money(c[ec_other]), k++, 1, cell_align::right});
      r.cells.push_back({money(c[ec_total]), k, 1, cell_align::right});
      sink_.row(layout_, r);
    };
    if (!g_.prices_with_kz) line(mz("   Koszty transportu materiałów inwestora"), t.cell[row_kz_investor]);
    line("   Koszty zakupu", t.cell[row_kz]);
    for (int i = 1; i <= 10; ++i) {
      const std::string name = trimmed_text(model_.overheads.rows[std::size_t(i)].name);
      if (name.empty()) continue;
      line("   " + name, t.cell[std::size_t(row_first_item + i - 1)]);
    }
    sink_.rule(layout_, '-');
  }

  void closing(const char* label, double v, row_style st) {
    const int last = int(layout_.columns.size()) - 1;
    table_row r;
    r.style = st;
    // Not wrapped: the label keeps its two closing blanks.
    r.cells = {{mz(label), 0, last, cell_align::right}, {money(v), last, 1, cell_align::right}};
    sink_.row(layout_, r);
    sink_.rule(layout_, '-');
  }

  void sum_lines() {
    if (!prices_ || g_.quantities == 4) return;
    table_row s;
    s.style = layout_no_ == 1 ? row_style::normal : row_style::emphasis;
    const char* label = chapter_ ? "Suma elementów rozdziału" : "Suma elementów kosztorysu";
    if (layout_no_ == 3 && (!g_.prices_with_kz || u_)) label = "Suma elementów";
    s.cells.push_back({mz(label), 0});
    const int values = int(layout_.columns.size()) - 1 - (layout_no_ == 1 ? shares_ : 0);
    for (int k = 1; k <= values; ++k)
      s.cells.push_back({layout_no_ == 4 && k == 4 ? std::string() : money(sums_[std::size_t(k)]), k, 1, cell_align::right});
    if (layout_no_ == 1) {
      const double base = net_without_additions();
      if (shares_ == 2) s.cells.push_back({share(sums_[1], base), 2, 1, cell_align::right});
      if (shares_ >= 1) s.cells.push_back({share(sums_[1], chapter_ ? estimate_base_ : base), 1 + shares_, 1, cell_align::right});
    }
    if (layout_no_ != 1) sink_.rule(layout_, '=');
    sink_.row(layout_, s);
    sink_.rule(layout_, '-');
    const estimate_totals& t = result_.totals;
    if (t.additions != 0) closing("Dodatki:  ", t.additions, row_style::normal);
    if (t.vat != 0) {
      closing(chapter_ ? "Wartość rozdziału netto:  " : "Wartość kosztorysu netto:  ", t.net, row_style::emphasis);
      closing("VAT:  ", t.vat, row_style::normal);
      closing(chapter_ ? "Wartość rozdziału brutto:  " : "Wartość kosztorysu brutto:  ",
              chapter_ ? t.gross : round_total(t.gross), row_style::emphasis);
    } else {
      closing(chapter_ ? "Wartość rozdziału:  " : "Wartość kosztorysu:  ", chapter_ ? t.net : round_total(t.net),
              row_style::emphasis);
    }
  }

  printout_sink& sink_;
  const element_table_options& o_;
  const general_options& g_;
  print_estimate& e_;
  bool chapter_;
  double estimate_base_;
  estimate_model model_;
  recalc_result result_;
  int layout_no_ = 1, shares_ = 0;
  bool u_ = false, prices_ = true, vat_ = false;
  table_layout layout_;
  std::vector<double> sums_;
};

bool has_unsplit_costs(const print_estimate& e) {
  for (const model_node& n : e.model.nodes) {
    if (n.type == node_element && n.merged) return true;
    if ((n.type == node_simplified || n.type == node_simplified_plain) && !n.not_valued()) return true;
  }
  return false;
}

// The closing table of a compound estimate: one row per constituent.
void compound_summary(printout_sink& sink, print_document& doc, const general_options& g,
                      const std::vector<estimate_totals>& totals) {
  sink.part_heading(mz("Podsumowanie tabeli elementów scalonych"), false);
  const bool prices = !g.without_prices;
  double global = 0;
  for (const addition& a : doc.compound_model.additions) global += round_money(a.amount);
  global = round_money(global);
  const double global_vat = vat(doc.compound_model.overheads, global);
  bool with_vat = prices && global_vat != 0;
  for (const estimate_totals& t : totals) with_vat = with_vat || t.vat != 0;
  table_layout l;
  l.columns = {{with_vat ? 59 : 83, ""}, {11, money_sample}, {11, money_sample}, {11, money_sample}};
  if (with_vat) l.columns.push_back({11, money_sample}), l.columns.push_back({11, money_sample});
  table_row h;
  h.cells = {{mz("Nazwa rozdziału"), 0}, {mz("  Wartość"), 1}, {"  Dodatki", 2}, {"Wart. netto", 3}};
  if (with_vat) h.cells.push_back({"   VAT", 4}), h.cells.push_back({"Wart.brutto", 5});
  sink.table_heading(l, {h});
  auto money = [&](double v) { return prices ? std::string(text_money(v)) : std::string(); };
  std::vector<double> sums(l.columns.size(), 0.0);
  for (std::size_t i = 0; i < doc.estimates.size() && i < totals.size(); ++i) {
    const print_estimate& e = doc.estimates[i];
    const estimate_totals& t = totals[i];
    const std::string name = g.names_from_general ? e.general_name : e.tree_name;
    const double v[5] = {t.net - t.additions, t.additions, t.net, t.vat, t.gross};
    table_row r;
    r.cells.push_back({name, 0, 1, cell_align::left, true});
    for (std::size_t k = 0; k + 1 < l.columns.size(); ++k) {
      r.cells.push_back({money(v[k]), int(k) + 1, 1, cell_align::right});
      sums[k + 1] += v[k];
    }
    sink.row(l, r);
    sink.rule(l, '-');
  }
  if (!prices) {
    sink.end_table();
    return;
  }
  sink.rule(l, '=');
  table_row s;
  s.style = row_style::emphasis;
  s.cells.push_back({mz("Suma:"), 0});
  for (std::size_t k = 1; k < l.columns.size(); ++k) s.cells.push_back({money(sums[k]), int(k), 1, cell_align::right});
  sink.row(l, s);
  sink.rule(l, '-');
  if (global != 0) {
    table_row a;
    a.cells = {{mz("Dodatki globalne:"), 0}, {money(global), 3, 1, cell_align::right}};
    if (with_vat) a.cells.push_back({money(global_vat), 4, 1, cell_align::right}),
        a.cells.push_back({money(global + global_vat), 5, 1, cell_align::right});
    sink.row(l, a);
    sink.rule(l, '-');
  }
  const int last = int(l.columns.size()) - 1;
  const double gross = with_vat ? sums[5] + global + global_vat : sums[3] + global;
  table_row t;
  t.style = row_style::emphasis;
  t.cells = {{mz(with_vat ? "Wartość kosztorysu brutto:" : "Wartość kosztorysu:"), 0, last, cell_align::right},
             {money(round_total(gross)), last, 1, cell_align::right}};
  sink.row(l, t);
  sink.end_table();
}

} // namespace

void print_element_table(printout_sink& sink, print_document& doc, uint8_t* block) {
  const element_table_options o = read_element_table_options(block);
  const general_options g = read_general_options(block);
  part_heading_with_suffix(sink, o.page.title, o.page.new_page, quantities_suffix(g, doc));
  bool simplified_column = false;
  for (const print_estimate& e : doc.estimates) simplified_column = simplified_column || has_unsplit_costs(e);
  // A constituent's shares of the whole estimate: the sum of the constituents' values.
  double estimate_base = 0;
  std::vector<std::unique_ptr<element_table>> tables;
  for (print_estimate& e : doc.estimates) {
    tables.push_back(std::make_unique<element_table>(sink, o, g, e, doc.compound, 0.0, simplified_column));
    estimate_base += tables.back()->net_without_additions();
  }
  std::vector<estimate_totals> totals;
  for (std::size_t i = 0; i < doc.estimates.size(); ++i) {
    print_estimate& e = doc.estimates[i];
    if (doc.compound) {
      const std::string name = g.names_from_general ? e.general_name : e.tree_name;
      sink.sub_heading(e.number.empty() ? name : e.number + "  " + name);
      tables[i] = std::make_unique<element_table>(sink, o, g, e, true, estimate_base, simplified_column);
    }
    tables[i]->print();
    totals.push_back(tables[i]->totals());
  }
  if (doc.compound) compound_summary(sink, doc, g, totals);
}

} // namespace kovra::printouts
