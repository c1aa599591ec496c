#include "cli/cli_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using kovra::test::run_cli;

namespace {

// A container written by the library's own seed writer is not available here, so the test
// builds one through kovra-cli's neighbour: a minimal set laid out by hand.
std::string minimal_container(const std::filesystem::path& folder) {
  std::string bytes(293 + 158 + 68 + 10, '\0');
  bytes[0] = 'V';
  bytes[1] = 'L';
  bytes[2] = 2;
  bytes[3] = char(0x20);
  bytes[4] = 3;
  bytes[8] = 1;
  std::string label = "KOSZTORYS v.8.01";
  bytes.replace(9, label.size(), label);
  std::string creator = "Vorlanda Kovra";
  bytes.replace(28, creator.size(), creator);
  std::string description = "Dom jednorodzinny";
  bytes.replace(69, description.size(), description);
  for (int i = 0; i < 20; ++i) std::memset(&bytes[293 + 4 * i], 0xFF, 4);
  bytes[293 + 122] = 3;
  bytes[293 + 124] = 10;
  bytes[293 + 126] = char(300 & 0xFF);
  bytes[293 + 127] = char(300 >> 8);
  for (int i = 0; i < 5; ++i) std::memset(&bytes[293 + 128 + 4 * i], 0xFF, 4);
  uint32_t sum = 1;
  for (size_t i = 293; i < bytes.size(); ++i) sum += uint8_t(bytes[i]);
  for (int i = 0; i < 4; ++i) bytes[293 + 148 + i] = char((sum >> (8 * i)) & 0xFF);
  const auto path = folder / "mini.kvr";
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

struct cli_folder {
  cli_folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovra-cli-XXXXXX").string();
    if (mkdtemp(pattern.data())) path = pattern;
  }
  ~cli_folder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

} // namespace

TEST(StoreCommands, InfoPrintsEveryHeaderField) {
  cli_folder dir;
  const std::string file = minimal_container(dir.path);
  auto r = run_cli({"info", file});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["magic"], "VL");
  EXPECT_EQ(j["file_type"], 2);
  EXPECT_EQ(j["version"], 800);
  EXPECT_EQ(j["revision"], 0);
  EXPECT_EQ(j["open_count"], 0);
  EXPECT_EQ(j["kind"], 1);
  EXPECT_EQ(j["compressed"], false);
  EXPECT_EQ(j["label"], "KOSZTORYS v.8.01");
  EXPECT_EQ(j["creator"], "Vorlanda Kovra");
  EXPECT_EQ(j["description"], "Dom jednorodzinny");

  std::ofstream(dir.path / "junk.kvr") << "not a container at all";
  auto bad = run_cli({"info", (dir.path / "junk.kvr").string()});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_TRUE(bad.out.empty());
  EXPECT_NE(bad.err.find("junk.kvr"), std::string::npos);
  EXPECT_EQ(run_cli({"info"}).exit_code, 64);
}

TEST(StoreCommands, VerifyReportsSoundAndDamagedFiles) {
  cli_folder dir;
  const std::string file = minimal_container(dir.path);
  auto r = run_cli({"verify", file, "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.out << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["ok"], true);
  EXPECT_EQ(j["checksum"], "ok");
  EXPECT_EQ(j["kind"], 1);
  EXPECT_EQ(j["blocks"], 0);
  EXPECT_EQ(j["sets"][0]["set_no"], 0);
  EXPECT_EQ(j["sets"][0]["chains"].size(), 3u);
  EXPECT_TRUE(j["problems"].empty());
  EXPECT_EQ(run_cli({"verify", file}).out, "ok\n");

  // One byte more in the user header: the checksum is off by one.
  std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(293 + 158 + 68);
  f.put(1);
  f.close();
  auto damaged = run_cli({"verify", file, "--json"});
  EXPECT_EQ(damaged.exit_code, 1);
  const auto d = nlohmann::json::parse(damaged.out);
  EXPECT_EQ(d["ok"], false);
  EXPECT_EQ(d["checksum"], "off_by_one");
  EXPECT_FALSE(d["problems"].empty());

  std::ofstream(dir.path / "junk.kvr") << "junk";
  EXPECT_EQ(run_cli({"verify", (dir.path / "junk.kvr").string()}).exit_code, 2);
  EXPECT_EQ(run_cli({"verify"}).exit_code, 64);
}
