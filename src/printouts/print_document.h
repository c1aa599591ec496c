#pragma once
// An estimate file opened read-only for printing: its print settings, its model as opening
// its window leaves it, the records the printouts read texts from (kept open while printing),
// and the names and date the page bands show.
#include "calc/compound_recalc.h"
#include "calc/estimate_model.h"
#include "document/general_data.h"
#include "document/record_source.h"

#include <memory>
#include <string>
#include <vector>

namespace kovra::printouts {

// A simple estimate, or one constituent estimate of a compound one.
struct print_estimate {
  calc::estimate_model model;                      // recalculated as its window would
  const document::record_source* records = nullptr;  // for the texts of nodes; may be none
  std::string number;        // a constituent's chapter number
  std::string tree_name;     // the name its tree shows (internal code page)
  std::string general_name;  // the name of its general data
  std::string date;          // "yymmdd"
  document::general_data general;  // its texts (site, object, client, descriptions)
  int data_chain = 4;              // the chain of its data records
};

struct print_document {
  std::string path;
  bool compound = false;
  std::vector<uint8_t> block;            // the print settings (10,907 bytes)
  std::vector<print_estimate> estimates; // a simple estimate: one; a compound: its constituents
  calc::compound_model compound_model;   // settings, overheads, additions (chapters moved out)
  std::string tree_name, general_name, date;
  // The general data and data records of the document itself (a compound: its own).
  document::general_data general;
  const document::record_source* records = nullptr;
  int data_chain = 4;
  std::shared_ptr<void> open_files;      // keeps the records open
};

// The calculation method of the document (of the compound estimate for a compound one).
int document_calc_method(const print_document& doc);

// False with a one-line reason naming the file when it cannot be opened as an estimate.
bool open_print_document(const std::string& path, print_document& out, std::string& error);

} // namespace kovra::printouts
