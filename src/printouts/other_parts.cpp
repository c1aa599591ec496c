#include "printouts/other_parts.h"

#include "calc/amount_in_words.h"
#include "calc/number_text.h"
#include "calc/overhead_texts.h"
#include "calc/overheads.h"
#include "calc/recalculation.h"
#include "calc/result_summaries.h"
#include "calc/rounding.h"
#include "document/data_chain.h"
#include "document/data_records.h"
#include "document/node_blocks.h"
#include "printouts/graphic_sink.h"
#include "printouts/page_context.h"
#include "printouts/element_table_printout.h"
#include "printouts/input_summary_printout.h"
#include "printouts/part_options.h"
#include "printouts/position_heading.h"
#include "printouts/survey_printout.h"
#include "report/printer_codes.h"
#include "report/report_tables.h"
#include "shell/general_settings.h"
#include "shell/print_block.h"
#include "report/page_band.h"
#include "report/prt_item.h"
#include "report/text_format.h"
#include "store/codepage.h"

#include <cmath>
#include <cstring>
#include <cstdio>

namespace kovra::printouts {
namespace {

using namespace kovra::calc;

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }

// Lines of a stored text: CR LF as LF, each line cut at `width` after one of "-;:\>)]}?! ".
std::vector<std::string> text_lines_of(std::string text, int width) {
  std::string clean;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) clean += text[i];
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= clean.size()) {
    const std::size_t nl = clean.find('\n', start);
    std::string line = clean.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    while (int(line.size()) > width) {
      std::size_t cut = std::string::npos;
      for (int i = width - 1; i > 0; --i)
        if (std::string("-;:\\>)]}?! ").find(line[std::size_t(i)]) != std::string::npos) {
          cut = std::size_t(i) + 1;
          break;
        }
      if (cut == std::string::npos) cut = std::size_t(width);
      out.push_back(line.substr(0, cut));
      line.erase(0, cut);
    }
    out.push_back(line);
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  while (!out.empty() && trimmed_text(out.back()).empty()) out.pop_back();
  return out;
}

table_layout full_width() {
  table_layout l;
  l.columns = {{119, ""}};
  return l;
}

void print_text_rows(printout_sink& sink, const std::vector<std::string>& lines) {
  const table_layout l = full_width();
  for (const std::string& s : lines) {
    if (sink.text_mode()) {
      sink.text_line(s, false);
      sink.end_block();  // text flows over page ends line by line
    } else {
      table_row r;
      r.cells.push_back({s, 0, 1, cell_align::left, true, false});
      sink.row(l, r);
    }
  }
  sink.end_table();
}

// Parts 15, 25 (and their per-chapter variants) and the annexes' texts: one of the three
// description texts; nothing at all when it is empty.
void print_description(printout_sink& sink, print_document& doc, const part_page_options& page, int which,
                       bool per_chapter) {
  auto text_of = [&](const document::record_source* src, const document::general_data& g, int chain) {
    if (!src) return std::string();
    auto parts = document::read_description(*src, g, chain);
    if (!parts[std::size_t(which)]) return std::string();
    std::string t = *parts[std::size_t(which)];
    store::cp1250_to_mazovia(t);
    return t;
  };
  const std::vector<std::string> own = text_lines_of(text_of(doc.records, doc.general, doc.data_chain), 119);
  if (!per_chapter) {
    if (own.empty()) return;
    sink.part_heading(page.title, page.new_page);
    print_text_rows(sink, own);
    return;
  }
  bool headed = false;
  for (print_estimate& e : doc.estimates) {
    const std::vector<std::string> lines = text_lines_of(text_of(e.records, e.general, e.data_chain), 119);
    if (lines.empty()) continue;
    if (!headed) sink.part_heading(page.title, page.new_page);
    headed = true;
    sink.sub_heading(e.number.empty() ? e.tree_name : e.number + "  " + e.tree_name);
    print_text_rows(sink, lines);
  }
}

// --- the title page ---

