// The title page merged into the word-processor templates shipped in data/: placeholders split
// over runs, the fields of an estimate, the zip written back (an .odt's "mimetype" first and
// stored) and the failures a user can meet.
#include "calc/compound_recalc.h"
#include "calc/estimate_json.h"
#include "calc/number_text.h"
#include "document/estimate_file.h"
#include "printouts/print_document.h"
#include "printouts/print_options.h"
#include "printouts/title_merge.h"
#include "shell/temp_folder.h"

#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kovra::printouts {
namespace {

namespace fs = std::filesystem;

std::string data_folder() { return std::string(KOVRA_SOURCE_DIR) + "/data"; }

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct zip_entry {
  std::string name;
  std::string data;
  uint16_t method;
};

std::vector<zip_entry> read_zip(const std::string& path) {
  std::vector<zip_entry> out;
  int code = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (!z) return out;
  for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
    zip_stat_t st;
    zip_stat_index(z, i, 0, &st);
    zip_entry e{st.name, std::string(st.size, '\0'), st.comp_method};
    zip_file_t* f = zip_fopen_index(z, i, 0);
    zip_fread(f, e.data.data(), st.size);
    zip_fclose(f);
    out.push_back(std::move(e));
  }
  zip_discard(z);
  return out;
}

std::string entry_text(const std::vector<zip_entry>& entries, const std::string& name) {
  for (const auto& e : entries)
    if (e.name == name) return e.data;
  return {};
}

TEST(TitleMerge, PlaceholdersSplitOverRunsAndSpansAreFilled) {
  const title_fields f{{"Inwestor", "Kowalski & Syn"}, {"Autorzy", "Jan - kosztorysant\nEwa"}};
  // A word processor split "{{Inwestor}}" over three runs with a proofing mark between.
  const std::string docx =
      "<w:p><w:r><w:t>Inwestor: {{Inw</w:t></w:r><w:proofErr w:type=\"spellStart\"/>"
      "<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">es</w:t></w:r><w:r><w:t>tor}} ok</w:t></w:r></w:p>"
      "<w:p><w:r><w:t>{{Nieznane}}{{Autorzy}}</w:t></w:r></w:p><w:p><w:r><w:t>{{ niedomkniete</w:t></w:r></w:p>";
  EXPECT_EQ(fill_placeholders(docx, f, template_kind::docx),
            "<w:p><w:r><w:t xml:space=\"preserve\">Inwestor: Kowalski &amp; Syn</w:t></w:r>"
            "<w:proofErr w:type=\"spellStart\"/><w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\"></w:t></w:r>"
            "<w:r><w:t xml:space=\"preserve\"> ok</w:t></w:r></w:p>"
            "<w:p><w:r><w:t xml:space=\"preserve\">Jan - kosztorysant</w:t><w:br/><w:t xml:space=\"preserve\">Ewa"
            "</w:t></w:r></w:p><w:p><w:r><w:t>{{ niedomkniete</w:t></w:r></w:p>");
  // A placeholder never joins two paragraphs.
  const std::string odt =
      "<text:p>{{Inwe<text:span text:style-name=\"T1\">stor}}</text:span></text:p>"
      "<text:p>{{Autorzy</text:p><text:p>}}</text:p><text:p>{{Autorzy}}</text:p>";
  EXPECT_EQ(fill_placeholders(odt, f, template_kind::odt),
            "<text:p>Kowalski &amp; Syn<text:span text:style-name=\"T1\"></text:span></text:p>"
            "<text:p>{{Autorzy</text:p><text:p>}}</text:p><text:p>Jan - kosztorysant<text:line-break/>Ewa</text:p>");
}

