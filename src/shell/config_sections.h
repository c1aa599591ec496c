#pragma once
// The variant sections of kovra.cfg: named copies (standards) of the overhead record and of
// the print settings block, for ordinary and for investor estimates.
#include "shell/section_codec.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kovra::shell {

inline constexpr uint32_t TAG_OGOL = section_tag("OGOL");
inline constexpr uint32_t TAG_OPIS = section_tag("OPIS");
inline constexpr uint32_t TAG_OVRH = section_tag("OVRH");
inline constexpr uint32_t TAG_OVRI = section_tag("OVRI");
inline constexpr uint32_t TAG_PRNT = section_tag("PRNT");
inline constexpr uint32_t TAG_PRNI = section_tag("PRNI");
inline constexpr uint32_t TAG_CENN = section_tag("CENN");

struct variant_entry {
  uint8_t deleted = 0;
  uint8_t is_current = 0;
  std::optional<std::string> name;  // internal text; absent when stored with length 0
  std::vector<uint8_t> data;        // one block of the section's size
};

class Cfg_base {
public:
  Cfg_base(uint32_t tag, std::size_t block_size);
  virtual ~Cfg_base() = default;
  Cfg_base(const Cfg_base&) = default;
  Cfg_base& operator=(const Cfg_base&) = default;

  section_header header;
  std::vector<variant_entry> entries;

  std::size_t block_size() const { return block_size_; }

  // Header, then every entry's name (optional text) and block. The header's `current` is
  // written as held; its `count` is the number of entries, so the section always reads back.
  virtual void write_section(byte_writer& w);
  virtual std::vector<uint8_t> new_data() const { return std::vector<uint8_t>(block_size_, 0); }
  virtual void set_defaults(uint8_t* block) const = 0;
  std::vector<uint8_t> clone_data(const std::vector<uint8_t>& block) const { return block; }
  // Copies a block into caller storage of block_size() bytes.
  void copy_data(const std::vector<uint8_t>& block, uint8_t* out) const;
  virtual bool read_data(byte_reader& r, std::vector<uint8_t>& block);
  virtual void write_data(byte_writer& w, const std::vector<uint8_t>& block);

  // Reads `count` entries after the header `h` (already read); false when cut short.
  bool read_section(byte_reader& r, const section_header& h);
  // One entry named "Standard domniemany" holding the defaults, not flagged current.
  void set_default_entry();
  // The first entry flagged current, or nullptr.
  const variant_entry* current_entry() const;

private:
  std::size_t block_size_;
};

class Cfg_ovrhd_base : public Cfg_base {
public:
  explicit Cfg_ovrhd_base(uint32_t tag);
};

class Cfg_ovrhd_strd : public Cfg_ovrhd_base {
public:
  Cfg_ovrhd_strd() : Cfg_ovrhd_base(TAG_OVRH) {}
  void set_defaults(uint8_t* block) const override;
};

class Cfg_ovrhd_inw : public Cfg_ovrhd_base {
public:
  Cfg_ovrhd_inw() : Cfg_ovrhd_base(TAG_OVRI) {}
  void set_defaults(uint8_t* block) const override;
};

// Print blocks of a version 1 section are 8 bytes shorter; every write is version 2.
class Cfg_print_base : public Cfg_base {
public:
  explicit Cfg_print_base(uint32_t tag);
  void write_section(byte_writer& w) override;
  bool read_data(byte_reader& r, std::vector<uint8_t>& block) override;
  void set_defaults(uint8_t* block) const override;
};

class Cfg_print_strd : public Cfg_print_base {
public:
  Cfg_print_strd() : Cfg_print_base(TAG_PRNT) {}
};

class Cfg_print_inw : public Cfg_print_base {
public:
  Cfg_print_inw() : Cfg_print_base(TAG_PRNI) {}
};

} // namespace kovra::shell