void label_row(printout_sink& sink, const std::string& label, const std::string& value, int label_width) {
  if (value.empty()) return;
  if (sink.text_mode()) {
    // The value in a column of 100 characters: a longer one goes on under its first line.
    bool first = true;
    for (const std::string& piece : text_lines_of(value, 100)) {
      char line[400];
      std::snprintf(line, sizeof line, " %*s %s", label_width, first ? label.c_str() : "", piece.c_str());
      sink.text_line(line, false);
      first = false;
    }
    return;
  }
  table_layout l;
  l.columns = {{label_width, "Jednostka opracowująca kosztorys:"}, {100, ""}};
  table_row r;
  r.cells = {{trimmed_text(label), 0, 1, cell_align::left, true, false}, {value, 1, 1, cell_align::left, true, false}};
  sink.row(l, r);
}

// The overheads of one estimate ("Narzuty:", a row per overhead in use with its rate text)
// and, when asked, its note.
void estimate_overheads(printout_sink& sink, const print_document& doc, const print_estimate& e, bool note) {
  estimate_model m = e.model;
  const estimate_totals t = recalculate(m).totals;
  formula_context ctx;
  ctx.model = &m;
  ctx.totals = &t;
  label_row(sink, "Narzuty:", " ", 20);
  for (int row = 0; row < overhead_rows - 1; ++row) {
    std::string name = row == 0 ? std::string("Koszty zakupu") : trimmed_text(m.overheads.rows[std::size_t(row)].name);
    const std::string rate = trimmed_text(overhead_formula_text(ctx, row));
    if (rate.empty() || (row > 0 && name.empty())) continue;
    label_row(sink, name, rate, 40);
  }
  if (note && e.records) {
    document::general_data g = e.general;
    const std::optional<std::string> text = document::read_estimate_text(*e.records, g, 0, e.data_chain);
    for (const std::string& l : text_lines_of(text ? *text : std::string(), 100)) label_row(sink, "", l, 20);
  }
  (void)doc;
  if (!sink.text_mode()) sink.end_table();
  sink.text_line("", false);
}

void overhead_block(printout_sink& sink, print_document& doc, bool note) {
  if (!doc.compound) {
    if (!doc.estimates.empty()) estimate_overheads(sink, doc, doc.estimates.front(), note);
    return;
  }
  if (sink.text_mode()) return;  // the text title page lists the overheads of simple estimates only
  // A compound estimate: a page headed "Narzuty" per constituent, numbered A.1, A.2, ...
  int n = 0;
  for (const print_estimate& e : doc.estimates) {
    sink.new_page();
    sink.sub_heading("A." + std::to_string(++n) + "  Narzuty  " + (e.number.empty() ? e.tree_name : e.number + "  " + e.tree_name));
    estimate_overheads(sink, doc, e, note);
  }
}

