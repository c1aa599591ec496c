#include "printouts/title_merge.h"

#include "calc/amount_in_words.h"
#include "calc/number_text.h"
#include "calc/overhead_texts.h"
#include "calc/recalculation.h"
#include "document/estimate_file.h"
#include "document/data_chain.h"
#include "document/data_records.h"
#include "document/general_data.h"
#include "document/node_blocks.h"
#include "document/store_compound.h"
#include "printouts/other_parts.h"
#include "printouts/page_context.h"
#include "printouts/print_options.h"
#include "shell/print_block.h"
#include "store/codepage.h"
#include "store/file_header.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace kovra::printouts {
namespace {

// Limits on what a template may hold, so a damaged or hostile file cannot exhaust memory.
constexpr zip_uint64_t max_entry_size = 64u << 20;
constexpr zip_uint64_t max_total_size = 256u << 20;
constexpr zip_int64_t max_entries = 10000;

std::string trimmed(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  const auto first = s.find_first_not_of(' ');
  return first == std::string::npos ? std::string{} : s.substr(first);
}

std::string utf8(const std::string& internal) { return store::mazovia_to_utf8(trimmed(internal)); }

std::string trimmed_end(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0' || s.back() == '\r' || s.back() == '\n')) s.pop_back();
  return s;
}

// A price list named by the general data, as its description (the file name, when the file
// cannot be read as one or its description is empty); empty for no file. UTF-8.
std::string price_list_description(std::string file) {
  file = trimmed_end(file);
  if (trimmed(file).empty()) return {};
  std::ifstream in(file, std::ios::binary);
  uint8_t raw[store::file_header_size];
  if (in.read(reinterpret_cast<char*>(raw), sizeof raw)) {
    const store::file_header h = store::decode_file_header(raw);
    if (h.magic_ok())
      if (std::string d = utf8(trimmed_end(store::header_description(h))); !d.empty()) return d;
  }
  store::cp1250_to_mazovia(file);  // file names are kept as Windows gave them
  return store::mazovia_to_utf8(file);
}

// The title page's checks ("Z numerem specyfikacji STWiOR" is the fifth).
constexpr std::size_t title_page_checks = 1699;

// The general data of the file (of the compound estimate for a compound one).
bool read_general(const print_document& doc, document::general_data& g) {
  if (doc.compound) {
    auto file = document::open_compound_file(doc.path, true);
    if (!file) return false;
    g = file->general;
    if (file->set) file->set->close();
    return true;
  }
  auto set = document::open_estimate_set(doc.path, true);
  if (!set) return false;
  g = document::general_data::from_bytes(set->user_header());
  set->close();
  return true;
}

std::string xml_escaped(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\r': break;
      default: out += c;
    }
  }
  return out;
}

// A value as XML text of the format: escaped, line feeds as the format's line breaks.
std::string value_xml(const std::string& value, template_kind kind) {
  const std::string escaped = xml_escaped(value);
  const std::string br = kind == template_kind::docx ? "</w:t><w:br/><w:t xml:space=\"preserve\">"
                                                      : "<text:line-break/>";
  std::string out;
  for (char c : escaped) {
    if (c == '\n') out += br;
    else out += c;
  }
  return out;
}

// A run of character data in the XML that belongs to the text of a paragraph.
struct segment {
  std::size_t begin, end;   // content range in the XML
  std::size_t tag_begin;    // docx: where the opening <w:t ...> starts
  int paragraph;
};

bool starts_with_at(const std::string& s, std::size_t pos, std::string_view what) {
  return s.compare(pos, what.size(), what) == 0;
}

std::vector<segment> text_segments(const std::string& xml, template_kind kind) {
  std::vector<segment> out;
  int paragraph = 0;
  std::size_t i = 0;
  while (i < xml.size()) {
    const std::size_t lt = xml.find('<', i);
    if (lt == std::string::npos) break;
    const std::size_t gt = xml.find('>', lt);
    if (gt == std::string::npos) break;
    if (kind == template_kind::docx) {
      if (starts_with_at(xml, lt, "</w:p>")) ++paragraph;
      const bool text_tag = (starts_with_at(xml, lt, "<w:t>") || starts_with_at(xml, lt, "<w:t ")) && xml[gt - 1] != '/';
      if (text_tag) {
        const std::size_t close = xml.find("</w:t>", gt);
        if (close == std::string::npos) break;
        out.push_back({gt + 1, close, lt, paragraph});
        i = close + 6;
        continue;
      }
    } else {
      if (starts_with_at(xml, lt, "</text:p>") || starts_with_at(xml, lt, "</text:h>")) ++paragraph;
      const std::size_t next = xml.find('<', gt);
      if (next == std::string::npos) break;
      if (next > gt + 1) out.push_back({gt + 1, next, lt, paragraph});
    }
    i = gt + 1;
  }
  return out;
}

