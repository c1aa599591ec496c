#pragma once
// An estimate file recalculated for the commands that print its values (recalc, summary):
// a .kvr is opened read-only and recalculated over its records exactly as opening its
// window does, except that the results are not written back (nothing on disk changes);
// an estimate in its JSON form (*.json) is read into the model and recalculated the same way.
#include <string>

#include "calc/record_model.h"

namespace kovra::cli {

using recalculated_file = calc::recalculated_estimate;

// Empty text on success; otherwise the error line (naming the file) and `exit_status`.
std::string recalculate_file(const std::string& file, recalculated_file& out, int& exit_status);

} // namespace kovra::cli