void print_title_page(printout_sink& sink, print_document& doc, uint8_t* block) {
  const title_options o = read_title_options(block);
  const general_options g = read_general_options(block);
  if (auto* gs = dynamic_cast<graphic_sink*>(&sink)) {
    // The title page takes no part letter: the title alone, centred in the title font.
    report::VL_raport& r = gs->raport();
    if (o.page.new_page && !r.at_page_top()) r.page_break();
    // No page header on the title page unless the header asks to be printed there too.
    const report::band_definition header =
        report::parse_band_definition(block + shell::print_offset::header_definition);
    if (!(header.flags & report::BAND_FLAG_TITLE_PAGE)) {
      r.begin_page_header(report::BAND_FIRST);
      r.end_page_header(report::BAND_FIRST, 0);
    }
    r.add_toc_entry(0, "A", mz("Strona tytułowa"));
    if (o.firm) {
      // The firm's lines, as the program's settings give them.
      std::vector<std::string> firm;
      for (int i = 0; i < 4; ++i)
        if (const std::string l = trimmed_text(shell::general_settings().firm_line(i)); !l.empty()) firm.push_back(l);
      if (!firm.empty()) {
        // Recorded as the header of the title's table: drawn above it, in the body font.
        std::string lines;
        for (const std::string& l : firm) lines += (lines.empty() ? "" : "\n") + l;
        r.end_table();
        r.begin_table_header();
        r.select_font_now(report::PE_BODY);
        r.select_font(report::PE_BODY);
        const report::page_rect fr{0, 0, r.width() - 1, 0};
        const int32_t fh = r.measure_text(lines, fr, 0, report::CELL_INSET, report::DT_LEFT | report::DT_WORDBREAK);
        r.draw_text(lines, {0, 0, r.width() - 1, fh}, 0, report::CELL_INSET, report::DT_LEFT | report::DT_WORDBREAK);
        r.end_table_header(fh);
      }
    }
    const std::string text = "\n\n" + o.page.title + "\n";
    r.start_table();
    r.select_font_now(report::PE_TITLE);
    r.select_font(report::PE_TITLE);
    const report::page_rect rect{0, 0, r.width() - 1, 0};
    const int32_t h = r.measure_text(text, rect, 0, report::CELL_INSET, report::DT_CENTER | report::DT_WORDBREAK);
    r.draw_text(text, {0, 0, r.width() - 1, h}, 0, report::CELL_INSET, report::DT_CENTER | report::DT_WORDBREAK);
    r.end_row(h);
    r.end_table();
  } else {
    sink.part_heading(o.page.title, o.page.new_page);
  }
  const std::string name = g.names_from_general ? doc.general_name : doc.tree_name;
  // The name in pieces of at most 60 characters, at most four lines.
  std::vector<std::string> pieces = text_lines_of(name, 60);
  if (pieces.size() > 4) pieces.resize(4);
  if (auto* gs = dynamic_cast<graphic_sink*>(&sink)) {
    // Graphic: one row of two columns, the first eighth of the width left empty.
    report::VL_raport& r = gs->raport();
    const std::string text = "\n" + name;
    const int32_t left = r.width() / 8;
    r.start_table();
    r.select_font_now(report::PE_EMPHASIS);
    r.select_font(report::PE_EMPHASIS);
    const int32_t h = r.measure_text(text, {left, 0, r.width() - 1, 0}, 0, report::CELL_INSET,
                                     report::DT_LEFT | report::DT_WORDBREAK);
    r.draw_text(text, {left, 0, r.width() - 1, h}, 0, report::CELL_INSET, report::DT_LEFT | report::DT_WORDBREAK);
    r.end_row(h);
    r.end_table();
    pieces.clear();
  }
  for (const std::string& p : pieces) {
    if (sink.text_mode())
      sink.coded_line({{report::SLOT_MODE_HEADING, ""}, {report::SLOT_EMPHASIS_ON, p}, {report::SLOT_EMPHASIS_OFF, ""},
                       {report::SLOT_MODE_NORMAL, ""}});
    else sink.sub_heading(p);
  }
  sink.text_line("", false);
  const document::general_data& gd = doc.general;
  label_row(sink, "       Data: ", text_page_date(gd.estimate_date()), 20);
  label_row(sink, "     Budowa: ", trimmed_text(gd.site_text()), 20);
  label_row(sink, "     Obiekt: ", trimmed_text(gd.object_text()), 20);
  label_row(sink, mz("Zamawiający: "), trimmed_text(gd.client_text()), 20);
  const std::string firm_label = mz("Jednostka opracowująca kosztorys: ");
  label_row(sink, firm_label, trimmed_text(gd.preparer_text()), int(firm_label.size()));
  if (!sink.text_mode()) sink.end_table();
  sink.text_line("", false);
  if (g.overhead_formulas || o.note) overhead_block(sink, doc, o.note);
  std::vector<document::author> authors;
  if (doc.records) {
    document::general_data gd2 = doc.general;
    authors = document::read_authors(*doc.records, gd2, doc.data_chain);
  }
  const bool values = !o.no_values && !g.without_prices;
  const estimate_totals t = values ? document_totals(doc) : estimate_totals{};
  // On a text page the values and the signatures end at its bottom.
  if (sink.text_mode()) sink.end_block();
  if (const int left = sink.lines_left(); left > 0) {
    const int needed = (values ? 3 + (t.vat != 0 ? 2 : 0) : 0) + 2 * int(authors.size()) + 4;
    for (int i = 0; i < left - needed; ++i) sink.text_line("", false);
    sink.end_block();
  }
  if (values) {
    std::string currency = document::currency_text(&doc.general);
    if (doc.general.currency() == 0) store::cp1250_to_mazovia(currency);  // that one is given as shown on screen
    auto value_line = [&](const char* label, double v, int width) {
      const std::string text = std::string(trimmed_text(text_money(v))) + " " + currency;
      label_row(sink, mz(label), text, width);
    };
    if (t.vat != 0) {
      value_line("Kwota kosztorysu netto:  ", t.net, 25);
      value_line("VAT:  ", t.vat, 25);
      value_line("Kwota kosztorysu brutto:  ", t.gross, 25);
    } else {
      value_line("Kwota kosztorysu:  ", t.gross, 20);
    }
    sink.text_line("", false);
    const std::string words = amount_in_words(t.gross, 90, currency);
    std::size_t start = 0;
    bool first = true;
    while (start <= words.size() && !words.empty()) {
      const std::size_t nl = words.find('\n', start);
      const std::string piece = words.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
      label_row(sink, first ? mz("Słownie: ") : std::string(), piece, 20);
      first = false;
      if (nl == std::string::npos) break;
      start = nl + 1;
    }
    if (!sink.text_mode()) sink.end_table();
  }
  {
    if (!authors.empty()) {
      if (sink.text_mode()) {
        sink.text_line("Kosztorys opracowali: ", false);
        for (const document::author& a : authors)
          sink.text_line("     " + trimmed_text(a.name) + ", " + trimmed_text(a.function), false);
      } else {
        label_row(sink, "Kosztorys opracowali:", " ", 20);
        for (const document::author& a : authors)
          label_row(sink, "", trimmed_text(a.name) + ", " + trimmed_text(a.function), 20);
        sink.end_table();
      }
    }
  }
  // The signature places (not in the UPZP regime): the checking person, then the client and
  // the contractor spaced evenly over 120 columns.
  const int method = doc.compound ? doc.compound_model.settings.calc_method
                                  : (doc.estimates.empty() ? 0 : doc.estimates.front().model.settings.calc_method);
  if (method_of_document(method) == print_method::upzp) {
  } else if (sink.text_mode()) {
    sink.text_line("", false);
    label_row(sink, mz("Sprawdzający: "), " ", 20);
    sink.text_line("", false);
    const std::string client = mz("Zamawiający:  ............. "), contractor = mz("Wykonawca:    ............. ");
    const int gap = (120 - int(client.size() + contractor.size())) / 3;
    sink.text_line(std::string(std::size_t(gap), ' ') + client + std::string(std::size_t(gap), ' ') + contractor, false);
  } else {
    label_row(sink, mz("Sprawdzający: "), " ", 20);
    label_row(sink, mz("Zamawiający:"), ".............", 20);
    label_row(sink, "Wykonawca:", ".............", 20);
    sink.end_table();
  }
  if (sink.text_mode()) sink.end_block();
  sink.new_page();
}

