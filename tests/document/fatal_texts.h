#pragma once
// Keeps the texts of the fatal stops a test provokes (the windowed program would end on
// them), with the log in the test's temporary folder.
#include "store/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace document_test {

struct fatal_texts : kovra::store::fatal_handler {
  std::vector<std::string> texts;
  fatal_texts() {
    kovra::store::reset_log_state();  // the log reopens in the test's folder
    kovra::store::set_program_folder(::testing::TempDir());
    kovra::store::set_fatal_handler(this);
  }
  ~fatal_texts() override {
    kovra::store::set_fatal_handler(nullptr);
    kovra::store::reset_log_state();
    kovra::store::set_program_folder("");
  }
  void fatal(const std::string& text) override { texts.push_back(text); }
};

} // namespace document_test
