#include "printouts/print_document.h"

#include "calc/record_model.h"
#include "document/document_settings.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "document/general_data.h"
#include "document/store_chapter.h"
#include "document/store_compound.h"
#include "shell/print_block.h"

namespace kovra::printouts {
namespace {

// What stays open while the printout reads texts.
struct open_simple {
  std::unique_ptr<document::store_records> set;
  ~open_simple() {
    if (set) set->close();
  }
};

struct open_compound {
  std::unique_ptr<document::compound_file> file;
  calc::compound_records records;
  ~open_compound() {
    calc::close_chapters(records);
    if (file && file->set) file->set->close();
  }
};

std::vector<uint8_t> usable_block(std::vector<uint8_t> block) {
  if (block.size() < shell::print_block_size) {
    // A block of an older, shorter form keeps what it has; the rest takes the defaults.
    const shell::print_block defaults = shell::default_print_block();
    const std::size_t had = block.size();
    block.resize(shell::print_block_size);
    for (std::size_t i = had; i < block.size(); ++i) block[i] = defaults[i];
    if (had == 0) block.assign(defaults.begin(), defaults.end());
  }
  block.resize(shell::print_block_size);
  return block;
}

std::string trimmed(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

} // namespace

int document_calc_method(const print_document& doc) {
  if (doc.compound) return doc.compound_model.settings.calc_method;
  return doc.estimates.empty() ? 0 : doc.estimates.front().model.settings.calc_method;
}

bool open_print_document(const std::string& path, print_document& out, std::string& error) {
  out = print_document{};
  out.path = path;
  store::file_header header;
  if (!document::read_estimate_header(path, header)) {
    error = document::open_error_text(path);
    return false;
  }
  out.compound = header.kind() == document::KIND_COMPOUND;
  if (!out.compound) {
    auto keep = std::make_shared<open_simple>();
    keep->set = document::open_estimate_set(path, true);
    if (!keep->set) {
      error = document::open_error_text(path);
      return false;
    }
    document::general_data g = document::general_data::from_bytes(keep->set->user_header());
    print_estimate e;
    // The printout recalculates with its own options; the model is read as opening the
    // window reads it (upgrades and the overhead record in memory only).
    document::upgrade_document(*keep->set, g, header);
    const document::overhead_record overhead = document::load_overhead_record(*keep->set, g, document::CHAIN_DATA);
    if (!calc::model_from_document(*keep->set, g, overhead, e.model, error)) {
      error = path + ": " + error;
      return false;
    }
    out.block = usable_block(document::load_print_config(*keep->set, g, document::CHAIN_DATA));
    e.records = keep->set.get();
    e.general = g;
    out.general = g;
    out.records = e.records;
    e.general_name = trimmed(g.name());
    e.tree_name = "Kosztorys";
    e.date = g.estimate_date();
    out.general_name = e.general_name;
    out.tree_name = e.tree_name;
    out.date = e.date;
    out.estimates.push_back(std::move(e));
    out.open_files = keep;
    return true;
  }
  auto keep = std::make_shared<open_compound>();
  keep->file = document::open_compound_file(path, true);
  if (!keep->file) {
    error = document::open_error_text(path);
    return false;
  }
  if (!calc::compound_from_file(*keep->file, path, keep->records, error)) {
    error = path + ": " + error;
    return false;
  }
  calc::recalculate_compound_records(keep->records, *keep->file->set, false);
  out.block = usable_block(document::load_print_config(*keep->file->set, keep->file->general,
                                                       document::CHAIN_COMPOUND_DATA));
  out.general_name = trimmed(keep->file->general.name());
  out.tree_name = out.general_name;
  out.date = keep->file->general.estimate_date();
  out.general = keep->file->general;
  out.records = keep->file->set.get();
  out.data_chain = document::CHAIN_COMPOUND_DATA;
  calc::compound_model& m = keep->records.model;
  for (std::size_t i = 0; i < m.chapters.size(); ++i) {
    calc::chapter_model& c = m.chapters[i];
    if (!c.available || i >= keep->records.chapters.size() || !keep->records.chapters[i]) continue;
    print_estimate e;
    e.model = c.doc;
    e.records = &keep->records.chapters[i]->records();
    e.number = trimmed(c.number);
    e.general_name = trimmed(c.doc.settings.name);
    e.tree_name = e.general_name;
    e.date = keep->records.chapters[i]->general().estimate_date();
    e.general = keep->records.chapters[i]->general();
    out.estimates.push_back(std::move(e));
  }
  out.compound_model.settings = m.settings;
  out.compound_model.overheads = m.overheads;
  out.compound_model.additions = m.additions;
  out.open_files = keep;
  return true;
}

} // namespace kovra::printouts
