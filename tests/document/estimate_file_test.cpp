// Estimate files written from the JSON form and read back: the same document comes out,
// and reading leaves the file exactly as it was.
#include "document/estimate_file.h"
#include "document/estimate_generator.h"
#include "store/container.h"
#include "store/integrity_check.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace kovra::document;
using nlohmann::json;

namespace {

class folder {
public:
  folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovra_docfile_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern + "/" : std::string();
  }
  ~folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return path_ + name; }

private:
  std::string path_;
};

// Positions are the store's own and differ between memory and file.
void drop_positions(json& j) {
  if (j.is_object()) {
    j.erase("pos");
    for (auto& [k, v] : j.items()) drop_positions(v);
  } else if (j.is_array()) {
    for (auto& v : j) drop_positions(v);
  }
}

std::string bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

json small_estimate() {
  return json::parse(R"({
    "header": {"description": "Próba zapisu"},
    "general": {"name": "Garaż", "calc_method": 1},
    "additions": [{"name": "Dodatek", "amount": 12.5}],
    "note": "Uwagi ogólne",
    "prices": [
      {"kind": 1, "id": 1, "sub": 0, "unit": "r-g", "price": 25.5, "name": "Robotnicy"},
      {"kind": 2, "id": 1900201, "sub": 0, "unit": "t", "price": 410, "name": "Cement"}],
    "nodes": [
      {"type": 0, "level": 1, "number": "1", "description": "Fundamenty"},
      {"type": 1, "level": 2, "number": "1.1", "description": "Wykop", "quantity": 12.75,
       "inputs": {"current": 0, "variants": [{"name": "", "entries": [
         {"kind": 1, "id": 1, "sub": 0, "norm": 2.5}, {"kind": 2, "id": 1900201, "sub": 0, "norm": 0.1}]}]},
       "note": "ręcznie"}]
  })");
}

} // namespace

TEST(EstimateFile, JsonToFileAndBackGivesTheSameDocument) {
  kovra::store::reset_containers();
  folder dir;
  json compound = json::parse(R"({"general": {"name": "Złożony"}, "chapters": [
      {"number": "1", "storage_name": "internal", "quantity": 2},
      {"number": "2", "storage_name": "external", "path": "ext.kvr", "quantity": 1}]})");
  compound["chapters"][0]["document"] = small_estimate();
  compound["chapters"][1]["document"] = small_estimate();
  for (const json& spec : {small_estimate(), compound}) {
    auto built = estimate_from_json(spec);
    ASSERT_TRUE(built.image) << built.error;
    json expected = estimate_to_json(*built.image);
    const std::string path = dir / "a.kvr";
    ASSERT_EQ(build_estimate_file(spec, path), "");
    EXPECT_TRUE(kovra::store::check_container(path).ok());
    json dumped;
    ASSERT_EQ(dump_estimate_file(path, dumped), "");
    drop_positions(expected);
    drop_positions(dumped);
    EXPECT_EQ(dumped, expected) << dumped.dump(1);

    // The dump builds the same file again.
    json again;
    ASSERT_EQ(build_estimate_file(dumped, dir / "b.kvr"), "");
    ASSERT_EQ(dump_estimate_file(dir / "b.kvr", again), "");
    drop_positions(again);
    EXPECT_EQ(again, dumped);
  }
}

TEST(EstimateFile, ReadingChangesNothingOnDisk) {
  kovra::store::reset_containers();
  folder dir;
  const std::string path = dir / "g.kvr";
  generator_options o;
  o.positions = 200;
  o.distinct_inputs = 50;
  json spec = estimate_to_json(generate_simple_estimate(o));
  ASSERT_EQ(build_estimate_file(spec, path), "");
  const std::string before = bytes_of(path);
  struct stat st_before {};
  ASSERT_EQ(::stat(path.c_str(), &st_before), 0);
  json dumped;
  ASSERT_EQ(dump_estimate_file(path, dumped), "");
  EXPECT_EQ(dumped["nodes"].size(), spec["nodes"].size());
  struct stat st_after {};
  ASSERT_EQ(::stat(path.c_str(), &st_after), 0);
  EXPECT_EQ(bytes_of(path), before);
  EXPECT_EQ(st_after.st_mtim.tv_sec, st_before.st_mtim.tv_sec);
  EXPECT_EQ(st_after.st_mtim.tv_nsec, st_before.st_mtim.tv_nsec);
  EXPECT_FALSE(std::filesystem::exists(path.substr(0, path.size() - 1) + "~"));
}

TEST(EstimateFile, UnreadableInputsAreRefusedWithATextNotACrash) {
  kovra::store::reset_containers();
  folder dir;
  json out;
  EXPECT_NE(dump_estimate_file(dir / "missing.kvr", out), "");
  std::ofstream(dir / "junk.kvr") << "not a container at all";
  EXPECT_NE(dump_estimate_file(dir / "junk.kvr", out), "");
  EXPECT_NE(build_estimate_file(json::array(), dir / "x.kvr"), "");
  EXPECT_NE(build_estimate_file(json::parse(R"({"nodes": [{"level": 1}]})"), dir / "y.kvr"), "");
}
