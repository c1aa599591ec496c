#include "printouts/estimate_printout.h"

#include "calc/number_text.h"
#include "calc/overhead_texts.h"
#include "calc/overheads.h"
#include "calc/position_costing.h"
#include "calc/record_binding.h"
#include "calc/recalculation.h"
#include "calc/rounding.h"
#include "calc/special_positions.h"
#include "document/document_settings.h"
#include "printouts/node_texts.h"
#include "printouts/part_options.h"
#include "printouts/print_options.h"
#include "printouts/summary_table.h"
#include "shell/general_settings.h"
#include "store/codepage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kovra::printouts {
namespace {

using namespace kovra::calc;

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }

std::string trimmed(std::string s) {
  s.erase(0, s.find_first_not_of(' '));
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

constexpr const char* money_sample = "-99999999,99";

// Rank of an input in the printed order: labour, materials, the other-materials items of
// labour and of materials, equipment, the other-equipment items of labour and of equipment.
int input_rank(const input_entry& e) {
  switch (e.kind) {
  case kind_labour: return 0;
  case kind_material: return 1;
  case kind_equipment: return 4;
  default:
    switch (e.sub) {
    case 1: return 2;
    case 0: return 3;
    case 2: return 5;
    default: return 6;
    }
  }
}

const char* percent_item_name(uint16_t sub) {
  switch (sub) {
  case 0: return "Materiały inne (Materiały)";
  case 1: return "Materiały inne (Robocizna)";
  case 2: return "Sprzęt inny (Robocizna)";
  default: return "Sprzęt inny (Sprzęt)";
  }
}

// The value column of an input: 0 R, 1 M, 2 S.
int value_kind(const input_entry& e) {
  if (e.kind == kind_percent) return e.sub <= 1 ? 1 : 2;
  return e.kind;
}

// A copy printed with a method on the other side of UPZP changes regime: the investor
// table flag follows the method and the overhead record of that table is taken, the
// document's own when it has one, else the configuration's. The document is not touched.
void follow_regime(estimate_model& model, const print_estimate& e) {
  const uint8_t investor = model.settings.calc_method == method_investor ? 1 : 0;
  if (investor == model.settings.investor_table || !e.records) return;
  document::general_data g = e.general;
  g.set_investor_table(investor);
  const document::overhead_record r = document::read_or_current_overheads(*e.records, g, e.data_chain);
  model.settings.investor_table = investor;
  model.settings.profit_per_component = g.profit_per_component();
  model.overheads = overhead_table_from(r);
}

// Amounts of one position: direct costs and with overheads; per unit under the per-unit
// methods, for the whole quantity under FORMUŁA II.
struct amounts {
  double r = 0, m = 0, s = 0, other = 0;  // direct; `other` bears no R, M, S split
  double ro = 0, mo = 0, so = 0;          // with overheads
  double investor = 0;
  double kz = 0, kz_investor = 0;
  overheads items;
  double direct() const { return r + m + s + other; }
  double with_overheads() const { return ro + mo + so + other; }
};

class estimate_walk {
public:
  estimate_walk(printout_sink& sink, const general_options& g, const estimate_options& o, print_estimate& e,
                bool simplified_column, const stop_check& stop)
      : sink_(sink), g_(g), o_(o), e_(e), stop_(stop) {
    model_ = e.model;
    f2_ = o.method == print_method::formula_2;
    if (!g.as_estimate) {
      model_.settings.calc_method = uint8_t(document_method(o.method));
      model_.settings.overheads_per_position = g.overheads_per_element ? 0 : 1;
      model_.settings.multiplicity_in_unit = g.multiplicity_in_unit ? 1 : 0;
      follow_regime(model_, e);
    }
    f2_ = model_.settings.calc_method == method_formula_2;
    recalc_options ro = options_from_settings(model_.settings);
    ro.prices_include_kz = g.prices_with_kz;
    ro.keep_aggregate_tables = true;
    result_ = run_single(model_, ro);
    ctx_ = make_costing_context(model_, ro);
    full_ = o.full && model_.settings.calc_method != method_simplified;
    rms_sep_ = !f2_ || !o.rms_total;
    values_ = !g.without_prices;
    simplified_column_ = f2_ && rms_sep_ && simplified_column;
    vat_rate_ = vat(model_.overheads, 100.0) != 0;
    build_layout();
  }

  bool stopped() const { return stopped_; }

  // The walk with its table heading; returns the estimate's sums.
  summary_sums run(summary_kind kind) {
    sink_.table_heading(layout_, heading_rows());
    summary_sums sums;
    walk(model_.roots, sums);
    const estimate_totals& t = result_.totals;
    if (f2_) sums.table = t.overheads;
    sums.table.finish();
    sums.kz_rate = t.overheads.cell[row_estimate][0];
    sums.additions = t.additions;
    sums.net = t.net;
    sums.vat = t.vat;
    sums.gross = t.gross;
    const bool wanted = kind == summary_kind::estimate ? o_.estimate_summary : o_.chapter_summary;
    if (wanted && !g_.without_prices) {
      sink_.suspend_heading();
      print_summary_table(sink_, sums, style(kind, false), "", labels());
    }
    sink_.end_table();
    return sums;
  }

  const estimate_totals& totals() const { return result_.totals; }
  summary_style style(summary_kind kind, bool merged) const {
    summary_style s;
    s.kind = kind;
    s.merged = merged;
    s.per_unit = g_.per_unit();
    s.details = f2_;
    s.formulas = g_.overhead_formulas;
    s.without_prices = g_.without_prices;
    s.simplified_column = simplified_column_;
    s.overheads_per_element = model_.settings.overheads_per_position != 1;
    return s;
  }
  summary_labels labels() const { return {&model_, &result_.totals, &model_.overheads}; }

private:
  // --- columns ---
  void build_layout() {
    auto col = [](int w, const char* sample) { return table_column{w, sample}; };
    if (full_) {
      layout_.columns = {col(rms_sep_ ? 44 : 68, ""), col(7, "meeeeee"), col(8, "88888888"), col(11, "88888888888"),
                         col(9, "888888888")};
      desc_ = 0, unit_ = 1, norm_ = 2, qty_ = 3, price_ = 4;
      value_ = 5;
      for (int i = 0; i < (rms_sep_ ? 3 : 1); ++i) layout_.columns.push_back(col(11, money_sample));
      lines_.columns = rms_sep_ ? std::vector<table_column>{col(71, ""), col(11, money_sample), col(35, "")}
                                : std::vector<table_column>{col(107, ""), col(11, money_sample)};
      if (!f2_) lines_.columns = {col(107, ""), col(11, money_sample)};
      return;
    }
    if (f2_) {
      const bool extra = rms_sep_ ? simplified_column_ : o_.unit_price;
      int desc = rms_sep_ ? 54 : 78;
      if (extra) desc -= 12;
      layout_.columns = {col(desc, ""), col(14, "88888888888"), col(5, "88888"), col(7, "meeeeee")};
      desc_ = 0, qty_ = 1, krot_ = 2, unit_ = 3;
      int c = 4;
      if (extra) layout_.columns.push_back(col(11, money_sample)), extra_ = c++;
      value_ = c;
      for (int i = 0; i < (rms_sep_ ? 3 : 1); ++i) layout_.columns.push_back(col(11, money_sample));
    } else {
      layout_.columns = {col(66, ""), col(7, "meeeeee"), col(5, "88888"), col(14, "88888888888"),
                         col(11, money_sample), col(11, money_sample)};
      desc_ = 0, unit_ = 1, krot_ = 2, qty_ = 3, value_ = 4;
    }
    if (!sink_.text_mode()) {
      // Graphic: the number and basis in a column of their own before the description.
      layout_.columns.insert(layout_.columns.begin(), col(13, "8888888888888"));
      number_col_ = 0;
      ++desc_, ++qty_, ++krot_, ++unit_, ++value_;
      if (extra_ >= 0) ++extra_;
    }
  }

  int values_count() const { return int(layout_.columns.size()) - value_; }

  std::vector<table_row> heading_rows() const {
    std::vector<table_row> rows = heading_cells();
    if (number_col_ >= 0)
      for (table_row& r : rows)
        for (table_cell& c : r.cells)
          if (c.first == desc_) c.first = number_col_, c.span = 2;
    return rows;
  }

  std::vector<table_row> heading_cells() const {
    std::vector<table_row> rows(3);
    auto cell = [](std::string t, int first, int span = 1, cell_align a = cell_align::left) {
      return table_cell{std::move(t), first, span, a};
    };
    const std::string bases = mz("podstawy nakładów"), survey = mz("wyliczenie ilości robót");
    const std::string rms[3] = {" Robocizna ", mz(" Materiały "), mz("  Sprzęt   ")};
    if (full_) {
      const int nv = values_count();
      if (f2_ && !rms_sep_) {
        std::string d = mz("Opis pozycji");
        if (o_.bases) d += mz(", podstawy nakładów");
        if (o_.survey) d += ",";
        rows.resize(2);
        rows[0].cells = {cell(d, desc_), cell(" Jedn. ", unit_), cell(" Norma", norm_), cell(mz("   Ilość   "), qty_),
                         cell("  Cena   ", price_), cell(mz("  Wartość  "), value_)};
        rows[1].cells = {cell(o_.survey ? survey : "", desc_), cell("  R, M, S  ", value_)};
        return rows;
      }
      rows[0].cells = {cell(mz("Opis pozycji"), desc_), cell(" Jedn. ", unit_), cell(" Norma", norm_),
                       cell(mz("   Ilość   "), qty_), cell("  Cena   ", price_)};
      rows[0].cells.push_back(f2_ ? cell(mz("  Wartość  "), value_, nv, cell_align::centre)
                                  : cell(mz("Wartość jednostkowa"), value_, nv, cell_align::centre));
      std::string second, third;
      if (f2_) {
        second = o_.bases ? bases : (o_.survey ? survey : "");
        third = o_.bases && o_.survey ? survey : "";
      } else {
        second = o_.bases ? bases : "";
      }
      rows[1].cells = {cell(second, desc_), cell(std::string(35, '-'), value_, nv)};
      rows[2].cells = {cell(third, desc_), cell(rms[0], value_), cell(rms[1], value_ + 1), cell(rms[2], value_ + 2)};
      return rows;
    }
    const std::string qty = mz("     Ilość    ");
    if (f2_ && !rms_sep_) {
      rows.resize(2);
      rows[0].cells = {cell(mz("Opis pozycji"), desc_), cell(qty, qty_), cell("Krot.", krot_), cell(" Jedn. ", unit_)};
      rows[1].cells = {cell(o_.bases ? bases : "", desc_)};
      if (extra_ >= 0) {
        rows[0].cells.push_back(cell(" Wyliczona ", extra_));
        rows[1].cells.push_back(cell("wart. jedn.", extra_));
      }
      rows[0].cells.push_back(cell(mz("  Wartość  "), value_));
      rows[1].cells.push_back(cell(o_.with_overheads ? " z narz." : "", value_));
      return rows;
    }
    if (f2_) {
      const int first = extra_ >= 0 ? extra_ : value_;
      const int span = int(layout_.columns.size()) - first;
      rows[0].cells = {cell(mz("Opis pozycji"), desc_), cell(qty, qty_), cell("Krot.", krot_), cell(" Jedn. ", unit_),
                       cell(o_.with_overheads ? mz("Wartość z narzutami") : mz("  Wartość  "), first, span,
                            cell_align::centre)};
      rows[1].cells = {cell(o_.bases ? bases : "", desc_),
                       cell(std::string(std::size_t(layout_.text_width(first, span)), '-'), first, span)};
      rows[2].cells = {};
      if (extra_ >= 0) rows[2].cells.push_back(cell("Uproszczone", extra_));
      for (int k = 0; k < 3; ++k) rows[2].cells.push_back(cell(rms[k], value_ + k));
      return rows;
    }
    rows.resize(2);
    rows[0].cells = {cell(mz("Element, asortyment, rodzaj robót, pozycja przedmiarowa"), desc_), cell(" Jedn. ", unit_),
                     cell("Krot.", krot_), cell(qty, qty_), cell(mz("  Wartość  "), value_),
                     cell(mz("  Wartość  "), value_ + 1)};
    rows[1].cells = {cell(o_.bases ? bases : "", desc_), cell("jednostkowa", value_), cell("  netto", value_ + 1)};
    return rows;
  }

  // --- texts ---
  std::string money(double v) const { return values_ ? std::string(text_money(v)) : std::string(); }
  std::string price(double v) const { return values_ ? std::string(text_price(v)) : std::string(); }

  std::string quantity_text(const model_node& n, double q, bool from_survey) const {
    std::string t = text_quantity(q, n.precision_code);
    if (from_survey && n.precision_code != -3 && !shell::general_settings().no_tilde_marks()) {
      const std::size_t first = t.find_first_not_of(' ');
      if (first != std::string::npos && first > 0) t[first - 1] = '~';
    }
    return t;
  }

  // The heading of a node: its number (and catalogue basis) first, then the description and
  // the extra lines. In one cell, or with the number in a column of its own.
  table_row heading_row(const model_node& n, const node_texts& t, bool position,
                        row_style st = row_style::normal) const {
    std::string first = trimmed(n.number);
    const bool basis = position && o_.bases && !t.basis.empty();
    std::string text = trimmed(n.description);
    if (o_.note && !t.note.empty()) text += "\n" + t.note;
    if (o_.stwior && !t.specification.empty()) text += "\n" + mz("Nr STWiOR: ") + t.specification;
    if (o_.individual_code && !t.individual_code.empty()) text += "\n" + mz("Kod ind.: ") + t.individual_code;
    if (o_.cpv && !t.cpv.empty()) text += "\n" + mz("Kody CPV: ") + t.cpv;
    if (position && n.type != node_scaffold && n.type != node_one_off &&
        (n.coef[0] != 1.0f || n.coef[1] != 1.0f || n.coef[2] != 1.0f)) {
      char line[96];
      std::snprintf(line, sizeof line, "R=%s   M=%s   S=%s", text_coefficient(n.coef[0], true),
                    text_coefficient(n.coef[1], true), text_coefficient(n.coef[2], true));
      text += std::string("\n") + line;
      // Each coefficient that carries a name: the kind, the name padded to 47 and the value.
      static const char* const kind[3] = {"R: ", "M: ", "S: "};
      for (int k = 0; k < 3; ++k) {
        if (t.coefficient_names[k].empty()) continue;
        std::snprintf(line, sizeof line, "%s%-*s=%s", kind[k], 47, t.coefficient_names[k].c_str(),
                      text_coefficient(n.coef[k], true));
        text += std::string("\n") + line;
      }
    }
    table_row r;
    r.style = st;
    if (!position) {
      // A work group's or element's heading spans the table's width.
      r.cells.push_back({first + "\n" + text, 0, int(layout_.columns.size()), cell_align::left, true});
      return r;
    }
    if (number_col_ >= 0) {
      r.cells.push_back({basis ? first + "\n" + t.basis : first, number_col_, 1, cell_align::left, true});
      r.cells.push_back({text, desc_, 1, cell_align::left, true});
    } else {
      r.cells.push_back({(basis ? first + " " + t.basis : first) + "\n" + text, desc_, 1, cell_align::left, true});
    }
    return r;
  }

  node_texts texts_of(const model_node& n) const {
    return e_.records ? read_node_texts(*e_.records, n.pos) : node_texts{};
  }

  // --- rows ---
  table_row desc_row(const std::string& text, row_style st = row_style::normal) const {
    table_row r;
    r.style = st;
    r.cells.push_back({text, desc_, 1, cell_align::left, true});
    return r;
  }

  // A line of the form of an input line: name, unit, norm, quantity, price and a value in
  // one of the value columns (kind 0 R, 1 M, 2 S; -1 none).
  void input_line(const std::string& name, const std::string& unit, const std::string& norm, const std::string& qty,
                  const std::string& pr, int kind, const std::string& value, row_style st = row_style::normal) {
    table_row r = desc_row(name, st);
    r.cells.push_back({unit, unit_, 1, cell_align::left});
    r.cells.push_back({norm, norm_, 1, cell_align::right});
    r.cells.push_back({qty, qty_, 1, cell_align::right});
    r.cells.push_back({pr, price_, 1, cell_align::right});
    if (kind >= 0) r.cells.push_back({value, rms_sep_ ? value_ + kind : value_, 1, cell_align::right});
    sink_.row(layout_, r);
  }

  // A label right-aligned over the columns before the values, then R, M, S (or one value).
  void rms_line(const std::string& label, double r, double m, double s, row_style st, bool blank_zero = true) {
    table_row row;
    row.style = st;
    // One line; the label keeps its trailing blanks ("Razem:  ").
    row.cells.push_back({label, 0, value_, cell_align::right, false});
    if (rms_sep_) {
      const double v[3] = {r, m, s};
      for (int k = 0; k < 3; ++k)
        row.cells.push_back({blank_zero || v[k] != 0 ? money(v[k]) : "", value_ + k, 1, cell_align::right});
    } else {
      row.cells.push_back({money(r + m + s), value_, 1, cell_align::right});
    }
    sink_.row(layout_, row);
  }

  // A position value line: the label right-aligned, the value in an 11-character field.
  void value_line(const std::string& label, double value, row_style st = row_style::normal) {
    table_row row;
    row.style = st;
    if (!sink_.text_mode()) {
      // Graphic: on the table's own columns, the value under the first value column (FORMUŁA
      // II) or the last one (the per-unit block of the other methods).
      const int last = int(layout_.columns.size()) - 1;
      const int at = f2_ ? value_ : last;
      row.cells.push_back({label, 0, at, cell_align::right, true});
      row.cells.push_back({money(value), at, 1, cell_align::right});
      if (at < last) row.cells.push_back({"", at + 1, last - at, cell_align::left, false, true});
      sink_.row(layout_, row);
      return;
    }
    row.cells.push_back({label, 0, 1, cell_align::right, true});
    row.cells.push_back({money(value), 1, 1, cell_align::right});
    if (lines_.columns.size() == 3) row.cells.push_back({"", 2, 1, cell_align::left, false, true});
    sink_.row(lines_, row);
  }

  // --- the walk ---
  bool contains_element(int index) const {
    for (int c : model_.nodes[std::size_t(index)].children) {
      const model_node& n = model_.nodes[std::size_t(c)];
      if (n.type == node_element || (n.type == node_group && contains_element(c))) return true;
    }
    return false;
  }

  void walk(const std::vector<int>& children, summary_sums& sums) {
    for (int child : children) {
      if (stopped_) return;
      const model_node& n = model_.nodes[std::size_t(child)];
      if (n.is_aggregate()) {
        container(child, sums);
        continue;
      }
      if (n.not_valued() || n.left_out_of_totals()) continue;
      if (stop_ && stop_()) {
        stopped_ = true;
        return;
      }
      position(child, sums);
    }
  }

  void container(int index, summary_sums& sums) {
    const model_node& n = model_.nodes[std::size_t(index)];
    const bool element = n.type == node_element;
    // A new page for an element (or a group holding one) once something has been printed
    // since the last break: a group and its first element share the page they start.
    if (g_.elements_new_page && body_since_break_ && (element || contains_element(index))) {
      sink_.new_page();
      body_since_break_ = false;
    }
    const node_texts t = texts_of(n);
    const bool merged = element && n.merged;
    sink_.toc_entry(element ? 4 : 3, trimmed(n.number), trimmed(n.description));
    sink_.begin_block();
    sink_.row(layout_, heading_row(n, t, false, element ? row_style::element : row_style::group));
    if (merged && !o_.detail_annex) merged_row(n);
    sink_.end_block();
    summary_sums own;
    walk(n.children, own);
    if (f2_ && std::size_t(index) < result_.aggregate_tables.size()) own.table = result_.aggregate_tables[std::size_t(index)];
    own.table.finish();
    const bool wanted = element ? o_.element_summary : o_.group_summary;
    if (wanted && !g_.without_prices) {
      sink_.suspend_heading();
      print_summary_table(sink_, own, style(element ? summary_kind::element : summary_kind::group, merged),
                          trimmed(n.description), labels());
      sink_.restore_heading();
    }
    sums.add(own);
  }

  void merged_row(const model_node& n) {
    const double q = round_by_code(n.merged_quantity, n.merged_precision_code);
    if (full_) {
      input_line(mz("Razem element scalony (z narzutami)"), n.unit, text_norm(1.0), text_amount(1.0),
                 price(n.merged_unit_price), -1, "");
      value_block_of_total(n.net, q);
      return;
    }
    table_row r = desc_row("");
    r.cells.push_back({text_quantity(q, n.merged_precision_code), qty_, 1, cell_align::right});
    r.cells.push_back({trimmed(n.unit), unit_, 1, cell_align::left});
    if (f2_ && !rms_sep_) {
      if (extra_ >= 0) r.cells.push_back({price(n.merged_unit_price), extra_, 1, cell_align::right});
      r.cells.push_back({money(n.net), value_, 1, cell_align::right});
    } else if (f2_) {
      if (extra_ >= 0) r.cells.push_back({money(n.net), extra_, 1, cell_align::right});
    } else {
      r.cells.push_back({price(n.merged_unit_price), value_, 1, cell_align::right});
      r.cells.push_back({money(n.net), value_ + 1, 1, cell_align::right});
    }
    sink_.row(layout_, r);
  }

  // The amounts of a position of any type; `costs` gets the cost sheet of input positions.
  amounts amounts_of(int index, double& q, position_costs* costs_out) {
    const model_node& n = model_.nodes[std::size_t(index)];
    amounts a;
    q = position_quantity(model_, n);
    position_costs c;
    if (n.type == node_position || n.type == node_position_plain) {
      c = cost_position(ctx_, index, f2_ ? q : 1.0, result_.table);
      if (costs_out) *costs_out = c;
      a.r = c.labour;
      a.m = c.materials + c.materials_other;
      a.s = c.equipment + c.equipment_other;
      a.investor = c.investor_materials;
      a.kz = c.kz_amount;
      a.kz_investor = c.kz_on_investor;
    } else if (n.type == node_simplified || n.type == node_simplified_plain) {
      const simplified_costs s = value_simplified(model_, n, !f2_);
      q = s.quantity;
      c.labour = a.r = s.amount[0];
      c.materials = a.m = s.amount[1];
      c.equipment = a.s = s.amount[2];
      a.other = s.amount[3];
    } else if (n.type == node_scaffold) {
      const scaffold_values v = scaffold_quantities(ctx_, index);
      const input_table_entry* t = result_.table.find(n.scaffold_input_id, n.scaffold_input_sub);
      const double p = t ? t->price : 0;
      c.equipment = a.s = round_money(p * (f2_ ? v.quantity : v.working_time));
      if (!f2_) q = v.count;
    } else if (n.type == node_one_off) {
      const one_off_values v = compute_one_off(model_, n);
      if (f2_) {
        c.equipment = a.s = round_money(v.amount);
      } else {
        c.equipment = a.s = v.count != 0 ? round_money(v.amount / v.count) : round_money(v.amount);
        q = v.count;
      }
    }
    position_costs with = c;
    if (n.type == node_position || n.type == node_position_plain) {
      a.items = add_overheads(ctx_.overhead, with, false);
      a.ro = with.labour;
      a.mo = with.materials;
      a.so = with.equipment + with.equipment_other;
      if (a.r == 0 && a.m == 0 && a.s == 0) a.ro = a.mo = a.so = 0, a.so = with.equipment_other;
    } else {
      a.items = add_overheads(ctx_.overhead, with, false);
      a.ro = with.labour;
      a.mo = with.materials;
      a.so = with.equipment;
    }
    return a;
  }

  void position(int index, summary_sums& sums) {
    body_since_break_ = true;
    const model_node& n = model_.nodes[std::size_t(index)];
    const node_texts t = texts_of(n);
    double q = 0;
    position_costs c;
    const amounts a = amounts_of(index, q, &c);
    add_to_sums(sums, a, q, n);
    const bool from_survey = !t.survey.empty();

    sink_.begin_block();
    if (full_) {
      table_row head = heading_row(n, t, true);
      if (n.type != node_one_off) {
        head.cells.push_back({trimmed(n.unit), unit_, 1, cell_align::left});
        head.cells.push_back({quantity_text(n, q, from_survey), qty_, 1, cell_align::right});
      }
      sink_.row(layout_, head);
      if (o_.survey) survey_lines(index, t);
      switch (n.type) {
      case node_position:
      case node_position_plain: inputs(index, q, c); break;
      case node_simplified:
      case node_simplified_plain: simplified_lines(n, a); break;
      case node_scaffold: scaffold_line(index); break;
      default: break;
      }
      value_block(n, a, q);
    } else {
      // A scaffolding's row under full quantities gives its machine hours (the unit "m-g").
      unit_price_row(n, t, a, n.type == node_scaffold && f2_ ? scaffold_quantities(ctx_, index).quantity : q,
                     from_survey);
    }
    sink_.end_block();
  }

  void add_to_sums(summary_sums& sums, const amounts& a, double q, const model_node& n) {
    if (f2_) return;  // FORMUŁA II takes its containers' tables from the run
    const double k = ctx_.options.multiplicity_outside_unit ? round_2(n.multiplicity) : 1.0;
    auto scaled = [&](double v) { return round_money(v * q * k); };
    auto& t = sums.table.cell;
    t[row_direct][ec_r] += scaled(a.r);
    t[row_direct][ec_m] += scaled(a.m);
    t[row_direct][ec_s] += scaled(a.s);
    t[row_direct][ec_other] += scaled(a.other);
    for (int i = 1; i <= 10; ++i) {
      t[row_first_item + i - 1][ec_r] += scaled(a.items.item[comp_r][std::size_t(i)]);
      t[row_first_item + i - 1][ec_m] += scaled(a.items.item[comp_m][std::size_t(i)]);
      t[row_first_item + i - 1][ec_s] += scaled(a.items.item[comp_s][std::size_t(i)]);
    }
  }

  void survey_lines(int index, const node_texts& t) {
    const model_node& n = model_.nodes[std::size_t(index)];
    if (n.type == node_scaffold) {
      scaffold_calculation(index);
      return;
    }
    for (const survey_line& l : t.survey) {
      std::string text = trimmed(l.description);
      if (!l.is_comment()) {
        const std::string expr = trimmed(l.expression);
        text = text.empty() ? expr : text + " " + expr;
      }
      table_row r = desc_row(text);
      if (!l.is_comment()) r.cells.push_back({text_quantity_short(l.value, -3), qty_, 1, cell_align::right});
      sink_.row(layout_, r);
    }
  }

  void scaffold_calculation(int index) {
    const model_node& n = model_.nodes[std::size_t(index)];
    for (int link : n.links) {
      if (link < 0 || std::size_t(link) >= model_.nodes.size()) continue;
      const model_node& p = model_.nodes[std::size_t(link)];
      table_row r = desc_row(trimmed(p.number) + " " + trimmed(p.description));
      r.cells.push_back({text_amount(position_labour_hours(ctx_, link)), qty_, 1, cell_align::right});
      sink_.row(layout_, r);
    }
    const scaffold_values v = scaffold_quantities(ctx_, index);
    table_row rule = desc_row(std::string(std::size_t(layout_.columns[0].width), '-'));
    sink_.row(layout_, rule);
    table_row total = desc_row("Razem (r-g) ");
    total.cells.push_back({text_amount(v.labour_hours), qty_, 1, cell_align::right});
    sink_.row(layout_, total);
    char line[200];
    std::snprintf(line, sizeof line, "S=%d  W=%4.2lf  P=%4.2lf  IR=(%ld*%.2lf/%ld)=%s", int(n.scaffold_s), n.scaffold_w,
                  n.scaffold_p, long(n.scaffold_sets), n.scaffolds_per_set, long(n.scaffold_k),
                  trimmed(text_quantity_short(v.count, v.count_code)).c_str());
    sink_.row(layout_, desc_row(line));
    std::snprintf(line, sizeof line, "%s=r-g/(S*W)*P=%s/(%d*%0.2lf)*%0.2lf=%s", "Czas pracy",
                  trimmed(text_amount(v.labour_hours)).c_str(), int(n.scaffold_s), n.scaffold_w, n.scaffold_p,
                  trimmed(text_amount(v.working_time)).c_str());
    sink_.row(layout_, desc_row(line));
  }

  void inputs(int index, double q, const position_costs& c) {
    const model_node& n = model_.nodes[std::size_t(index)];
    const std::vector<input_entry>* entries = current_entries(n);
    if (!entries) return;
    std::vector<const input_entry*> list;
    for (const input_entry& e : *entries)
      if (!e.excluded && e.kind <= kind_percent) list.push_back(&e);
    std::stable_sort(list.begin(), list.end(),
                     [](const input_entry* a, const input_entry* b) { return input_rank(*a) < input_rank(*b); });
    const double x = f2_ ? q : 1.0;
    double labour_hours = 0;
    double kind_value[3] = {c.labour, c.materials + c.materials_other, c.equipment + c.equipment_other};
    for (std::size_t i = 0; i < list.size(); ++i) {
      const input_entry& e = *list[i];
      const int kind = value_kind(e);
      if (e.kind == kind_percent) {
        double v = e.sub == 0 ? c.materials_other_m : e.sub == 1 ? c.materials_other_r
                                                                 : e.sub == 2 ? c.equipment_other_r : c.equipment_other_s;
        if (f2_) {
          input_line(mz(percent_item_name(e.sub)), "%", text_norm(e.norm), "", "", kind, money(v));
        } else {
          // A lump amount under the per-unit methods: norm 1, quantity 1, the amount as its price.
          input_line(mz(percent_item_name(e.sub)), "", text_norm(1.0), text_amount(1.0), price(v), kind, money(v));
        }
      } else {
        const input_table_entry* t = result_.table.find(e.id, e.sub);
        const double qty = round_amount_auto(input_quantity(ctx_, e, index, x));
        const double pr = t ? (e.kind == kind_material && !g_.prices_with_kz ? t->base_price : t->price) : 0;
        if (e.kind == kind_labour) labour_hours += qty;
        if (!(e.kind == kind_labour && g_.labour_total)) {
          std::string name = t ? trimmed(t->rec.name) : std::string();
          const uint8_t mode = e.mp_mode == 0 ? 0 : (t && t->rec.mp_mode != 0 ? t->rec.mp_mode : e.mp_mode);
          if (e.kind == kind_material && (mode == 1 || mode == 2)) name += mz(" (Mat. inw.)");
          // Investor mode 2 values the material at its base price: entered without purchase costs.
          if (e.kind == kind_material && mode == 2) name += " (-Mp)";
          if (e.coef != 1.0f) {
            static const char* const letter[] = {" (R=", " (M=", " (S="};
            name += letter[e.kind] + trimmed(text_coefficient(e.coef, true)) + ")";
          }
          input_line(name, t ? trimmed(t->rec.unit) : std::string(), text_norm(e.norm), text_amount(qty), price(pr),
                     kind, money(round_money(qty * pr)));
        }
      }
      // Closing lines after the last input of a kind.
      const bool last_of_kind = i + 1 == list.size() || group_of(*list[i + 1]) != group_of(e);
      if (!last_of_kind) continue;
      const int group = group_of(e);
      if (group == 0 && g_.labour_total) {
        double rate = model_.settings.labour_rate;
        if (rate == 0) rate = labour_hours != 0 ? kind_value[0] / labour_hours : 0;
        input_line(mz("Razem robocizna:"), "r-g", "", text_amount(labour_hours), price(rate), 0, money(kind_value[0]));
      } else if (!rms_sep_) {
        static const char* const labels[] = {"Razem robocizna:", "Razem materiały:", "Razem sprzęt:"};
        if (g_.without_prices) {
          sink_.rule_from(layout_, value_, '-');
        } else if (!(group == 0 && g_.labour_total)) {
          input_line(mz(labels[group]), "", "", "", "", 0, money(kind_value[group]));
        }
      }
    }
  }

  static int group_of(const input_entry& e) {
    const int r = input_rank(e);
    return r == 0 ? 0 : r <= 3 ? 1 : 2;
  }

  void simplified_lines(const model_node& n, const amounts& a) {
    const simplified_costs s = value_simplified(model_, n, !f2_);
    if (s.unit_price[3] != 0) {
      input_line(mz("Razem pozycja (z narzutami)"), trimmed(n.unit), text_norm(1.0), text_amount(1.0),
                 price(s.unit_price[3]), -1, "");
      return;
    }
    static const char* const names[] = {"Robocizna", "Materiały", "Sprzęt"};
    const double v[3] = {a.r, a.m, a.s};
    for (int k = 0; k < 3; ++k)
      input_line(mz(names[k]), trimmed(n.unit), text_norm(1.0), text_amount(1.0), price(s.unit_price[std::size_t(k)]),
                 k, money(v[k]));
  }

  void scaffold_line(int index) {
    const model_node& n = model_.nodes[std::size_t(index)];
    const scaffold_values v = scaffold_quantities(ctx_, index);
    const input_table_entry* t = result_.table.find(n.scaffold_input_id, n.scaffold_input_sub);
    const double p = t ? t->price : 0;
    const double amount = round_money(p * (f2_ ? v.quantity : v.working_time));
    input_line(mz("Praca rusztowania"), "m-g    ", text_norm(v.working_time), text_amount(v.working_time), price(p), 2,
               money(amount));
  }

  // The value block of a merged element: its value as a total.
  void value_block_of_total(double net, double q) {
    sink_.rule_from(layout_, value_, '-');
    if (o_.position_summary) value_line(mz("Wartość pozycji:"), net);
    if (o_.unit_price && q != 0) value_line(mz("Wartość jednostkowa:"), round_price(net / q));
  }

  void value_block(const model_node& n, const amounts& a, double q) {
    if (g_.without_prices) return;  // nothing but the inputs without prices
    if (!f2_) {
      other_value_block(n, a, q);
      return;
    }
    sink_.rule_from(layout_, value_, '-');
    if (a.investor != 0) rms_line(mz("Materiały inwestora:  "), 0, -a.investor, 0, row_style::normal, false);
    rms_line(mz("Razem:  "), a.r, a.m, a.s, row_style::emphasis);
    const bool vat_included = o_.vat_in_positions && vat_rate_;
    if (o_.input_summary && !g_.labour_total && o_.with_overheads) {
      const char* label = vat_included ? "Razem (z narzutami i VAT):" : "Razem (z narzutami):";
      if (vat_included) {
        const double k = 1 + vat(model_.overheads, 100.0) / 100;
        rms_line(mz(label), round_money(a.ro * k), round_money(a.mo * k), round_money(a.so * k), row_style::normal);
      } else {
        rms_line(mz(label), a.ro, a.mo, a.so, row_style::normal);
      }
    }
    const double net = o_.with_overheads ? round_money(a.with_overheads()) : round_money(a.direct());
    const double gross = net + vat(model_.overheads, net);
    if (o_.position_summary) {
      if (!o_.with_overheads) {
        value_line(mz("Wartość pozycji (bez narzutów):"), net);
      } else if (!o_.vat_in_positions && vat_rate_) {
        value_line(mz("Wartość pozycji netto") + (o_.input_summary ? ":" : mz(" (z narzutami):")), net);
        const double v = round_money(gross - net);
        if (v != 0 && !(o_.hide_vat && !sink_.text_mode())) {
          value_line("VAT:", v);
          value_line(mz("Wartość pozycji brutto:"), gross);
        }
      } else {
        std::string label = mz("Wartość pozycji");
        label += o_.input_summary ? ":" : (vat_included ? mz(" (z narzutami i VAT):") : mz(" (z narzutami):"));
        value_line(label, vat_included ? gross : net);
      }
    }
    if (o_.unit_price && q != 0) value_line(mz("Wartość jednostkowa:"), round_price(net / q));
  }

  bool row_used(int row) const {
    for (float r : model_.overheads.rows[std::size_t(row)].rates)
      if (r > 0) return true;
    return false;
  }

  void other_value_block(const model_node& n, const amounts& a, double q) {
    (void)n;
    sink_.rule(layout_, '-');
    if (a.investor != 0) rms_line(mz("Materiały inwestora:  "), 0, -a.investor, 0, row_style::normal, false);
    rms_line(mz("Razem:  "), a.r, a.m, a.s, row_style::emphasis);
    sink_.rule_from(layout_, value_, '-');
    value_line(mz("Koszty bezpośrednie"), a.direct());
    if (a.kz_investor != 0) value_line(mz("Koszty transportu materiałów inwestora"), a.kz_investor);
    if (a.kz != 0) value_line(mz("Koszty zakupu"), a.kz);
    double overheads_sum = 0;
    for (int row = 1; row <= 10; ++row) {
      const double v = a.items.item[comp_r][std::size_t(row)] + a.items.item[comp_m][std::size_t(row)] +
                       a.items.item[comp_s][std::size_t(row)];
      overheads_sum += v;
      if (!row_used(row) && v == 0) continue;
      std::string label = trimmed(model_.overheads.rows[std::size_t(row)].name);
      if (g_.overhead_formulas) {
        formula_context fc{&model_, &result_.totals, true};
        const std::string f = overhead_formula_text(fc, row);
        if (!f.empty()) label += (row == 1 ? " Kp=" : " ") + f;
      }
      value_line(label, v);
    }
    const double unit = round_money(a.direct() + a.kz + a.kz_investor + overheads_sum);
    value_line(mz("Wartość jednostkowa"), unit);
    sink_.rule_from(layout_, value_, '-');
    value_line(mz("Wartość całkowita"), round_money(unit * q), row_style::emphasis);
  }

  void unit_price_row(const model_node& n, const node_texts& t, const amounts& a, double q, bool from_survey) {
    table_row r = heading_row(n, t, true);
    char krot[16];
    text_factor_or_blank(n.is_position_like() ? double(n.multiplicity) : 1.0, krot, sizeof krot);
    std::string unit = trimmed(n.unit);
    if (n.type == node_scaffold) unit = "m-g     ";
    r.cells.push_back({quantity_text(n, q, from_survey), qty_, 1, cell_align::right});
    r.cells.push_back({krot, krot_, 1, cell_align::right});
    r.cells.push_back({unit, unit_, 1, cell_align::left});
    const bool ov = o_.with_overheads;
    if (f2_ && !rms_sep_) {
      const double v = ov ? round_money(a.with_overheads()) : round_money(a.direct());
      if (extra_ >= 0) r.cells.push_back({q != 0 ? price(round_price(v / q)) : "", extra_, 1, cell_align::right});
      r.cells.push_back({money(v), value_, 1, cell_align::right});
    } else if (f2_) {
      if (extra_ >= 0) r.cells.push_back({money(a.other), extra_, 1, cell_align::right});
      const double v[3] = {ov ? a.ro : a.r, ov ? a.mo : a.m, ov ? a.so : a.s};
      for (int k = 0; k < 3; ++k) r.cells.push_back({money(v[k]), value_ + k, 1, cell_align::right});
    } else {
      const double unit_value = round_money(a.with_overheads());
      r.cells.push_back({price(unit_value), value_, 1, cell_align::right});
      r.cells.push_back({money(round_money(unit_value * q)), value_ + 1, 1, cell_align::right});
    }
    sink_.row(layout_, r);
  }

  printout_sink& sink_;
  const general_options& g_;
  const estimate_options& o_;
  print_estimate& e_;
  stop_check stop_;
  bool stopped_ = false;
  bool body_since_break_ = false;  // a position printed since the last forced page break
  estimate_model model_;
  recalc_result result_;
  costing_context ctx_;
  bool f2_ = true, full_ = true, rms_sep_ = true, values_ = true, simplified_column_ = false, vat_rate_ = false;
  table_layout layout_, lines_;
  int desc_ = 0, unit_ = 1, norm_ = 2, qty_ = 3, price_ = 4, krot_ = -1, extra_ = -1, value_ = 5;
  int number_col_ = -1;  // graphic unit-price layout: the number's own column
};

bool has_unsplit_costs(const print_estimate& e) {
  for (const model_node& n : e.model.nodes) {
    if (n.type == node_element && n.merged) return true;
    if ((n.type == node_simplified || n.type == node_simplified_plain) && !n.not_valued()) return true;
  }
  return false;
}

} // namespace

