// Any bytes as a compound estimate file opened for work, every chapter opened and
// attached the way a window does it: internal chapters created or opened at whatever
// positions the records name, records deleted, paths located. Never a crash, hang or
// unbounded allocation. External chapters are looked for only inside the scratch folder.
#include "document/chapter_open.h"
#include "shell/message_sink.h"
#include "shell/messages.h"
#include "store/container.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratch_folder() {
  static std::string path = [] {
    char pattern[] = "/tmp/kovra-fuzz-compound-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made ? made : "/tmp") + "/";
  }();
  return path;
}

// Answers every question with OK and then picks a file that is not there.
struct answer_ok : kovra::shell::message_sink {
  int ask(const kovra::shell::message_request&) override { return kovra::shell::result_ok; }
};

struct one_pick : kovra::document::chapter_file_chooser {
  int left = 1;
  std::optional<std::string> choose(const std::string&) override {
    if (left-- <= 0) return std::nullopt;
    return scratch_folder() + "none.kvr";
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kovra::document;
  kovra::store::set_disk_sync(false);
  static answer_ok sink;
  kovra::shell::set_message_sink(&sink);
  const std::string path = scratch_folder() + "c.kvr";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  if (auto file = open_compound_file(path, false)) {
    store_compound compound(*file->set, path, file->header, file->general, file->overhead);
    compound.opener = [](const std::string& p, bool read_only) -> std::unique_ptr<store_chapter> {
      if (p.rfind(scratch_folder(), 0) != 0 || p.find("..") != std::string::npos) {
        kovra::store::set_last_open_error(kovra::store::OPEN_NOT_FOUND);
        return nullptr;
      }
      return open_chapter_file(p, read_only);
    };
    {
      Kvr_Tree8 tree;
      auto* estimate = new Koszt_Node;
      attach_last(tree, nullptr, estimate, 0, "");
      one_pick chooser;
      chapter_open_options options;
      options.chooser = &chooser;
      open_all_chapters(tree, *estimate, compound, options);
    }
    Compound_Iterator it(compound);
    for (chapter_document* d = it.first_chapter(); d; d = it.next_chapter()) (void)d->general().name();
    file->set->close(false);
  }
  kovra::store::reset_containers();
  return 0;
}
