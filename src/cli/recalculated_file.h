#pragma once
// An estimate file recalculated for the commands that print its values (recalc, summary):
// a .kvr is opened read-only and recalculated over its records exactly as opening its
// window does, except that the results are not written back (nothing on disk changes);
// an estimate in its JSON form (*.json) is read into the model and recalculated the same way.
#include <string>

#include "calc/compound_recalc.h"
#include "calc/recalculation.h"

namespace kovra::cli {

struct recalculated_file {
  bool compound = false;
  calc::estimate_model model;       // simple estimate
  calc::recalc_result result;
  calc::compound_model compound_model;
  calc::compound_result compound_result;
};

// Empty text on success; otherwise the error line (naming the file) and `exit_status`.
std::string recalculate_file(const std::string& file, recalculated_file& out, int& exit_status);

} // namespace kovra::cli
