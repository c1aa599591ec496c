#pragma once
// Names of saved text printouts: the document's name with an extension of one letter and two
// digits ("P" printer-code files, "T" plain files), numbered on from the highest in use.
#include <optional>
#include <string>

namespace kovra::report {

inline constexpr char printer_code_file_letter = 'P';
inline constexpr char plain_file_letter = 'T';

// folder + document_name + "." + letter + NN where NN is one more than the highest number
// already used with that letter (01 when none); nullopt when 99 is taken.
std::optional<std::string> next_printout_name(const std::string& folder, const std::string& document_name,
                                              char letter);

} // namespace kovra::report
