#include "printouts/input_summary_printout.h"

#include "calc/compound_recalc.h"
#include "calc/number_text.h"
#include "calc/recalculation.h"
#include "calc/rounding.h"
#include "calc/summaries.h"
#include "document/collation.h"
#include "printouts/part_options.h"
#include "printouts/position_heading.h"
#include "store/codepage.h"

#include <algorithm>

namespace kovra::printouts {
namespace {

using namespace kovra::calc;

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }

// One listed input.
struct summary_row {
  std::string code, name, unit;  // code: the ETO number
  double quantity = 0, price = 0, base_price = 0, value = 0;
  double investor_quantity = 0, investor_value = 0;
  double kz_percent = 0;
  bool kz_is_percent = false;
};

// What one table lists: its rows and closing lines.
struct summary_data {
  std::vector<summary_row> rows;
  summary_group group;
  double investor_total = 0;
};

constexpr int investor_kind = 3;

// Rows of one estimate (recalculated as its window would, prices written back).
summary_data simple_data(const print_estimate& e, int kind) {
  estimate_model m = e.model;
  const recalc_result r = recalculate(m);
  summary_data d;
  const uint8_t k = kind == investor_kind ? uint8_t(kind_material) : uint8_t(kind);
  d.group = summary_group_of(r.totals, k);
  for (int index : inputs_in_name_order(m, k)) {
    const price_record& p = m.prices[std::size_t(index)];
    const summary_line l = summary_line_of(p);
    summary_row row;
    row.code = l.number ? std::to_string(*l.number) : std::string();
    row.name = trimmed_text(p.name);
    row.unit = trimmed_text(p.unit);
    row.quantity = l.quantity;
    row.price = l.price;
    row.base_price = l.base_price;
    row.value = l.value;
    row.investor_quantity = p.investor_quantity;
    row.investor_value = l.investor_value;
    row.kz_is_percent = l.kz == kz_shown::percent;
    row.kz_percent = l.kz_value;
    if (kind == investor_kind) {
      if (p.investor_quantity == 0) continue;
      row.quantity = round_amount_auto(p.investor_quantity);
      row.price = p.mp_mode == 2 ? p.base_price : p.price;
      row.value = round_money(row.price * row.quantity);
      d.investor_total += row.value;
    }
    d.rows.push_back(row);
  }
  return d;
}

// Rows of a compound estimate: the chapters' inputs merged, with their average prices.
summary_data compound_data(const print_document& doc, int kind) {
  std::vector<summary_record> merged;
  estimate_totals totals;
  for (const print_estimate& e : doc.estimates) {
    estimate_model m = e.model;
    const recalc_result r = recalculate(m);
    totals.add(r.totals);
    merge_chapter_inputs(merged, r.table);
  }
  const uint8_t k = kind == investor_kind ? uint8_t(kind_material) : uint8_t(kind);
  summary_data d;
  d.group = summary_group_of(totals, k);
  std::vector<const summary_record*> order;
  for (const summary_record& s : merged)
    if (s.kind == k) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(), [](const summary_record* a, const summary_record* b) {
    return document::compare_names(a->name, b->name) < 0;
  });
  for (const summary_record* s : order) {
    summary_row row;
    row.code = s->id < 9999999 ? std::to_string(s->id) : std::string();
    row.name = trimmed_text(s->name);
    row.unit = trimmed_text(s->unit);
    row.quantity = s->quantity;
    row.price = s->average_price();
    row.base_price = k == kind_material ? s->average_base_price() : row.price;
    row.value = s->value - s->investor_value;
    row.investor_quantity = s->investor_quantity;
    row.investor_value = s->investor_value;
    if (kind == investor_kind) {
      if (s->investor_quantity == 0) continue;
      row.quantity = round_amount_auto(s->investor_quantity);
      row.value = s->investor_value;
      row.price = row.quantity != 0 ? row.value / row.quantity : 0;
      d.investor_total += row.value;
    }
    d.rows.push_back(row);
  }
  return d;
}

// Materials valued at their starting prices ("Metoda liczenia - ceny materiałów z k. z." off):
// each line's value at the base price, the group total by as much less.
void without_purchase_costs(summary_data& d) {
  double less = 0;
  for (summary_row& r : d.rows) {
    r.investor_value = round_money(round_amount_auto(r.investor_quantity) * r.base_price);
    const double value = round_money(round_amount_auto(r.quantity) * r.base_price) - r.investor_value;
    less += r.value - value;
    r.value = value;
  }
  d.group.total = round_money(d.group.total - less);
}

// Investor materials per estimate unit: quantities and values divided by the count of units.
void per_unit(summary_data& d, double divisor) {
  if (divisor == 1.0) return;
  d.investor_total = 0;
  for (summary_row& r : d.rows) {
    r.quantity = round_amount_auto(r.quantity / divisor);
    r.value = round_money(r.value / divisor);
    d.investor_total += r.value;
  }
}