// --- additions ---

void additions_table(printout_sink& sink, const std::vector<addition>& list, bool prices, const char* closing,
                     double closing_value, const double* chapter_sum, double divisor) {
  std::vector<const addition*> rows;
  for (const addition& a : list)
    if (a.amount != 0 || !trimmed_text(a.name).empty()) rows.push_back(&a);
  const int digits = int(std::to_string(std::max<std::size_t>(rows.size(), 1)).size());
  table_layout l;
  l.columns = {{digits + 1, std::string(std::size_t(std::max(digits, 3)), '8') + "."},
               {118 - digits - 1 - 12, ""},
               {11, "-99999999,99"}};
  table_row h;
  h.cells = {{"Lp.", 0}, {"Opis", 1}, {mz("  Wartość  "), 2}};
  sink.table_heading(l, {h});
  int n = 0;
  for (const addition* a : rows) {
    table_row r;
    r.cells = {{std::to_string(++n) + ".", 0, 1, cell_align::right},
               {trimmed_text(a->name), 1, 1, cell_align::left, true},
               {prices ? std::string(text_money(round_money(a->amount / divisor))) : std::string(), 2, 1, cell_align::right}};
    sink.row(l, r);
  }
  if (prices) {
    sink.rule(l, '-');
    if (chapter_sum) {
      table_row s;
      s.cells = {{mz("Suma z rozdziałów:"), 0, 2, cell_align::right},
                 {text_money(round_money(*chapter_sum / divisor)), 2, 1, cell_align::right}};
      sink.row(l, s);
    }
    table_row r;
    r.style = row_style::emphasis;
    r.cells = {{mz(closing), 0, 2, cell_align::right},
               {text_money(round_money(closing_value / divisor)), 2, 1, cell_align::right}};
    sink.row(l, r);
  }
  sink.end_table();
}

