#include "calc/scaffold_sheet.h"

#include "calc/number_text.h"
#include "store/codepage.h"

namespace kovra::calc {

namespace {

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }

std::string trimmed(const char* text) {
  std::string s(text ? text : "");
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

} // namespace

scaffold_sheet scaffold_sheet_of(const costing_context& ctx, int node_index, const input_table& table) {
  scaffold_sheet s;
  const model_node& n = ctx.node(node_index);
  s.values = scaffold_quantities(ctx, node_index);
  const scaffold_values& v = s.values;
  const input_table_entry* input =
      n.scaffold_input_id != 0 ? table.find(n.scaffold_input_id, n.scaffold_input_sub) : nullptr;
  s.price = input ? input->price : 0;
  const bool full = ctx.options.full_quantities;
  auto& r = s.rows;

  r[0] = {mz(" Ilość r-g "), "", text_amount(v.labour_hours), ""};
  r[1] = {mz(" Współczynnik W "), "", text_money_e(n.scaffold_w), ""};
  r[2] = {mz(" Współczynnik S "), "", std::to_string(n.scaffold_s), ""};
  r[3] = {mz(" Współczynnik P uwzględniający długość pomostu roboczego "), "", text_money_e(n.scaffold_p), ""};
  r[4] = {mz(" Czas pracy ") + "\n" + trimmed(text_amount(v.labour_hours)) + " / ( " + trimmed(text_money_e(n.scaffold_w)) +
              " * " + std::to_string(n.scaffold_s) + " ) * " + trimmed(text_money_e(n.scaffold_p)) + " = ",
          "", "", text_norm(v.working_time)};
  r[5] = {mz(" Ilość zestawów "), "", std::to_string(n.scaffold_sets), ""};
  r[6] = {mz(" Ilość rusztowań w zestawie "), n.unit2, text_money_e(n.scaffolds_per_set), ""};
  r[7] = {mz(" Współczynnik korekcyjny do ceny rusztowania "), "", text_integer(n.scaffold_k), ""};
  r[8] = {mz(" Ilość całkowita ") + "\n" + std::to_string(n.scaffold_sets) + " * " +
              trimmed(text_money_e(n.scaffolds_per_set)) + " / " + trimmed(text_integer(n.scaffold_k)) + " = ",
          "", "", text_quantity(v.count, v.count_code)};
  r[9] = {input ? " Cena \"" + input->rec.name + "\" " : mz(" Cena rusztowania "), "", text_money_e(s.price), ""};
  std::string line = trimmed(text_norm(v.working_time)) + " * ";
  if (full)
    line += trimmed(text_quantity(v.count, v.count_code)) + " = " + trimmed(text_amount(v.quantity)) + std::string(11, ' ') +
            trimmed(text_amount(v.quantity)) + " * ";
  line += trimmed(text_money_e(s.price)) + " = ";
  r[10] = {(full ? mz(" Wartość rusztowania ( koszty bezpośrednie)")
                 : mz(" Wartość jednostkowa rusztowania ( koszty bezpośrednie)")) +
               "\n" + line,
           "", "", text_money_e(full ? s.price * v.quantity : s.price * v.working_time)};
  return s;
}

} // namespace kovra::calc
