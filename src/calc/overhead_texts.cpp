#include "calc/overhead_texts.h"

#include <cstdio>

#include "calc/decimal_separator.h"
#include "store/codepage.h"

namespace kovra::calc {

namespace {

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }

std::string trimmed(const char* text) {
  std::string s(text);
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  const size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string with_separator(std::string s) {
  to_display_separator(s);
  return s;
}

// "%*.*lf" at width 6 with two decimals, trimmed, with the display separator.
std::string rate6(double rate) {
  char text[64];
  std::snprintf(text, sizeof text, "%*.*f", 6, 2, rate);
  return with_separator(trimmed(text));
}

std::string rate2(double rate) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f%%", rate);
  return text;
}

std::string purchase_cost_text(const formula_context& ctx, int kz_mode, std::optional<double> kz_value) {
  const estimate_model& m = *ctx.model;
  if (kz_mode > 0 || (kz_mode < 0 && m.settings.prices_with_kz)) return mz("Ceny zawierają Kz.");
  double rate = 0;
  if (ctx.simple && ctx.totals && ctx.totals->kz_summary.state == 0) {
    rate = ctx.totals->kz_summary.rate;
  } else if (kz_value) {
    rate = *kz_value;
  } else if (ctx.totals && ctx.totals->materials_base != 0) {
    rate = (ctx.totals->materials - ctx.totals->materials_base) * 100 / ctx.totals->materials_base;
  }
  if (rate > 999.99) return {};
  return rate6(rate) + "%M";
}

// Name of R or S in rows 1 and 2 when a switch raises its base.
std::string raised_name(const char* base, bool cz, bool ws) {
  std::string b(base);
  if (!cz && !ws) return b;
  std::string s = "(" + b;
  if (cz) s += "+" + b + "cz";
  if (ws) s += "+" + b + "ws";
  return s + ")";
}

std::string columns_text(const formula_context& ctx, int row) {
  const estimate_model& m = *ctx.model;
  const overhead_table& t = m.overheads;
  const bool investor = m.settings.investor_table != 0;
  std::string names[overhead_columns] = {"R", "(M+Kz)", "S", "Kp(R)", "Kp(M+Kz)", "Kp(S)", ""};
  if (investor) names[col_kp_s] = "Kp";
  const bool any_switch = t.kp_plus_cz || t.kp_plus_ws || t.z_plus_cz || t.z_plus_ws;
  if ((row == row_kp || row == row_profit) && any_switch) {
    const bool cz = row == row_kp ? t.kp_plus_cz != 0 : t.z_plus_cz != 0;
    const bool ws = row == row_kp ? t.kp_plus_ws != 0 : t.z_plus_ws != 0;
    names[col_r] = raised_name("R", cz, ws);
    names[col_s] = raised_name("S", cz, ws);
  }
  std::string out;
  for (int c = 0; c < overhead_columns; ++c) {
    const double r = t.rate(row, c);
    if (r <= 0) continue;
    if (!out.empty()) out += "+ ";
    out += rate6(r) + "%" + names[c];
  }
  return out;
}

std::string investor_profit_text(const formula_context& ctx) {
  const overhead_table& t = ctx.model->overheads;
  const bool on_sum = ctx.model->settings.profit_per_component == 0;
  const double q = t.rate(row_profit, col_running);
  const struct { int column; const char* name; } bases[4] = {{col_r, "R"}, {col_m, "M"}, {col_s, "S"}, {col_kp_s, "Kp"}};
  if (!on_sum && q <= 0) return columns_text(ctx, row_profit);
  if (q > 0 && on_sum) return rate2(q) + "(R+M+S+Kp)";
  if (q > 0) {
    std::string out;
    for (const auto& b : bases) {
      if (t.rate(row_profit, b.column) <= 0) continue;
      if (!out.empty()) out += "+";
      out += rate2(q) + b.name;
    }
    return out;
  }
  std::string first, list;
  for (const auto& b : bases) {
    const double r = t.rate(row_profit, b.column);
    if (r <= 0) continue;
    if (first.empty()) first = rate2(r);
    if (!list.empty()) list += "+";
    list += b.name;
  }
  return first.empty() ? std::string() : first + "(" + list + ")";
}

std::string standard_profit_text(const formula_context& ctx) {
  const overhead_table& t = ctx.model->overheads;
  if (t.rate(row_profit, col_running) > 0) return {};
  const struct { const char* name; const char* inner; } comps[3] = {{"R", "R"}, {"(M+Kz)", "M+Kz"}, {"S", "S"}};
  std::string out;
  for (int c = 0; c < 3; ++c) {
    const double a = t.rate(row_profit, c), b = t.rate(row_profit, c + 3);
    char text[160];
    if (a > 0 && b > 0 && a == b)
      std::snprintf(text, sizeof text, "%.2f%%(%s+Kp(%s))", a, comps[c].inner, comps[c].inner);
    else if (a > 0 && b > 0)
      std::snprintf(text, sizeof text, "%.2f%%%s+%.2f%%Kp(%s)", a, comps[c].name, b, comps[c].inner);
    else if (a > 0)
      std::snprintf(text, sizeof text, "%.2f%%%s", a, comps[c].name);
    else if (b > 0)
      std::snprintf(text, sizeof text, "%.2f%%Kp(%s)", b, comps[c].inner);
    else
      continue;
    if (!out.empty()) out += "+";
    out += text;
  }
  return out;
}

} // namespace