double sum_of(const std::vector<addition>& list) {
  double s = 0;
  for (const addition& a : list) s += round_money(a.amount);
  return round_money(s);
}

void print_additions(printout_sink& sink, print_document& doc, uint8_t* block, int code) {
  const part_page_options page = read_part_page(block, code);
  const general_options g = read_general_options(block);
  const bool prices = !g.without_prices;
  if (code == 65) {
    part_heading_with_suffix(sink, page.title, page.new_page, quantities_suffix(g, doc));
    if (!doc.compound) {
      const auto& list = doc.estimates.empty() ? std::vector<addition>{} : doc.estimates.front().model.additions;
      additions_table(sink, list, prices, "Razem:", sum_of(list), nullptr, per_unit_divisor(g, doc));
    } else {
      double chapters = 0;
      for (const print_estimate& e : doc.estimates) chapters += sum_of(e.model.additions);
      additions_table(sink, doc.compound_model.additions, prices, "Razem:",
                      round_money(chapters + sum_of(doc.compound_model.additions)), &chapters,
                      per_unit_divisor(g, doc));
    }
    return;
  }
  part_heading_with_suffix(sink, page.title, page.new_page, quantities_suffix(g, doc));
  for (print_estimate& e : doc.estimates) {
    sink.sub_heading(e.number.empty() ? e.tree_name : e.number + "  " + e.tree_name);
    additions_table(sink, e.model.additions, prices, "Razem:", sum_of(e.model.additions), nullptr,
                    per_unit_divisor(g, doc));
  }
}

// --- statistics ---

