#pragma once
// A compound estimate file as the source of its chapters: the chapter records of its
// chain 0, internal chapters as sub-sets of the file, external chapters as files of their
// own. A compound opened read-only is walked without changing anything on disk: an
// internal chapter that has no sub-set yet is passed over instead of being created.
#include "document/compound_nodes.h"
#include "document/data_records.h"
#include "document/store_chapter.h"
#include "document/store_records.h"
#include "store/file_header.h"

#include <functional>
#include <memory>
#include <string>

namespace kovra::document {

// How an external chapter's file is opened (path as the compound names it, resolved).
using chapter_file_opener = std::function<std::unique_ptr<store_chapter>(const std::string& path, bool read_only)>;

class store_compound : public compound_source {
public:
  // `set`: the compound's open main set (not owned); `path`: its file; `general` and
  // `overhead`: the compound document's general data and current overhead record.
  store_compound(store_records& set, std::string path, const store::file_header& header, const general_data& general,
                 const overhead_record& overhead);

  // The open compound document (layout compound) as its chapters' source.
  explicit store_compound(estimate_doc& compound);

  std::vector<chapter_entry> chapters() const override;
  // One step of a walk without questions (open_chapter, quiet): none when the chapter
  // does not open. The walk only reads: an internal chapter without a sub-set is none
  // (its sub-set is made when a window opens it).
  std::unique_ptr<chapter_document> open_chapter(const chapter_entry& entry) override;

  store_records& set() const { return set_; }
  const std::string& path() const { return path_; }
  const store::file_header& header() const { return header_; }
  const general_data& general() const { return general_; }
  const overhead_record& overhead() const { return overhead_; }
  bool read_only() const { return set_.read_only(); }
  // Where an external chapter's file lies (a relative path next to the compound file).
  std::string resolve(const chapter_record& record) const;

  chapter_file_opener opener;  // open_chapter_file unless replaced

private:
  store_records& set_;
  std::string path_;
  store::file_header header_;
  general_data general_;
  overhead_record overhead_;
};

// Creates the sub-set of an internal chapter whose record at `record_pos` has none yet:
// numbered with the record's serial, holding the general data of a new estimate with the
// compound's purchase-cost percentage, then the compound's overhead record, overhead
// table, shared general-data block, labour rate and its switch. The record is rewritten
// with the sub-set's position (also in `record`). None when the sub-set cannot be made,
// opened or named in the record (its block is freed again and `record` keeps -1), or
// when the compound cannot be written.
std::unique_ptr<store_chapter> create_internal_chapter(store_compound& compound, chapter_record& record,
                                                       rec_pos record_pos);

// A compound file opened on its own for a walk over its chapters (tools, tests): the set,
// the header, the general data and the current overhead record. The overhead record is
// taken as stored, or the program's current one in memory when none is stored.
struct compound_file {
  std::unique_ptr<store_records> set;
  store::file_header header;
  general_data general;
  overhead_record overhead;
};
std::unique_ptr<compound_file> open_compound_file(const std::string& path, bool read_only);

} // namespace kovra::document
