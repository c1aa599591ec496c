#include "shell/section_codec.h"

#include <algorithm>
#include <cstring>

namespace kovra::shell {

std::string tag_text(uint32_t tag) {
  std::string s(4, '?');
  for (int i = 0; i < 4; ++i) {
    char c = char((tag >> (8 * i)) & 0xFF);
    if (c >= 0x20 && c < 0x7F) s[i] = c;
  }
  return s;
}

bool byte_reader::bytes(void* out, std::size_t n) {
  if (remaining() < n) return false;
  if (n) std::memcpy(out, p_, n);
  p_ += n;
  return true;
}

bool byte_reader::u8(uint8_t& v) { return bytes(&v, 1); }

bool byte_reader::u16(uint16_t& v) {
  if (remaining() < 2) return false;
  v = get_u16(p_);
  p_ += 2;
  return true;
}

bool byte_reader::i16(int16_t& v) {
  uint16_t u;
  if (!u16(u)) return false;
  v = int16_t(u);
  return true;
}

bool byte_reader::u32(uint32_t& v) {
  if (remaining() < 4) return false;
  v = get_u32(p_);
  p_ += 4;
  return true;
}

bool byte_reader::f64(double& v) {
  if (remaining() < 8) return false;
  v = get_f64(p_);
  p_ += 8;
  return true;
}

bool byte_reader::header(section_header& h) {
  if (remaining() < section_header_size) return false;
  section_header r;
  u32(r.tag);
  u8(r.version);
  u32(r.reserved);
  i16(r.current);
  i16(r.count);
  h = r;
  return true;
}

bool byte_reader::fixed_text(std::string& out) {
  uint16_t n;
  if (!u16(n) || n > fixed_text_max || remaining() < std::size_t(n) + 1) return false;
  out.assign(reinterpret_cast<const char*>(p_), n);
  p_ += n + 1;
  return true;
}

bool byte_reader::optional_text(std::optional<std::string>& out) {
  uint16_t n;
  if (!u16(n)) return false;
  if (n == 0) {
    out.reset();
    return true;
  }
  if (remaining() < std::size_t(n) + 1) return false;
  out.emplace(reinterpret_cast<const char*>(p_), n);
  p_ += std::size_t(n) + 1;
  return true;
}

void byte_writer::raw(const void* data, std::size_t n) {
  auto* b = static_cast<const uint8_t*>(data);
  out_.insert(out_.end(), b, b + n);
}

void byte_writer::u16(uint16_t v) {
  out_.push_back(uint8_t(v));
  out_.push_back(uint8_t(v >> 8));
}

void byte_writer::u32(uint32_t v) {
  for (int i = 0; i < 4; ++i) out_.push_back(uint8_t(v >> (8 * i)));
}

void byte_writer::f64(double v) {
  uint8_t b[8];
  put_f64(b, v);
  raw(b, 8);
}

void byte_writer::header(const section_header& h) {
  u32(h.tag);
  u8(h.version);
  u32(h.reserved);
  i16(h.current);
  i16(h.count);
}

void byte_writer::fixed_text(const std::string& text) {
  std::size_t n = std::min(text.size(), fixed_text_max);
  u16(uint16_t(n));
  raw(text.data(), n);
  u8(0);
}

void byte_writer::optional_text(const std::optional<std::string>& text) {
  std::size_t n = text ? std::min<std::size_t>(text->size(), 0xFFFF) : 0;
  u16(uint16_t(n));
  if (n == 0) return;
  raw(text->data(), n);
  u8(0);
}

uint16_t get_u16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
int16_t get_i16(const uint8_t* p) { return int16_t(get_u16(p)); }
uint32_t get_u32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
float get_f32(const uint8_t* p) {
  uint32_t u = get_u32(p);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
double get_f64(const uint8_t* p) {
  uint64_t u = uint64_t(get_u32(p)) | uint64_t(get_u32(p + 4)) << 32;
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}
void put_u16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void put_i16(uint8_t* p, int16_t v) { put_u16(p, uint16_t(v)); }
void put_u32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void put_f32(uint8_t* p, float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  put_u32(p, u);
}
void put_f64(uint8_t* p, double v) {
  uint64_t u;
  std::memcpy(&u, &v, 8);
  put_u32(p, uint32_t(u));
  put_u32(p + 4, uint32_t(u >> 32));
}
void put_text(uint8_t* p, std::size_t size, const std::string& text) {
  if (size == 0) return;
  std::memset(p, 0, size);
  std::memcpy(p, text.data(), std::min(text.size(), size - 1));
}
std::string get_text(const uint8_t* p, std::size_t size) {
  std::size_t n = 0;
  while (n < size && p[n]) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

} // namespace kovra::shell
