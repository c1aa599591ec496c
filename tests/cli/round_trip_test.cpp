// Estimate files through kovra-cli: a file's dump, built again, dumps the same (external
// chapters and their files included), and every value handed to build is the value dump
// reads back.
#include "calc/record_model.h"
#include "cli_run.h"
#include "document/estimate_doc.h"
#include "document/estimate_generator.h"
#include "document/estimate_json.h"
#include "store/container.h"
#include "store/open_files.h"
#include "store/record_set.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

using kovra::test::run_cli;
using nlohmann::json;
namespace fs = std::filesystem;

namespace {

using folder = kovra::test::cli_folder;

// Record positions are the store's own and may differ between two files of one document;
// serial numbers are given in the order records are written, which a build need not keep.
json without_positions(json j, bool serials_too = false) {
  if (j.is_object()) {
    j.erase("pos");
    if (serials_too) j.erase("serial");
    for (auto& [k, v] : j.items()) v = without_positions(v, serials_too);
  } else if (j.is_array()) {
    for (auto& v : j) v = without_positions(v, serials_too);
  }
  return j;
}

// The first few differences between two documents, as JSON patch operations with the
// value `want` holds there.
std::string differences(const json& got, const json& want) {
  json patch = json::diff(got, want);
  std::string out;
  for (std::size_t i = 0; i < patch.size() && i < 8; ++i) out += patch[i].dump().substr(0, 300) + "\n";
  if (patch.size() > 8) out += "... " + std::to_string(patch.size()) + " in all\n";
  return out;
}

#define EXPECT_SAME_DOCUMENT(got, want, ...)                                                             \
  do {                                                                                                   \
    const json got_ = without_positions(got, ##__VA_ARGS__), want_ = without_positions(want, ##__VA_ARGS__); \
    EXPECT_TRUE(got_ == want_) << differences(got_, want_);                                              \
  } while (0)

void write_json(const std::string& path, const json& j) { std::ofstream(path, std::ios::binary) << j.dump(1); }

json dump_of(const std::string& file) {
  auto r = run_cli({"dump", file});
  EXPECT_EQ(r.exit_code, 0) << file << ": " << r.err;
  EXPECT_EQ(r.err, "");
  return r.exit_code == 0 ? json::parse(r.out) : json();
}

bool build(const std::string& spec, const std::string& file) {
  auto r = run_cli({"build", spec, "-o", file});
  EXPECT_EQ(r.exit_code, 0) << spec << ": " << r.err;
  return r.exit_code == 0;
}

// Every value of `given` is in `read` at the same place (lists of the same length);
// `read` may hold more (defaults, derived fields). Numbers compare by value.
void expect_given_values_read(const json& given, const json& read, const std::string& where = "") {
  if (given.is_object()) {
    ASSERT_TRUE(read.is_object()) << where;
    for (auto& [k, v] : given.items()) {
      if (k == "pos") continue;
      ASSERT_TRUE(read.contains(k)) << where << "." << k << " is not read back";
      expect_given_values_read(v, read[k], where + "." + k);
    }
  } else if (given.is_array()) {
    ASSERT_TRUE(read.is_array()) << where;
    // An overhead record always holds all its rows.
    if (where.ends_with(".rows")) ASSERT_GE(read.size(), given.size()) << where;
    else ASSERT_EQ(read.size(), given.size()) << where;
    for (std::size_t i = 0; i < given.size(); ++i)
      expect_given_values_read(given[i], read[i], where + "[" + std::to_string(i) + "]");
  } else if (given.is_number() && read.is_number()) {
    EXPECT_EQ(given.get<double>(), read.get<double>()) << where;
  } else {
    EXPECT_EQ(given, read) << where;
  }
}

// The external chapters of a compound dump: their file, as the record names it.
std::vector<std::pair<std::string, json>> external_chapters(const json& dump) {
  std::vector<std::pair<std::string, json>> out;
  for (const json& c : dump.value("chapters", json::array()))
    if (c.value("storage_name", "") == "external") out.emplace_back(c.value("path", ""), c.value("document", json()));
  return out;
}

// build SPEC → dump → build → dump in two folders. Both dumps must be the same, and each
// external chapter's file, dumped on its own, must be the document its chapter shows.
// Gives the first dump.
json round_trip(const json& spec, const std::string& name) {
  folder first, second;
  write_json(first / "spec.json", spec);
  if (!build(first / "spec.json", first / name)) return json();
  json once = dump_of(first / name);
  write_json(second / "spec.json", once);
  if (!build(second / "spec.json", second / name)) return json();
  json twice = dump_of(second / name);
  EXPECT_SAME_DOCUMENT(twice, once);

  for (const auto& [path, document] : external_chapters(once)) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(document.is_null()) << "the external chapter's document is not read";
    for (const folder* f : {&first, &second}) {
      const std::string file = (*f) / path;
      EXPECT_TRUE(fs::exists(file));
      if (!fs::exists(file)) continue;
      json alone = dump_of(file);
      EXPECT_EQ(alone["header"]["kind"], 1);
      alone.erase("header");
      EXPECT_SAME_DOCUMENT(alone, document);
    }
  }
  return once;
}

json example(const std::string& name) {
  std::ifstream in(std::string(KOVRA_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  return json::parse(std::string(std::istreambuf_iterator<char>(in), {}));
}

} // namespace

TEST(RoundTrip, DemoEstimateFilesDumpAndBuildBackToTheSameDocument) {
  {
    SCOPED_TRACE("demo_house");
    const json source = example("demo_house.json");
    json once = round_trip(source, "demo_house.kvr");
    ASSERT_TRUE(once.is_object());
    EXPECT_EQ(once["nodes"].size(), source["nodes"].size());
    expect_given_values_read(source, once);
  }
  {
    SCOPED_TRACE("demo_compound");
    const json source = example("demo_compound.json");
    json once = round_trip(source, "demo_compound.kvr");
    ASSERT_TRUE(once.is_object());
    ASSERT_EQ(external_chapters(once).size(), 1u);
    EXPECT_EQ(external_chapters(once)[0].first, "demo_garage.kvr");
    expect_given_values_read(source, once);
  }
}

TEST(RoundTrip, GeneratedEstimatesDumpAndBuildBackToTheSameDocument) {
  using namespace kovra::document;
  generator_options o;
  o.seed = 20261210;
  o.positions = 200;
  o.inputs_per_position = 8;
  o.distinct_inputs = 120;
  o.positions_per_element = 7;
  o.elements_per_group = 4;
  {
    SCOPED_TRACE("simple");
    const json generated = estimate_to_json(generate_simple_estimate(o));
    json once = round_trip(generated, "simple.kvr");
    ASSERT_TRUE(once.is_object());
    // The file holds exactly the records the generator made.
    EXPECT_SAME_DOCUMENT(once, generated, true);
  }
  {
    SCOPED_TRACE("compound");
    o.positions = 40;
    const json generated = estimate_to_json(generate_compound_estimate(77, 3, o, 2));
    ASSERT_EQ(generated["chapters"].size(), 5u);
    json once = round_trip(generated, "compound.kvr");
    ASSERT_TRUE(once.is_object());
    EXPECT_EQ(external_chapters(once).size(), 2u);
    EXPECT_SAME_DOCUMENT(once, generated, true);
  }
}

// One value or more for every kind of record, none of them a default, so a field that is
// not written, written to the wrong place or read from the wrong place shows.
TEST(RoundTrip, EveryValueGivenToBuildIsReadBackByDump) {
  const json chapter_document = json::parse(R"({
    "general": {"name": "Rozdział próbny", "estimate_date": "261210", "preparer_text": "Jan Kowalski",
      "client_text": "Gmina Nadarzyn", "object_text": "Szkoła", "site_text": "ul. Szkolna 1",
      "labour_rate": 38.5, "calc_method": 1, "overheads_per_position": 1, "profit_per_component": 1,
      "purchase_cost_percent": 4.5, "kz_rate_simplified": 3.25, "kz_rate_other": 6.5, "currency": 1,
      "estimate_unit": "kpl", "cpv_level": 3, "coef_text_r": "zimowy", "coef_r": 1.25, "coef_m": 0.75,
      "coef_s": 1.5, "hidden_columns_r": 5, "multiplicity_in_unit": 1, "individual_code": "IK-01",
      "prices_with_kz": 1, "date_state": 2},
    "additions": [{"name": "Dodatek zimowy", "amount": 1250.75}, {"name": "Zaplecze", "amount": 300}],
    "authors": [{"name": "Anna Nowak", "function": "sprawdzający"}],
    "description_text": "Opis rozdziału",
    "note": "Uwagi do rozdziału",
    "cpv": "45000000-7\u0001Roboty budowlane",
    "specification": "ST-00\u0001Wymagania ogólne",
    "standard_overheads": {"rows": [{"name": "Koszty zakupu", "rates": [4.5, 0, 4.5, -1, -1, -1, -1]},
                                    {"name": "Koszty pośrednie", "rates": [68.5, 0, 22.25, -1, -1, -1, -1]},
                                    {"name": "Zysk", "rates": [11.5, 0, 11.5, 11.5, 0, 11.5, -1]}],
                           "kp_plus_cz": 1, "kp_plus_ws": 0, "z_plus_cz": 1, "z_plus_ws": 1, "head": 3, "tail": 2.5},
    "investor_overheads": {"rows": [{"name": "Narzut inwestora", "rates": [7.5, 1, 2, 3, 4, 5, 6]}],
                           "kp_plus_cz": 0, "kp_plus_ws": 1, "z_plus_cz": 0, "z_plus_ws": 0, "head": 1, "tail": 0.5},
    "prices": [
      {"kind": 1, "id": 149, "sub": 0, "unit": "r-g", "price": 38.5, "name": "Robotnicy gr. II"},
      {"kind": 2, "id": 1900201, "sub": 3, "unit": "t", "price": 412.3, "base_price": 390.1, "kz_mode": 1,
       "kz_value": 2.75, "base_material": 1, "mp_mode": 2, "name": "Cement portlandzki"},
      {"kind": 3, "id": 3160301, "sub": 0, "unit": "m-g", "price": 120, "name": "Koparka 0,25 m3"}],
    "nodes": [
      {"type": 0, "level": 1, "number": "1", "description": "Roboty ziemne", "coef_text_r": "grunt kat. III",
       "coef_r": 1.125, "divisor": 2.5, "individual_code": "G-1", "flags": 4},
      {"type": 9, "level": 2, "number": "1.1", "description": "Wykopy", "merged": 1, "merged_precision_code": 2,
       "merged_quantity": 14.5, "merged_unit_price": 77.25},
      {"type": 1, "level": 3, "number": "1.1.1", "unit": "m3", "description": "Wykop koparką",
       "catalogue_name": "KNR", "catalogue_number": 201, "further_number": 2, "table_number": 212,
       "column_number": 3, "quantity": 123.45, "multiplicity": 2.5, "precision_code": 2, "coef_r": 1.2,
       "coef_m": 0.9, "coef_s": 1.1, "coef_text_s": "teren zabudowany", "ref_style": 1, "basis_text": "KNR 2-01 0212-03",
       "individual_code": "P-7", "cpv_level": 2, "net": 1234.5, "gross": 1518.44,
       "inputs": {"current": 1, "variants": [
         {"name": "Wariant ręczny", "short_name": "ręczny", "entries": [
           {"kind": 1, "id": 149, "sub": 0, "norm": 2.75, "coef": 1.5, "excluded": 1, "mp_mode": 0, "blocked": 0}]},
         {"name": "Wariant maszynowy", "short_name": "maszyn", "entries": [
           {"kind": 1, "id": 149, "sub": 0, "norm": 0.125, "coef": 1, "excluded": 0, "mp_mode": 1, "blocked": 1},
           {"kind": 2, "id": 1900201, "sub": 3, "norm": 0.031, "coef": 0.5, "excluded": 0, "mp_mode": 2, "blocked": 0},
           {"kind": 3, "id": 3160301, "sub": 0, "norm": 0.0415, "coef": 2, "excluded": 0, "mp_mode": 0, "blocked": 0}]}]},
       "survey": [{"description": "Wykop pod ławy", "expression": "12*0,8*1,5", "value": 14.4, "flags": 0},
                  {"description": "Odliczenie", "expression": "-2,5", "value": -2.5, "flags": 1}],
       "note": "Grunt nawodniony", "cpv": "45112000-5\u0001Roboty ziemne", "specification": "ST-01"},
      {"type": 2, "level": 3, "number": "1.1.2", "unit": "m2", "description": "Pozycja uproszczona",
       "quantity": 40, "unit_price_r": 12.5, "unit_price_m": 30.25, "unit_price_s": 4.75, "unit_price_all_in": 60,
       "inputs": {"current": 0, "variants": [{"name": "", "short_name": "", "entries": [
         {"kind": 2, "id": 1900201, "sub": 3, "norm": 1.25}]}]}},
      {"type": 3, "level": 2, "number": "1.2", "description": "Transport sprzętu", "one_off_amount": 2,
       "one_off_count": 3, "one_off_distance": 12.5, "line0_value": 410, "line0_price": 205, "line0_quantity": 2,
       "line0_norm": 1.5, "line3_price": 7.25, "byte_248": 1, "individual_code": "J-1"},
      {"type": 6, "level": 2, "number": "1.3", "unit": "m2", "description": "Rusztowanie",
       "catalogue_name": "KNR", "catalogue_number": 202, "table_number": 1601, "column_number": 1,
       "scaffold_input_id": 149, "scaffold_input_sub": 0, "scaffold_labour_hours": 0.85, "scaffold_w": 2.5,
       "scaffold_s": 3, "scaffold_p": 125.5, "scaffold_sets": 2, "scaffolds_per_set": 1.5, "scaffold_k": 4,
       "scaffold_count_code": 1, "basis_text": "KNR 2-02 1601-01", "unit2": "m2*mies", "individual_code": "R-1",
       "links": [2, 3]}]
  })");

  json spec = json::parse(R"({
    "header": {"description": "Kosztorys złożony - próba pól", "label": "Próba", "creator": "Kovra"},
    "general": {"name": "Zespół szkół", "estimate_date": "261210", "calc_method": 0, "currency": 1},
    "additions": [{"name": "Nadzór", "amount": 999.5}],
    "prices": [{"kind": 2, "id": 1900201, "sub": 3, "unit": "t", "value": 5089.5, "quantity": 12.25,
                "excluded_value": 10.5, "price_low": 390.5, "price_high": 412.3, "name": "Cement portlandzki"}],
    "chapters": [
      {"number": "I", "storage_name": "internal", "quantity": 2.5, "precision_code": 2, "value_324": 7,
       "value_326": 1},
      {"number": "II", "storage_name": "external", "path": "rozdzial_2.kvr", "quantity": 1.75,
       "precision_code": 4}]
  })");
  spec["chapters"][0]["document"] = chapter_document;
  spec["chapters"][1]["document"] = chapter_document;
  spec["chapters"][1]["document"]["general"]["name"] = "Rozdział zewnętrzny";

