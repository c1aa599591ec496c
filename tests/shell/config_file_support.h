#pragma once
// Helpers for tests of kovra.cfg: building section bytes and whole files by hand.
#include "shell/section_codec.h"
#include "store/file_header.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kovra::test {

inline std::vector<uint8_t> config_header_bytes(uint8_t file_type = 41, int16_t version = 800) {
  store::file_header h = store::header_template();
  h.file_type = file_type;
  h.version = version;
  std::vector<uint8_t> raw(store::file_header_size);
  store::encode_file_header(h, raw.data());
  return raw;
}

inline void write_file(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline std::vector<uint8_t> concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

} // namespace kovra::test
