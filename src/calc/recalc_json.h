#pragma once
// The results of a recalculation in the JSON form `kovra-cli recalc --json` prints.
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "calc/compound_recalc.h"
#include "calc/recalculation.h"

namespace kovra::calc {

nlohmann::json totals_json(const estimate_totals& t);
nlohmann::json simple_recalc_json(const std::string& file, const estimate_model& model, const recalc_result& r);
nlohmann::json compound_recalc_json(const std::string& file, const compound_model& model, const compound_result& r);

} // namespace kovra::calc
