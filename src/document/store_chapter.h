#pragma once
// A chapter of a compound estimate file, open for work: an internal chapter's sub-set of
// the compound file, or an external chapter's own estimate file. The general data is kept
// in memory while the chapter is open and written back when it is closed.
#include "document/compound_nodes.h"
#include "document/data_records.h"
#include "document/store_records.h"
#include "store/file_header.h"

#include <memory>
#include <string>
#include <vector>

namespace kovra::document {

class store_chapter : public chapter_document {
public:
  // The general data is read from the set's user header, or given (already loaded).
  store_chapter(std::unique_ptr<store_records> set, uint8_t storage);
  store_chapter(std::unique_ptr<store_records> set, uint8_t storage, const general_data& general);
  ~store_chapter() override;
  store_chapter(const store_chapter&) = delete;
  store_chapter& operator=(const store_chapter&) = delete;

  record_source& records() override { return *set_; }
  general_data& general() override { return general_; }
  store_records& set() { return *set_; }

  // Format upgrades judged by `header` (an internal chapter: the compound file's), then the
  // print configuration and the overhead record.
  void load(const store::file_header& header);
  // Neither opened read-only nor locked as a valuation.
  bool editable() const;
  // Writes the general data back (when it changed and the set can be written) and closes
  // the set; `store_checksum` false closes a refused file unchanged.
  bool close(bool store_checksum = true);

  std::vector<uint8_t> print_config;
  overhead_record overhead;
  const compound_source* parent = nullptr;

private:
  std::unique_ptr<store_records> set_;
  general_data general_;
};

// Opens the internal chapter whose sub-set is at `position` of the compound's open set;
// none when it does not open. Upgrades are judged by the compound file's header.
std::unique_ptr<store_chapter> open_internal_chapter(store_records& compound, rec_pos position,
                                                     const store::file_header& compound_header);

// Opens an external chapter's file as a simple estimate (open_simple_estimate, without the
// password question, which the chapter open asks): read-write exclusive with a working
// copy, or shared for reading when `read_only` (nothing on disk changes then). A compound
// estimate is refused. None on failure, with store::last_open_error() telling why; a
// checksum refusal (told to the user) leaves the error at 0.
std::unique_ptr<store_chapter> open_chapter_file(const std::string& path, bool read_only);

} // namespace kovra::document
