#pragma once
// Estimate files for the document open/close tests: built through the JSON form into a
// temporary folder, with a recording message sink and a scripted password question.
#include "compound_support.h"
#include "document/estimate_doc.h"
#include "shell/users.h"
#include "store/open_files.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace estimate_doc_test {

using namespace kovra::document;
using compound_test::folder;
using nlohmann::json;

inline std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Puts a 16-bit value into the file at `offset` (the header is never compressed).
inline void patch_i16(const std::string& path, std::size_t offset, int16_t v) {
  std::string b = bytes_of(path);
  std::memcpy(b.data() + offset, &v, 2);
  write_bytes(path, b);
}

// The stored checksum of an uncompressed file, moved by `delta`.
inline void shift_checksum(const std::string& path, int32_t delta) {
  std::string b = bytes_of(path);
  int32_t v;
  std::memcpy(&v, b.data() + 293 + 148, 4);
  v += delta;
  std::memcpy(b.data() + 293 + 148, &v, 4);
  write_bytes(path, b);
}

inline json uncompressed(json spec) {
  spec["header"]["compressed"] = false;
  return spec;
}

// Stores the file compressed, as its first open for work does.
inline void compress(const std::string& path) {
  const int h = kovra::store::open_container(path, kovra::store::STORAGE_COMPRESSED,
                                             kovra::store::OPEN_EXCLUSIVE | kovra::store::OPEN_KEEP_COUNT, 2, 800, 0,
                                             nullptr);
  ASSERT_GE(h, 0);
  kovra::store::close_container(h);
}

// A simple estimate without a print configuration or overhead record of its own.
inline json simple_spec(const std::string& name = "Wykopy") {
  json j = json::parse(R"({"prices": [{"kind": 1, "id": 1, "sub": 0, "unit": "r-g", "price": 20, "name": "Robotnicy"},
                                      {"kind": 2, "id": 7, "sub": 0, "unit": "m3", "price": 50, "name": "Piasek"}],
    "nodes": [{"type": 0, "level": 1, "number": "1", "description": "Roboty ziemne"},
              {"type": 1, "level": 2, "number": "1.1", "description": "Wykop", "quantity": 3}]})");
  j["general"] = {{"name", name}};
  return j;
}

// Answers the password question from a script, then refuses.
struct scripted_password : password_question {
  std::deque<std::string> answers;
  std::vector<std::string> asked_for;
  std::optional<std::string> ask(const std::string& path) override {
    asked_for.push_back(path);
    if (answers.empty()) return std::nullopt;
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }
};

class EstimateDocs : public ::testing::Test {
protected:
  void SetUp() override {
    kovra::store::reset_containers();
    kovra::store::reset_open_files();
    kovra::shell::reset_current_user();
    kovra::shell::set_message_sink(&sink);
    set_password_question(nullptr);
  }
  void TearDown() override {
    set_password_question(nullptr);
    kovra::shell::set_message_sink(nullptr);
    kovra::shell::reset_current_user();
  }
  std::vector<int> asked() const {
    std::vector<int> out;
    for (const auto& r : sink.requests()) out.push_back(r.number);
    return out;
  }
  std::string build(const json& spec, const std::string& name = "a.kvr") {
    const std::string path = dir / name;
    EXPECT_EQ(build_estimate_file(spec, path), "");
    return path;
  }

  folder dir;
  kovra::shell::recording_message_sink sink{kovra::shell::result_ok};
};

} // namespace estimate_doc_test
