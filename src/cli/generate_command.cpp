// kovra-cli generate --kind simple|compound [...] -o FILE: a large estimate file made from
// a fixed seed, for measuring and trying the program on big documents. The same options
// give the same bytes.
#include "cli/command.h"
#include "document/estimate_file.h"
#include "document/estimate_generator.h"

#include <charconv>
#include <cstdint>
#include <ostream>

namespace kovra::cli {
namespace {

const char* const usage =
    "usage: kovra-cli generate --kind simple|compound [--positions N] [--inputs-per-position N]\n"
    "                          [--distinct-inputs N] [--chapters N] [--external-chapters N] [--seed N] -o FILE\n";

// The whole of `text` as a number from `low` to `high`.
bool whole_number(const std::string& text, uint64_t low, uint64_t high, uint64_t& out) {
  uint64_t v = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || v < low || v > high) return false;
  out = v;
  return true;
}

int run_generate(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  struct number_option {
    const char* name;
    uint64_t low, high;
    uint64_t value;
    bool given = false;
  };
  // Sizes are bounded so a mistyped number gives a message, not hours of work or a full disk;
  // an input block holds at most 255 entries.
  number_option options[] = {{"--positions", 0, 1000000, 10000},
                             {"--inputs-per-position", 0, 255, 10},
                             {"--distinct-inputs", 1, 1000000, 2000},
                             {"--chapters", 0, 1000, 50},
                             {"--external-chapters", 0, 1000, 0},
                             {"--seed", 0, UINT32_MAX, 1}};
  std::string kind, target;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (i + 1 >= args.size()) {
      err << "kovra-cli: " << a << ": " << (a.starts_with("-") ? "a value is expected after it" : "unexpected") << "\n"
          << usage;
      return exit_usage;
    }
    const std::string& v = args[++i];
    if (a == "-o") {
      target = v;
      continue;
    }
    if (a == "--kind") {
      if (v != "simple" && v != "compound") {
        err << "kovra-cli: --kind: simple or compound is expected\n" << usage;
        return exit_usage;
      }
      kind = v;
      continue;
    }
    number_option* o = nullptr;
    for (auto& c : options)
      if (a == c.name) o = &c;
    if (!o) {
      err << "kovra-cli: " << a << ": unknown option\n" << usage;
      return exit_usage;
    }
    if (!whole_number(v, o->low, o->high, o->value)) {
      err << "kovra-cli: " << a << ": a whole number from " << o->low << " to " << o->high << " is expected\n";
      return exit_usage;
    }
    o->given = true;
  }
  if (kind.empty() || target.empty()) {
    err << usage;
    return exit_usage;
  }
  const number_option &positions = options[0], &inputs = options[1], &distinct = options[2],
                      &chapters = options[3], &external = options[4], &seed = options[5];
  const bool compound = kind == "compound";
  if (!compound && (chapters.given || external.given)) {
    err << "kovra-cli: --chapters and --external-chapters are for --kind compound\n";
    return exit_usage;
  }

  document::generator_options g;
  // A compound estimate's chapters are smaller: --positions counts each chapter's.
  g.positions = int(positions.given || !compound ? positions.value : 200);
  g.inputs_per_position = int(inputs.value);
  g.distinct_inputs = int(distinct.value);
  g.seed = uint32_t(seed.value);
  const document::estimate_image image =
      compound ? document::generate_compound_estimate(g.seed, int(chapters.value), g, int(external.value))
               : document::generate_simple_estimate(g);
  std::string error = document::build_estimate_file(document::estimate_to_json(image), target);
  if (!error.empty()) {
    err << "kovra-cli: " << error << "\n";
    return exit_failed;
  }
  (void)out;
  return exit_ok;
}

const command_registration generate_reg{
    {"generate",
     "--kind simple|compound [--positions N] [--inputs-per-position N] [--distinct-inputs N] [--chapters N] "
     "[--external-chapters N] [--seed N] -o FILE",
     "write a large estimate made from a seed (simple: 10,000 positions x 10 inputs over 2,000 inputs; "
     "compound: 50 internal chapters of 200 positions; seed 1); the same options give the same bytes",
     run_generate}};

} // namespace
} // namespace kovra::cli