std::string overhead_formula_text(const formula_context& ctx, int row, int kz_mode, std::optional<double> kz_value) {
  if (!ctx.model || row < 0 || row >= overhead_rows) return {};
  const bool investor = ctx.model->settings.investor_table != 0;
  if (row == row_purchase) return purchase_cost_text(ctx, kz_mode, kz_value);
  if (row == row_kp && investor) return rate2(ctx.model->overheads.rate(row_kp, col_r)) + "(R+S)";
  if (row == row_profit) return investor ? investor_profit_text(ctx) : standard_profit_text(ctx);
  return columns_text(ctx, row);
}

std::string calc_method_text(uint8_t calc_method) {
  switch (calc_method) {
    case method_formula_2: return mz("FORMUŁA II");
    case method_formula_1: return mz("FORMUŁA I");
    case method_investor: return "Inwestorska UPZP";
    case method_simplified: return "Uproszczona";
    default: return {};
  }
}

std::string overhead_level_text(uint8_t overheads_per_position) {
  return overheads_per_position == 1 ? "dla Pozycji" : "dla Elementu";
}

std::string profit_text(uint8_t profit_per_component) {
  return profit_per_component ? "Z(R)+Z(S)+Z(M)+Z(Kp)" : "Z(R+S+M+Kp)";
}

std::string method_name(const estimate_settings& s) {
  switch (s.calc_method) {
    case method_formula_1: return mz("Metoda kalkulacji: FORMUŁA I, Narzuty: wyliczane dla pozycji");
    case method_investor: return mz("Metoda kalkulacji: Inwestorska UPZP, Narzuty: wyliczane dla pozycji");
    case method_simplified: return mz("Metoda kalkulacji: Uproszczona");
    default:
      return s.overheads_per_position == 1 ? mz("Metoda kalkulacji: FORMUŁA II, Narzuty: wyliczane dla pozycji")
                                           : mz("Metoda kalkulacji: FORMUŁA II, Narzuty: wyliczane dla elementu");
  }
}

std::vector<std::string> method_description(const estimate_settings& s) {
  switch (s.calc_method) {
    case method_formula_1: return {"Ck = Suma[L * (n*c + Nj)] + Pv."};
    case method_investor: return {"Wk = Suma L x Cj", "Cj = Suma n x c + Kpj + Zj", "Kpj =  Wkp x (Rj + Sj) /100 %"};
    case method_simplified: return {"Ck = Suma(L) * Cj + Pv."};
    default: return {"Ck = Suma(L * n*c) + N + Pv."};
  }
}

} // namespace kovra::calc
