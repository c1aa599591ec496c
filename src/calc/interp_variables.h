#pragma once
// The interpreter's own variables: names (up to 32 characters) compared without regard to
// the case of ASCII letters, each with a double value.
#include <cstddef>
#include <vector>

namespace kovra::calc {

inline constexpr std::size_t interp_name_length = 32;

struct interp_variable {
  double value = 0.0;
  char name[interp_name_length + 1] = {};
};

class VL_simp_intprt_var_list {
public:
  VL_simp_intprt_var_list() { entries_.reserve(2); }

  // The entry of this name, or nullptr.
  const interp_variable* find_variable(const char* name) const;
  bool get_variable(const char* name, double& out) const;
  // Overwrites an existing name's value or appends a new entry (the name is cut to 32).
  void set_variable(const char* name, double value);

  std::size_t size() const { return entries_.size(); }
  const interp_variable& operator[](std::size_t i) const { return entries_[i]; }

private:
  std::size_t index_of(const char* name) const;  // size() when absent
  std::vector<interp_variable> entries_;
};

// Case-insensitive for A–Z only; other bytes (Polish letters) compare as they are.
bool same_interp_name(const char* a, const char* b);

} // namespace kovra::calc
