#include "calc/estimate_totals.h"

namespace kovra::calc {

void estimate_totals::note_value(double v) {
  if (!any_value) {
    largest = smallest = v;
    any_value = true;
    return;
  }
  if (v > largest) largest = v;
  if (v < smallest) smallest = v;
}

void estimate_totals::add(const estimate_totals& o) {
  labour += o.labour;
  materials += o.materials;
  equipment += o.equipment;
  materials_base += o.materials_base;
  labour_hours += o.labour_hours;
  equipment_hours += o.equipment_hours;
  investor_materials += o.investor_materials;
  investor_materials_base += o.investor_materials_base;
  materials_other += o.materials_other;
  equipment_other += o.equipment_other;
  materials_other_r += o.materials_other_r;
  materials_other_m += o.materials_other_m;
  equipment_other_r += o.equipment_other_r;
  equipment_other_s += o.equipment_other_s;
  simplified_labour += o.simplified_labour;
  simplified_materials += o.simplified_materials;
  simplified_equipment += o.simplified_equipment;
  one_off += o.one_off;
  other_amounts += o.other_amounts;
  additions += o.additions;
  net += o.net;
  vat += o.vat;
  gross += o.gross;
  overheads.add(o.overheads);
  overheads.finish();
  for (int c = 0; c < 5; ++c) overheads.cell[row_estimate][c] += o.overheads.cell[row_estimate][c];
  if (o.any_value) {
    note_value(o.largest);
    note_value(o.smallest);
  }
}

} // namespace kovra::calc
