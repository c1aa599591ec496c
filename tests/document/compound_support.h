#pragma once
// Compound estimate files for the chapter tests: built through the JSON form into a
// temporary folder, opened for work, saved and closed again.
#include "document/chapter_open.h"
#include "document/estimate_file.h"
#include "shell/message_sink.h"
#include "shell/messages.h"
#include "shell/progress.h"
#include "store/container.h"
#include "store/record_set.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>

namespace compound_test {

using namespace kovra::document;
using nlohmann::json;

class folder {
public:
  folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovra_compound_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern + "/" : std::string();
  }
  ~folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + name; }

private:
  std::string path_;
};

// A small chapter estimate: one work group with one position.
inline json chapter_estimate(const std::string& name, int calc_method = 1) {
  json j = json::parse(R"({"prices": [{"kind": 1, "id": 1, "sub": 0, "unit": "r-g", "price": 20, "name": "Robotnicy"}],
    "nodes": [{"type": 0, "level": 1, "number": "1", "description": "Roboty ziemne"},
              {"type": 1, "level": 2, "number": "1.1", "description": "Wykop", "quantity": 3}]})");
  j["general"] = {{"name", name}, {"calc_method", calc_method}};
  j["overheads"] = {{"rows", {{{"name", "Koszty pośrednie"}, {"rates", {60}}}}}};
  return j;
}

inline json internal_chapter(const std::string& number, bool with_document = true) {
  json c = {{"number", number}, {"storage_name", "internal"}, {"quantity", 1}};
  if (with_document) c["document"] = chapter_estimate("Rozdział " + number);
  return c;
}

inline json external_chapter(const std::string& number, const std::string& path) {
  return {{"number", number}, {"storage_name", "external"}, {"path", path}, {"quantity", 1},
          {"document", chapter_estimate("Zewnętrzny " + number)}};
}

inline json compound_spec(const json& chapters) {
  json j = json::parse(R"({"general": {"name": "Złożony", "calc_method": 1, "purchase_cost_percent": 7.5,
                                       "labour_rate": 33.25, "labour_rate_switch": 1,
                                       "price_list_file_0": "R.cen"},
                               "overheads": {"rows": [{"name": "Koszty pośrednie", "rates": [65, 12]}],
                                             "kp_plus_cz": 1}})");
  j["chapters"] = chapters;
  return j;
}

// The open dialog, answering from a script (then cancelling) and noting where it started.
struct scripted_chooser : chapter_file_chooser {
  std::deque<std::string> picks;
  std::vector<std::string> folders;
  std::optional<std::string> choose(const std::string& start_folder) override {
    folders.push_back(start_folder);
    if (picks.empty()) return std::nullopt;
    std::string p = picks.front();
    picks.pop_front();
    return p;
  }
};

struct recording_progress : kovra::shell::progress_ui {
  std::vector<kovra::shell::progress_view> shown;
  std::vector<int> positions;
  int hides = 0;
  void show(const kovra::shell::progress_view& v) override { shown.push_back(v); }
  void set_position(int p) override { positions.push_back(p); }
  bool refresh() override { return false; }
  void hide() override { ++hides; }
};

// An open compound file with its chapter source and a tree whose top node is the estimate.
struct open_compound {
  std::unique_ptr<compound_file> file;
  std::unique_ptr<store_compound> compound;
  Kvr_Tree8 tree;
  Koszt_Node* estimate = nullptr;

  bool open(const std::string& path, bool read_only = false) {
    file = open_compound_file(path, read_only);
    if (!file) return false;
    compound = std::make_unique<store_compound>(*file->set, path, file->header, file->general, file->overhead);
    estimate = new Koszt_Node;
    attach_last(tree, nullptr, estimate, 0, "Złożony");
    return true;
  }
  // Writes the compound's image back to its file.
  bool save() {
    return kovra::store::flush_record_set(file->set->set()) &&
           kovra::store::flush_container(kovra::store::set_handle(file->set->set()));
  }
  // Chapters first (their documents close with their nodes), then the compound.
  void close() {
    clear(tree);
    estimate = nullptr;
    compound.reset();
    if (file) file->set->close();
    file.reset();
  }
  ~open_compound() { close(); }

  std::vector<Rozdz_Node*> chapter_nodes() const {
    std::vector<Rozdz_Node*> out;
    for (Smp_Node* n = estimate ? estimate->first_child : nullptr; n; n = n->next)
      out.push_back(dynamic_cast<Rozdz_Node*>(n));
    return out;
  }
};

// Every test starts with no open containers, a recording message sink and no progress UI.
class CompoundFiles : public ::testing::Test {
protected:
  void SetUp() override {
    kovra::store::reset_containers();
    kovra::shell::reset_progress();
    kovra::shell::set_message_sink(&sink);
  }
  void TearDown() override {
    kovra::shell::set_message_sink(nullptr);
    kovra::shell::reset_progress();
  }
  std::vector<int> asked() const {
    std::vector<int> out;
    for (const auto& r : sink.requests()) out.push_back(r.number);
    return out;
  }
  std::string build(const json& spec, const std::string& name = "z.kvr") {
    const std::string path = dir / name;
    EXPECT_EQ(build_estimate_file(spec, path), "");
    return path;
  }

  folder dir;
  kovra::shell::recording_message_sink sink{kovra::shell::result_ok};
};

} // namespace compound_test