// The new contents of the segments [from, to) of one paragraph.
void fill_paragraph(const std::string& xml, const std::vector<segment>& segs, std::size_t from, std::size_t to,
                    const title_fields& fields, template_kind kind, std::vector<std::string>& contents,
                    std::vector<bool>& changed) {
  std::string text;
  std::vector<std::size_t> owner;  // segment of each character of `text`
  for (std::size_t s = from; s < to; ++s) {
    text.append(xml, segs[s].begin, segs[s].end - segs[s].begin);
    owner.insert(owner.end(), segs[s].end - segs[s].begin, s);
  }
  if (text.find("{{") == std::string::npos) return;
  for (std::size_t s = from; s < to; ++s) contents[s].clear();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find("{{", pos);
    const std::size_t close = open == std::string::npos ? open : text.find("}}", open + 2);
    if (close == std::string::npos) {
      for (std::size_t k = pos; k < text.size(); ++k) contents[owner[k]] += text[k];
      break;
    }
    for (std::size_t k = pos; k < open; ++k) contents[owner[k]] += text[k];
    const std::string name = trimmed(text.substr(open + 2, close - open - 2));
    const auto it = fields.find(name);
    if (it != fields.end()) contents[owner[open]] += value_xml(it->second, kind);
    changed[owner[open]] = true;
    pos = close + 2;
  }
  for (std::size_t s = from; s < to; ++s) changed[s] = changed[s] || contents[s] != xml.substr(segs[s].begin, segs[s].end - segs[s].begin);
}

std::string zip_error_text(zip_t* z) { return zip_strerror(z); }

struct zip_closer {
  void operator()(zip_t* z) const {
    if (z) zip_discard(z);
  }
};

struct entry {
  std::string name;
  std::string data;
};

bool read_entries(const std::string& path, std::vector<entry>& out, std::string& error) {
  int code = 0;
  std::unique_ptr<zip_t, zip_closer> z(zip_open(path.c_str(), ZIP_RDONLY, &code));
  if (!z) {
    zip_error_t e;
    zip_error_init_with_code(&e, code);
    error = zip_error_strerror(&e);
    zip_error_fini(&e);
    return false;
  }
  const zip_int64_t n = zip_get_num_entries(z.get(), 0);
  if (n < 0 || n > max_entries) {
    error = "za dużo pozycji";
    return false;
  }
  zip_uint64_t total = 0;
  for (zip_int64_t i = 0; i < n; ++i) {
    zip_stat_t st;
    if (zip_stat_index(z.get(), i, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE)) {
      error = zip_error_text(z.get());
      return false;
    }
    total += st.size;
    if (st.size > max_entry_size || total > max_total_size) {
      error = "za duży zbiór";
      return false;
    }
    entry e{st.name, std::string(st.size, '\0')};
    zip_file_t* f = zip_fopen_index(z.get(), i, 0);
    if (!f) {
      error = zip_error_text(z.get());
      return false;
    }
    const zip_int64_t got = st.size ? zip_fread(f, e.data.data(), st.size) : 0;
    zip_fclose(f);
    if (got < 0 || static_cast<zip_uint64_t>(got) != st.size) {
      error = "uszkodzona pozycja " + e.name;
      return false;
    }
    out.push_back(std::move(e));
  }
  return true;
}

bool is_text_part(const std::string& name, template_kind kind) {
  if (kind == template_kind::odt) return name == "content.xml" || name == "styles.xml";
  return name.rfind("word/", 0) == 0 && name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0 &&
         (name == "word/document.xml" || name.rfind("word/header", 0) == 0 || name.rfind("word/footer", 0) == 0);
}