bool print_estimate_part(printout_sink& sink, print_document& doc, uint8_t* block, const stop_check& stop,
                         bool detail_annex) {
  const general_options g = read_general_options(block);
  const print_method method = g.as_estimate ? method_of_document(document_calc_method(doc)) : g.method;
  estimate_options o = read_estimate_options(block, method);
  o.detail_annex = detail_annex;
  if (g.without_prices) {
    // "Bez cen i wartości" switches off every option that shows prices or totals.
    o.with_overheads = o.unit_price = o.position_summary = o.input_summary = false;
    o.element_summary = o.group_summary = o.chapter_summary = o.estimate_summary = false;
    o.vat_in_positions = o.hide_vat = false;
  }
  bool simplified_column = false;
  for (const print_estimate& e : doc.estimates) simplified_column = simplified_column || has_unsplit_costs(e);

  part_heading_with_suffix(sink, o.title, o.new_page, quantities_suffix(g, doc));
  if (!doc.compound) {
    if (doc.estimates.empty()) return true;
    estimate_walk walk(sink, g, o, doc.estimates.front(), simplified_column, stop);
    walk.run(summary_kind::estimate);
    return !walk.stopped();
  }
  summary_sums compound;
  std::unique_ptr<estimate_walk> last;
  bool first = true;
  for (print_estimate& e : doc.estimates) {
    if (!first && (g.chapters_new_page || g.elements_new_page)) sink.new_page();
    first = false;
    const std::string name = g.names_from_general ? e.general_name : e.tree_name;
    sink.constituent_bands(e);
    sink.toc_entry(1, e.number, name);
    sink.sub_heading(e.number.empty() ? name : e.number + "  " + name);
    auto walk = std::make_unique<estimate_walk>(sink, g, o, e, simplified_column, stop);
    const summary_sums s = walk->run(summary_kind::chapter);
    compound.add(s);
    compound.additions += s.additions;
    compound.net += s.net;
    compound.vat += s.vat;
    if (walk->stopped()) return false;
    last = std::move(walk);
  }
  if (o.estimate_summary && last && !g.without_prices) {
    double global = 0;
    for (const auto& a : doc.compound_model.additions) global += calc::round_money(a.amount);
    compound.global_additions = calc::round_money(global);
    compound.global_vat = calc::vat(doc.compound_model.overheads, compound.global_additions);
    compound.gross = compound.net + compound.vat;
    compound.table.finish();
    summary_style st = last->style(summary_kind::estimate, false);
    st.compound_own = true;
    summary_labels labels{nullptr, nullptr, &doc.compound_model.overheads};
    print_summary_table(sink, compound, st, "", labels);
    sink.end_table();
  }
  return true;
}

} // namespace kovra::printouts
