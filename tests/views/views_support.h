#pragma once
// Helpers of the view tests: one offscreen application, small estimates built in memory and
// recalculated, and a page window stand-in that hands a view their values.
#include "calc/estimate_model.h"
#include "views/estimate_values.h"
#include "views/view_host.h"

#include <QApplication>
#include <memory>

namespace kovra::test {

QApplication& views_app();

// Every overhead rate off and VAT off, FORMUŁA II per element.
calc::estimate_model plain_model();
void set_rate(calc::estimate_model& m, int row, int column, float rate);
calc::price_record& add_price(calc::estimate_model& m, uint8_t kind, uint32_t id, const char* utf8_name,
                              const char* unit, double price, double base_price = -1);
calc::model_node& add_element(calc::estimate_model& m);
calc::model_node& add_position(calc::estimate_model& m, double quantity);
void add_input(calc::model_node& n, uint8_t kind, uint32_t id, double norm);

struct test_host : views::view_host {
  std::unique_ptr<views::estimate_values> simple;
  std::unique_ptr<views::compound_values> multi;

  // Recalculates and keeps the run the way a document window does.
  void set_simple(calc::estimate_model m);
  void set_compound(calc::compound_model m);

  document::estimate_doc* document() const override { return nullptr; }
  document::chapter_document* chapter() const override { return nullptr; }
  document::record_source* records() const override { return nullptr; }
  document::general_data* general() const override { return nullptr; }
  document::Base_Node* estimate_node() const override { return nullptr; }
  const views::estimate_values* values() const override { return simple.get(); }
  const views::compound_values* compound() const override { return multi.get(); }
  document::Base_Node* current_node() const override { return nullptr; }
  void select_node(document::Base_Node*) override {}
  bool recalculate() override { return true; }
};

} // namespace kovra::test