void print_statistics(printout_sink& sink, print_document& doc, uint8_t* block) {
  const part_page_options page = read_part_page(block, 75);
  sink.part_heading(page.title, page.new_page);
  const estimate_totals t = document_totals(doc);
  const bool f2 = !doc.estimates.empty() && doc.estimates.front().model.settings.calc_method == method_formula_2;
  const overhead_titles titles =
      titles_of(doc.compound ? doc.compound_model.overheads : doc.estimates.empty() ? overhead_table{}
                                                                                     : doc.estimates.front().model.overheads);
  const std::vector<component_line> items = results_by_component(t, f2, titles);
  bool negative = false;
  for (const component_line& c : items) negative = negative || c.value < 0;
  if (sink.text_mode()) {
    sink.text_line(std::string(61, ' ') + "^", false);  // the top of the axis
    for (const component_line& c : items) {
      if (c.value == 0) continue;
      char share[32];
      if (negative) std::snprintf(share, sizeof share, "%9s", "");
      else std::snprintf(share, sizeof share, " %5.1lf%%  ", c.share);
      std::string bar = " \xB3";
      const double p = std::fabs(c.share);
      bar += std::string(std::size_t(p / 2), c.share >= 0 ? '\xDB' : '\xBA');
      if (std::fmod(p, 2.0) >= 1.0) bar += c.share >= 0 ? '\xDD' : '\xB3';
      sink.coded_line({{0, pad_right(trimmed_text(c.title), 40) + " " + text_money(c.value) + share},
                       {report::SLOT_BARS_ON, bar},
                       {report::SLOT_BARS_OFF, ""}});
    }
    // One character per 2 % from 0 to 100 inclusive, a tick at every 20 %.
    std::string axis;
    for (int i = 0; i <= 50; ++i) axis += i % 10 == 0 ? '\xC1' : '\xC4';
    sink.coded_line({{0, std::string(61, ' ')}, {report::SLOT_BARS_ON, axis + "\xC4>"}, {report::SLOT_BARS_OFF, ""}});
    std::string labels;
    for (int v = 0; v <= 100; v += 20) labels += pad_left(std::to_string(v), v == 100 ? 3 : 10);
    sink.text_line(std::string(61, ' ') + labels, false);
    return;
  }
  auto* g = dynamic_cast<graphic_sink*>(&sink);
  if (!g) return;
  report::VL_raport& r = g->raport();
  r.select_font_now(report::PE_BODY);
  const int32_t name_w = r.measure_text_width(std::string(40, 'a'), report::PE_BODY);
  const int32_t value_w = r.measure_text_width("-99999999,99", report::PE_BODY);
  const int32_t share_w = r.measure_text_width("888888", report::PE_BODY);
  const int32_t bar_x = name_w + value_w + share_w;
  const int32_t bar_w = std::max<int32_t>(60, r.width() - bar_x - 15);
  const int32_t h = r.measure_lines(1, report::PE_BODY) + 8;
  auto bar_end = [&](double p) { return bar_x + int32_t(std::trunc((bar_w - 30) * p + 0.5 + 15)); };
  r.start_table();
  for (const component_line& c : items) {
    if (c.value == 0) continue;
    char share[32] = "      ";
    if (!negative) std::snprintf(share, sizeof share, "%5.1lf%%", c.share);
    r.select_font(report::PE_BODY);
    r.draw_text(trimmed_text(c.title), {0, 0, name_w, h}, 4, report::CELL_INSET, 0x20 /* single line */);
    r.draw_text(trimmed_text(text_money(c.value)), {name_w, 0, name_w + value_w, h}, 4, report::CELL_INSET, 0x22);
    r.draw_text(share, {name_w + value_w, 0, bar_x, h}, 4, report::CELL_INSET, 0x22);
    r.select_pen(0);
    const report::page_rect box{bar_x + 15, 6, bar_end(std::fabs(c.share) / 100), h - 6};
    r.draw_rectangle(box, c.share >= 0 ? 0 : -1);
    r.end_row(h);
  }
  // The axis: a line with marks every 10 %, their numbers and an arrowhead with "%".
  const int32_t y = h / 2;
  r.select_pen(0);
  r.draw_horizontal_line(bar_x, bar_x + bar_w, y);
  r.draw_line(bar_x + bar_w - 10, y - 5, bar_x + bar_w, y);
  r.draw_line(bar_x + bar_w - 10, y + 5, bar_x + bar_w, y);
  for (int p = 0; p <= 100; p += 10) {
    const int32_t x = bar_end(p / 100.0);
    r.draw_vertical_line(x, y - 4, y + 4);
    r.draw_text(std::to_string(p), {x - 40, y + 4, x + 40, y + 4 + h}, 0, 0, 0x21);
  }
  r.draw_text("%", {bar_x + bar_w + 2, y - h / 2, bar_x + bar_w + 60, y + h / 2}, 0, 0, 0x20);
  r.end_row(2 * h);
  r.end_table();
}

// --- the overhead note: the note the estimate keeps about its overheads and prices ---

void print_overhead_note(printout_sink& sink, print_document& doc, uint8_t* block) {
  const part_page_options page = read_part_page(block, 80);
  if (!doc.records) return;
  document::general_data g = doc.general;
  const std::optional<std::string> note = document::read_estimate_text(*doc.records, g, 0, doc.data_chain);
  const std::vector<std::string> lines = text_lines_of(note ? *note : std::string(), 119);
  if (lines.empty()) return;
  sink.part_heading(page.title, page.new_page);
  print_text_rows(sink, lines);
}

// --- the table of contents (graphic mode only) ---

void print_table_of_contents(printout_sink& sink, uint8_t* block) {
  auto* g = dynamic_cast<graphic_sink*>(&sink);
  if (!g) return;
  const part_page_options page = read_part_page(block, 100);
  const std::vector<report::toc_entry> entries = g->raport().toc_entries();
  sink.part_heading(page.title, true);
  table_layout l;
  l.columns = {{6, "666666"}, {13, "8888888888888"}, {80, ""}, {6, "888888"}};
  for (const report::toc_entry& e : entries) {
    table_row r;
    r.style = e.level == 0 ? row_style::emphasis : e.level == 4 ? row_style::element
              : e.level == 3                                    ? row_style::group
                                                                : row_style::normal;
    static const char* const indent[] = {"", " ", "  ", "    ", "    ", "      "};
    r.cells = {{indent[std::min<int>(e.level, 5)], 0, 1, cell_align::left, false, false},
               {e.number, 1, 1, cell_align::left, false, false},
               {e.title, 2, 1, cell_align::left, true, false},
               {std::to_string(e.page_no), 3, 1, cell_align::right, false, false}};
    sink.row(l, r);
  }
  sink.end_table();
  g->raport().clear_toc();
}

} // namespace

