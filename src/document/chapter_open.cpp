#include "document/chapter_open.h"

#include "document/build_tree.h"
#include "document/estimate_doc.h"
#include "document/estimate_file.h"
#include "document/estimate_layout.h"
#include "shell/messages.h"
#include "shell/progress.h"
#include "store/codepage.h"
#include "store/container.h"

#include <filesystem>

#include <unistd.h>

namespace kovra::document {

namespace {

// Paths are shown to the user as typed (screen text, not internal text).
const std::string& shown(const std::string& path) { return path; }

bool file_writable(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }

std::string folder_of(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

// Calculation method and overhead settings a chapter must share with its compound.
bool same_method(const general_data& a, const general_data& b) {
  return a.calc_method() == b.calc_method() && a.overheads_per_position() == b.overheads_per_position() &&
         a.profit_per_component() == b.profit_per_component() && a.investor_table() == b.investor_table();
}

bool password_given(store_chapter& chapter, const std::string& path) {
  if (document_password_accepted(chapter.general().password(), path)) return true;
  chapter.close(false);
  store::set_last_open_error(store::OPEN_OK);
  return false;
}

// Lets the user pick the moved chapter's file; a pick that does not pass is offered again.
std::optional<std::string> locate_chapter(const store_compound& compound, const std::string& old_path,
                                          chapter_file_chooser* chooser) {
  if (!chooser) return std::nullopt;
  std::string folder = folder_of(old_path);
  while (std::optional<std::string> picked = chooser->choose(folder)) {
    folder = folder_of(*picked);
    // A longer path would be cut in the record and name another file.
    if (picked->empty() || picked->size() > CHAPTER_PATH_MAX) continue;
    if (accept_located_chapter(compound, *picked)) return picked;
  }
  return std::nullopt;
}

void open_external(store_compound& compound, chapter_record& record, rec_pos record_pos,
                   const chapter_open_options& options, chapter_open_result& out) {
  const bool read_only = compound.read_only();
  // Each round either ends or follows a file the user picked; the user can always cancel.
  for (;;) {
    const std::string path = compound.resolve(record);
    auto chapter = compound.opener(path, read_only);
    // A protected chapter opens as its estimate does, for its password (a read-only
    // compound too: reading is what the password guards). A refusal closes it unchanged
    // and counts as a failure without an open error. A walk without questions asks only
    // when its caller has the answer at hand.
    const bool ask_password = !options.quiet || options.check_password;
    if (chapter && ask_password && !password_given(*chapter, path)) chapter.reset();
    if (chapter) {
      // A compound opened read-only reads its chapters read-only as well, so there the
      // chapter's own state decides: a file that cannot be written or a valuation lock. A
      // walk without questions takes the chapter as it opens.
      const bool locked = read_only ? chapter->general().valuation_lock() != 0 || !file_writable(path)
                                    : !chapter->editable();
      if (options.quiet || !locked) {
        out.chapter = std::move(chapter);
        return;
      }
      chapter->close();
      if (!options.quiet && shell::msg_box_screen(269, shown(path).c_str()) != shell::result_ok) out.stop = true;
      return;
    }
    if (options.quiet) return;
    const uint8_t error = store::last_open_error();
    if (error == store::OPEN_OK) {
      // Refused without an open error (its password, its checksum): the chapter is left
      // out while the compound is open, and its record stays, for the refusal may pass.
      return;
    }
    const int asked = error == store::OPEN_COPY_FAILED ? 274 : 294;
    if (shell::msg_box_screen(asked, shown(path).c_str()) != shell::result_ok) {
      out.stop = true;
      return;
    }
    std::optional<std::string> picked = locate_chapter(compound, path, options.chooser);
    if (!picked) return;
    record.set_path(*picked);
    out.path_changed = true;
  }
}

} // namespace

bool accept_located_chapter(const store_compound& compound, const std::string& path) {
  const std::string& name = shown(path);
  store::file_header h;
  if (!read_estimate_header(path, h)) {
    shell::msg_box_screen(17, name.c_str());
    return false;
  }
  if (h.kind() == KIND_COMPOUND) {
    shell::msg_box_screen(251, name.c_str());
    return false;
  }
  if (h.version != store::CONTAINER_VERSION) {
    shell::msg_box_screen(293, name.c_str(), int(h.version / 100), int(store::CONTAINER_VERSION / 100));
    return false;
  }
  auto chapter = compound.opener(path, compound.read_only());
  if (!chapter) {
    // A refused checksum has been told by the open itself; only a file that would not
    // open at all is reported as damaged.
    const uint8_t error = store::last_open_error();
    if (error != store::OPEN_OK && error != store::OPEN_WRONG_TYPE && error != store::OPEN_WRONG_VERSION)
      shell::msg_box_screen(83, name.c_str());
    return false;
  }
  if (!password_given(*chapter, path)) return false;
  if (chapter->general().valuation_kind() == 2) {
    shell::msg_box_screen(254, name.c_str());
    return false;
  }
  if (!compound.read_only() && !chapter->editable()) {
    shell::msg_box_screen(253, name.c_str());
    return false;
  }
  if (same_method(chapter->general(), compound.general())) return true;
  return shell::msg_box(296) == shell::result_ok;
}

chapter_open_result open_chapter(store_compound& compound, chapter_record& record, rec_pos record_pos,
                                 std::string_view name, const chapter_open_options& options) {
  chapter_open_result out;
  if (record.internal()) {
    if (record.subset_pos() != NO_POS) {
      out.chapter = open_internal_chapter(compound.set(), record.subset_pos(), compound.header());
    } else {
      out.chapter = create_internal_chapter(compound, record, record_pos);
      out.compound_changed = out.chapter != nullptr;
    }
  } else {
    open_external(compound, record, record_pos, options, out);
  }
  if (!out.chapter) return out;
  out.chapter->chapter = record;
  out.chapter->chapter_pos = record_pos;
  out.chapter->parent = &compound;
  if (!name.empty() && out.chapter->general().name().empty())
    out.chapter->general().set_name(name.substr(0, 55));
  return out;
}

Rozdz_Node* attach_chapter(Kvr_Tree8& tree, Koszt_Node& estimate, store_compound& compound, chapter_record& record,
                           std::string_view name, rec_pos record_pos, Base_Node* before,
                           const chapter_open_options& options, chapter_open_result* result) {
  chapter_open_result r = open_chapter(compound, record, record_pos, name, options);
  Rozdz_Node* node = nullptr;
  if (r.chapter) {
    node = new Rozdz_Node(std::move(r.chapter));
    node->tree = &tree;
    if (before) attach_before(tree, before, node, chapter_picture(*node), node->caption());
    else attach_last(tree, &estimate, node, chapter_picture(*node), node->caption());
    build_tree(node->chapter()->records(), tree, *node);
  }
  if (result) *result = std::move(r);
  return node;
}

bool open_all_chapters(Kvr_Tree8& tree, Koszt_Node& estimate, store_compound& compound,
                       const chapter_open_options& options, open_all_result* result) {
  open_all_result stats;
  const std::vector<chapter_entry> entries = compound.chapters();
  stats.chapters = int(entries.size());
  const bool progress = entries.size() > 20;
  if (progress) shell::wait_open(nullptr, shell::ANIM_NONE, shell::WAIT_BAR, 102);
  bool keep_modified = compound.set().modified();
  int done = 0;
  for (const chapter_entry& entry : entries) {
    chapter_record record = entry.record;
    chapter_open_result r;
    if (attach_chapter(tree, estimate, compound, record, {}, entry.pos, nullptr, options, &r)) ++stats.attached;
    else ++stats.left_out;
    bool changed = r.compound_changed;
    if (r.path_changed && !compound.read_only()) {
      compound.set().rewrite_keep_size(CHAIN_CHPT_NODE, entry.pos, record.bytes);
      changed = true;
    }
    // Building a chapter's nodes rewrites their levels in place, which is no change worth
    // saving; a chapter that changed the compound's own records is.
    keep_modified = keep_modified || changed;
    if (!keep_modified) compound.set().set_modified(false);
    if (r.stop) {
      stats.stopped = true;
      break;
    }
    ++done;
    if (progress) shell::wait_set_position(done * 100 / stats.chapters);
  }
  if (progress) shell::wait_close();
  if (result) *result = stats;
  return !stats.stopped;
}

} // namespace kovra::document
