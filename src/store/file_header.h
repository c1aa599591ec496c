#pragma once
// The 293-byte header at the start of every container file.
#include <array>
#include <cstdint>
#include <string>

namespace kovra::store {

inline constexpr int file_header_size = 293;
inline constexpr uint8_t FILE_TYPE_ESTIMATE = 2;
inline constexpr uint8_t FILE_TYPE_CONFIG = 41;
inline constexpr int16_t CONTAINER_VERSION = 800;
// The format revision this program writes: the newest one whose records it knows
// (coefficients from 6, the multiplicity switch from 7). Opening a file of a lower revision
// upgrades it, so a new file must never carry less.
inline constexpr int16_t FORMAT_REVISION = 8;

// flags byte
inline constexpr uint8_t HEADER_KIND_MASK = 0x1F;   // document kind: 1 simple, 2 compound
inline constexpr uint8_t HEADER_COMPRESSED = 0x80;  // the rest of the file is deflate-compressed

struct file_header {
  char magic[2] = {'V', 'L'};
  uint8_t file_type = 0;
  int16_t version = 0;
  int16_t revision = 0;
  uint8_t open_count = 0;
  uint8_t flags = 0;
  std::array<char, 19> label{};        // NUL-terminated
  std::array<char, 41> creator{};      // NUL-terminated
  std::array<char, 224> description{}; // four lines of 56 bytes, Mazovia

  bool magic_ok() const { return magic[0] == 'V' && magic[1] == 'L'; }
  int kind() const { return flags & HEADER_KIND_MASK; }
  bool compressed() const { return (flags & HEADER_COMPRESSED) != 0; }
};

// Little-endian byte image of a header and back; decode never reads past `bytes + 293`.
void encode_file_header(const file_header& h, uint8_t out[file_header_size]);
file_header decode_file_header(const uint8_t in[file_header_size]);

// The creator line written into new files.
inline constexpr const char* CREATOR_LINE = "Vorlanda Kovra - kosztorys";

// The process-wide template copied into every new container: label "KOSZTORYS " plus the
// program's version text (stamped at start-up), creator line, version 800, revision = the
// program's minor version, never below FORMAT_REVISION.
file_header& header_template();
// Stamps the template with the program's version text ("v.8.01") and minor number.
void stamp_header_template(const std::string& version_text, int minor);
// Back to the unstamped template (tests).
void reset_header_template();

// The user's description: stored wrapped at blanks into at most four lines of at most 55
// characters (carriage returns dropped); read back by joining the non-empty lines with one
// blank, or as one 224-byte text when the first line has no terminator within 56 bytes.
void set_header_description(file_header& h, const std::string& text);
std::string header_description(const file_header& h);

} // namespace kovra::store