nlohmann::json valued_estimate() {
  using nlohmann::json;
  json entries = json::array();
  entries.push_back({{"kind", 0}, {"id", 999}, {"sub", 0}, {"norm", 2.0}, {"coef", 1.0}, {"excluded", 0},
                     {"mp_mode", 0}, {"blocked", 0}});
  entries.push_back({{"kind", 1}, {"id", 100}, {"sub", 0}, {"norm", 1.0}, {"coef", 1.0}, {"excluded", 0},
                     {"mp_mode", 0}, {"blocked", 0}});
  json position = {{"type", 1}, {"level", 1}, {"number", "1"}, {"unit", "m3"}, {"description", "Beton"},
                   {"quantity", 10.0}, {"precision_code", 1}, {"multiplicity", 1.0},
                   {"inputs", {{"current", 0}, {"variants", {{{"name", ""}, {"short_name", ""}, {"entries", entries}}}}}}};
  return {{"header", {{"file_type", 2}, {"version", 800}, {"kind", 1}, {"compressed", false}}},
          {"general",
           {{"name", "Garaż"}, {"calc_method", 0}, {"client_text", "Gmina Łódź"}, {"object_text", "Garaż"},
            {"site_text", "ul. Polna 1"}, {"preparer_text", "Biuro <K&K>"}, {"estimate_date", "261210"},
            {"price_list_file_1", "brak/robocizna.cen"}, {"price_list_file_3", "brak/materialy.cen"}}},
          {"authors", {{{"name", "Jan Nowak"}, {"function", "kosztorysant"}}, {{"name", "Ewa Lis"}, {"function", "inspektor"}}}},
          {"cpv", "45000000-7\x01" "45200000-9"},
          {"specification", "ST-01\x01Roboty ziemne"},
          {"nodes", {{{"type", 0}, {"level", 0}, {"number", "1"}, {"description", "Fundamenty"}}, position}},
          {"prices",
           {{{"kind", 0}, {"id", 999}, {"sub", 0}, {"unit", "r-g"}, {"name", "Robotnicy"}, {"price", 30.0},
             {"base_price", 30.0}},
            {{"kind", 1}, {"id", 100}, {"sub", 0}, {"unit", "m3"}, {"name", "Beton B20"}, {"price", 200.0},
             {"base_price", 200.0}}}}};
}

