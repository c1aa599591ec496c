// Any bytes as an estimate file opened as a document the way its window opens it: read-only
// (the file must stay byte for byte as it was) and for work, with the tree built. Refusals
// come as messages, never as a crash, hang or unbounded allocation.
#include "document/build_tree.h"
#include "document/estimate_doc.h"
#include "shell/message_sink.h"
#include "shell/messages.h"
#include "store/container.h"
#include "store/open_files.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

struct quiet_sink : kovra::shell::message_sink {
  int ask(const kovra::shell::message_request&) override { return kovra::shell::result_cancel; }
};

std::string scratch_file() {
  static std::string path = [] {
    char pattern[] = "/tmp/kovra-fuzz-open-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp") + "/e.kvr";
  }();
  return path;
}

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void open_and_walk(const std::string& path, bool read_only) {
  using namespace kovra::document;
  const int kind = document_kind(path);
  if (kind < 0) return;
  auto doc = open_estimate_by_kind(path, kind, read_only);
  if (!doc) return;
  (void)document_title(*doc, path);
  if (doc->structure_kind == LAYOUT_SIMPLE) {
    doc->tree = std::make_unique<Kvr_Tree8>();
    auto* root = new Koszt_Node;
    attach_last(*doc->tree, nullptr, root, 0, "");
    build_tree(*doc->records, *doc->tree, *root, doc.get());
  }
  free_estimate(doc);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static quiet_sink sink;
  kovra::shell::set_message_sink(&sink);
  kovra::store::set_disk_sync(false);
  const std::string path = scratch_file();
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << input;

  open_and_walk(path, true);
  if (bytes_of(path) != input) std::abort();  // a read-only open wrote to the file
  open_and_walk(path, false);

  kovra::store::reset_containers();
  kovra::store::reset_open_files();
  return 0;
}
