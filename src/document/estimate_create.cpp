#include "document/estimate_doc.h"
#include "document/estimate_open_steps.h"

#include "document/document_settings.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "shell/general_settings.h"
#include "shell/messages.h"
#include "store/codepage.h"
#include "store/container.h"
#include "store/record_set.h"

#include <filesystem>

namespace kovra::document {

namespace {

// The header of a file being replaced is kept (its label, creator and description);
// anything else starts from the program's template. The new contents are of this program's
// format, so the replaced file's version and revision are not: an old revision would have
// the next open "upgrade" the new settings away.
store::file_header header_for(const std::string& path, int kind) {
  store::file_header h = store::header_template();
  store::file_header existing;
  const int handle = store::open_container(path, store::STORAGE_DIRECT, store::OPEN_READ_SHARED | store::OPEN_KEEP_COUNT,
                                           0, 0, 0, &existing);
  if (handle >= 0) {
    store::close_container(handle);
    h = existing;
    h.version = store::CONTAINER_VERSION;
    h.revision = store::header_template().revision;
  }
  h.flags = uint8_t((h.flags & ~(store::HEADER_KIND_MASK | store::HEADER_COMPRESSED)) | kind);
  return h;
}

bool create_file(const std::string& path, int kind) {
  if (create_estimate_file(path, header_for(path, kind))) return true;
  shell::msg_box_screen(79, path.c_str());
  return false;
}

general_data new_compound_general_data() {
  general_data g;
  g.set_name("Kosztorys");
  g.set_print_config_record(NO_POS);
  g.set_standard_overheads_record(NO_POS);
  g.set_investor_overheads_record(NO_POS);
  return g;
}

// A new file holds its starting general data and settings records from the start, not
// only after the first save. A failure here closes and removes the half-made file.
bool store_new(estimate_doc& doc) {
  doc.records->set_user_header(doc.general.bytes);
  store::record_set* set = doc.records->set();
  if (store::flush_record_set(set) && store::flush_container(store::set_handle(set))) return true;
  const std::string path = doc.path;
  doc.records->close(false);
  doc.records.reset();
  doc.path.clear();
  std::error_code ec;
  std::filesystem::remove(path, ec);
  shell::msg_box_screen(79, path.c_str());
  return false;
}

} // namespace

bool create_simple_estimate(estimate_doc& doc, const std::string& path, int* checksum_out, uint8_t* error_out) {
  if (doc.is_open()) close_estimate(doc);
  doc.structure_kind = LAYOUT_SIMPLE;
  if (!create_file(path, KIND_SIMPLE)) return false;
  const float percent = doc.parent ? doc.parent->general.purchase_cost_percent()
                                   : float(shell::general_settings().new_purchase_cost_percent());
  const general_data initial = new_estimate_general_data(percent);
  simple_open how;
  how.checksum_out = checksum_out;
  how.error_out = error_out;
  how.check_password = false;
  how.initial = &initial;
  return open_simple_document(doc, path, how) && store_new(doc);
}

bool create_compound_estimate(estimate_doc& doc, const std::string& path) {
  if (doc.is_open()) close_estimate(doc);
  doc.structure_kind = LAYOUT_COMPOUND;
  if (!create_file(path, KIND_COMPOUND)) return false;
  const general_data initial = new_compound_general_data();
  return open_compound_document(doc, path, false, false, &initial) && store_new(doc);
}

} // namespace kovra::document
