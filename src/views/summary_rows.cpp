#include "views/summary_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <QRegularExpression>

#include "calc/compound_recalc.h"
#include "calc/estimate_totals.h"
#include "calc/number_text.h"
#include "calc/rounding.h"
#include "document/collation.h"
#include "store/codepage.h"

namespace kovra::views {

QString screen_text(const std::string& internal) { return QString::fromStdString(store::mazovia_to_utf8(internal)); }

QString trimmed(const char* text) { return QString::fromUtf8(text).trimmed(); }

namespace {

const QString check_mark = QString(QChar(0x2714));

void add_closing(std::vector<summary_closing>& out, const calc::estimate_totals& totals, uint8_t kind) {
  const calc::summary_group g = calc::summary_group_of(totals, kind);
  for (const auto& e : g.extras) out.push_back({e.title, e.value, 0, false, 0});
  // The page opens the equipment's closing rows with the one-off costs.
  const std::string one_off = store::utf8_to_mazovia("Koszty jednorazowe sprzętu :");
  std::stable_partition(out.begin(), out.end(), [&](const summary_closing& k) { return k.title == one_off; });
  out.push_back({g.closing_title, g.total, g.hours, true, kind == calc::kind_material ? totals.investor_materials : 0});
}

// Numbers of the tab-separated copy: "." and no grouping, like the CSV summary.
QString fixed(double v, int decimals) {
  if (!std::isfinite(v)) return {};
  QString t = QString::number(v, 'f', decimals);
  if (t.startsWith('-') && t.count(QRegularExpression("[1-9]")) == 0) t.remove(0, 1);
  return t;
}

QString quantity_text(double v) {
  v = calc::round_amount_auto(v);
  const double a = std::fabs(v);
  const int decimals = a < 1000 ? 5 : a < 10000 ? 4 : a < 100000 ? 3 : 2;
  QString t = fixed(v, decimals);
  if (t.contains('.')) {
    while (t.endsWith('0')) t.chop(1);
    if (t.endsWith('.')) t.chop(1);
  }
  return t;
}

} // namespace

void summary_rows::clear() {
  lines_.clear();
  shown_.clear();
  closing_.clear();
}

void summary_rows::load_simple(const calc::estimate_model& model, const calc::estimate_totals& totals, uint8_t kind) {
  clear();
  kind_ = kind;
  compound_ = false;
  for (int index : calc::inputs_in_name_order(model, kind)) {
    const calc::price_record& p = model.prices[size_t(index)];
    if (calc::round_amount_auto(p.quantity) == 0 && calc::round_amount_auto(p.excluded_quantity) == 0) continue;
    const calc::summary_line l = calc::summary_line_of(p);
    summary_row r;
    r.id = p.id;
    r.sub = p.sub;
    r.name = p.name;
    r.unit = p.unit;
    r.price = r.min_price = r.max_price = l.price;
    r.quantity = l.quantity;
    r.value = l.value;
    r.gross_value = calc::round_amount_auto(p.quantity) * p.price;
    r.excluded_quantity = l.excluded_quantity;
    r.excluded_value = l.excluded_value;
    r.investor_quantity = p.investor_quantity;
    r.investor_value = l.investor_value;
    r.base_price = l.base_price;
    r.kz_value = r.kz_shown_value = p.kz_value;
    r.kz_mode = p.kz_mode & 0x7f;
    r.counts_in_mp = l.base_material;
    r.investor_at_base_price = p.mp_mode == 2;
    lines_.push_back(std::move(r));
  }
  add_closing(closing_, totals, kind);
  finish_load();
}

void summary_rows::load_compound(const calc::compound_model& model, const calc::estimate_totals& totals, uint8_t kind) {
  clear();
  kind_ = kind;
  compound_ = true;
  std::vector<const calc::summary_record*> order;
  for (const calc::summary_record& s : model.summary)
    if (s.kind == kind) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(), [](const calc::summary_record* a, const calc::summary_record* b) {
    return document::compare_names(a->name, b->name) < 0;
  });
  for (const calc::summary_record* s : order) {
    if (calc::round_amount_auto(s->quantity) == 0 && calc::round_amount_auto(s->excluded_quantity) == 0 &&
        calc::round_money(s->value) == 0)
      continue;
    summary_row r;
    r.id = s->id;
    r.sub = s->sub;
    r.name = s->name;
    r.unit = s->unit;
    r.price = s->average_price();
    r.min_price = s->price_low;
    r.max_price = s->price_high;
    r.quantity = s->quantity;
    r.value = s->value - s->investor_value;
    r.gross_value = s->value;
    r.excluded_quantity = s->excluded_quantity;
    r.excluded_value = s->excluded_value;
    r.investor_quantity = calc::round_amount_auto(s->quantity) != 0
                              ? calc::round_percent(float(s->investor_quantity * 100 / s->quantity))
                              : 0;
    r.investor_value = s->investor_value;
    r.base_price = kind == calc::kind_material ? s->average_base_price() : r.price;
    r.kz_value = s->kz_value;
    r.kz_mode = s->kz_mode & 0x7f;
    r.kz_shown_value = r.kz_mode == 7 && r.base_price != 0 ? (r.price / r.base_price - 1) * 100 : s->kz_value;
    lines_.push_back(std::move(r));
  }
  add_closing(closing_, totals, kind);
  finish_load();
}

