#include "calc/interp_variables.h"

#include <cstring>

namespace kovra::calc {
namespace {
char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
} // namespace

bool same_interp_name(const char* a, const char* b) {
  for (std::size_t i = 0;; ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
    if (a[i] == '\0') return true;
  }
}

std::size_t VL_simp_intprt_var_list::index_of(const char* name) const {
  char key[interp_name_length + 1];
  std::strncpy(key, name, interp_name_length);
  key[interp_name_length] = '\0';
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (same_interp_name(entries_[i].name, key)) return i;
  return entries_.size();
}

const interp_variable* VL_simp_intprt_var_list::find_variable(const char* name) const {
  const std::size_t i = index_of(name);
  return i < entries_.size() ? &entries_[i] : nullptr;
}

bool VL_simp_intprt_var_list::get_variable(const char* name, double& out) const {
  const interp_variable* e = find_variable(name);
  if (!e) return false;
  out = e->value;
  return true;
}

void VL_simp_intprt_var_list::set_variable(const char* name, double value) {
  const std::size_t i = index_of(name);
  if (i < entries_.size()) {
    entries_[i].value = value;
    return;
  }
  interp_variable v;
  v.value = value;
  std::strncpy(v.name, name, interp_name_length);
  v.name[interp_name_length] = '\0';
  entries_.push_back(v);
}

} // namespace kovra::calc