  json once = round_trip(spec, "pola.kvr");
  ASSERT_TRUE(once.is_object());
  expect_given_values_read(spec, once);

  // What build derives rather than copies.
  for (const json& c : once["chapters"]) {
    const json& nodes = c["document"]["nodes"];
    ASSERT_EQ(nodes.size(), 6u);
    EXPECT_EQ(nodes[2]["variant_count"], 2);
    EXPECT_EQ(nodes[2]["variants_named"], 1);
    EXPECT_EQ(nodes[2]["current_variant"], 1);
    EXPECT_EQ(nodes[3]["variants_named"], 0);
    EXPECT_EQ(c["document"]["overheads"], c["document"]["standard_overheads"]);
  }
  EXPECT_EQ(once["chapters"][0]["storage"], 2);
  EXPECT_EQ(once["header"]["kind"], 2);
}

// A build that fails leaves the files at its places as they were, and none of its own.
TEST(RoundTrip, AFailedBuildLeavesTheFilesThatWereThere) {
  folder dir;
  const json house = example("demo_house.json");
  write_json(dir / "house.json", house);
  ASSERT_TRUE(build(dir / "house.json", dir / "est.kvr"));
  ASSERT_TRUE(build(dir / "house.json", dir / "ext.kvr"));
  auto bytes = [](const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string before = bytes(dir / "est.kvr");
  auto files = [&] {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir / "")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  const auto names_before = files();

  json bad = house;
  bad["nodes"][3]["inputs"]["variants"] = "none";
  write_json(dir / "bad.json", bad);
  auto r = run_cli({"build", dir / "bad.json", "-o", dir / "est.kvr"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("nodes[3].inputs"), std::string::npos) << r.err;

  // A compound whose external chapter cannot be built: neither file is touched.
  json compound = {{"general", {{"name", "Złożony"}}},
                   {"chapters", {{{"number", "1"}, {"storage_name", "internal"}, {"document", house}},
                                 {{"number", "2"}, {"storage_name", "external"}, {"path", "ext.kvr"}, {"document", bad}}}}};
  write_json(dir / "compound.json", compound);
  r = run_cli({"build", dir / "compound.json", "-o", dir / "est.kvr"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("chapters[1].document.nodes[3].inputs"), std::string::npos) << r.err;

  // An external chapter may not be the compound file itself, nor share a file with a
  // chapter of another document.
  compound["chapters"][1]["document"] = house;
  compound["chapters"][1]["path"] = "./est.kvr";
  write_json(dir / "compound.json", compound);
  r = run_cli({"build", dir / "compound.json", "-o", dir / "est.kvr"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("chapters[1].path"), std::string::npos) << r.err;

  compound["chapters"][1]["path"] = "ext.kvr";
  compound["chapters"].push_back({{"number", "3"}, {"storage_name", "external"}, {"path", "ext.kvr"}, {"document", example("demo_compound.json")["chapters"][0]["document"]}});
  write_json(dir / "compound.json", compound);
  r = run_cli({"build", dir / "compound.json", "-o", dir / "est.kvr"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("chapters[2].path"), std::string::npos) << r.err;

  EXPECT_EQ(bytes(dir / "est.kvr"), before);
  EXPECT_EQ(bytes(dir / "ext.kvr"), before);
  std::vector<std::string> expected = names_before;
  for (const char* n : {"bad.json", "compound.json"}) expected.push_back(n);
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(files(), expected);

  // Two chapters showing the same document may share its file.
  compound["chapters"][2]["document"] = house;
  write_json(dir / "compound.json", compound);
  ASSERT_TRUE(build(dir / "compound.json", dir / "both.kvr"));
  json d = dump_of(dir / "both.kvr");
  ASSERT_EQ(d["chapters"].size(), 3u);
  EXPECT_SAME_DOCUMENT(d["chapters"][1]["document"], d["chapters"][2]["document"]);
  EXPECT_EQ(d["chapters"][2]["document"]["nodes"].size(), house["nodes"].size());
}

namespace {
// What a window does to a file it opens for work: the run's values written into the
// records, then the file saved.
bool open_recalculate_and_save(const std::string& path) {
  kovra::document::estimate_doc doc;
  if (!kovra::document::open_simple_estimate(doc, path)) return false;
  kovra::calc::estimate_model model;
  kovra::calc::recalc_result result;
  std::string error;
  bool ok = kovra::calc::recalculate_opened(*doc.records, doc.header, true, model, result, error);
  ok = ok && kovra::store::flush_record_set(doc.records->set()) &&
       kovra::store::flush_container(kovra::store::set_handle(doc.records->set()));
  return kovra::document::close_estimate(doc) && ok;
}
} // namespace

// Every kind of file the program writes (the demo's builds, generated estimates, a file a
// window recalculated and saved, with six-decimal quantities and signed precision codes)
// builds again from its dump, and the new file dumps the same.
TEST(RoundTrip, EveryFileTheProgramWritesBuildsAgainFromItsDump) {
  folder made;
  std::vector<std::string> files;
  for (const char* name : {"demo_house", "demo_compound"}) {
    const std::string file = made / (std::string(name) + ".kvr");
    ASSERT_TRUE(build(std::string(KOVRA_SOURCE_DIR) + "/examples/" + name + ".json", file));
    files.push_back(file);
  }
  ASSERT_EQ(run_cli({"generate", "--kind", "simple", "--positions", "30", "--inputs-per-position", "4",
                     "--distinct-inputs", "20", "-o", made / "generated.kvr"}).exit_code, 0);
  ASSERT_EQ(run_cli({"generate", "--kind", "compound", "--chapters", "2", "--external-chapters", "1", "--positions",
                     "6", "--inputs-per-position", "3", "--distinct-inputs", "9", "-o", made / "generated_z.kvr"})
                .exit_code,
            0);
  files.push_back(made / "generated.kvr");
  files.push_back(made / "generated_z.kvr");

  const json fine = json::parse(R"({"general": {"name": "Dokładnie", "calc_method": 0},
    "prices": [{"kind": 0, "id": 1, "unit": "r-g", "price": 31.5, "name": "Robotnicy"}],
    "nodes": [{"type": 0, "level": 1, "number": "1", "merged": 1, "merged_precision_code": -2, "merged_quantity": 2.5},
              {"type": 1, "level": 2, "number": "1.1", "quantity": 1.234567, "precision_code": -3,
               "inputs": {"variants": [{"entries": [{"kind": 0, "id": 1, "norm": 1.5}]}]}}]})");
  write_json(made / "fine.json", fine);
  ASSERT_TRUE(build(made / "fine.json", made / "fine.kvr"));
  kovra::store::reset_open_files();
  ASSERT_TRUE(open_recalculate_and_save(made / "fine.kvr"));
  files.push_back(made / "fine.kvr");

  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    folder again;
    const json once = dump_of(file);
    ASSERT_TRUE(once.is_object());
    write_json(again / "dump.json", once);
    ASSERT_TRUE(build(again / "dump.json", again / "again.kvr"));
    EXPECT_SAME_DOCUMENT(dump_of(again / "again.kvr"), once);
  }
  // The window's run wrote its values, and the codes stayed signed.
  const json fine_dump = dump_of(made / "fine.kvr");
  EXPECT_EQ(fine_dump["nodes"][1]["precision_code"], -3);
  EXPECT_EQ(fine_dump["nodes"][0]["merged_precision_code"], -2);
  // 1.5 × 1.234567 = 1.85185 r-g (five decimals), × 31.50 = 58.333275 → 58.33.
  EXPECT_DOUBLE_EQ(fine_dump["nodes"][1]["net"].get<double>(), 58.33);
}
