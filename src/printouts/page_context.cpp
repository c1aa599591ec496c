#include "printouts/page_context.h"

#include <algorithm>

namespace kovra::printouts {

std::string text_page_date(const std::string& d) {
  if (d.size() < 6 || !std::all_of(d.begin(), d.begin() + 6, [](char c) { return c >= '0' && c <= '9'; })) return {};
  return d.substr(4, 2) + "/" + d.substr(2, 2) + "/" + d.substr(0, 2);
}

std::array<std::string, 2> name_pieces(const std::string& name) {
  constexpr std::size_t piece = 56;
  std::array<std::string, 2> out;
  out[0] = name.substr(0, piece);
  if (name.size() > piece) out[1] = name.substr(piece, piece);
  return out;
}

report::band_context band_context_of(const print_document& doc, const print_estimate* constituent) {
  report::band_context ctx;
  ctx.program_label = "Kovra";
  ctx.file_path = doc.path;
  ctx.tree_name = constituent ? constituent->tree_name : doc.tree_name;
  ctx.general_name = constituent ? constituent->general_name : doc.general_name;
  ctx.date = constituent ? constituent->date : doc.date;
  return ctx;
}

report::text_print_job text_job_of(const print_document& doc) {
  report::text_print_job job;
  job.document_path = doc.path;
  const auto pieces = name_pieces(doc.general_name);
  job.estimate_name[0] = pieces[0];
  job.estimate_name[1] = pieces[1];
  job.date = text_page_date(doc.date);
  return job;
}

} // namespace kovra::printouts
