#include "calc/rounding_settings.h"

#include <cmath>

namespace kovra::calc {
namespace {
rounding_settings* installed = nullptr;
} // namespace

void set_rounding_settings(rounding_settings* settings) { installed = settings; }

rounding_settings* current_rounding_settings() { return installed; }

double effective_total_rounding_step() {
  if (!installed) return 0.01;
  double step = installed->total_rounding_step();
  // NaN and infinities are as unusable as a step that is too small.
  if (!(step > 0.01) || !std::isfinite(step)) {
    step = 0.01;
    installed->set_total_rounding_step(step);
  }
  return step;
}

} // namespace kovra::calc