TEST(TitleMerge, EstimateFieldsFillBothShippedTemplates) {
  test::temp_folder dir;
  const std::string file = dir.path() + "garaz.kvr";
  ASSERT_EQ(document::build_estimate_file(valued_estimate(), file), "");
  print_document doc;
  std::string error;
  ASSERT_TRUE(open_print_document(file, doc, error)) << error;

  // 10 m3 × (2 r-g × 30 + 1 m3 × 200) = 2600, no overheads and no VAT: the total is the net
  // value and the VAT fields stay empty.
  const title_fields f = title_fields_of(doc, "KOSZTORYS INWESTORSKI", true);
  EXPECT_EQ(f.at("NazwaKosztorysu"), "Garaż");
  EXPECT_EQ(f.at("Inwestor"), "Gmina Łódź");
  EXPECT_EQ(f.at("Data"), "10.12.2026");
  EXPECT_EQ(f.at("KwotaNetto"), "2 600.00");
  EXPECT_EQ(f.count("KwotaVAT") + f.count("KwotaBrutto"), 0u);
  EXPECT_EQ(f.at("KwotaSłownie").rfind("dwa tysiące sześćset", 0), 0u) << f.at("KwotaSłownie");
  // The authors one per line before the checking person's place, the CPV codes side by side,
  // the STWiOR number only with "Z numerem specyfikacji STWiOR".
  EXPECT_EQ(f.at("Autorzy"), "Jan Nowak - kosztorysant\nEwa Lis - inspektor\n\nSprawdzający:");
  EXPECT_EQ(f.at("CPV"), "45000000-7 45200000-9");
  EXPECT_EQ(f.count("SST"), 0u);
  // Price lists that cannot be read are named by their files; no labour rate: its list shows.
  EXPECT_EQ(f.at("CennikRG"), "brak/robocizna.cen");
  EXPECT_EQ(f.at("CennikMat"), "brak/materialy.cen");
  EXPECT_EQ(f.count("CennikS") + f.count("CennikI"), 0u);
  std::string spec_why;
  ASSERT_TRUE(set_option_by_caption(doc.block.data(), 10, "Z numerem specyfikacji STWiOR", "on", 0, spec_why)) << spec_why;
  EXPECT_EQ(title_fields_of(doc, "K", true).at("SST"), "ST-01");
  const title_fields without = title_fields_of(doc, "K", false);
  EXPECT_EQ(without.count("KwotaNetto") + without.count("KwotaSłownie") + without.count("CennikMat"), 0u);
  // The overheads only with "Drukuj formuły narzutów"; purchase costs with FORMUŁA II.
  std::string why;
  ASSERT_TRUE(set_option_by_caption(doc.block.data(), 5, "Drukuj formuły narzutów", "off", 0, why)) << why;
  const title_fields plain = title_fields_of(doc, "K", true);
  EXPECT_EQ(plain.count("Narzuty") + plain.count("KosztyZakupu"), 0u);
  ASSERT_TRUE(set_option_by_caption(doc.block.data(), 5, "Drukuj formuły narzutów", "on", 0, why)) << why;
  const title_fields formulas = title_fields_of(doc, "K", true);
  EXPECT_EQ(formulas.at("Narzuty"), "Narzuty");
  EXPECT_EQ(formulas.count("KosztyZakupu"), 1u);
  EXPECT_EQ(formulas.count("NarzutVAT"), 1u);

  for (template_kind kind : {template_kind::docx, template_kind::odt}) {
    const std::string tpl = title_template_path(data_folder(), kind);
    const std::string before = file_bytes(tpl);
    ASSERT_FALSE(before.empty()) << tpl;
    const std::string out = title_output_path(file, kind);
    EXPECT_EQ(fs::path(out).parent_path(), fs::path(file).parent_path());
    ASSERT_EQ(merge_title_page(tpl, out, f), "");
    EXPECT_EQ(file_bytes(tpl), before) << "the template is never written";
    EXPECT_FALSE(fs::exists(out + ".tmp"));

    const auto entries = read_zip(out);
    ASSERT_FALSE(entries.empty()) << out;
    const std::string text = entry_text(entries, kind == template_kind::docx ? "word/document.xml" : "content.xml");
    EXPECT_EQ(text.find("{{"), std::string::npos);
    EXPECT_EQ(text.find("}}"), std::string::npos);
    for (const char* expected : {"KOSZTORYS INWESTORSKI", "Inwestor: Gmina Łódź", "Biuro &lt;K&amp;K&gt;",
                                 "2 600.00", "Data: 10.12.2026"})
      EXPECT_NE(text.find(expected), std::string::npos) << expected;
    if (kind == template_kind::odt) {
      EXPECT_EQ(entries.front().name, "mimetype");
      EXPECT_EQ(entries.front().method, ZIP_CM_STORE);
      EXPECT_EQ(entries.front().data, "application/vnd.oasis.opendocument.text");
    }
  }
}

