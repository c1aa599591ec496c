// kovra-cli summary FILE --kind R|M|S [--json | --format text|json|csv]
//
// The labour, material or equipment summary of an estimate as its summary page shows it,
// after the recalculation that opening the estimate runs: the inputs of the kind that the
// estimate uses, in name order (the order of key 1), with their line values, then the group's extra lines and its
// closing line "Razem (z dokładnością do zaokrągleń):". A compound estimate lists its merged
// summary records with their average prices and closes with the compound's totals.
//
// JSON form: {"file", "kind" ("R", "M" or "S"), "compound", "lines": [{"number" (null when
// the id is 9 999 999 or more), "id", "sub", "name", "unit", "quantity", "base_price",
// "price", "kz" ("percent", "per_unit", "amount", "none"), "kz_value", "investor_value",
// "value", "excluded_quantity", "excluded_value", "base_material"}], "extras": [{"title",
// "value"}], "closing": {"title", "total", "hours"}}. In a compound estimate "price" and
// "base_price" are the average prices and "kz", "kz_value" those the chapters gave.
//
// CSV form (UTF-8, RFC 4180, for spreadsheets): the header "Lp.,Kod,Nazwa,Jedn.,Ilość,Cena,
// Wartość", one record per line of the text form with the same values unpadded (quantity
// to its displayed decimals, price and value to the grosz), then the extra lines and the
// closing line with their title under "Nazwa" and their value under "Wartość"; the closing
// line of labour and equipment carries the man- or machine-hours under "Ilość".
#include "cli/command.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include <nlohmann/json.hpp>

#include "calc/number_text.h"
#include "calc/rounding.h"
#include "calc/summaries.h"
#include "cli/csv_text.h"
#include "cli/recalculated_file.h"
#include "document/collation.h"
#include "store/codepage.h"

