#pragma once
// One open estimate in memory: what the windows work with between opening and closing a
// simple or a compound estimate file, and the checks a file must pass before it is shown.
//
// The record classes and key slots live in the document's store_records, bound to the
// main record set while the document is open.
#include "document/chapter_record.h"
#include "document/compound_nodes.h"
#include "document/data_records.h"
#include "document/estimate_nodes.h"
#include "document/general_data.h"
#include "document/store_records.h"
#include "store/file_header.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kovra::document {

// Structure kinds of estimate_doc.
inline constexpr uint8_t LAYOUT_COMPOUND = 0;
inline constexpr uint8_t LAYOUT_SIMPLE = 1;

// Editing states.
inline constexpr int EDIT_ALLOWED = 0;
inline constexpr int EDIT_VALUATION_LOCKED = 1;
inline constexpr int EDIT_READ_ONLY = 2;

struct estimate_doc {
  estimate_doc() = default;
  ~estimate_doc();  // an open document is closed
  estimate_doc(const estimate_doc&) = delete;
  estimate_doc& operator=(const estimate_doc&) = delete;

  // Common part.
  uint8_t structure_kind = LAYOUT_SIMPLE;
  general_data general;                 // copy of the main set's user header
  std::array<double, 40> results{};     // totals of the last recalculation (not stored)
  store::file_header header;            // read at open
  bool as_chapter_source = false;
  int editing_state = EDIT_ALLOWED;
  std::array<uint8_t, 642> more_results{};  // overhead table of the last recalculation (not stored)
  std::vector<uint8_t> print_config;        // PRINT_CONFIG_SIZE bytes while open
  overhead_record overhead;
  std::unique_ptr<Kvr_Tree8> tree;  // none while closed
  void* window = nullptr;           // the document window (not owned), none while closed

  std::string path;                        // the file, empty while closed
  std::unique_ptr<store_records> records;  // the main set, none while closed

  // Simple layout.
  estimate_doc* parent = nullptr;  // the compound document, none stand-alone
  chapter_record chapter;          // quantity 1.0, precision code 3 stand-alone
  uint8_t storage = STORAGE_STANDALONE;
  rec_pos chapter_pos = NO_POS;

  bool is_open() const { return records && records->set(); }
};

// The question for a protected estimate's password (the login dialog in its document
// mode). Gives the typed text (UTF-8), none when the user refused.
class password_question {
public:
  virtual ~password_question() = default;
  virtual std::optional<std::string> ask(const std::string& path) = 0;
};
// Installs the question; nullptr restores the default, which refuses. Not owned.
void set_password_question(password_question* question);
// Whether an estimate protected by the password value `stored` (general data) may be
// opened: it is not protected, it is the logged-in user's own password, or the question
// is answered with it (a wrong answer is told and asked again). False when refused.
bool document_password_accepted(uint32_t stored, const std::string& path);

void init_simple_doc(estimate_doc& doc);
void init_compound_doc(estimate_doc& doc);

// Opens a simple estimate (or a chapter file). `error_out`: given, a failed open leaves
// the store's open error there instead of showing message 1. `check_password`: a
// protected estimate is asked for its password. `checksum_out`: the checksum result of
// the open. `read_only`: opened shared for reading on purpose (tools): nothing on disk
// changes. Failures show their catalogue messages; a file refused after its set was
// opened is closed unchanged.
bool open_simple_estimate(estimate_doc& doc, const std::string& path, uint8_t* error_out = nullptr,
                          bool check_password = true, int* checksum_out = nullptr, bool as_chapter_source = false,
                          bool read_only = false);
bool open_compound_estimate(estimate_doc& doc, const std::string& path, bool as_chapter_source = false,
                            bool read_only = false);

// Create the file (or empty it) and open it for work. `checksum_out`: the checksum result
// of that open; `error_out`: the open error instead of message 1.
bool create_simple_estimate(estimate_doc& doc, const std::string& path, int* checksum_out = nullptr,
                            uint8_t* error_out = nullptr);
bool create_compound_estimate(estimate_doc& doc, const std::string& path);

// Writes the general data back, closes the main set storing its checksum, deletes the
// working copy, drops the tree and forgets the window. False when a write failed.
bool close_estimate(estimate_doc& doc);

// Kind below 2: a simple, 2: a compound estimate. None (and nothing left open) on failure.
std::unique_ptr<estimate_doc> open_estimate_by_kind(const std::string& path, int kind, bool read_only = false);
// Closes by layout and frees.
void free_estimate(std::unique_ptr<estimate_doc>& doc);

// Opens another estimate to take data from it (as a chapter, or imported into `current`),
// refusing compound estimates, the current document itself, offers and estimates that may
// not be edited, each with its message. None when refused.
std::unique_ptr<estimate_doc> open_other_estimate(const std::string& path, const estimate_doc* current,
                                                  bool as_chapter);

// The general data and overhead record of another estimate (opened as above, then freed).
struct estimate_settings {
  general_data general;
  overhead_record overhead;
};
std::optional<estimate_settings> take_estimate_settings(const std::string& path, const estimate_doc* current);

// The kind bits of the file's header, read without opening it for work; -1 with the open
// error in `error_out` (when given) when the header cannot be read.
int document_kind(const std::string& path, uint8_t* error_out = nullptr);

bool is_editable(const estimate_doc& doc);
bool is_read_only(const estimate_doc& doc);
// Unless read-only: editable again, and the valuation lock byte set to `value`.
void set_valuation_lock(estimate_doc& doc, uint8_t value);

// The window title: file name, the valuation or read-only note, then the estimate's name
// in brackets (UTF-8).
std::string document_title(const estimate_doc& doc, const std::string& path);

// The change flags of the document's container.
bool is_modified(const estimate_doc& doc);
bool is_changed(const estimate_doc& doc);
void clear_modified(estimate_doc& doc);
void set_changed(estimate_doc& doc, bool value);

} // namespace kovra::document
