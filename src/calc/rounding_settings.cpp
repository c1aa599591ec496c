#include "calc/rounding_settings.h"

#include "shell/general_settings.h"

#include <cmath>

namespace kovra::calc {
namespace {

// The program's general settings, as start-up read them.
class general_settings_source : public rounding_settings {
public:
  double total_rounding_step() const override { return shell::general_settings().total_rounding_step(); }
  void set_total_rounding_step(double step) override { shell::general_settings().set_total_rounding_step(step); }
};

general_settings_source program_settings;
rounding_settings* installed = nullptr;

} // namespace

void set_rounding_settings(rounding_settings* settings) { installed = settings; }

rounding_settings* current_rounding_settings() { return installed ? installed : &program_settings; }

double effective_total_rounding_step() {
  rounding_settings& settings = *current_rounding_settings();
  double step = settings.total_rounding_step();
  // NaN and infinities are as unusable as a step that is too small.
  if (!(step > 0.01) || !std::isfinite(step)) {
    step = 0.01;
    settings.set_total_rounding_step(step);
  }
  return step;
}

} // namespace kovra::calc
