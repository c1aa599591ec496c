#pragma once
// A compound estimate held in memory: its main record set with the internal chapters as
// sub-sets, and the external chapter estimates by path.
#include "document/compound_nodes.h"
#include "document/memory_records.h"

#include <map>
#include <string>

namespace kovra::document {

class memory_compound : public compound_source {
public:
  memory_compound(memory_records& main, std::map<std::string, std::unique_ptr<memory_records>>& externals)
      : main_(main), externals_(externals) {}

  std::vector<chapter_entry> chapters() const override;
  // An internal chapter without a sub-set gets one now, numbered with the record's serial
  // and filled with the general data of a new estimate plus the compound's shared part.
  std::unique_ptr<chapter_document> open_chapter(const chapter_entry& entry) override;

private:
  memory_records& main_;
  std::map<std::string, std::unique_ptr<memory_records>>& externals_;
};

// Copies the part of the general data that a compound shares with its chapters (and the
// labour rate and its switch) from the compound into a chapter.
void copy_shared_general_data(const general_data& compound, general_data& chapter);

} // namespace kovra::document