bool passes(const summary_row& r, price_filter f) {
  if (f == price_filter::non_zero) return r.price != 0;
  if (f == price_filter::zero) return r.price == 0;
  return true;
}

// The table of one summary in one of its variants.
class summary_table_printer {
public:
  summary_table_printer(printout_sink& sink, const summary_options& o, int kind, bool averaged, bool with_kz,
                        bool purchase_costs)
      : sink_(sink), o_(o), kind_(kind), averaged_(averaged), with_kz_(with_kz), kz_calc_(purchase_costs) {}

  void print(const summary_data& data) {
    std::vector<const summary_row*> rows;
    for (const summary_row& r : data.rows)
      if (passes(r, o_.prices)) rows.push_back(&r);
    digits_ = int(std::to_string(std::max<std::size_t>(rows.size(), 1)).size());
    build();
    sink_.rule(layout_, '-');
    sink_.table_heading(layout_, heading());
    int n = 0;
    for (const summary_row* r : rows) row(*r, ++n);
    closing(data);
    sink_.end_table();
  }

  // "Suma z rozdziałów:" and "Razem:" after the constituents' tables.
  void chapter_sums(double sum) {
    digits_ = 1;
    build();
    if (value_ < 0) return;
    label_line(mz("Suma z rozdziałów:"), text_money(sum), value_, row_style::normal);
    label_line(mz("Razem:"), text_money(sum), value_, row_style::emphasis);
    sink_.end_table();
  }

private:
  struct col {
    int width;
    const char* sample;
    const char* line1;
    const char* line2;
  };

  bool investor_columns() const { return kind_ == kind_material && o_.investor && !kz_calc_; }
  bool values() const { return kz_calc_ || kind_ == investor_kind || o_.values; }

  void build() {
    std::vector<col> after;
    int base = 0;
    const bool inv = investor_columns();
    if (kz_calc_) {
      base = averaged_ ? 80 : 58;
      if (averaged_)
        after = {{9, "888888888", "Cena śr. ", " wyjśc.  "}, {9, "888888888", "% K. z.  ", "   śr.   "},
                 {9, "888888888", "Cena śr. ", " z k. z. "}};
      else
        after = {{9, "888888888", "  Cena   ", " wyjśc.  "},
                 {9, "888888888", "% K. z.  ", ""},
                 {9, "888888888", "Cena jd. ", "transp.  "},
                 {11, "-99999999,99", "  Wartość  ", " transportu"},
                 {9, "888888888", "  Cena   ", " z k. z. "}};
    } else {
      after = {{7, "meeeeee", " Jedn. ", ""}, {11, "88888888888", "   Ilość   ", ""}};
      if (!values()) {
        base = inv ? 78 : 90;
        if (inv) after.push_back({11, "88888888888", " Ilość inw.", ""});
      } else {
        if (averaged_) base = inv ? 54 : 78;
        else base = inv ? 44 : 68;
        if (!averaged_) {
          const bool raw = kind_ != kind_labour && kind_ != kind_equipment && !with_kz_;
          after.push_back({9, "888888888", "  Cena   ", raw ? " wyjśc.  " : ""});
        }
        after.push_back({11, "-99999999,99", "  Wartość  ", ""});
        if (inv) {
          after.push_back({11, "88888888888", " Ilość inw.", ""});
          after.push_back({11, "-99999999,99", "Wart.m.inw.", ""});
        }
      }
    }
    const int lp = o_.lp ? digits_ + 1 : 0;
    const int name_width = base - lp + (o_.eto ? 0 : 9);
    layout_.columns.clear();
    after_.clear();
    lead_ = -1, lp_ = -1, eto_ = -1;
    if (sink_.text_mode()) {
      // The number and its dot stand in the same field as the code, or as the name.
      if (o_.eto) {
        layout_.columns.push_back({lp + 8, ""});
        lead_ = 0;
        name_ = 1;
        layout_.columns.push_back({name_width, ""});
      } else {
        name_ = 0;
        layout_.columns.push_back({name_width + lp, ""});
      }
    } else {
      if (o_.lp) lp_ = int(layout_.columns.size()), layout_.columns.push_back({lp, ""}),
                 layout_.columns.back().sample = std::string(std::size_t(std::max(digits_, 3)), '8') + ".";  // at least as wide as "Lp."
      if (o_.eto) eto_ = int(layout_.columns.size()), layout_.columns.push_back({8, "88888888"});
      name_ = int(layout_.columns.size());
      layout_.columns.push_back({name_width, ""});
    }
    for (const col& c : after) {
      after_.push_back(c);
      layout_.columns.push_back({c.width, c.sample});
    }
    first_after_ = name_ + 1;
    value_ = -1, quantity_ = -1;
    for (std::size_t i = 0; i < after.size(); ++i) {
      const std::string h = after[i].line1;
      if (h == mz("   Ilość   ") || h == "   Ilość   ") quantity_ = first_after_ + int(i);
      if ((h == "  Wartość  " || h == mz("  Wartość  ")) && value_ < 0) value_ = first_after_ + int(i);
    }
  }

