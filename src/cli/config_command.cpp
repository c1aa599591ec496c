// kovra-cli config [--user-dir DIR]: the program configuration as JSON.
#include "cli/command.h"
#include "shell/config.h"
#include "shell/overhead_defaults.h"
#include "shell/print_block.h"
#include "shell/section_codec.h"
#include "shell/startup.h"
#include "store/codepage.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace kovra::cli {
namespace {

using json = nlohmann::ordered_json;

json text_or_null(const std::optional<std::string>& t) {
  return t ? json(store::mazovia_to_utf8(*t)) : json(nullptr);
}

json general_json(const shell::general_record& g) {
  json firm = json::array();
  for (int i = 0; i < 4; ++i) firm.push_back(store::mazovia_to_utf8(g.firm_line(i)));
  return {
      {"catalogue_prefix", store::mazovia_to_utf8(g.catalogue_prefix())},
      {"total_rounding_step", g.total_rounding_step()},
      {"show_hints", g.show_hints()},
      {"name_column_first", g.name_column_first()},
      {"no_tilde_marks", g.no_tilde_marks()},
      {"new_estimate_kind", g.new_estimate_kind()},
      {"autosave", g.autosave()},
      {"new_calculation_method", g.new_calculation_method()},
      {"new_method_option", g.new_method_option()},
      {"hidden_columns", {g.hidden_columns(0), g.hidden_columns(1), g.hidden_columns(2)}},
      {"new_purchase_cost_percent", g.new_purchase_cost_percent()},
      {"new_flag", g.new_flag()},
      {"firm_lines", firm},
      {"trailing_flag_1", g.trailing_flag_1},
      {"trailing_byte", g.trailing_byte},
      {"trailing_flag_2", g.trailing_flag_2},
  };
}

json overheads_json(const std::vector<uint8_t>& b) {
  json rows = json::array();
  for (int r = 0; r < shell::overhead_rows; ++r) {
    json rates = json::array();
    for (int c = 0; c < shell::overhead_columns; ++c) rates.push_back(shell::overhead_rate(b.data(), r, c));
    rows.push_back({{"name", store::mazovia_to_utf8(shell::overhead_row_name(b.data(), r))}, {"rates", rates}});
  }
  return {
      {"rows", rows},
      {"kp_plus_cz", shell::overhead_switch(b.data(), 0)},
      {"kp_plus_ws", shell::overhead_switch(b.data(), 1)},
      {"z_plus_cz", shell::overhead_switch(b.data(), 2)},
      {"z_plus_ws", shell::overhead_switch(b.data(), 3)},
      {"calc_method", b[shell::overhead_calc_method_offset]},
      {"overheads_per_position", b[shell::overhead_per_position_offset]},
      {"profit_per_component", b[shell::overhead_profit_per_component_offset]},
  };
}

json print_json(const std::vector<uint8_t>& b) {
  namespace o = shell::print_offset;
  json included = json::array();
  for (int code = 0; code < 200; ++code)
    if (b[o::include + code]) included.push_back(code);
  return {
      {"order", shell::print_order(b.data())},
      {"included", included},
      {"margins_mm",
       {shell::get_u16(b.data() + o::margin_top), shell::get_u16(b.data() + o::margin_bottom),
        shell::get_u16(b.data() + o::margin_left), shell::get_u16(b.data() + o::margin_right)}},
      {"page_range", store::mazovia_to_utf8(shell::get_text(b.data() + o::page_range, o::page_range_size))},
      {"copies", shell::get_u32(b.data() + o::copies)},
      {"first_page_number", shell::get_u32(b.data() + o::first_page_number)},
      {"calc_method", shell::get_group(b.data(), o::calc_method).value},
  };
}

json section_json(const shell::Cfg_base& s, bool overheads) {
  json variants = json::array();
  for (const auto& e : s.entries)
    variants.push_back({{"name", text_or_null(e.name)},
                        {"is_current", e.is_current == 1},
                        {overheads ? "overheads" : "print", overheads ? overheads_json(e.data) : print_json(e.data)}});
  return {{"version", s.header.version}, {"current", s.header.current}, {"variants", variants}};
}

json price_lists_json(const shell::price_list_settings& p) {
  json files = json::array();
  for (const auto& f : p.price_list_files) files.push_back(store::mazovia_to_utf8(f));
  return {{"price_list_files", files},
          {"price_list_flags", p.price_list_flags},
          {"price_list_byte", p.price_list_byte},
          {"labour_rate", p.labour_rate},
          {"price_list_flag", p.price_list_flag}};
}

int run_config(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string user_dir;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--user-dir" && i + 1 < args.size()) {
      user_dir = args[++i];
    } else {
      err << "kovra-cli config: unexpected argument \"" << args[i] << "\"\n";
      return exit_usage;
    }
  }
  std::string path;
  if (!user_dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(user_dir, ec);
    path = shell::absolute_folder(user_dir, std::filesystem::current_path(ec).string()) + "kovra.cfg";
  } else {
    char self[] = "kovra-cli";
    char* argv[] = {self, nullptr};
    path = shell::make_program_environment(shell::startup_input::from_process(1, argv)).cfg_path;
  }

  shell::Config c;
  if (!shell::open_config(c, path)) {
    err << path << ": the configuration cannot be read\n";
    return exit_cannot_open;
  }
  shell::close_config(c);
  json j = {
      {"file", path},
      {"general", general_json(c.general)},
      {"description", text_or_null(c.description)},
      {"OVRH", section_json(c.ovrh, true)},
      {"OVRI", section_json(c.ovri, true)},
      {"PRNT", section_json(c.prnt, false)},
      {"PRNI", section_json(c.prni, false)},
      {"CENN", price_lists_json(c.cenn)},
  };
  out << j.dump(2) << "\n";
  return exit_ok;
}

const command_registration reg{{"config", "[--user-dir DIR]",
                                "print the program configuration (created with defaults when missing) as JSON",
                                run_config}};

} // namespace
} // namespace kovra::cli
