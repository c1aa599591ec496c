#pragma once
// The open of an estimate document with the choices its public forms do not show: a new
// file is opened with the general data it is to start with (no upgrades, no password).
#include "document/estimate_doc.h"

namespace kovra::document {

struct simple_open {
  uint8_t* error_out = nullptr;
  bool check_password = true;
  int* checksum_out = nullptr;
  bool as_chapter_source = false;
  bool read_only = false;
  const general_data* initial = nullptr;  // a new file: its general data
};

bool open_simple_document(estimate_doc& doc, const std::string& path, const simple_open& how);
bool open_compound_document(estimate_doc& doc, const std::string& path, bool as_chapter_source, bool read_only,
                            const general_data* initial);

} // namespace kovra::document
