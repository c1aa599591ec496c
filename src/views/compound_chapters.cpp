#include "views/compound_chapters.h"

#include "views/estimate_values.h"

namespace kovra::views {

calc::compound_model compound_with_chapters(const compound_values& values) {
  calc::compound_model m;
  m.settings = values.model.settings;
  m.overheads = values.model.overheads;
  m.additions = values.model.additions;
  for (std::size_t i = 0; i < values.model.chapters.size(); ++i) {
    const calc::chapter_model& c = values.model.chapters[i];
    calc::chapter_model copy;
    copy.number = c.number;
    copy.storage_name = c.storage_name;
    copy.quantity = c.quantity;
    copy.precision_code = c.precision_code;
    copy.available = c.available;
    // The chapters of the run follow the compound model's, one for one.
    const estimate_values* own = i < values.chapters.size() ? values.chapters[i].second.get() : nullptr;
    if (own) copy.doc = own->model;
    else copy.doc = c.doc;
    m.chapters.push_back(std::move(copy));
  }
  return m;
}

} // namespace kovra::views
