#pragma once
// The title page produced as an editable word-processor document: a template (.docx or .odt,
// shipped in data/) whose placeholders "{{Field}}" are replaced with the estimate's data. A
// word processor may split a placeholder over several runs or spans; the text of a paragraph
// is joined before it is searched, so such a placeholder is still found.
#include "printouts/print_document.h"

#include <map>
#include <string>
#include <vector>

namespace kovra::printouts {

// The 39 merge fields in their order (UTF-8 names).
const std::vector<std::string>& title_field_names();

// Field name → UTF-8 value; a field without a value is replaced with nothing.
using title_fields = std::map<std::string, std::string>;

// The fields of `doc` for its title page: `title` (UTF-8) is the title chosen for the page.
// Values (fields 36 to 39) only when `with_values` and the estimate has a value.
title_fields title_fields_of(const print_document& doc, const std::string& title, bool with_values);

enum class template_kind { docx, odt };

// Replaces the placeholders in one XML part of the document (paragraph by paragraph). A
// placeholder naming no field is removed; line breaks in a value become the format's breaks.
std::string fill_placeholders(const std::string& xml, const title_fields& fields, template_kind kind);

// The template `template_path` merged into `output_path` (never the template itself):
// written to a temporary file beside it and renamed, so a failure leaves no half-written
// document. An .odt keeps its "mimetype" entry first and stored. Empty on success, else
// the reason (in Polish, for the user).
struct title_line;
std::string merge_title_page(const std::string& template_path, const std::string& output_path,
                             const title_fields& fields, const std::vector<title_line>& extra_page = {});

// A line of the page that follows a compound estimate's title page; a tab in the text is a
// tab stop of the document.
struct title_line {
  std::string text;  // UTF-8
  bool bold = false;
};
// For each constituent of a compound estimate a block "Cenniki" (labour rate and price lists)
// and a block "Narzuty" (its overheads with their rate texts); none for a simple estimate.
std::vector<title_line> constituents_page(const print_document& doc);

// "strtyt.docx" / "strtyt.odt" in the program's data folder.
std::string title_template_path(const std::string& data_folder, template_kind kind);
// The merged document beside the estimate: "<estimate>_strona_tytulowa.docx" (or .odt).
std::string title_output_path(const std::string& estimate_path, template_kind kind);

} // namespace kovra::printouts