  std::string name_heading() const {
    if (kz_calc_ || kind_ == investor_kind || kind_ == kind_material) return mz("Nazwa materiału");
    return kind_ == kind_labour ? mz("Nazwa zawodu") : mz("Nazwa sprzętu");
  }

  std::vector<table_row> heading() const {
    table_row a, b;
    const int lp = o_.lp ? digits_ + 1 : 0;
    const std::string lp_text = lp >= 3 ? pad_left("Lp.", lp) : std::string(std::size_t(lp), ' ');
    if (sink_.text_mode()) {
      if (o_.eto) {
        a.cells.push_back({lp_text + "Kod ETO ", lead_});
        a.cells.push_back({name_heading(), name_});
      } else {
        a.cells.push_back({lp_text + name_heading(), name_});
      }
    } else {
      if (lp_ >= 0) a.cells.push_back({"Lp.", lp_, 1, cell_align::centre});
      if (eto_ >= 0) a.cells.push_back({"Kod ETO", eto_, 1, cell_align::centre});
      a.cells.push_back({name_heading(), name_, 1, cell_align::centre});
    }
    bool second = false;
    for (std::size_t i = 0; i < after_.size(); ++i) {
      std::string h1 = mz(after_[i].line1), h2 = mz(after_[i].line2);
      if (!sink_.text_mode()) {
        // Graphic headers: the full words where the text columns abbreviate them.
        h1 = trimmed_text(h1), h2 = trimmed_text(h2);
        if (h1 == mz("Ilość inw.")) h1 = "Il. inw.";
        if (h1 == "Wart.m.inw.") h1 = mz("Wartość mat. inw.");
      }
      a.cells.push_back({h1, first_after_ + int(i), 1, sink_.text_mode() ? cell_align::left : cell_align::centre});
      if (!h2.empty()) {
        second = true;
        b.cells.push_back({h2, first_after_ + int(i), 1, cell_align::left});
      }
    }
    if (!sink_.text_mode() && second) {
      // One header cell per column: the second line under the first.
      for (table_cell& c : a.cells)
        for (const table_cell& d : b.cells)
          if (d.first == c.first) c.text += "\n" + d.text;
      for (table_cell& c : a.cells) c.wrap = true;
      return {a};
    }
    if (second) return {a, b};
    return {a};
  }

  std::string with_leaders(const std::string& name, int width) const {
    if (!o_.leaders || !sink_.text_mode() || int(name.size()) + 2 > width) return name;
    return name + " " + std::string(std::size_t(width - int(name.size()) - 1), '.');
  }

  void row(const summary_row& r, int n) {
    table_row t;
    const std::string number = o_.lp ? pad_right(std::to_string(n), digits_) + "." : std::string();
    const int name_width = layout_.columns[std::size_t(name_)].width;
    if (sink_.text_mode()) {
      if (o_.eto) {
        t.cells.push_back({number + pad_left(r.code, 8), lead_});
        t.cells.push_back({with_leaders(r.name, name_width), name_, 1, cell_align::left, true});
      } else {
        // Wrapped only when too long: wrapping would drop the blanks that align the numbers.
        const std::string name = number + with_leaders(r.name, name_width - int(number.size()));
        t.cells.push_back({name, name_, 1, cell_align::left, int(name.size()) > name_width});
      }
    } else {
      if (lp_ >= 0) t.cells.push_back({number, lp_, 1, cell_align::right});
      if (eto_ >= 0) t.cells.push_back({r.code, eto_});
      table_cell name{r.name, name_, 1, cell_align::left, true};
      name.leader = o_.leaders;
      t.cells.push_back(name);
    }
    int c = first_after_;
    auto put = [&](const std::string& text, cell_align a = cell_align::right) { t.cells.push_back({text, c++, 1, a}); };
    if (kz_calc_) {
      put(text_price(r.base_price));
      if (!averaged_) {
        char pct[32] = "";
        if (r.kz_is_percent) std::snprintf(pct, sizeof pct, "%.2f", r.kz_percent);
        put(pct);
        put(text_price(r.price - r.base_price));
        put(text_money(round_money(round_amount_auto(r.quantity) * (r.price - r.base_price))));
        put(text_price(r.price));
      } else {
        char pct[32] = "";
        if (r.base_price != 0) std::snprintf(pct, sizeof pct, "%.2f", (r.price - r.base_price) * 100 / r.base_price);
        put(pct);
        put(text_price(r.price));
      }
    } else {
      put(r.unit, cell_align::left);
      put(text_amount(r.quantity));
      if (values()) {
        const bool raw = kind_ != kind_labour && kind_ != kind_equipment && !with_kz_;
        if (!averaged_) put(text_price(raw ? r.base_price : r.price));
        put(text_money(r.value));
        if (investor_columns()) {
          put(text_amount(round_amount_auto(r.investor_quantity)));
          put(text_money(r.investor_value));
        }
      } else if (investor_columns()) {
        put(text_amount(round_amount_auto(r.investor_quantity)));
      }
    }
    sink_.row(layout_, t);
  }