void summary_rows::finish_load() { set_filter(filter_); }

bool summary_rows::column_exists(int col) const {
  const bool m = kind_ == calc::kind_material;
  switch (col) {
    case sc_base_price:
    case sc_kz:
    case sc_investor_quantity:
    case sc_investor_value: return m;
    case sc_min_price:
    case sc_max_price: return compound_;
    case sc_mp: return m && !compound_;
    default: return col >= 0 && col < summary_columns;
  }
}

bool summary_rows::sortable(int col) { return col != sc_lp && col != sc_unit && col != sc_mp && col >= 0 && col < summary_columns; }

void summary_rows::set_filter(int filter) {
  filter_ = filter;
  shown_.clear();
  for (size_t i = 0; i < lines_.size(); ++i) {
    const summary_row& r = lines_[i];
    if ((filter == zero_prices && r.min_price != 0) || (filter == nonzero_prices && r.price == 0)) continue;
    shown_.push_back(int(i));
  }
}

void summary_rows::sort(int col, bool ascending) {
  auto number = [col, this](const summary_row& r) -> double {
    switch (col) {
      case sc_eto: return r.id;
      case sc_quantity: return r.quantity;
      case sc_base_price: return r.base_price;
      case sc_kz: return r.kz_value;
      case sc_min_price: return r.min_price;
      case sc_price: return r.price;
      case sc_max_price: return r.max_price;
      case sc_value: return r.gross_value;
      case sc_investor_quantity: return r.investor_quantity;
      case sc_investor_value: return compound_ ? r.investor_value : r.investor_quantity * r.price;
      default: return 0;
    }
  };
  if (!sortable(col) || !column_exists(col)) return;
  if (col == sc_name) {
    std::sort(lines_.begin(), lines_.end(), [ascending](const summary_row& a, const summary_row& b) {
      const int c = document::compare_names(a.name, b.name);
      return ascending ? c < 0 : c > 0;
    });
  } else {
    std::sort(lines_.begin(), lines_.end(), [&](const summary_row& a, const summary_row& b) {
      return ascending ? number(a) < number(b) : number(b) < number(a);
    });
  }
  set_filter(filter_);
}

int summary_rows::find_shown(uint32_t id, uint16_t sub) const {
  for (size_t i = 0; i < shown_.size(); ++i) {
    const summary_row& r = lines_[size_t(shown_[i])];
    if (r.id == id && r.sub == sub) return int(i);
  }
  return -1;
}

QString summary_rows::title(int col) const {
  static const char* titles[] = {"Lp.", "ETO", "Nazwa", "Jedn.", "Ilość", "Cena wyj.", "Kz", "Cena min",
                                 "Cena", "Cena max", "Wartość", "Mp", "Ilość inw.", "Wart. inw."};
  if (col == sc_price) return compound_ ? "Cena śr" : kind_ == calc::kind_material ? "Cena z k.z." : "Cena";
  return col >= 0 && col < summary_columns ? QString::fromUtf8(titles[col]) : QString();
}

