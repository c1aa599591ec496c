#pragma once
// Reading an estimate from its JSON form (the form `kovra-cli dump` prints and
// `kovra-cli build` reads, as the demo estimates are kept) into the calculation's model.
// Absent fields take the new-record defaults. Texts become Mazovia like stored texts.
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "calc/compound_recalc.h"
#include "calc/estimate_model.h"

namespace kovra::calc {

// True for a compound estimate (it has "chapters").
bool json_is_compound(const nlohmann::json& doc);

// Each returns false with a one-line reason in `error` when the JSON does not describe an
// estimate of that kind; the model is then unspecified.
bool estimate_from_json(const nlohmann::json& doc, estimate_model& model, std::string& error);
bool compound_from_json(const nlohmann::json& doc, compound_model& model, std::string& error);

} // namespace kovra::calc
