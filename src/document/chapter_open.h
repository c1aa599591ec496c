#pragma once
// Opening the chapters of a compound estimate for a window: each chapter document with the
// user's say over external chapters that are read-only, missing or changed, its node under
// the estimate node, and the walk over all chapters with its progress window.
#include "document/estimate_nodes.h"
#include "document/store_compound.h"

#include <optional>
#include <string>
#include <string_view>

namespace kovra::document {

// The open dialog in which the user locates a moved external chapter. Gives the chosen
// file's path, none when the dialog was cancelled.
class chapter_file_chooser {
public:
  virtual ~chapter_file_chooser() = default;
  virtual std::optional<std::string> choose(const std::string& start_folder) = 0;
};

struct chapter_open_options {
  chapter_file_chooser* chooser = nullptr;  // none: a moved chapter cannot be located
  // The walk of an iterator: no questions, a chapter that does not open is left out and
  // nothing is deleted or located; a chapter that may not be edited still opens.
  bool quiet = false;
  // A walk without questions that still asks for the password of a protected external
  // chapter: a tool given the answer beforehand shows no more than the window would.
  // A refused password leaves the chapter out (and, being quiet, deletes nothing).
  bool check_password = false;
};

struct chapter_open_result {
  std::unique_ptr<store_chapter> chapter;  // none: the chapter is left out
  bool stop = false;             // the user chose not to open the compound estimate
  bool path_changed = false;     // the record names the file the user located
  bool compound_changed = false; // the compound's records changed (sub-set, record)
};

// The longest path a chapter record holds.
inline constexpr std::size_t CHAPTER_PATH_MAX = 259;

// Opens the chapter of `record` (at `record_pos` of the compound's chapter chain). An
// internal chapter without a sub-set gets one (create_internal_chapter). An external
// chapter that opens read-only is closed and left out after message 269; one refused
// without an open error (a refused password, a damaged checksum) loses its record; any
// other failure asks (message 274 for a failed working copy, else 294) whether the user
// will locate the file, and a located file that passes the chapter checks (or message
// 296) replaces the record's path (in `record`) and is opened. In a read-only compound
// nothing is created, deleted or rewritten on disk. A given `name` fills an empty
// chapter name.
chapter_open_result open_chapter(store_compound& compound, chapter_record& record, rec_pos record_pos,
                                 std::string_view name, const chapter_open_options& options);

// Whether the file at `path` may become a chapter of the compound: it opens as a simple
// estimate that is neither a read-only file nor an offer, and its calculation method and
// overhead settings equal the compound's or the user accepts the difference (message
// 296). The catalogue messages tell the user why a file is refused.
bool accept_located_chapter(const store_compound& compound, const std::string& path);

// Opens the chapter and hangs its node under the estimate node (last, or before
// `before`), with the chapter's own nodes below it. None when the chapter is left out.
Rozdz_Node* attach_chapter(Kvr_Tree8& tree, Koszt_Node& estimate, store_compound& compound, chapter_record& record,
                           std::string_view name, rec_pos record_pos, Base_Node* before,
                           const chapter_open_options& options, chapter_open_result* result = nullptr);

struct open_all_result {
  int chapters = 0;   // chapter records at the start
  int attached = 0;
  int left_out = 0;
  bool stopped = false;
};

// Attaches every chapter in chain order; more than 20 chapters show the progress window
// (message 102). A located chapter's record is rewritten in place. The compound's
// modified flag is cleared after each chapter when it had no unsaved changes before and
// the chapter changed nothing of the compound's own records. True when the walk was not
// stopped.
bool open_all_chapters(Kvr_Tree8& tree, Koszt_Node& estimate, store_compound& compound,
                       const chapter_open_options& options, open_all_result* result = nullptr);

} // namespace kovra::document
