#include "calc/compound_recalc.h"

#include <algorithm>
#include <cmath>

#include "calc/overheads.h"
#include "calc/rounding.h"

namespace kovra::calc {

double summary_record::average_price() const {
  double avg = basis_quantity != 0 ? basis_value / basis_quantity : 0;
  if (basis_quantity == 0 || avg == 0) avg = (price_low + price_high) / 2;
  return std::clamp(avg, std::min(price_low, price_high), std::max(price_low, price_high));
}

double summary_record::average_base_price() const { return basis_quantity != 0 ? base_value / basis_quantity : 0; }

namespace {

bool key_less(const summary_record& a, const summary_record& b) { return a.id != b.id ? a.id < b.id : a.sub < b.sub; }

summary_record* find(std::vector<summary_record>& summary, size_t within, const price_record& r) {
  auto less = [](const summary_record& s, const price_record& k) { return s.id != k.id ? s.id < k.id : s.sub < k.sub; };
  const auto end = summary.begin() + static_cast<long>(within);
  auto it = std::lower_bound(summary.begin(), end, r, less);
  return it != end && it->id == r.id && it->sub == r.sub ? &*it : nullptr;
}

// Records for the keys the chapter used that the summary lacks, added at once (the table
// is in key order, so the new ones are too) and merged into place.
void add_missing_records(std::vector<summary_record>& summary, const input_table& table) {
  const size_t known = summary.size();
  for (const input_table_entry& e : table.entries()) {
    if (!e.used || find(summary, known, e.rec)) continue;
    summary_record s;
    s.kind = e.rec.kind;
    s.id = e.rec.id;
    s.sub = e.rec.sub;
    s.unit = e.rec.unit;
    s.name = e.rec.name;
    summary.push_back(std::move(s));
  }
  std::inplace_merge(summary.begin(), summary.begin() + static_cast<long>(known), summary.end(), key_less);
}

} // namespace

void merge_chapter_inputs(std::vector<summary_record>& summary, const input_table& table) {
  add_missing_records(summary, table);
  for (const input_table_entry& e : table.entries()) {
    if (!e.used) continue;
    summary_record& s = *find(summary, summary.size(), e.rec);
    const double p = e.price;
    const double b = e.rec.kind == kind_material ? e.base_price : p;
    const double x = e.rec.quantity;
    const double ex = e.rec.excluded_quantity;
    const double y = e.rec.investor_quantity;
    const double qx = round_amount_auto(x);
    const double so_far = s.quantity; // the record's quantity before this chapter
    const double avg_p = s.average_price(), avg_b = s.average_base_price();
    s.quantity += qx;
    s.value += round_money(p * qx);
    s.excluded_quantity += ex;
    s.excluded_value += round_money(p * ex);
    if (!s.seen_in_run) {
      s.seen_in_run = true;
      s.price_low = s.price_high = p;
      s.base_price_low = s.base_price_high = b;
    } else {
      s.price_low = std::min(s.price_low, p);
      s.price_high = std::max(s.price_high, p);
      s.base_price_low = std::min(s.base_price_low, b);
      s.base_price_high = std::max(s.base_price_high, b);
    }
    s.investor_quantity += y;
    if (e.rec.mp_mode == 1 || e.rec.mp_mode == 2) {
      s.investor_value += round_money((e.rec.mp_mode == 1 ? p : b) * y);
      s.investor_value_base += round_money(b * y);
    }
    if (e.rec.kind != kind_material) continue;
    const uint8_t mode = e.rec.kz_mode & 0x7f;
    if (!(s.kz_mode & 0x80)) {
      s.kz_mode = static_cast<uint8_t>(0x80 | mode);
      s.kz_value = e.rec.kz_value;
    } else {
      const uint8_t own = s.kz_mode & 0x7f;
      if (own != mode || s.kz_value != e.rec.kz_value || (own != 4 && own != 5)) {
        s.kz_mode = 0x80 | 7;
        s.kz_value = (avg_p - avg_b) * so_far + (p - b) * x;
      }
    }
    s.basis_quantity += std::fabs(x);
    s.basis_value += std::fabs(x) * p;
    s.base_value += std::fabs(x) * b;
  }
}

compound_result recalculate_compound(compound_model& model) {
  compound_result result;
  for (summary_record& s : model.summary) {
    const summary_record keep = s;
    s = summary_record{};
    s.pos = keep.pos;
    s.kind = keep.kind;
    s.id = keep.id;
    s.sub = keep.sub;
    s.unit = keep.unit;
    s.name = keep.name;
  }
  std::sort(model.summary.begin(), model.summary.end(), key_less);
  estimate_totals& t = result.totals;
  for (chapter_model& c : model.chapters) {
    if (!c.available) {
      result.chapters.emplace_back();
      continue;
    }
    c.doc.is_chapter = true;
    c.doc.chapter_multiplier = c.quantity;
    c.doc.chapter_code = c.precision_code;
    recalc_result r = recalculate(c.doc);
    t.add(r.totals);
    merge_chapter_inputs(model.summary, r.table);
    result.chapters.push_back(std::move(r));
  }
  double additions = 0;
  for (const addition& a : model.additions) additions += round_money(a.amount);
  additions = round_money(additions);
  t.additions += additions;
  t.net = round_money(t.net + additions);
  t.vat = round_money(t.vat + vat(model.overheads, additions));
  t.gross = round_total(t.net + t.vat);  // the compound's total, to the setting's step
  t.overheads.finish();
  const double kz = t.materials_base != 0 ? (t.materials - t.materials_base) * 100 / t.materials_base : 0;
  t.overheads.cell[row_estimate] = {kz, t.additions, t.net, t.vat, t.gross};
  return result;
}

} // namespace kovra::calc
