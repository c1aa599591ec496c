#pragma once
// The one program setting rounding needs: the step to which totals are rounded. By default
// it comes from the program's general settings; tests and tools may install their own.
namespace kovra::calc {

class rounding_settings {
public:
  virtual ~rounding_settings() = default;
  virtual double total_rounding_step() const = 0;
  // A step of 0.01 or less is corrected in the settings themselves before use.
  virtual void set_total_rounding_step(double step) = 0;
};

// Installs the settings (not owned); nullptr goes back to the program's general settings.
void set_rounding_settings(rounding_settings* settings);
rounding_settings* current_rounding_settings();

// The step round_total uses: the settings' step, corrected to 0.01 when it is 0.01 or less.
double effective_total_rounding_step();

} // namespace kovra::calc
