#include "document/estimate_file.h"

#include "document/chapter_record.h"
#include "document/estimate_layout.h"
#include "document/general_data.h"
#include "store/codepage.h"
#include "store/container.h"
#include "store/paths.h"
#include "store/records.h"
#include "store/staged_names.h"

#include <cstring>
#include <filesystem>
#include <map>

namespace kovra::document {

using nlohmann::json;

std::string open_error_text(const std::string& path) {
  const uint8_t code = store::last_open_error();
  const char* what = code == store::OPEN_NOT_FOUND      ? "file not found"
                     : code == store::OPEN_BAD_MAGIC    ? "not a container"
                     : code == store::OPEN_WRONG_TYPE   ? "not an estimate"
                     : code == store::OPEN_WRONG_VERSION ? "written by another version"
                                                         : "cannot be opened";
  return path + ": " + what + " (" + std::to_string(int(code)) + ")";
}

bool read_estimate_header(const std::string& path, store::file_header& h) {
  const int handle = store::open_container(path, store::STORAGE_DIRECT, store::OPEN_READ_SHARED | store::OPEN_KEEP_COUNT,
                                           store::FILE_TYPE_ESTIMATE, 0, store::CHECK_FILE_TYPE, &h);
  if (handle < 0) return false;
  store::close_container(handle);
  return true;
}

bool create_estimate_file(const std::string& path, const store::file_header& header) {
  store::create_set_request r;
  r.path = path;
  r.header_template = header;
  r.header_template.flags = uint8_t(header.flags & ~store::HEADER_COMPRESSED);
  r.file_type = store::FILE_TYPE_ESTIMATE;
  r.version = store::CONTAINER_VERSION;
  r.class_count = header.kind() == KIND_COMPOUND ? COMPOUND_CHAINS : SIMPLE_CHAINS;
  r.user_header_size = int(GENERAL_DATA_SIZE);
  auto layout = header.kind() == KIND_COMPOUND ? store_records::compound_layout() : store_records::simple_layout();
  r.keys = layout->key_binding();
  r.writer = layout->header_writer();
  return store::create_record_set(r);
}

std::unique_ptr<store_records> open_estimate_set(const std::string& path, bool read_only, int* checksum_result,
                                                 bool compressed) {
  store::file_header h;
  if (!read_estimate_header(path, h)) return nullptr;
  auto records = h.kind() == KIND_COMPOUND ? store_records::compound_layout() : store_records::simple_layout();
  store::open_set_request r = records->open_request(path);
  r.storage = compressed ? store::STORAGE_COMPRESSED : store::STORAGE_IMAGE;
  r.open_mode = read_only ? (store::OPEN_READ_SHARED | store::OPEN_KEEP_COUNT) : (store::OPEN_EXCLUSIVE | store::OPEN_KEEP_COUNT);
  r.checks = store::CHECK_FILE_TYPE | store::CHECK_VERSION;
  r.checksum_wanted = true;
  int result = 0;
  store::record_set* set = store::open_record_set(r, &result);
  if (checksum_result) *checksum_result = result;
  if (!set) return nullptr;
  records->attach(set);
  return records;
}

std::unique_ptr<store_records> open_chapter_subset(store_records& compound, rec_pos position) {
  if (!compound.set() || position < 0) return nullptr;
  auto chapter = store_records::simple_layout();
  store::record_set* set =
      store::open_subset(compound.classes()[CHAIN_CHPT_NODE], position, chapter->classes(), SIMPLE_CHAINS,
                         chapter->key_binding(), chapter->header_reader(), chapter->header_writer());
  if (!set) return nullptr;
  chapter->attach(set);
  chapter->mark_subset();
  return chapter;
}

rec_pos create_chapter_subset(store_records& compound, uint16_t set_no) {
  if (!compound.set()) return NO_POS;
  auto layout = store_records::simple_layout();
  rec_pos p = store::create_subset(compound.classes()[CHAIN_CHPT_NODE], set_no, SIMPLE_CHAINS, int(GENERAL_DATA_SIZE),
                                   layout->key_binding(), layout->header_writer());
  return p < 0 ? NO_POS : p;
}

std::string chapter_file_path(const std::string& compound_path, const std::string& chapter_path) {
  std::filesystem::path p(chapter_path);
  if (p.is_absolute()) return chapter_path;
  return (std::filesystem::path(compound_path).parent_path() / p).string();
}

namespace {

// A file a build writes: made under a temporary name next to its place and put there only
// when the whole build went well, so a failed build leaves what was there as it was.
class staged_file {
public:
  explicit staged_file(std::string target) : target_(std::move(target)) {
    static unsigned counter = 0;
    // What a build killed before its end left here goes now.
    store::remove_stale_staged(target_);
    temp_ = store::staged_name(target_, ++counter);
  }
  staged_file(const staged_file&) = delete;
  staged_file& operator=(const staged_file&) = delete;
  ~staged_file() {
    if (placed_) return;
    std::error_code ec;
    std::filesystem::remove(temp_, ec);
    std::filesystem::remove(store::working_copy_name(temp_), ec);
  }
  const std::string& temp() const { return temp_; }
  const std::string& target() const { return target_; }
  bool place() {
    std::error_code ec;
    std::filesystem::rename(temp_, target_, ec);
    placed_ = !ec;
    return placed_;
  }

private:
  std::string target_, temp_;
  bool placed_ = false;
};

// Builds into an open, empty set and writes it out.
std::string finish(std::unique_ptr<store_records>& set, const std::string& target) {
  bool ok = store::flush_record_set(set->set());
  ok = store::flush_container(store::set_handle(set->set())) && ok;
  ok = set->close() && ok;
  return ok ? std::string() : target + ": the file cannot be written";
}

std::string build_simple_file(const json& doc, const store::file_header& header, const staged_file& file,
                              const json_options& options, int* skipped, const std::string& where = {}) {
  if (!create_estimate_file(file.temp(), header)) return file.target() + ": the file cannot be created";
  auto set = open_estimate_set(file.temp(), false, nullptr, header.compressed());
  if (!set) return open_error_text(file.target());
  std::string error = build_simple_document(*set, doc, options, skipped);
  if (!error.empty()) {
    set->close(false);
    return where + error;
  }
  return finish(set, file.target());
}

// The same file whatever way its path is written.
std::string same_file_key(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  return p.lexically_normal().string();
}

std::string build_compound_file(const json& spec, const store::file_header& header, const staged_file& file,
                                const json_options& options, int* surveys_skipped,
                                std::vector<std::unique_ptr<staged_file>>& externals) {
  if (!create_estimate_file(file.temp(), header)) return file.target() + ": the file cannot be created";
  auto set = open_estimate_set(file.temp(), false, nullptr, header.compressed());
  if (!set) return open_error_text(file.target());
  std::vector<rec_pos> at;
  std::string error = build_compound_parts(*set, spec, options, at);
  const json& chapters = spec.contains("chapters") ? spec["chapters"] : json::array();
  // External files already written, by the file they are: two chapters may share one
  // file when they show the same document.
  std::map<std::string, const json*> written;
  const std::string own = same_file_key(file.target());
  for (std::size_t i = 0; error.empty() && i < at.size(); ++i) {
    const std::string w = "chapters[" + std::to_string(i) + "]";
    const json* doc = chapters[i].contains("document") && !chapters[i]["document"].is_null() ? &chapters[i]["document"] : nullptr;
    chapter_record c = chapter_record::from_bytes(read_or_empty(*set, CHAIN_CHPT_NODE, at[i]));
    if (!doc) continue;
    if (c.internal()) {
      rec_pos sub = create_chapter_subset(*set, c.serial());
      auto chapter = sub == NO_POS ? nullptr : open_chapter_subset(*set, sub);
      if (!chapter) {
        error = w + ".document: the chapter cannot be stored";
        break;
      }
      error = build_simple_document(*chapter, *doc, options, surveys_skipped);
      if (!error.empty()) error = w + ".document." + error;
      chapter->close();
      c.set_subset_pos(sub);
      if (set->rewrite(CHAIN_CHPT_NODE, at[i], c.bytes) == NO_POS) error = w + ": the chapter record cannot be stored";
      continue;
    }
    const std::string target = chapter_file_path(file.target(), c.path());
    const std::string key = same_file_key(target);
    if (key == own) {
      error = w + ".path: names the compound estimate's own file";
      break;
    }
    if (auto it = written.find(key); it != written.end()) {
      if (*it->second != *doc) error = w + ".path: another chapter's file, with another document";
      continue;
    }
    written[key] = doc;
    store::file_header h = header;
    h.flags = uint8_t((h.flags & ~store::HEADER_KIND_MASK) | KIND_SIMPLE);
    externals.push_back(std::make_unique<staged_file>(target));
    error = build_simple_file(*doc, h, *externals.back(), options, surveys_skipped, w + ".document.");
  }
  if (!error.empty()) {
    set->close(false);
    return error;
  }
  return finish(set, file.target());
}

} // namespace

std::string build_estimate_file(const json& spec, const std::string& path, const json_options& options,
                                int* surveys_skipped) {
  if (!spec.is_object()) return "document: an object is expected";
  store::file_header header = header_of_json(spec);
  staged_file file(path);
  std::vector<std::unique_ptr<staged_file>> externals;
  std::string error = header.kind() != KIND_COMPOUND
                          ? build_simple_file(spec, header, file, options, surveys_skipped)
                          : build_compound_file(spec, header, file, options, surveys_skipped, externals);
  if (!error.empty()) return error;
  for (auto& e : externals)
    if (!e->place()) return e->target() + ": the file cannot be written";
  if (!file.place()) return path + ": the file cannot be written";
  return {};
}

std::string dump_estimate_file(const std::string& path, json& out, const json_options& options) {
  store::file_header h;
  if (!read_estimate_header(path, h)) return open_error_text(path);
  auto set = open_estimate_set(path, true);
  if (!set) return open_error_text(path);
  out = json::object();
  out["header"] = header_to_json(h);
  if (h.kind() != KIND_COMPOUND) {
    json doc = simple_document_to_json(*set, options);
    for (auto& [k, v] : doc.items()) out[k] = v;
    set->close();
    return {};
  }
  json parts = compound_parts_to_json(*set, options);
  for (auto& [k, v] : parts.items()) out[k] = v;
  json chapters = json::array();
  std::size_t limit = set->count(CHAIN_CHPT_NODE) + 1;
  std::vector<uint8_t> data;
  for (rec_pos p = set->locate(CHAIN_CHPT_NODE, FIRST_REC, NO_POS); p != NO_POS && limit-- > 0;
       p = set->locate(CHAIN_CHPT_NODE, NEXT_REC, p)) {
    if (!set->read(CHAIN_CHPT_NODE, p, data)) continue;
    chapter_record c = chapter_record::from_bytes(data);
    json j = chapter_to_json(data);
    j["pos"] = p;
    if (c.internal()) {
      if (auto chapter = open_chapter_subset(*set, c.subset_pos())) {
        j["document"] = simple_document_to_json(*chapter, options);
        chapter->close();
      }
    } else if (auto ext = open_estimate_set(chapter_file_path(path, c.path()), true)) {
      j["document"] = simple_document_to_json(*ext, options);
      ext->close();
    }
    chapters.push_back(std::move(j));
  }
  out["chapters"] = std::move(chapters);
  set->close();
  return {};
}

} // namespace kovra::document