QString summary_rows::cell(int i, int col, QString* second) const {
  const summary_row& r = shown(i);
  if (second) second->clear();
  switch (col) {
    case sc_lp: return QString::number(i + 1) + ".";
    case sc_eto: return r.id < 9999999 ? QString::number(r.id) : QString();
    case sc_name: return screen_text(r.name).left(251);
    case sc_unit: return screen_text(r.unit);
    case sc_quantity:
      if (second && r.excluded_quantity != 0) *second = trimmed(calc::text_amount(r.excluded_quantity));
      return trimmed(calc::text_amount(r.quantity));
    case sc_base_price: return trimmed(calc::text_price(r.base_price));
    case sc_kz:
      switch (r.kz_mode) {
        case 4: return trimmed(calc::text_percent(calc::round_percent(float(r.kz_value)), 7)) + " %";
        case 5: return "< " + trimmed(calc::text_price(r.kz_value)) + " >";
        case 6: return trimmed(calc::text_money_e(r.kz_value)) + " zł";
        case 7:
          if (compound_) return trimmed(calc::text_percent(calc::round_percent(float(r.kz_shown_value)), 7)) + " %";
          return trimmed(calc::text_money_e(r.kz_value)) + " zł";
        default: return {};
      }
    case sc_min_price: return trimmed(calc::text_price(r.min_price));
    case sc_price: return trimmed(calc::text_price(r.price));
    case sc_max_price: return trimmed(calc::text_price(r.max_price));
    case sc_value:
      if (second && r.price != 0 && r.excluded_quantity != 0) *second = trimmed(calc::text_money_e(r.excluded_value));
      return trimmed(calc::text_money_e(r.value));
    case sc_mp: return r.counts_in_mp ? QString() : QString("-");
    case sc_investor_quantity:
      if (compound_) {
        if (r.investor_quantity == 0) return {};
        if (r.investor_quantity == 100) return check_mark;
        return trimmed(calc::text_percent(r.investor_quantity, 7)) + "%";
      }
      if (r.investor_quantity == 0) return {};
      if (r.investor_quantity == r.quantity) return r.investor_at_base_price ? check_mark + " (KZ)" : check_mark;
      return trimmed(calc::text_amount(r.investor_quantity));
    case sc_investor_value: return trimmed(calc::text_money_e(r.investor_value));
    default: return {};
  }
}

int summary_rows::closing_label_end(int c) const {
  const summary_closing& k = closing_[size_t(c)];
  if (k.total && kind_ != calc::kind_material) return sc_unit;
  if (k.total && compound_) return sc_max_price;
  return sc_price;
}

QString summary_rows::closing_cell(int c, int col) const {
  const summary_closing& k = closing_[size_t(c)];
  if (col == 0) return screen_text(k.title);
  if (col == sc_value) return k.amount != 0 ? trimmed(calc::text_money(k.amount)) : QString();
  if (k.total && col == sc_quantity && kind_ != calc::kind_material && k.hours != 0)
    return trimmed(calc::text_amount(k.hours));
  // The materials total row carries the investor materials total under "Wart. inw.".
  if (k.total && col == sc_investor_value && kind_ == calc::kind_material && k.investor != 0)
    return trimmed(calc::text_money(k.investor));
  return {};
}

QString summary_rows::tab_separated() const {
  QStringList rows;
  rows << QStringList{"Lp.", "Kod", "Nazwa", "Jedn.", "Ilość", "Cena", "Wartość"}.join('\t');
  auto clean = [](QString t) { return t.replace('\t', ' ').replace('\n', ' ').replace('\r', ' '); };
  for (int i = 0; i < shown_count(); ++i) {
    const summary_row& r = shown(i);
    rows << QStringList{QString::number(i + 1), r.id < 9999999 ? QString::number(r.id) : QString(),
                        clean(screen_text(r.name)), clean(screen_text(r.unit)), quantity_text(r.quantity),
                        fixed(calc::round_2(r.price), 2), fixed(calc::round_2(r.value), 2)}
                .join('\t');
  }
  for (const summary_closing& k : closing_)
    rows << QStringList{"", "", clean(screen_text(k.title)), "",
                        k.total && kind_ != calc::kind_material ? quantity_text(k.hours) : QString(), "",
                        fixed(calc::round_2(k.amount), 2)}
                .join('\t');
  return rows.join('\n') + '\n';
}

} // namespace kovra::views
