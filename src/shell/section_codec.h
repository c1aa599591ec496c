#pragma once
// The byte forms shared by the configuration and users files: the 13-byte section header
// and the two text forms. Decoding is bounded: a reader is handed (pointer, limit) and
// never reads past the limit; a field that does not fit makes the reader fail.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kovra::shell {

inline constexpr std::size_t section_header_size = 13;
// Fixed texts are held in 260-byte fields: at most 259 characters.
inline constexpr std::size_t fixed_text_max = 259;

// Four ASCII letters as the little-endian 32-bit value of the file ("OGOL" = 0x4C4F474F).
constexpr uint32_t section_tag(const char (&t)[5]) {
  return uint32_t(uint8_t(t[0])) | uint32_t(uint8_t(t[1])) << 8 | uint32_t(uint8_t(t[2])) << 16 |
         uint32_t(uint8_t(t[3])) << 24;
}
std::string tag_text(uint32_t tag);  // four characters, unprintable bytes as '?'

struct section_header {
  uint32_t tag = 0;
  uint8_t version = 1;
  uint32_t reserved = 0;
  int16_t current = 0;  // index of the current variant (variant sections)
  int16_t count = 1;    // number of variants (variant sections)
};

// Outcome of reading one section.
enum class section_read { ok, end, unknown_tag, cut_short };

class byte_reader {
public:
  byte_reader(const uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}

  std::size_t remaining() const { return std::size_t(end_ - p_); }
  std::size_t position_from(const uint8_t* start) const { return std::size_t(p_ - start); }
  const uint8_t* position() const { return p_; }

  bool bytes(void* out, std::size_t n);
  bool u8(uint8_t& v);
  bool u16(uint16_t& v);
  bool i16(int16_t& v);
  bool u32(uint32_t& v);
  bool f64(double& v);
  bool header(section_header& h);
  // Fixed text: 16-bit length n, then n characters and a terminator. Longer than 259
  // characters does not fit its field and fails.
  bool fixed_text(std::string& out);
  // Optional text: 16-bit length n, then n + 1 bytes only when n > 0; n = 0 is absent.
  bool optional_text(std::optional<std::string>& out);

private:
  const uint8_t* p_;
  const uint8_t* end_;
};

class byte_writer {
public:
  std::vector<uint8_t>& bytes() { return out_; }
  const std::vector<uint8_t>& bytes() const { return out_; }

  void raw(const void* data, std::size_t n);
  void u8(uint8_t v) { out_.push_back(v); }
  void u16(uint16_t v);
  void i16(int16_t v) { u16(uint16_t(v)); }
  void u32(uint32_t v);
  void f64(double v);
  void header(const section_header& h);
  // Texts longer than their form allows are cut (259 characters, 65,535 for optional).
  void fixed_text(const std::string& text);
  void optional_text(const std::optional<std::string>& text);

private:
  std::vector<uint8_t> out_;
};

// Little-endian field access inside fixed-size blocks (the general settings, overhead and
// print blocks). The caller keeps offsets inside the block.
uint16_t get_u16(const uint8_t* p);
int16_t get_i16(const uint8_t* p);
uint32_t get_u32(const uint8_t* p);
float get_f32(const uint8_t* p);
double get_f64(const uint8_t* p);
void put_u16(uint8_t* p, uint16_t v);
void put_i16(uint8_t* p, int16_t v);
void put_u32(uint8_t* p, uint32_t v);
void put_f32(uint8_t* p, float v);
void put_f64(uint8_t* p, double v);
// A zero-terminated text in a field of `size` bytes (cut to size - 1, rest zeroed) and back.
void put_text(uint8_t* p, std::size_t size, const std::string& text);
std::string get_text(const uint8_t* p, std::size_t size);

} // namespace kovra::shell