namespace kovra::cli {
namespace {

using nlohmann::json;

std::string utf8(const std::string& s) { return store::mazovia_to_utf8(s); }

const char* kz_name(calc::kz_shown k) {
  switch (k) {
    case calc::kz_shown::percent: return "percent";
    case calc::kz_shown::per_unit: return "per_unit";
    case calc::kz_shown::amount: return "amount";
    default: return "none";
  }
}

calc::kz_shown kz_of(uint8_t mode) {
  switch (mode & 0x7f) {
    case 4: return calc::kz_shown::percent;
    case 5: return calc::kz_shown::per_unit;
    case 6:
    case 7: return calc::kz_shown::amount;
    default: return calc::kz_shown::none;
  }
}

json simple_lines(const calc::estimate_model& model, uint8_t kind) {
  json lines = json::array();
  for (int index : calc::inputs_in_name_order(model, kind)) {
    const calc::price_record& p = model.prices[static_cast<size_t>(index)];
    // Like the page: an input the estimate does not use (nothing counted, nothing excluded)
    // is not listed.
    if (calc::round_amount_auto(p.quantity) == 0 && calc::round_amount_auto(p.excluded_quantity) == 0) continue;
    const calc::summary_line l = calc::summary_line_of(p);
    lines.push_back({{"number", l.number ? json(*l.number) : json(nullptr)},
                     {"id", p.id}, {"sub", p.sub}, {"name", utf8(p.name)}, {"unit", utf8(p.unit)},
                     {"quantity", l.quantity}, {"base_price", l.base_price}, {"price", l.price},
                     {"kz", kz_name(l.kz)}, {"kz_value", l.kz_value}, {"investor_value", l.investor_value},
                     {"value", l.value}, {"excluded_quantity", l.excluded_quantity},
                     {"excluded_value", l.excluded_value}, {"base_material", l.base_material}});
  }
  return lines;
}

json compound_lines(const calc::compound_model& model, uint8_t kind) {
  std::vector<const calc::summary_record*> order;
  for (const calc::summary_record& s : model.summary)
    if (s.kind == kind) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(), [](const calc::summary_record* a, const calc::summary_record* b) {
    return document::compare_names(a->name, b->name) < 0;
  });
  json lines = json::array();
  for (const calc::summary_record* s : order) {
    if (calc::round_amount_auto(s->quantity) == 0 && calc::round_amount_auto(s->excluded_quantity) == 0 &&
        calc::round_money(s->value) == 0)
      continue;
    const double price = s->average_price();
    const double base = s->kind == calc::kind_material ? s->average_base_price() : price;
    lines.push_back({{"number", s->id < 9999999 ? json(s->id) : json(nullptr)},
                     {"id", s->id}, {"sub", s->sub}, {"name", utf8(s->name)}, {"unit", utf8(s->unit)},
                     {"quantity", s->quantity}, {"base_price", base}, {"price", price},
                     {"kz", kz_name(kz_of(s->kz_mode))}, {"kz_value", s->kz_value},
                     {"investor_value", s->investor_value}, {"value", s->value - s->investor_value},
                     {"excluded_quantity", s->excluded_quantity}, {"excluded_value", s->excluded_value},
                     {"base_material", false}});
  }
  return lines;
}

int run_summary(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file, kind_text;
  std::string format = "text";
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") format = "json";
    else if (args[i] == "--format" && i + 1 < args.size()) format = args[++i];
    else if (args[i] == "--kind" && i + 1 < args.size()) kind_text = args[++i];
    else if (file.empty() && !args[i].empty() && args[i][0] != '-') file = args[i];
    else {
      err << "kovra-cli summary: unexpected argument \"" << args[i] << "\"\n";
      return exit_usage;
    }
  }
  const uint8_t kind = kind_text == "R" ? calc::kind_labour : kind_text == "M" ? calc::kind_material
                       : kind_text == "S" ? calc::kind_equipment : 255;
  if (file.empty() || kind == 255 || (format != "text" && format != "json" && format != "csv")) {
    err << "usage: kovra-cli summary FILE --kind R|M|S [--json | --format text|json|csv]\n";
    return exit_usage;
  }
  recalculated_file f;
  int status = exit_ok;
  const std::string error = recalculate_file(file, f, status);
  if (!error.empty()) {
    err << error << "\n";
    return status;
  }
  const calc::estimate_totals& totals = f.compound ? f.compound_result.totals : f.result.totals;
  const calc::summary_group group = calc::summary_group_of(totals, kind);
  const json lines = f.compound ? compound_lines(f.compound_model, kind) : simple_lines(f.model, kind);
  json extras = json::array();
  for (const auto& e : group.extras) extras.push_back({{"title", utf8(e.title)}, {"value", e.value}});
  if (format == "csv") {
    auto quantity = [](double v) { return csv_quantity(calc::round_amount_auto(v)); };
    auto money = [](double v) { return csv_fixed(calc::round_2(v), 2); };
    out << csv_record({"Lp.", "Kod", "Nazwa", "Jedn.", "Ilość", "Cena", "Wartość"});
    int lp = 0;
    for (const auto& l : lines)
      out << csv_record({std::to_string(++lp), l["number"].is_null() ? "" : std::to_string(l["number"].get<unsigned>()),
                         l["name"].get<std::string>(), l["unit"].get<std::string>(), quantity(l["quantity"].get<double>()),
                         money(l["price"].get<double>()), money(l["value"].get<double>())});
    for (const auto& e : group.extras) out << csv_record({"", "", utf8(e.title), "", "", "", money(e.value)});
    out << csv_record({"", "", utf8(group.closing_title), "", kind != calc::kind_material ? quantity(group.hours) : "",
                       "", money(group.total)});
    return exit_ok;
  }
  if (format == "json") {
    out << json{{"file", file}, {"kind", kind_text}, {"compound", f.compound}, {"lines", lines}, {"extras", extras},
                {"closing", {{"title", utf8(group.closing_title)}, {"total", group.total}, {"hours", group.hours}}}}
               .dump(2)
        << "\n";
    return exit_ok;
  }
  // The page's columns: Lp., number, name, unit, quantity, price, value.
  int lp = 0;
  for (const auto& l : lines) {
    char head[32];
    if (l["number"].is_null()) std::snprintf(head, sizeof head, "%4d %7s", ++lp, "");
    else std::snprintf(head, sizeof head, "%4d %7u", ++lp, l["number"].get<unsigned>());
    out << head << "  " << l["name"].get<std::string>() << "  " << l["unit"].get<std::string>() << " "
        << calc::text_amount(l["quantity"].get<double>()) << " " << calc::text_price(l["price"].get<double>()) << " "
        << calc::text_money(l["value"].get<double>()) << "\n";
  }
  for (const auto& e : group.extras) out << utf8(e.title) << " " << calc::text_money(e.value) << "\n";
  out << utf8(group.closing_title) << " " << calc::text_money(group.total);
  if (kind != calc::kind_material) out << "  (" << (kind == calc::kind_labour ? "r-g" : "m-g") << " "
                                       << calc::text_amount(group.hours) << ")";
  out << "\n";
  return exit_ok;
}

const command_registration reg{{"summary", "FILE --kind R|M|S [--json | --format text|json|csv]",
                                "print the labour, material or equipment summary of an estimate (.kvr read-only, or "
                                "its JSON form) as its summary page shows it; --json: lines, extras, closing; "
                                "--format csv: the same rows for spreadsheets",
                                run_summary}};

} // namespace
} // namespace kovra::cli
