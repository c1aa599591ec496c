#include "document/estimate_doc.h"
#include "document/estimate_open_steps.h"

#include "document/document_settings.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "shell/messages.h"
#include "shell/users.h"
#include "store/codepage.h"
#include "store/container.h"
#include "store/open_files.h"
#include "store/record_set.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

namespace kovra::document {

namespace {

password_question* installed_question = nullptr;

// The path as the catalogue messages take it (internal code page).
const std::string& shown(const std::string& path) { return path; }

void show_version_refusal(const std::string& path, const store::file_header& h) {
  shell::msg_box_screen(293, shown(path).c_str(), int(h.version / 100), int(store::CONTAINER_VERSION / 100));
}

// Closes a refused document without storing a checksum, so that the file stays as it was.
void close_unchanged(estimate_doc& doc) {
  if (doc.records) doc.records->close(false);
  doc.records.reset();
  doc.path.clear();
}

// The main set of the file opened for work: read-write exclusive with a working copy
// (read-only shared when the file cannot be written), or shared for reading on purpose.
// Fails early with 245 for a missing file and 249 for a file this program holds open.
bool open_main_set(estimate_doc& doc, const std::string& path, int checks, bool read_only, int* checksum) {
  auto records = doc.structure_kind == LAYOUT_COMPOUND ? store_records::compound_layout()
                                                       : store_records::simple_layout();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    store::set_last_open_error(store::OPEN_NOT_FOUND);
    return false;
  }
  if (store::find_open_file(path) >= 0) {
    store::set_last_open_error(store::OPEN_ACCESS_DENIED);
    return false;
  }
  store::open_set_request r = records->open_request(path);
  r.storage = store::STORAGE_COMPRESSED;
  r.open_mode = (read_only ? store::OPEN_READ_SHARED : store::OPEN_EXCLUSIVE) | store::OPEN_KEEP_COUNT;
  r.checks = checks;
  r.checksum_wanted = true;
  r.working_copy = !read_only;
  store::record_set* set = store::open_record_set(r, checksum);
  if (!set) return false;
  records->attach(set);
  doc.records = std::move(records);
  doc.path = path;
  doc.general = general_data::from_bytes(doc.records->user_header());
  return true;
}

// The header of an estimate file without opening it for work. A file this program holds
// open (exclusively) is read through the handle that holds it, so that a second open is
// refused for being in use rather than for an unreadable header.
bool read_header(const std::string& path, store::file_header& h) {
  const int held = store::find_open_file(path);
  if (held < 0) return read_estimate_header(path, h);
  uint8_t bytes[store::file_header_size] = {};
  if (store::read_at(held, 0, bytes, sizeof bytes) != store::file_header_size) {
    store::set_last_open_error(store::OPEN_FAILED);
    return false;
  }
  h = store::decode_file_header(bytes);
  if (h.file_type != store::FILE_TYPE_ESTIMATE) {
    store::set_last_open_error(store::OPEN_WRONG_TYPE);
    return false;
  }
  store::set_last_open_error(store::OPEN_OK);
  return true;
}

bool password_accepted(const estimate_doc& doc) { return document_password_accepted(doc.general.password(), doc.path); }

// Steps 8-9: the print configuration and the overhead record, stored as new records when
// the file has none (kept in memory only when it cannot be written).
void load_settings(estimate_doc& doc, int data_chain) {
  doc.print_config = load_print_config(*doc.records, doc.general, data_chain);
  doc.overhead = load_overhead_record(*doc.records, doc.general, data_chain);
  if (!doc.records->read_only()) doc.records->set_user_header(doc.general.bytes);
}

void set_editing_state(estimate_doc& doc) {
  if (doc.records->read_only()) doc.editing_state = EDIT_READ_ONLY;
  else if (doc.general.valuation_lock() != 0) doc.editing_state = EDIT_VALUATION_LOCKED;
  else doc.editing_state = EDIT_ALLOWED;
}

// Checksum results 3 and 4 refuse the file.
bool checksum_refused(estimate_doc& doc, const std::string& path, int checksum) {
  if (checksum != store::CHECKSUM_OFF_BY_ONE && checksum != store::CHECKSUM_MISMATCH) return false;
  shell::msg_box_screen(checksum == store::CHECKSUM_OFF_BY_ONE ? 239 : 238, shown(path).c_str());
  close_unchanged(doc);
  return true;
}

bool from_maker(const store::file_header& h) {
  std::string creator(h.creator.data(), strnlen(h.creator.data(), h.creator.size()));
  std::transform(creator.begin(), creator.end(), creator.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return creator.find("vorlanda") != std::string::npos;
}

} // namespace

void set_password_question(password_question* question) { installed_question = question; }

// A protected estimate opens for its password or for the user it belongs to. Each wrong
// answer is told (message 311) and asked again; a refusal ends the open.
bool document_password_accepted(uint32_t stored, const std::string& path) {
  if (!shell::document_needs_password(stored, shell::current_user().password_value)) return true;
  if (!installed_question) return false;
  while (auto typed = installed_question->ask(path)) {
    if (shell::check_document_password(stored, *typed)) return true;
    shell::msg_box(311);
  }
  return false;
}

estimate_doc::~estimate_doc() {
  if (is_open()) close_estimate(*this);
}

void init_simple_doc(estimate_doc& doc) {
  if (doc.is_open()) close_estimate(doc);
  doc.structure_kind = LAYOUT_SIMPLE;
  doc.general = general_data{};
  doc.results = {};
  doc.header = store::file_header{};
  doc.as_chapter_source = false;
  doc.editing_state = EDIT_ALLOWED;
  doc.more_results = {};
  doc.print_config.clear();
  doc.overhead = overhead_record{};
  doc.tree.reset();
  doc.window = nullptr;
  doc.path.clear();
  doc.records.reset();
  doc.parent = nullptr;
  doc.chapter = chapter_record{};
  doc.chapter.set_quantity(1.0);
  doc.chapter.set_precision_code(3);
  doc.storage = STORAGE_STANDALONE;
  doc.chapter_pos = NO_POS;
}

void init_compound_doc(estimate_doc& doc) {
  init_simple_doc(doc);
  doc.structure_kind = LAYOUT_COMPOUND;
}

bool open_simple_document(estimate_doc& doc, const std::string& path, const simple_open& how) {
  if (doc.is_open()) close_estimate(doc);
  doc.structure_kind = LAYOUT_SIMPLE;
  store::file_header h;
  if (!read_header(path, h)) {
    const uint8_t code = store::last_open_error();
    if (how.error_out) *how.error_out = code;
    // A file that cannot be read at all is reported too: an open never fails unseen.
    if (code == store::OPEN_WRONG_TYPE) shell::msg_box_screen(77, shown(path).c_str());
    else if (!how.error_out) shell::msg_box_screen(1, shown(path).c_str());
    return false;
  }
  if (h.version != store::CONTAINER_VERSION) {
    if (how.error_out) *how.error_out = store::OPEN_WRONG_VERSION;
    show_version_refusal(path, h);
    return false;
  }
  int checksum = store::CHECKSUM_OK;
  const int checks = store::CHECK_FILE_TYPE | store::CHECK_VERSION | store::CHECK_NOT_OPEN;
  if (!open_main_set(doc, path, checks, how.read_only, &checksum)) {
    if (how.error_out) *how.error_out = store::last_open_error();
    else shell::msg_box_screen(1, shown(path).c_str());
    return false;
  }
  if (how.error_out) *how.error_out = store::OPEN_OK;
  if (how.checksum_out) *how.checksum_out = checksum;
  doc.header = h;
  if (checksum_refused(doc, path, checksum)) return false;

  if (how.initial) {
    doc.general = *how.initial;
  } else {
    upgrade_document(*doc.records, doc.general, h);
    if (how.check_password && !password_accepted(doc)) {
      close_unchanged(doc);
      return false;
    }
  }
  load_settings(doc, CHAIN_DATA);
  set_editing_state(doc);
  doc.as_chapter_source = how.as_chapter_source;
  return true;
}

bool open_simple_estimate(estimate_doc& doc, const std::string& path, uint8_t* error_out, bool check_password,
                          int* checksum_out, bool as_chapter_source, bool read_only) {
  simple_open how;
  how.error_out = error_out;
  how.check_password = check_password;
  how.checksum_out = checksum_out;
  how.as_chapter_source = as_chapter_source;
  how.read_only = read_only;
  return open_simple_document(doc, path, how);
}

bool open_compound_document(estimate_doc& doc, const std::string& path, bool as_chapter_source, bool read_only,
                            const general_data* initial) {
  if (doc.is_open()) close_estimate(doc);
  doc.structure_kind = LAYOUT_COMPOUND;
  doc.header = store::file_header{};
  if (!read_header(path, doc.header)) {
    if (store::last_open_error() == store::OPEN_WRONG_TYPE) {
      shell::msg_box_screen(77, shown(path).c_str());
      return false;
    }
    doc.header = store::file_header{};
  }
  if (doc.header.kind() != KIND_COMPOUND) {
    shell::msg_box_screen(172, shown(path).c_str());
    return false;
  }
  if (doc.header.version != store::CONTAINER_VERSION) {
    show_version_refusal(path, doc.header);
    return false;
  }
  int checksum = store::CHECKSUM_OK;
  if (!open_main_set(doc, path, store::CHECK_FILE_TYPE, read_only, &checksum)) {
    shell::msg_box_screen(1, shown(path).c_str());
    return false;
  }
  if (!initial && !password_accepted(doc)) {
    close_unchanged(doc);
    return false;
  }
  set_editing_state(doc);
  if (!from_maker(doc.header)) {
    shell::msg_box_screen(237, shown(path).c_str());
    close_unchanged(doc);
    return false;
  }
  if (checksum_refused(doc, path, checksum)) return false;

  if (initial) {
    doc.general = *initial;
  } else {
    // A compound file has no price chain: only the coefficient and multiplicity upgrades.
    store::file_header judged = doc.header;
    judged.revision = std::max<int16_t>(judged.revision, 2);
    upgrade_document(*doc.records, doc.general, judged);
  }
  load_settings(doc, CHAIN_COMPOUND_DATA);
  doc.as_chapter_source = as_chapter_source;
  return true;
}

bool open_compound_estimate(estimate_doc& doc, const std::string& path, bool as_chapter_source, bool read_only) {
  return open_compound_document(doc, path, as_chapter_source, read_only, nullptr);
}

bool close_estimate(estimate_doc& doc) {
  bool ok = true;
  doc.tree.reset();
  doc.window = nullptr;
  if (doc.is_open()) {
    if (!doc.records->read_only()) {
      const std::vector<uint8_t> stored = doc.records->user_header();
      if (!std::equal(stored.begin(), stored.end(), doc.general.bytes.begin(), doc.general.bytes.end()))
        doc.records->set_user_header(doc.general.bytes);
    }
    ok = doc.records->close(true);
  }
  doc.records.reset();
  doc.path.clear();
  return ok;
}

int document_kind(const std::string& path, uint8_t* error_out) {
  store::file_header h;
  if (!read_header(path, h)) {
    if (error_out) *error_out = store::last_open_error();
    return -1;
  }
  if (error_out) *error_out = store::OPEN_OK;
  return h.kind();
}

bool is_editable(const estimate_doc& doc) { return doc.editing_state == EDIT_ALLOWED; }
bool is_read_only(const estimate_doc& doc) { return doc.editing_state == EDIT_READ_ONLY; }

void set_valuation_lock(estimate_doc& doc, uint8_t value) {
  if (is_read_only(doc)) return;
  doc.editing_state = EDIT_ALLOWED;
  doc.general.set_valuation_lock(value);
}

std::string document_title(const estimate_doc& doc, const std::string& path) {
  std::string title = std::filesystem::path(path).filename().string();
  const general_data& g = doc.general;
  if (g.valuation_flag() != 0) {
    title += g.valuation_kind() == 1 ? " (Wycena - oryginał)" : g.valuation_kind() == 2 ? " (Wycena - oferta)" : " (Wycena)";
  } else if (!is_editable(doc)) {
    title += " (Tylko do odczytu)";
  }
  const bool chapter = doc.storage != STORAGE_STANDALONE;
  const std::string name = g.name();
  if (!name.empty() && (!chapter || doc.parent)) title += " (" + store::mazovia_to_utf8(name) + ")";
  return title;
}

namespace {
int handle_of(const estimate_doc& doc) { return doc.is_open() ? store::set_handle(doc.records->set()) : -1; }
} // namespace

bool is_modified(const estimate_doc& doc) { return handle_of(doc) >= 0 && store::container_modified(handle_of(doc)); }
// A file is changed when it has saved or unsaved changes.
bool is_changed(const estimate_doc& doc) {
  const int h = handle_of(doc);
  return h >= 0 && (store::container_saved(h) || store::container_modified(h));
}
void clear_modified(estimate_doc& doc) {
  if (handle_of(doc) >= 0) store::set_container_modified(handle_of(doc), false);
}
void set_changed(estimate_doc& doc, bool value) {
  if (handle_of(doc) >= 0) store::set_container_changed(handle_of(doc), value);
}

} // namespace kovra::document