bool write_entries(const std::string& path, const std::vector<entry>& entries, std::string& error) {
  int code = 0;
  std::unique_ptr<zip_t, zip_closer> z(zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
  if (!z) {
    error = "nie można utworzyć zbioru";
    return false;
  }
  for (const entry& e : entries) {
    zip_source_t* src = zip_source_buffer(z.get(), e.data.data(), e.data.size(), 0);
    if (!src) {
      error = zip_error_text(z.get());
      return false;
    }
    const zip_int64_t idx = zip_file_add(z.get(), e.name.c_str(), src, ZIP_FL_ENC_UTF_8);
    if (idx < 0) {
      zip_source_free(src);
      error = zip_error_text(z.get());
      return false;
    }
    // ODF readers find the type in the first entry's bytes: it must be stored as is.
    const bool store = e.name == "mimetype";
    zip_set_file_compression(z.get(), idx, store ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
  }
  zip_t* raw = z.release();
  if (zip_close(raw) != 0) {
    error = zip_error_text(raw);
    zip_discard(raw);
    return false;
  }
  return true;
}

std::string lower_extension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

} // namespace

const std::vector<std::string>& title_field_names() {
  static const std::vector<std::string> names = {
      "TytułKosztorysu", "NazwaKosztorysu", "Data", "SST", "Kod", "CPV", "Inwestor", "Obiekt", "Budowa", "Autor",
      "Autorzy", "StawkaRG", "CennikRG", "CennikMat", "CennikS", "CennikI", "CennikU", "Narzuty", "KosztyZakupu",
      "KosztyPośrednie", "Zysk", "CzynnyZakład", "WarunkiSzkodliwe", "Narzut1_Nazwa", "Narzut1_Wartość",
      "Narzut2_Nazwa", "Narzut2_Wartość", "Narzut3_Nazwa", "Narzut3_Wartość", "Narzut4_Nazwa", "Narzut4_Wartość",
      "Narzut5_Nazwa", "Narzut5_Wartość", "NarzutGW", "NarzutVAT", "KwotaNetto", "KwotaVAT", "KwotaBrutto",
      "KwotaSłownie"};
  return names;
}

title_fields title_fields_of(const print_document& doc, const std::string& title, bool with_values) {
  title_fields f;
  f["TytułKosztorysu"] = title;
  f["NazwaKosztorysu"] = utf8(doc.general_name.empty() ? doc.tree_name : doc.general_name);
  const std::string date = text_page_date(doc.date);  // dd/mm/yy
  if (date.size() == 8) f["Data"] = date.substr(0, 2) + "." + date.substr(3, 2) + ".20" + date.substr(6, 2);
  document::general_data g;
  if (read_general(doc, g)) {
    f["Inwestor"] = utf8(g.client_text());
    f["Obiekt"] = utf8(g.object_text());
    f["Budowa"] = utf8(g.site_text());
    f["Autor"] = utf8(g.preparer_text());
    if (!doc.compound && g.labour_rate() != 0 && with_values) f["StawkaRG"] = trimmed(calc::text_price(g.labour_rate()));
    if (!doc.compound && with_values) {
      // The price lists by their descriptions: labour (without a labour rate), materials,
      // equipment, then the simplified positions' list.
      auto list = [&](int first, int last) {
        for (int k = first; k <= last; ++k)
          if (std::string d = price_list_description(g.price_list_file(k)); !d.empty()) return d;
        return std::string();
      };
      auto put = [&](const char* field, std::string value) {
        if (!value.empty()) f[field] = std::move(value);
      };
      if (g.labour_rate() == 0) put("CennikRG", list(0, 2));
      put("CennikMat", list(3, 5));
      put("CennikS", list(6, 8));
      put("CennikI", list(9, 9));
    }
  }
  const general_options options = read_general_options(doc.block.data());
  if (doc.records) {
    document::general_data gd = doc.general;
    // The STWiOR number with "Z numerem specyfikacji STWiOR"; the CPV codes, stored
    // with 0x01 between them, one after another.
    if (shell::item_on(doc.block.data(), title_page_checks, 5))
      if (auto spec = document::read_estimate_text_raw(*doc.records, gd, 2, doc.data_chain))
        f["SST"] = utf8(trimmed_end(document::specification_number(*spec)));
    if (auto cpv = document::read_estimate_text_raw(*doc.records, gd, 1, doc.data_chain)) {
      std::string codes = *cpv;
      std::replace(codes.begin(), codes.end(), '\x01', ' ');
      if (!trimmed(codes).empty()) f["CPV"] = utf8(trimmed_end(codes));
    }
    const std::vector<document::author> authors = document::read_authors(*doc.records, gd, doc.data_chain);
    std::string list;
    for (const document::author& a : authors)
      list += (list.empty() ? "" : "\n") + utf8(trimmed_end(a.name)) + " - " + utf8(trimmed_end(a.function));
    if (!authors.empty()) f["Autorzy"] = list + "\n\nSprawdzający:";
  }
  if (!doc.compound && !doc.estimates.empty() && options.overhead_formulas) {
    // The overheads as their rate texts: purchase costs only with FORMUŁA II, slots 5 to 9
    // with their names, then general contracting and VAT.
    calc::estimate_model model = doc.estimates.front().model;
    const calc::recalc_result run = calc::run_single(model, calc::options_from_settings(model.settings));
    const calc::formula_context ctx{&model, &run.totals, true};
    auto rate = [&](int row) { return store::mazovia_to_utf8(trimmed(calc::overhead_formula_text(ctx, row))); };
    f["Narzuty"] = "Narzuty";
    if (model.settings.calc_method == calc::method_formula_2) f["KosztyZakupu"] = rate(0);
    f["KosztyPośrednie"] = rate(1);
    f["Zysk"] = rate(2);
    f["CzynnyZakład"] = rate(3);
    f["WarunkiSzkodliwe"] = rate(4);
    for (int slot = 5; slot <= 9; ++slot) {
      const std::string n = std::to_string(slot - 4);
      f["Narzut" + n + "_Nazwa"] = utf8(model.overheads.rows[std::size_t(slot)].name);
      f["Narzut" + n + "_Wartość"] = rate(slot);
    }
    f["NarzutGW"] = rate(10);
    f["NarzutVAT"] = rate(11);
  }
  if (with_values && !doc.estimates.empty()) {
    double vat = 0, net = 0;
    if (doc.compound) {
      // The chapters summed with the compound's own additions, as its title page shows them.
      const calc::estimate_totals t = document_totals(doc);
      vat = t.vat;
      net = t.net;
    } else {
      calc::estimate_model model = doc.estimates.front().model;
      calc::recalculate_totals(model, calc::options_from_settings(model.settings), vat, net);
    }
    const double total = net + vat;
    if (total != 0) {
      f["KwotaNetto"] = trimmed(calc::text_money(vat != 0 ? net : total));
      if (vat != 0) {
        f["KwotaVAT"] = trimmed(calc::text_money(vat));
        f["KwotaBrutto"] = trimmed(calc::text_money(total));
      }
      std::string words = calc::amount_in_words(total, 0, {}, 250);
      f["KwotaSłownie"] = store::mazovia_to_utf8(words);
    }
  }
  return f;
}

std::string fill_placeholders(const std::string& xml, const title_fields& fields, template_kind kind) {
  const std::vector<segment> segs = text_segments(xml, kind);
  std::vector<std::string> contents(segs.size());
  std::vector<bool> changed(segs.size(), false);
  for (std::size_t s = 0; s < segs.size(); ++s) contents[s] = xml.substr(segs[s].begin, segs[s].end - segs[s].begin);
  for (std::size_t from = 0; from < segs.size();) {
    std::size_t to = from;
    while (to < segs.size() && segs[to].paragraph == segs[from].paragraph) ++to;
    fill_paragraph(xml, segs, from, to, fields, kind, contents, changed);
    from = to;
  }
  std::string out;
  out.reserve(xml.size() + 1024);
  std::size_t at = 0;
  for (std::size_t s = 0; s < segs.size(); ++s) {
    if (!changed[s]) continue;
    if (kind == template_kind::docx) {
      // Blanks at the ends of a filled value must survive: the run keeps its spaces.
      out.append(xml, at, segs[s].tag_begin - at);
      out += "<w:t xml:space=\"preserve\">";
    } else {
      out.append(xml, at, segs[s].begin - at);
    }
    out += contents[s];
    at = segs[s].end;
  }
  out.append(xml, at, std::string::npos);
  return out;
}

namespace {

// The lines as paragraphs in the format's markup, the first starting a new page.
std::string extra_page_xml(const std::vector<title_line>& lines, template_kind kind) {
  std::string out;
  bool first = true;
  for (const title_line& l : lines) {
    std::string text;
    std::size_t start = 0;
    for (std::size_t tab; (tab = l.text.find('\t', start)) != std::string::npos; start = tab + 1)
      text += xml_escaped(l.text.substr(start, tab - start)) + (kind == template_kind::docx ? "</w:t><w:tab/><w:t xml:space=\"preserve\">" : "<text:tab/>");
    text += xml_escaped(l.text.substr(start));
    if (kind == template_kind::docx) {
      // Left indent 128 pt, first line 141.75 pt back (in twentieths of a point).
      out += "<w:p><w:pPr><w:ind w:left=\"2560\" w:hanging=\"2835\"/></w:pPr>";
      if (first) out += "<w:r><w:br w:type=\"page\"/></w:r>";
      out += std::string("<w:r>") + (l.bold ? "<w:rPr><w:b/></w:rPr>" : "") + "<w:t xml:space=\"preserve\">" + text +
             "</w:t></w:r></w:p>";
    } else {
      const char* style = first ? (l.bold ? "KovraBreakBold" : "KovraBreak") : (l.bold ? "KovraBold" : "KovraPlain");
      out += std::string("<text:p text:style-name=\"") + style + "\">" + text + "</text:p>";
    }
    first = false;
  }
  return out;
}

// The main part with the lines added at the end of its text (a .docx before the body's last
// section properties; an .odt with the paragraph styles they use).
std::string with_extra_page(std::string xml, const std::vector<title_line>& lines, template_kind kind) {
  const std::string page = extra_page_xml(lines, kind);
  if (kind == template_kind::docx) {
    std::size_t at = xml.rfind("</w:body>");
    if (at == std::string::npos) return xml;
    const std::size_t sect = xml.rfind("<w:sectPr", at);
    const std::size_t last_p = xml.rfind("</w:p>", at);
    if (sect != std::string::npos && (last_p == std::string::npos || sect > last_p)) at = sect;
    return xml.insert(at, page);
  }
  const std::size_t at = xml.rfind("</office:text>");
  if (at == std::string::npos) return xml;
  xml.insert(at, page);
  const std::string styles =
      "<style:style style:name=\"KovraPlain\" style:family=\"paragraph\"><style:paragraph-properties "
      "fo:margin-left=\"128pt\" fo:text-indent=\"-141.75pt\"/></style:style>"
      "<style:style style:name=\"KovraBold\" style:family=\"paragraph\"><style:paragraph-properties "
      "fo:margin-left=\"128pt\" fo:text-indent=\"-141.75pt\"/><style:text-properties "
      "fo:font-weight=\"bold\"/></style:style>"
      "<style:style style:name=\"KovraBreak\" style:family=\"paragraph\"><style:paragraph-properties "
      "fo:margin-left=\"128pt\" fo:text-indent=\"-141.75pt\" fo:break-before=\"page\"/></style:style>"
      "<style:style style:name=\"KovraBreakBold\" style:family=\"paragraph\"><style:paragraph-properties "
      "fo:margin-left=\"128pt\" fo:text-indent=\"-141.75pt\" fo:break-before=\"page\"/><style:text-properties "
      "fo:font-weight=\"bold\"/></style:style>";
  if (const std::size_t end = xml.find("</office:automatic-styles>"); end != std::string::npos) {
    xml.insert(end, styles);
  } else if (const std::size_t empty = xml.find("<office:automatic-styles/>"); empty != std::string::npos) {
    xml.replace(empty, std::string("<office:automatic-styles/>").size(),
                "<office:automatic-styles>" + styles + "</office:automatic-styles>");
  } else if (const std::size_t body = xml.find("<office:body"); body != std::string::npos) {
    xml.insert(body, "<office:automatic-styles>" + styles + "</office:automatic-styles>");
  }
  return xml;
}

} // namespace

std::vector<title_line> constituents_page(const print_document& doc) {
  std::vector<title_line> out;
  if (!doc.compound) return out;
  for (const print_estimate& e : doc.estimates) {
    const std::string name = utf8(e.general_name.empty() ? e.tree_name : e.general_name);
    out.push_back({"Cenniki", true});
    out.push_back({name, false});
    const document::general_data& g = e.general;
    if (g.labour_rate() != 0) out.push_back({"\tStawka r-g:\t" + trimmed(calc::text_price(g.labour_rate())), false});
    static const struct {
      const char* label;
      int first, last;
    } lists[] = {{"Cennik robocizny:", 0, 2}, {"Cennik materiałów:", 3, 5}, {"Cennik sprzętu:", 6, 8},
                 {"Cennik uproszczony:", 9, 9}};
    for (const auto& l : lists)
      for (int k = l.first; k <= l.last; ++k)
        if (std::string d = price_list_description(g.price_list_file(k)); !d.empty()) {
          out.push_back({std::string("\t") + l.label + "\t" + d, false});
          break;
        }
    out.push_back({"Narzuty", true});
    out.push_back({name, false});
    calc::estimate_model model = e.model;
    const calc::recalc_result run = calc::run_single(model, calc::options_from_settings(model.settings));
    const calc::formula_context ctx{&model, &run.totals, true};
    for (int row = model.settings.calc_method == calc::method_formula_2 ? 0 : 1;
         row < int(model.overheads.rows.size()) && row <= 11; ++row) {
      const std::string label = utf8(model.overheads.rows[std::size_t(row)].name);
      const std::string rate = store::mazovia_to_utf8(trimmed(calc::overhead_formula_text(ctx, row)));
      if (!label.empty() && !rate.empty()) out.push_back({"\t" + label + ":\t" + rate, false});
    }
  }
  return out;
}

std::string merge_title_page(const std::string& template_path, const std::string& output_path,
                             const title_fields& fields, const std::vector<title_line>& extra_page) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_regular_file(template_path, ec))
    return "Brak szablonu strony tytułowej:\n" + template_path;
  const std::string ext = lower_extension(template_path);
  if (ext != ".docx" && ext != ".odt") return "Nieznany rodzaj szablonu strony tytułowej:\n" + template_path;
  const template_kind kind = ext == ".docx" ? template_kind::docx : template_kind::odt;
  if (fs::exists(output_path, ec) && fs::equivalent(template_path, output_path, ec))
    return "Strona tytułowa nie może zastąpić swojego szablonu:\n" + output_path;

  std::vector<entry> entries;
  std::string why;
  if (!read_entries(template_path, entries, why))
    return "Szablon strony tytułowej jest uszkodzony:\n" + template_path + "\n(" + why + ")";
  const std::string main_part = kind == template_kind::docx ? "word/document.xml" : "content.xml";
  bool has_main = false;
  for (const entry& e : entries) has_main = has_main || e.name == main_part;
  if (!has_main)
    return "Szablon strony tytułowej jest uszkodzony:\n" + template_path + "\n(brak " + main_part + ")";

  for (entry& e : entries)
    if (is_text_part(e.name, kind)) e.data = fill_placeholders(e.data, fields, kind);
  if (!extra_page.empty())
    for (entry& e : entries)
      if (e.name == main_part) e.data = with_extra_page(e.data, extra_page, kind);
  if (kind == template_kind::odt) {
    std::stable_partition(entries.begin(), entries.end(), [](const entry& e) { return e.name == "mimetype"; });
  }

  const std::string temp = output_path + ".tmp";
  if (!write_entries(temp, entries, why)) {
    fs::remove(temp, ec);
    return "Nie można zapisać strony tytułowej:\n" + output_path + "\n(" + why + ")";
  }
  fs::rename(temp, output_path, ec);
  if (ec) {
    fs::remove(temp, ec);
    return "Nie można zapisać strony tytułowej:\n" + output_path;
  }
  return {};
}

std::string title_template_path(const std::string& data_folder, template_kind kind) {
  return (std::filesystem::path(data_folder) / (kind == template_kind::docx ? "strtyt.docx" : "strtyt.odt")).string();
}

std::string title_output_path(const std::string& estimate_path, template_kind kind) {
  std::filesystem::path p(estimate_path);
  const std::string name = p.stem().string() + "_strona_tytulowa" + (kind == template_kind::docx ? ".docx" : ".odt");
  return (p.parent_path() / name).string();
}

} // namespace kovra::printouts
