#include "shell/config_sections.h"

#include "shell/overhead_defaults.h"
#include "shell/print_block.h"
#include "store/codepage.h"

#include <algorithm>
#include <cstring>

namespace kovra::shell {

Cfg_base::Cfg_base(uint32_t tag, std::size_t block_size) : block_size_(block_size) {
  header.tag = tag;
  header.version = 1;
  header.current = 0;
  header.count = 0;
}

void Cfg_base::write_section(byte_writer& w) {
  section_header h = header;
  h.count = int16_t(std::min<std::size_t>(entries.size(), 0x7FFF));
  w.header(h);
  for (std::size_t i = 0; i < std::size_t(h.count); ++i) {
    w.optional_text(entries[i].name);
    write_data(w, entries[i].data);
  }
}

void Cfg_base::copy_data(const std::vector<uint8_t>& block, uint8_t* out) const {
  std::memset(out, 0, block_size_);
  std::memcpy(out, block.data(), std::min(block.size(), block_size_));
}

bool Cfg_base::read_data(byte_reader& r, std::vector<uint8_t>& block) {
  return r.bytes(block.data(), block_size_);
}

void Cfg_base::write_data(byte_writer& w, const std::vector<uint8_t>& block) {
  std::vector<uint8_t> sized = block;
  sized.resize(block_size_, 0);
  w.raw(sized.data(), block_size_);
}

bool Cfg_base::read_section(byte_reader& r, const section_header& h) {
  header = h;
  for (int i = 0; i < h.count; ++i) {
    variant_entry e;
    if (!r.optional_text(e.name)) return false;
    e.data = new_data();
    if (!read_data(r, e.data)) return false;
    e.is_current = i == h.current ? 1 : 0;
    entries.push_back(std::move(e));
  }
  return true;
}

void Cfg_base::set_default_entry() {
  header.count = 1;
  header.current = 0;
  entries.clear();
  variant_entry e;
  e.name = store::utf8_to_mazovia("Standard domniemany");
  e.data = new_data();
  set_defaults(e.data.data());
  entries.push_back(std::move(e));
}

const variant_entry* Cfg_base::current_entry() const {
  for (const auto& e : entries)
    if (e.is_current == 1) return &e;
  return nullptr;
}

Cfg_ovrhd_base::Cfg_ovrhd_base(uint32_t tag) : Cfg_base(tag, overhead_config_size) {}

void Cfg_ovrhd_strd::set_defaults(uint8_t* block) const { standard_overhead_defaults(block); }
void Cfg_ovrhd_inw::set_defaults(uint8_t* block) const { investor_overhead_defaults(block); }

Cfg_print_base::Cfg_print_base(uint32_t tag) : Cfg_base(tag, print_block_size) {}

void Cfg_print_base::write_section(byte_writer& w) {
  header.version = 2;
  Cfg_base::write_section(w);
}

bool Cfg_print_base::read_data(byte_reader& r, std::vector<uint8_t>& block) {
  // The bytes a version 1 block lacks stay zero.
  std::size_t n = header.version == 1 ? print_block_v1_size : print_block_size;
  return r.bytes(block.data(), n);
}

void Cfg_print_base::set_defaults(uint8_t* block) const { default_print_block(block); }

} // namespace kovra::shell
