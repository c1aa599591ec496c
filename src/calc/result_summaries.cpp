#include "calc/result_summaries.h"

#include "calc/overhead_texts.h"
#include "store/codepage.h"

namespace kovra::calc {

namespace {

// A chapter's total of one overhead row: items 1 to 10 from its table, VAT from its totals.
double chapter_row_total(const estimate_totals& t, int row) {
  if (row == row_vat) return t.vat;
  return t.overheads.cell[static_cast<size_t>(row_first_item + row - 1)][ec_total];
}

std::string cut(std::string s, size_t width) {
  if (s.size() > width) s.resize(width);
  return s;
}

} // namespace

std::string own_overhead_title(int row) {
  std::string t = store::utf8_to_mazovia("Narzut własny #");
  t.back() = static_cast<char>(44 + row);
  return t;
}

std::vector<overhead_summary_line> compound_overhead_summary(const compound_model& model, const compound_result& r) {
  std::vector<overhead_summary_line> lines;
  const overhead_titles titles = titles_of(model, r);
  for (int row = 1; row <= row_vat; ++row) {
    overhead_summary_line l;
    l.row = row;
    l.title = titles[static_cast<size_t>(row)];
    for (size_t i = 0; i < model.chapters.size() && i < r.chapters.size(); ++i)
      if (model.chapters[i].available) l.amount += chapter_row_total(r.chapters[i].totals, row);
    if (row >= 5 && row <= 9 && l.title.empty() && l.amount != 0) l.title = own_overhead_title(row);
    lines.push_back(l);
  }
  return lines;
}

std::vector<chapter_formula_line> chapter_formulas(const compound_model& model, const compound_result& r, int row) {
  std::vector<chapter_formula_line> lines;
  for (size_t i = 0; i < model.chapters.size() && i < r.chapters.size(); ++i) {
    const chapter_model& c = model.chapters[i];
    if (!c.available) continue;
    formula_context ctx{&c.doc, &r.chapters[i].totals, true};
    std::string f = overhead_formula_text(ctx, row);
    if (f.empty()) continue;
    chapter_formula_line l;
    l.chapter_number = c.number;
    l.chapter_name = c.doc.settings.name;
    l.formula = cut(std::move(f), 70); // long formulas are cut to the field
    if (row >= 5 && row <= 9) l.row_name = cut(c.doc.overheads.rows[static_cast<size_t>(row)].name, 30);
    l.amount = chapter_row_total(r.chapters[i].totals, row);
    lines.push_back(std::move(l));
  }
  return lines;
}

overhead_titles titles_of(const overhead_table& t) {
  overhead_titles titles;
  for (int i = 0; i < overhead_rows; ++i) titles[static_cast<size_t>(i)] = t.rows[static_cast<size_t>(i)].name;
  return titles;
}

overhead_titles titles_of(const compound_model& model, const compound_result&) {
  overhead_titles titles = titles_of(model.overheads);
  bool first = true;
  std::array<bool, overhead_rows> differ{};
  for (const chapter_model& c : model.chapters) {
    if (!c.available) continue;
    for (int i = 0; i < overhead_rows; ++i) {
      const std::string& name = c.doc.overheads.rows[static_cast<size_t>(i)].name;
      if (first) titles[static_cast<size_t>(i)] = name;
      else if (name != titles[static_cast<size_t>(i)]) differ[static_cast<size_t>(i)] = true;
    }
    first = false;
  }
  for (int i = 0; i < overhead_rows; ++i)
    if (differ[static_cast<size_t>(i)]) titles[static_cast<size_t>(i)] = own_overhead_title(i);
  return titles;
}

std::vector<component_line> results_by_component(const estimate_totals& t, bool formula_2, const overhead_titles& titles) {
  auto mz = [](const char* utf8) { return store::utf8_to_mazovia(utf8); };
  std::vector<component_line> lines;
  auto add = [&](std::string title, double value) {
    lines.push_back({std::move(title), value, t.gross != 0 ? value * 100 / t.gross : 0});
  };
  const auto& direct = t.overheads.cell[row_direct];
  if (formula_2) {
    add(mz("Robocizna"), direct[ec_r]);
    add(mz("Materiały"), direct[ec_m]);
    add(mz("Materiały inwestora"), t.investor_materials);
    add(mz("Sprzęt"), direct[ec_s]);
    add(mz("Inne"), direct[ec_other]);
    for (int i = 1; i <= 10; ++i) {
      const double v = t.overheads.cell[static_cast<size_t>(row_first_item + i - 1)][ec_total];
      std::string title = titles[static_cast<size_t>(i)];
      if (title.empty() && v == 0) continue;
      if (title.empty()) title = own_overhead_title(i);
      add(title, v);
    }
  } else {
    add(mz("Robocizna"), t.labour + t.simplified_labour);
    add(mz("Materiały"), t.materials - t.investor_materials + t.materials_other + t.simplified_materials);
    add(mz("Materiały inwestora"), t.investor_materials);
    add(mz("Sprzęt"), t.equipment + t.simplified_equipment + t.equipment_other);
    add(mz("Inne"), t.other_amounts);
  }
  add(mz("Dodatki"), t.additions);
  add("VAT", t.vat);
  return lines;
}

} // namespace kovra::calc