// A compound estimate's values: its chapters with its own additions (1800 and their 8 % VAT),
// the same sums the compound's own recalculation gives.
TEST(TitleMerge, CompoundValuesSumTheChaptersAndAdditions) {
  test::temp_folder dir;
  const std::string built = std::string(KOVRA_BINARY_DIR) + "/examples/";
  for (const char* name : {"demo_compound.kvr", "demo_garage.kvr"})
    fs::copy_file(built + name, dir.path() + name, fs::copy_options::overwrite_existing);
  print_document doc;
  std::string error;
  ASSERT_TRUE(open_print_document(dir.path() + "demo_compound.kvr", doc, error)) << error;
  const title_fields f = title_fields_of(doc, "K", true);

  calc::compound_model c;
  std::ifstream in(std::string(KOVRA_SOURCE_DIR) + "/examples/demo_compound.json");
  ASSERT_TRUE(calc::compound_from_json(nlohmann::json::parse(in), c, error)) << error;
  const calc::compound_result r = calc::recalculate_compound(c);
  auto money = [](double v) {
    std::string t = calc::text_money(v);
    return t.substr(t.find_first_not_of(' '));
  };
  ASSERT_NE(r.totals.vat, 0);
  EXPECT_EQ(f.at("KwotaNetto"), money(r.totals.net));
  EXPECT_EQ(f.at("KwotaVAT"), money(r.totals.vat));
  EXPECT_EQ(f.at("KwotaBrutto"), money(r.totals.gross));
  EXPECT_EQ(f.count("CennikMat") + f.count("Narzuty"), 0u);  // those are a simple estimate's

  // The page after the title page: "Cenniki" and "Narzuty" for each of the three chapters.
  const std::vector<title_line> page = constituents_page(doc);
  int blocks = 0;
  for (const title_line& l : page) blocks += l.bold && (l.text == "Cenniki" || l.text == "Narzuty");
  EXPECT_EQ(blocks, 6);
  ASSERT_FALSE(page.empty());
  EXPECT_TRUE(page.front().bold);
  for (template_kind kind : {template_kind::docx, template_kind::odt}) {
    const std::string out = title_output_path(doc.path, kind);
    ASSERT_EQ(merge_title_page(title_template_path(data_folder(), kind), out, f, page), "");
    const std::string xml = entry_text(read_zip(out), kind == template_kind::docx ? "word/document.xml" : "content.xml");
    const std::size_t brk = xml.find(kind == template_kind::docx ? "<w:br w:type=\"page\"/>" : "text:style-name=\"KovraBreakBold\"");
    ASSERT_NE(brk, std::string::npos);
    EXPECT_LT(xml.find(f.at("KwotaBrutto")), brk);  // the title page comes first
    EXPECT_NE(xml.find("Narzuty", brk), std::string::npos);
    if (kind == template_kind::odt) EXPECT_NE(xml.find("style:name=\"KovraBreakBold\""), std::string::npos);
    // Its paragraphs indented 128 pt with the first line 141.75 pt back.
    EXPECT_NE(xml.find(kind == template_kind::docx ? "<w:ind w:left=\"2560\" w:hanging=\"2835\"/>"
                                                   : "fo:margin-left=\"128pt\" fo:text-indent=\"-141.75pt\""),
              std::string::npos);
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    while (!reader.atEnd()) reader.readNext();
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  }
}

TEST(TitleMerge, MissingDamagedOrSelfTargetTemplatesFailClearly) {
  test::temp_folder dir;
  const std::string out = dir.path() + "wynik.docx";
  EXPECT_EQ(merge_title_page(dir.path() + "brak.docx", out, {}).rfind("Brak szablonu strony tytułowej", 0), 0u);

  const std::string bad = dir.path() + "zly.odt";
  std::ofstream(bad) << "to nie jest zip";
  EXPECT_EQ(merge_title_page(bad, dir.path() + "wynik.odt", {}).rfind("Szablon strony tytułowej jest uszkodzony", 0),
            0u);
  EXPECT_FALSE(fs::exists(dir.path() + "wynik.odt"));

  const std::string copy = dir.path() + "szablon.docx";
  fs::copy_file(title_template_path(data_folder(), template_kind::docx), copy);
  const std::string before = file_bytes(copy);
  EXPECT_NE(merge_title_page(copy, copy, {}), "");
  EXPECT_EQ(file_bytes(copy), before);
}

// With LibreOffice installed the merged documents convert to PDF with the estimate's texts.
TEST(TitleMerge, LibreOfficeReadsTheMergedDocuments) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0 || std::system("command -v pdftotext >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  test::temp_folder dir;
  for (template_kind kind : {template_kind::docx, template_kind::odt}) {
    const std::string out = dir.path() + (kind == template_kind::docx ? "t.docx" : "t.odt");
    ASSERT_EQ(merge_title_page(title_template_path(data_folder(), kind), out, {{"Inwestor", "Gmina Łódź"}}), "");
    const std::string cmd = "cd '" + dir.path() + "' && HOME='" + dir.path() +
                            "' timeout 60 soffice --headless --convert-to pdf '" + out + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string pdf = dir.path() + "t.pdf";
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + dir.path() + "t.txt'").c_str()), 0);
    EXPECT_NE(file_bytes(dir.path() + "t.txt").find("Inwestor: Gmina Łódź"), std::string::npos);
    fs::remove(pdf);
  }
}

} // namespace
} // namespace kovra::printouts
