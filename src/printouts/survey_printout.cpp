#include "printouts/survey_printout.h"

#include "calc/number_text.h"
#include "calc/position_costing.h"
#include "calc/recalculation.h"
#include "calc/special_positions.h"
#include "printouts/node_texts.h"
#include "printouts/part_options.h"
#include "printouts/position_heading.h"
#include "store/codepage.h"

#include <cstdio>

namespace kovra::printouts {
namespace {

using namespace kovra::calc;

std::string mz(const char* utf8) { return store::utf8_to_mazovia(utf8); }

class survey_walk {
public:
  survey_walk(printout_sink& sink, const survey_options& o, const general_options& g, print_estimate& e,
              const stop_check& stop)
      : sink_(sink), o_(o), g_(g), e_(e), stop_(stop) {
    if (sink.text_mode()) {
      layout_.columns = {{90, ""}, {14, "88888888888888"}, {5, "88888"}, {7, "meeeeee"}};
    } else {
      // Number and basis stand in columns of their own, without rules after them.
      layout_.columns = {{0, "8888888888888"}, {0, "8888888888888888"}, {90, ""},
                         {14, "88888888888888"}, {5, "88888"}, {7, "meeeeee"}};
      span_ = 3;
      // Survey lines split the description area into the line's text and "=".
      survey_layout_.columns = {{0, "8888888888888"}, {0, "8888888888888888"}, {89, ""}, {1, "="},
                                {14, "88888888888888"}, {5, "88888"}, {7, "meeeeee"}};
    }
    q_ = span_;
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
    if (!sink_.text_mode()) {
      r.cells = {{mz(d.c_str()), 0, span_, cell_align::centre, true},
                 {mz("Ilość"), q_, 1, cell_align::centre},
                 {"Krot.", q_ + 1, 1, cell_align::centre},
                 {"Jedn.", q_ + 2, 1, cell_align::centre}};
      return r;
    }
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
    r.cells.push_back({position_heading_text(n, t, lines(), false), 0, span_, cell_align::left, true});
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
    const std::string heading = position_heading_text(n, t, lines(), true);
    if (sink_.text_mode()) {
      r.cells.push_back({heading, 0, 1, cell_align::left, true});
    } else {
      const std::string description = heading.substr(std::min(heading.size(), heading.find('\n') + 1));
      r.cells.push_back({trimmed_text(n.number), 0, 1, cell_align::left, true, false});
      r.cells.push_back({o_.bases ? t.basis : std::string(), 1, 1, cell_align::left, true, false});
      r.cells.push_back({description, 2, 1, cell_align::left, true});
    }
    r.cells.push_back({marked_quantity(q, n.precision_code, !t.survey.empty()), q_, 1, cell_align::right});
    r.cells.push_back({text_factor_or_blank(n.multiplicity, factor, sizeof factor), q_ + 1, 1, cell_align::right});
    r.cells.push_back({trimmed_text(n.unit), q_ + 2, 1, cell_align::left});
    sink_.begin_block();
    sink_.row(layout_, r);
    if (o_.survey && n.type == node_scaffold) scaffold_calculation(index);
    if (o_.survey) {
      for (const survey_line& l : t.survey) {
        std::string text = trimmed_text(l.description);
        if (!l.is_comment()) {
          const std::string expr = trimmed_text(l.expression);
          text = text.empty() ? expr : text + " " + expr;
        }
        const std::string value = l.is_comment() ? std::string() : std::string(text_quantity_short(l.value, -3));
        table_row s;
        if (sink_.text_mode()) {
          s.cells.push_back({text, 0, span_, cell_align::left, true});
          if (!value.empty()) s.cells.push_back({value, q_, 1, cell_align::right});
          sink_.row(layout_, s);
          continue;
        }
        s.cells = {{"", 0, 1, cell_align::left, false, false},
                   {"", 1, 1, cell_align::left, false, false},
                   {text, 2, 1, cell_align::left, true, false},
                   {value.empty() ? "" : "=", 3, 1, cell_align::right},
                   {value, 4, 1, cell_align::right}};
        sink_.row(survey_layout_, s);
      }
    }
    sink_.rule(layout_, '-');
    sink_.end_block();
  }

  // A scaffolding position's quantity: the labour hours of its linked positions, their sum,
  // the scaffold count and the working time.
  void scaffold_calculation(int index) {
    if (!costing_) {
      model_ = e_.model;
      const recalc_options ro = options_from_settings(model_.settings);
      run_single(model_, ro);
      ctx_ = make_costing_context(model_, ro);
      costing_ = true;
    }
    const model_node& n = model_.nodes[std::size_t(index)];
    auto line = [&](const std::string& text, const std::string& value) {
      table_row r;
      // Wrapped only when too long: the calculation lines keep their own spacing.
      r.cells.push_back({text, 0, span_, cell_align::left, !sink_.text_mode() || int(text.size()) > layout_.columns[0].width});
      if (!value.empty()) r.cells.push_back({value, q_, 1, cell_align::right});
      sink_.row(layout_, r);
    };
    for (int link : n.links) {
      if (link < 0 || std::size_t(link) >= model_.nodes.size()) continue;
      const model_node& p = model_.nodes[std::size_t(link)];
      line(trimmed_text(p.number) + " " + trimmed_text(p.description), text_amount(position_labour_hours(ctx_, link)));
    }
    const scaffold_values v = scaffold_quantities(ctx_, index);
    line(std::string(std::size_t(sink_.text_mode() ? layout_.columns[0].width : 40), '-'), "");
    line("Razem (r-g) ", text_amount(v.labour_hours));
    char text[200];
    std::snprintf(text, sizeof text, "S=%d  W=%4.2lf  P=%4.2lf  IR=(%ld*%.2lf/%ld)=%s", int(n.scaffold_s), n.scaffold_w,
                  n.scaffold_p, long(n.scaffold_sets), n.scaffolds_per_set, long(n.scaffold_k),
                  trimmed_text(text_quantity_short(v.count, v.count_code)).c_str());
    line(text, "");
    std::snprintf(text, sizeof text, "%s=r-g/(S*W)*P=%s/(%d*%0.2lf)*%0.2lf=%s", "Czas pracy",
                  trimmed_text(text_amount(v.labour_hours)).c_str(), int(n.scaffold_s), n.scaffold_w, n.scaffold_p,
                  trimmed_text(text_amount(v.working_time)).c_str());
    line(text, "");
  }

  printout_sink& sink_;
  const survey_options& o_;
  const general_options& g_;
  print_estimate& e_;
  stop_check stop_;
  table_layout layout_, survey_layout_;
  int span_ = 1, q_ = 1;  // columns of the description area; the quantity column
  bool stopped_ = false;
  bool costing_ = false;  // model_ and ctx_ are set (at the first scaffolding position)
  estimate_model model_;
  costing_context ctx_;
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
  part_heading_with_suffix(sink, o.page.title, o.page.new_page, quantities_suffix(g, doc));
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