// The document's totals as opening it computes them (a compound: its chapters summed, its
// own additions and their VAT added).
calc::estimate_totals document_totals(const print_document& doc) {
  calc::estimate_totals t;
  if (!doc.compound) {
    if (doc.estimates.empty()) return t;
    estimate_model m = doc.estimates.front().model;
    return recalculate(m).totals;
  }
  for (const print_estimate& e : doc.estimates) {
    estimate_model m = e.model;
    t.add(recalculate(m).totals);
  }
  double additions = 0;
  for (const addition& a : doc.compound_model.additions) additions += round_money(a.amount);
  additions = round_money(additions);
  t.additions += additions;
  t.net = round_money(t.net + additions);
  t.vat = round_money(t.vat + vat(doc.compound_model.overheads, additions));
  t.gross = t.net + t.vat;
  return t;
}

bool print_other_part(printout_sink& sink, print_document& doc, uint8_t* block, int code, const stop_check& stop) {
  switch (code) {
  case 10: print_title_page(sink, doc, block); break;
  case 15:
  case 25: {
    const int which = code == 15 ? 0 : 2;
    if (!doc.compound || part_included(block, code) || !part_included(block, code + 100))
      print_description(sink, doc, read_part_page(block, code), which, false);
    if (doc.compound && part_included(block, code + 100))
      print_description(sink, doc, read_part_page(block, code + 100), which, true);
    break;
  }
  case 35: return print_survey_part(sink, doc, block, stop);
  case 45:
  case 50:
  case 55:
  case 60: return print_input_summary(sink, doc, block, code);
  case 65:
    if (!doc.compound || part_included(block, 65) || !part_included(block, 165)) print_additions(sink, doc, block, 65);
    if (doc.compound && part_included(block, 165)) print_additions(sink, doc, block, 165);
    break;
  case 70: print_element_table(sink, doc, block); break;
  case 75: print_statistics(sink, doc, block); break;
  case 80: print_overhead_note(sink, doc, block); break;
  case 85: {
    // The title annex: its title alone.
    if (shell::item_on(block, 9819, 2)) sink.part_heading(shell::effective_title(block, 9827), shell::item_on(block, 9819, 1));
    // The detail annex (UPZP method only): the estimate again in the full layout.
    const int method = doc.compound ? doc.compound_model.settings.calc_method
                                    : (doc.estimates.empty() ? 0 : doc.estimates.front().model.settings.calc_method);
    if (shell::item_on(block, 10087, 2) && method_of_document(method) == print_method::upzp) {
      std::vector<uint8_t> copy(block, block + shell::print_block_size);
      const std::size_t page = estimate_page_offset(print_method::upzp);
      shell::set_item(copy.data(), page, 1, shell::item_on(block, 10087, 1));
      // Under the annex's own title, its list's first entry when none is stored.
      shell::effective_title(block, 10095);
      std::memcpy(copy.data() + page + 8, block + 10095, shell::title_size);
      shell::set_item(copy.data(), page + 268, 1, false);
      shell::set_item(copy.data(), page + 268, 2, true);
      if (!print_estimate_part(sink, doc, copy.data(), stop, true)) return false;
    }
    // The assumptions annex: the second description text under its own title.
    part_page_options annex;
    annex.new_page = shell::item_on(block, 10363, 1);
    annex.title = shell::effective_title(block, 10371);
    if (shell::item_on(block, 10363, 2)) print_description(sink, doc, annex, 1, false);
    // Per constituent (185): each constituent's assumptions under its own heading.
    if (doc.compound && part_included(block, 185) && shell::item_on(block, 10631, 2)) {
      annex.new_page = shell::item_on(block, 10631, 1);
      annex.title = shell::effective_title(block, 10639);
      print_description(sink, doc, annex, 1, true);
    }
    break;
  }
  case 100: print_table_of_contents(sink, block); break;
  default: break;  // the list of catalogues and the price lists print nothing
  }
  return true;
}

} // namespace kovra::printouts