  // A label right-aligned over the columns before `column`, the value in it.
  void label_line(const std::string& label, const std::string& value, int column, row_style st) {
    table_row t;
    t.style = st;
    t.cells.push_back({label, 0, column, cell_align::right, true});
    t.cells.push_back({value, column, 1, cell_align::right});
    sink_.row(layout_, t);
  }

  void closing(const summary_data& data) {
    if (kz_calc_) return;
    sink_.rule(layout_, '-');
    if (kind_ == investor_kind) {
      label_line(mz("Razem (z dokładnością do zaokrągleń):"), text_money(round_money(data.investor_total)), value_,
                 row_style::emphasis);
      return;
    }
    if (values() && value_ >= 0) {
      for (const summary_extra_line& e : data.group.extras) {
        if (e.value == 0) continue;
        std::string title = trimmed_text(e.title);
        if (title == "Uproszczone :") title = "Uproszczone:";
        label_line(title, text_money(e.value), value_, row_style::normal);
      }
      label_line(data.group.closing_title, text_money(data.group.total), value_, row_style::emphasis);
    }
    if (kind_ == kind_equipment && quantity_ >= 0)
      label_line(mz("Razem m-g (z dokładnością do zaokrągleń):"), text_amount(data.group.hours), quantity_,
                 row_style::emphasis);
  }

  printout_sink& sink_;
  const summary_options& o_;
  int kind_;
  bool averaged_, with_kz_, kz_calc_;
  int digits_ = 1;
  table_layout layout_;
  std::vector<col> after_;
  int lead_ = -1, lp_ = -1, eto_ = -1, name_ = 0, first_after_ = 1, value_ = -1, quantity_ = -1;
};

void print_tables(printout_sink& sink, const summary_options& o, int kind, bool averaged, bool with_kz,
                  const summary_data& data) {
  const bool both = kind == kind_material && o.materials == material_layout::both;
  if (kind != kind_material || o.materials != material_layout::purchase_costs)
    summary_table_printer(sink, o, kind, averaged, with_kz, false).print(data);
  if (kind == kind_material && (both || o.materials == material_layout::purchase_costs))
    summary_table_printer(sink, o, kind, averaged, with_kz, true).print(data);
}

} // namespace

bool print_input_summary(printout_sink& sink, print_document& doc, uint8_t* block, int code) {
  const int kind = code == 45 ? kind_labour : code == 50 ? kind_material : code == 55 ? kind_equipment : investor_kind;
  const general_options g = read_general_options(block);
  if (doc.estimates.empty()) return true;
  const bool whole = !doc.compound || part_included(block, code) || !part_included(block, code + 100);
  if (whole) {
    const summary_options o = read_summary_options(block, code);
    sink.part_heading(o.page.title, o.page.new_page);
    summary_data data = doc.compound ? compound_data(doc, kind) : simple_data(doc.estimates.front(), kind);
    if (kind == kind_material && !g.prices_with_kz) without_purchase_costs(data);
    if (kind == investor_kind) per_unit(data, per_unit_divisor(g, doc));
    print_tables(sink, o, kind, doc.compound, g.prices_with_kz, data);
  }
  if (doc.compound && part_included(block, code + 100)) {
    const summary_options o = read_summary_options(block, code + 100);
    sink.part_heading(o.page.title, o.page.new_page);
    double sum = 0;
    for (print_estimate& e : doc.estimates) {
      const std::string name = g.names_from_general ? e.general_name : e.tree_name;
      sink.constituent_bands(e);
      sink.toc_entry(1, e.number, name);
      sink.sub_heading(e.number.empty() ? name : e.number + "  " + name);
      summary_data data = simple_data(e, kind);
      if (kind == kind_material && !g.prices_with_kz) without_purchase_costs(data);
      print_tables(sink, o, kind, false, g.prices_with_kz, data);
      sum += kind == investor_kind ? round_money(data.investor_total) : data.group.total;
    }
    if (kind == investor_kind || o.values) summary_table_printer(sink, o, kind, false, g.prices_with_kz, false).chapter_sums(sum);
  }
  return true;
}

} // namespace kovra::printouts
