#include "printouts/survey_printout.h"

#include "calc/number_text.h"
#include "calc/position_costing.h"
#include "printouts/node_texts.h"
#include "printouts/part_options.h"
#include "printouts/position_heading.h"
#include "store/codepage.h"

namespace kovra::printouts {
namespace {

using namespace kovra::calc;

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }

class survey_walk {
public:
  survey_walk(printout_sink& sink, const survey_options& o, const general_options& g, print_estimate& e,
              const stop_check& stop)
      : sink_(sink), o_(o), g_(g), e_(e), stop_(stop) {
    layout_.columns = {{90, ""}, {14, "88888888888888"}, {5, "88888"}, {7, "meeeeee"}};
  }

  bool run() {
    sink_.table_heading(layout_, {heading_row()});
    walk(e_.model.roots);
    sink_.end_table();
    return !stopped_;
  }

private:
  table_row heading_row() const {
    std::string d;
    if (o_.bases) d = o_.survey ? "Podstawa nakładu, opis pozycji, wyliczenie ilości robót" : "Podstawa nakładu, opis pozycji";
    else d = o_.survey ? "Opis pozycji, wyliczenie ilości robót" : "Opis pozycji";
    table_row r;
    r.cells = {{std::string(21, ' ') + pad_left(mz(d.c_str()), 66) + "  ", 0},
               {mz("     Ilość    "), 1},
               {"Krot.", 2},
               {" Jedn. ", 3}};
    return r;
  }

  heading_lines lines() const {
    heading_lines l;
    l.bases = o_.bases;
    l.note = o_.note;
    l.cpv = o_.cpv;
    l.stwior = o_.stwior;
    l.individual_code = o_.individual_code;
    return l;
  }

  void walk(const std::vector<int>& children) {
    for (int child : children) {
      if (stopped_) return;
      const model_node& n = e_.model.nodes[std::size_t(child)];
      if (n.is_aggregate()) {
        container(child);
        continue;
      }
      if (n.not_valued() || n.left_out_of_totals()) continue;
      if (stop_ && stop_()) {
        stopped_ = true;
        return;
      }
      position(child);
    }
  }

  bool contains_element(int index) const {
    for (int c : e_.model.nodes[std::size_t(index)].children) {
      const model_node& n = e_.model.nodes[std::size_t(c)];
      if (n.type == node_element || (n.type == node_group && contains_element(c))) return true;
    }
    return false;
  }

  void container(int index) {
    const model_node& n = e_.model.nodes[std::size_t(index)];
    const bool element = n.type == node_element;
    if (g_.elements_new_page && (element || contains_element(index))) sink_.new_page();
    sink_.toc_entry(element ? 4 : 3, trimmed_text(n.number), trimmed_text(n.description));
    const node_texts t = texts_of(n);
    table_row r;
    r.style = element ? row_style::element : row_style::group;
    r.cells.push_back({position_heading_text(n, t, lines(), false), 0, 1, cell_align::left, true});
    sink_.begin_block();
    sink_.row(layout_, r);
    sink_.end_block();
    if (element && n.merged) return;  // the positions of a merged element are not listed
    walk(n.children);
  }

  node_texts texts_of(const model_node& n) const {
    return e_.records ? read_node_texts(*e_.records, n.pos) : node_texts{};
  }

  void position(int index) {
    const model_node& n = e_.model.nodes[std::size_t(index)];
    const node_texts t = texts_of(n);
    const double q = position_quantity(e_.model, n);
    char factor[16];
    table_row r;
    r.cells.push_back({position_heading_text(n, t, lines(), true), 0, 1, cell_align::left, true});
    r.cells.push_back({marked_quantity(q, n.precision_code, !t.survey.empty()), 1, 1, cell_align::right});
    r.cells.push_back({text_factor_or_blank(n.multiplicity, factor, sizeof factor), 2, 1, cell_align::right});
    r.cells.push_back({trimmed_text(n.unit), 3, 1, cell_align::left});
    sink_.begin_block();
    sink_.row(layout_, r);
    if (o_.survey) {
      for (const survey_line& l : t.survey) {
        std::string text = trimmed_text(l.description);
        if (!l.is_comment()) {
          const std::string expr = trimmed_text(l.expression);
          text = text.empty() ? expr : text + " " + expr;
        }
        table_row s;
        s.cells.push_back({text, 0, 1, cell_align::left, true});
        if (!l.is_comment()) s.cells.push_back({text_quantity_short(l.value, -3), 1, 1, cell_align::right});
        sink_.row(layout_, s);
      }
    }
    sink_.rule(layout_, '-');
    sink_.end_block();
  }

  printout_sink& sink_;
  const survey_options& o_;
  const general_options& g_;
  print_estimate& e_;
  stop_check stop_;
  table_layout layout_;
  bool stopped_ = false;
};

// The list of divisions: number, CPV codes and name of every node of the chosen kinds.
void division_list(printout_sink& sink, print_document& doc, const survey_options& o) {
  sink.part_heading(o.division_title, o.division_new_page);
  table_layout layout;
  layout.columns = {{20, "8888888888888"}, {17, "88888888-8 W888-8"}, {80, ""}};
  table_row h;
  h.cells = {{"Lp.", 0}, {"Nr CPV", 1}, {"Opis", 2}};
  sink.table_heading(layout, {h});
  if (o.list_chapters && doc.compound) {
    for (const print_estimate& e : doc.estimates) {
      table_row r;
      r.cells = {{e.number, 0}, {"", 1}, {e.tree_name, 2, 1, cell_align::left, true}};
      sink.row(layout, r);
    }
  }
  for (const print_estimate& e : doc.estimates) {
    for (const model_node& n : e.model.nodes) {
      const bool wanted = (n.type == node_group && o.list_groups) || (n.type == node_element && o.list_elements) ||
                          (n.is_position_like() && o.list_positions);
      if (!wanted) continue;
      const node_texts t = e.records ? read_node_texts(*e.records, n.pos) : node_texts{};
      table_row r;
      r.cells = {{trimmed_text(n.number), 0}, {t.cpv, 1, 1, cell_align::left, true},
                 {trimmed_text(n.description), 2, 1, cell_align::left, true}};
      sink.row(layout, r);
    }
  }
  sink.end_table();
}

} // namespace

bool print_survey_part(printout_sink& sink, print_document& doc, uint8_t* block, const stop_check& stop) {
  const general_options g = read_general_options(block);
  const int own_method = doc.compound ? doc.compound_model.settings.calc_method
                                      : (doc.estimates.empty() ? 0 : doc.estimates.front().model.settings.calc_method);
  const print_method method = g.as_estimate ? method_of_document(own_method) : g.method;
  const bool upzp = method == print_method::upzp;
  const survey_options o = read_survey_options(block, upzp);
  sink.part_heading(o.page.title, o.page.new_page);
  bool first = true;
  for (print_estimate& e : doc.estimates) {
    if (doc.compound) {
      if (!first && (g.chapters_new_page || g.elements_new_page)) sink.new_page();
      const std::string name = g.names_from_general ? e.general_name : e.tree_name;
      sink.constituent_bands(e);
      sink.toc_entry(1, e.number, name);
      sink.sub_heading(e.number.empty() ? name : e.number + "  " + name);
    }
    first = false;
    survey_walk walk(sink, o, g, e, stop);
    if (!walk.run()) return false;
  }
  if (upzp && o.division_list) division_list(sink, doc, o);
  return true;
}

} // namespace kovra::printouts
