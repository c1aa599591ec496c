#include "report/printer_setup.h"

#include "report/font_download.h"
#include "report/printer_dat.h"

namespace kovra::report {

printer_setup::printer_setup(printer_config& config, std::string config_path)
    : config_(config), path_(std::move(config_path)), saved_(encode_printer_config(config)) {}

void printer_setup::set_port(int port) {
  if (port < 0 || port > 3 || port == config_.port) return;
  config_.port = port;
  port_changed();
}

void printer_setup::set_code_page(int id) {
  if (code_page_choice_enabled() && id >= 0 && id <= 3) config_.code_page = id;
}

void printer_setup::set_paper_length(int id) {
  if (!paper_choice_enabled() || id < 0 || id > 2) return;
  config_.paper_length = id;
  recompute_lines();
}

void printer_setup::set_density(int id) {
  if (id < 0 || id > 3) return;
  config_.density = id;
  recompute_lines();
}

void printer_setup::choose_model(const printer_definitions& definitions, const printer_model& model) {
  choose_printer_model(config_, model, definitions.codes_of(model));
}

void printer_setup::recompute_lines() {
  config_.lines_per_page =
      compute_lines_per_page(config_.kind, config_.paper_length, config_.bottom_margin, config_.density);
}

bool printer_setup::ok() {
  if (!write_printer_config(path_, config_)) return false;
  saved_ = encode_printer_config(config_);
  return true;
}

void printer_setup::cancel() {
  if (auto before = decode_printer_config(saved_.data(), saved_.size())) {
    if (before->port != config_.port) port_changed();
    config_ = *before;
  }
}

} // namespace kovra::report
