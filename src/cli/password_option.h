#pragma once
// `--password TEXT`, taken by every command: the answer to a protected estimate's password
// question, given to each protected file once (a wrong one is not asked again).
#include <optional>
#include <string>
#include <vector>

namespace kovra::cli {

// Takes `--password TEXT` / `--password=TEXT` out of the arguments and installs the answer.
// False (with the reason in `error`) when the option has no value.
bool take_password_option(std::vector<std::string>& args, std::string& error);

} // namespace kovra::cli
