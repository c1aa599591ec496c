#pragma once
// What the text-printer dialogs do to the printer configuration: the port, code page, paper
// length and density choices, taking a model from the definitions, and OK / cancel.
#include "report/printer_config.h"

#include <string>

namespace kovra::report {

struct printer_definitions;
struct printer_model;

class printer_setup {
public:
  // Remembers the configuration as it is, for cancel.
  printer_setup(printer_config& config, std::string config_path);

  // A new port makes the Polish fonts go to the printer again.
  void set_port(int port);
  // Ignored while the chosen model fixes the Polish letters.
  void set_code_page(int id);
  // Ignored for cut-sheet models (always A4). Recomputes the lines per page.
  void set_paper_length(int id);
  void set_density(int id);
  void choose_model(const printer_definitions& definitions, const printer_model& model);

  bool code_page_choice_enabled() const { return config_.letters == 0; }
  bool paper_choice_enabled() const { return config_.paper == 0; }

  // Writes "prnconf.cfg"; false when it cannot be written.
  bool ok();
  // Puts back the configuration as it was (port change included).
  void cancel();

private:
  void recompute_lines();

  printer_config& config_;
  std::string path_;
  printer_config_bytes saved_;
};

} // namespace kovra::report
