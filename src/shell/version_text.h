#pragma once
// The program's version as shown to the user and stamped into new files.
#include <string>

namespace kovra::shell {

int program_major_version();
int program_minor_version();

// "v.<major>.<minor in two digits>", e.g. "v.8.01".
std::string version_text();

// "Kovra - kosztorys v.8.01"
std::string product_version_line();

// Puts the version text into the label of the container header template and the minor
// number into its revision, so every new container carries them.
void stamp_version();

} // namespace kovra::shell
