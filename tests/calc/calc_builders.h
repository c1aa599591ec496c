#pragma once
// Small builders for estimates used by the calculation tests.
#include <initializer_list>
#include <string>

#include "calc/estimate_model.h"

namespace kovra::test {

using calc::estimate_model;
using calc::input_entry;
using calc::model_node;
using calc::price_record;

// An estimate with every overhead rate off (0) and VAT off, FORMUŁA II per element.
estimate_model plain_estimate();

// Sets one overhead rate.
void set_rate(estimate_model& m, int row, int column, float rate);

price_record& add_price(estimate_model& m, uint8_t kind, uint32_t id, double price, double base_price = -1,
                        uint8_t base_material = 0);

model_node& add_element(estimate_model& m, uint8_t level = 0);
model_node& add_position(estimate_model& m, double quantity, int precision_code = 1, uint8_t level = 1);
input_entry& add_input(model_node& n, uint8_t kind, uint32_t id, double norm, uint16_t sub = 0);

// Path of a file in the source tree.
std::string source_path(const std::string& relative);

} // namespace kovra::test
