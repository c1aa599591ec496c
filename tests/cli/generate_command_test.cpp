// kovra-cli generate: the sizes asked for, inputs drawn from the distinct ones, and the same
// options giving the same bytes.
#include "cli_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

using kovra::test::run_cli;
using nlohmann::json;
namespace fs = std::filesystem;

namespace {

using folder = kovra::test::cli_folder;

const auto& bytes_of = kovra::test::file_bytes;

json dump_of(const std::string& file) {
  auto r = run_cli({"dump", file});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  return r.exit_code == 0 ? json::parse(r.out) : json();
}

// Checks a generated simple document: `positions` positions of `inputs` entries each, one
// price per distinct input, every entry priced, no input twice in a position while there
// are enough of them, and (with draws enough) every input used somewhere.
void expect_sizes(const json& doc, std::size_t positions, std::size_t inputs, std::size_t distinct) {
  ASSERT_TRUE(doc.is_object());
  std::set<std::pair<int, long>> priced, used;
  for (const json& p : doc["prices"]) priced.insert({p["kind"].get<int>(), p["id"].get<long>()});
  EXPECT_EQ(doc["prices"].size(), distinct);
  EXPECT_EQ(priced.size(), distinct);
  std::size_t seen = 0;
  for (const json& n : doc["nodes"]) {
    if (n["type"] != 1) continue;
    ++seen;
    ASSERT_TRUE(n.contains("inputs"));
    const json& entries = n["inputs"]["variants"][0]["entries"];
    EXPECT_EQ(entries.size(), inputs);
    std::set<std::pair<int, long>> here;
    for (const json& e : entries) {
      const std::pair<int, long> key{e["kind"].get<int>(), e["id"].get<long>()};
      EXPECT_TRUE(priced.count(key)) << e.dump();
      here.insert(key);
      used.insert(key);
    }
    if (inputs <= distinct) {
      EXPECT_EQ(here.size(), inputs) << n["number"];
    }
  }
  EXPECT_EQ(seen, positions);
  if (positions * inputs >= 10 * distinct) {
    EXPECT_EQ(used.size(), distinct);
  }
}

} // namespace

TEST(GenerateCommand, SimpleEstimateHasTheAskedSizesAndTheSameSeedGivesTheSameBytes) {
  folder one, two;
  const std::vector<std::string> options = {"generate", "--kind", "simple", "--positions", "45",
                                            "--inputs-per-position", "6", "--distinct-inputs", "30", "--seed", "99"};
  auto with_output = [&](std::vector<std::string> args, const std::string& file) {
    args.push_back("-o");
    args.push_back(file);
    return run_cli(args);
  };
  auto r = with_output(options, one / "a.kvr");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  expect_sizes(dump_of(one / "a.kvr"), 45, 6, 30);

  ASSERT_EQ(with_output(options, two / "b.kvr").exit_code, 0);
  EXPECT_EQ(bytes_of(one / "a.kvr"), bytes_of(two / "b.kvr"));

  std::vector<std::string> other = options;
  other.back() = "100";
  ASSERT_EQ(with_output(other, two / "c.kvr").exit_code, 0);
  EXPECT_NE(bytes_of(two / "c.kvr"), bytes_of(one / "a.kvr"));

  // No inputs at all is a size too.
  ASSERT_EQ(run_cli({"generate", "--kind", "simple", "--positions", "3", "--inputs-per-position", "0",
                     "--distinct-inputs", "1", "-o", two / "d.kvr"})
                .exit_code,
            0);
  expect_sizes(dump_of(two / "d.kvr"), 3, 0, 1);
  // Nor are more inputs to a position than there are (they repeat then).
  ASSERT_EQ(run_cli({"generate", "--kind", "simple", "--positions", "4", "--inputs-per-position", "5",
                     "--distinct-inputs", "3", "-o", two / "e.kvr"})
                .exit_code,
            0);
  expect_sizes(dump_of(two / "e.kvr"), 4, 5, 3);
  // Every input of the smallest deck, in each position.
  ASSERT_EQ(run_cli({"generate", "--kind", "simple", "--positions", "6", "--inputs-per-position", "4",
                     "--distinct-inputs", "4", "-o", two / "f.kvr"})
                .exit_code,
            0);
  expect_sizes(dump_of(two / "f.kvr"), 6, 4, 4);
}

TEST(GenerateCommand, CompoundEstimateHasItsInternalAndExternalChapters) {
  folder one, two;
  for (const folder* f : {&one, &two}) {
    auto r = run_cli({"generate", "--kind", "compound", "--chapters", "3", "--external-chapters", "2", "--positions",
                      "8", "--inputs-per-position", "3", "--distinct-inputs", "12", "--seed", "4", "-o", (*f) / "z.kvr"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
  }
  json d = dump_of(one / "z.kvr");
  ASSERT_TRUE(d.is_object());
  EXPECT_EQ(d["header"]["kind"], 2);
  ASSERT_EQ(d["chapters"].size(), 5u);
  std::set<std::string> numbers;
  int internal = 0, external = 0;
  for (const json& c : d["chapters"]) {
    SCOPED_TRACE(c["number"].get<std::string>());
    numbers.insert(c["number"].get<std::string>());
    ASSERT_TRUE(c.contains("document"));
    expect_sizes(c["document"], 8, 3, 12);
    if (c["storage_name"] == "internal") {
      ++internal;
      continue;
    }
    ++external;
    const std::string path = c["path"];
    ASSERT_TRUE(fs::exists(one / path));
    EXPECT_EQ(bytes_of(one / path), bytes_of(two / path));
  }
  EXPECT_EQ(internal, 3);
  EXPECT_EQ(external, 2);
  EXPECT_EQ(numbers.size(), 5u);
  // Chapters are generated from their own seeds.
  EXPECT_NE(d["chapters"][0]["document"]["nodes"], d["chapters"][1]["document"]["nodes"]);
  EXPECT_EQ(bytes_of(one / "z.kvr"), bytes_of(two / "z.kvr"));
  EXPECT_EQ(one.files(), 3u);
}

TEST(GenerateCommand, BadOptionsAreRefusedAndWriteNothing) {
  folder dir;
  const std::string out = dir / "x.kvr";
  const std::vector<std::vector<std::string>> bad = {
      {"generate", "-o", out},
      {"generate", "--kind", "simple"},
      {"generate", "--kind", "big", "-o", out},
      {"generate", "--kind", "simple", "--positions", "-5", "-o", out},
      {"generate", "--kind", "simple", "--positions", "12x", "-o", out},
      {"generate", "--kind", "simple", "--positions", "2000000", "-o", out},
      {"generate", "--kind", "simple", "--inputs-per-position", "256", "-o", out},
      {"generate", "--kind", "simple", "--distinct-inputs", "0", "-o", out},
      {"generate", "--kind", "simple", "--seed", "4294967296", "-o", out},
      {"generate", "--kind", "simple", "--chapters", "2", "-o", out},
      {"generate", "--kind", "compound", "--pages", "2", "-o", out},
      {"generate", "--kind", "simple", "-o"},
  };
  for (const auto& args : bad) {
    auto r = run_cli(args);
    EXPECT_EQ(r.exit_code, 64) << args.back();
    EXPECT_NE(r.err, "") << args.back();
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(dir.files(), 0u);
  auto help = run_cli({"--help"});
  EXPECT_NE(help.out.find("generate --kind simple|compound"), std::string::npos);
}
