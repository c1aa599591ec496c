#include "app/page_windows.h"

#include "app/document_window.h"
#include "controls/page_ctrl.h"
#include "document/compound_nodes.h"
#include "document/estimate_nodes.h"
#include "views/view_factory.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kovra::app {

tabbed_page_window::tabbed_page_window(Tfrm_child* owner, const std::vector<page>& pages, QWidget* parent)
    : Tfrm_dsc(owner, parent) {
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  page_ctrl = new controls::VL_page_ctrl(this);
  page_ctrl->setObjectName("page_ctrl");
  l->addWidget(page_ctrl);
  views::register_views();
  for (const page& p : pages) {
    auto* tab = new QWidget(page_ctrl);
    page_ctrl->addTab(tab, QString::fromUtf8(p.caption));
    TTabForm* v = views::make_view(QString::fromUtf8(p.view_class), QString::fromUtf8(p.caption), *this);
    v->host(tab, true);
    views_.push_back(v);
  }
  page_ctrl->setCurrentIndex(0);  // "Dane ogólne"
  connect(page_ctrl, &QTabWidget::currentChanged, this, [this](int to) { page_changing(to); });
}

int tabbed_page_window::page_index(const QString& caption) const {
  for (int i = 0; i < page_ctrl->count(); ++i)
    if (page_ctrl->tabText(i) == caption) return i;
  return -1;
}

void tabbed_page_window::page_changing(int to) {
  if (switching_ || to == current_ || to < 0) return;
  // The old page's view leaves first, then the new one's arrives.
  TTabForm* old_view = views_[std::size_t(current_)];
  old_view->deactivate(1);
  old_view->deactivate(0);
  old_view->set_shown(false);
  current_ = to;
  TTabForm* new_view = views_[std::size_t(to)];
  new_view->set_shown(true);
  new_view->activate(0);
  new_view->activate(1);
  new_view->after_activate(0);
}

void tabbed_page_window::select_page(int page) {
  if (page < 0 || page >= page_count()) return;
  page_ctrl->setCurrentIndex(page);  // the change event runs the protocol
}

void tabbed_page_window::activate_window(bool full) {
  setEnabled(true);
  owner()->page_window_activated(this);
  TTabForm* v = views_[std::size_t(current_)];
  v->set_shown(true);
  if (full) v->activate(0);
  v->activate(1);
  v->after_activate(0);
}

void tabbed_page_window::deactivate_window(bool full) {
  TTabForm* v = views_[std::size_t(current_)];
  v->deactivate(1);
  if (full) v->deactivate(0);
  setEnabled(false);
}

void tabbed_page_window::switch_page(bool forward) {
  const int n = page_count();
  select_page(forward ? (current_ + 1) % n : (current_ + n - 1) % n);
}

void tabbed_page_window::show_position(int, document::Base_Node*, const std::string&) {
  select_page(page_index("Definiuj"));
}

void tabbed_page_window::show_summary(int kind) {
  static const char* captions[] = {"Zestawienie R", "Zestawienie M", "Zestawienie S"};
  if (kind >= 0 && kind < 3) select_page(page_index(QString::fromUtf8(captions[kind])));
}

void tabbed_page_window::refresh_views() {
  for (int i = 0; i < page_count(); ++i) views_[std::size_t(i)]->set_shown(i == current_);
}

void tabbed_page_window::values_changed() {
  for (TTabForm* v : views_) v->values_changed();
}

void tabbed_page_window::node_changed(document::Base_Node* node) {
  for (TTabForm* v : views_) v->node_changed(node);
}

document::estimate_doc* tabbed_page_window::document() const { return owner()->document(); }

document::record_source* tabbed_page_window::records() const {
  if (document::chapter_document* c = chapter()) return &c->records();
  document::estimate_doc* doc = document();
  return doc && doc->records ? doc->records.get() : nullptr;
}

document::general_data* tabbed_page_window::general() const {
  if (document::chapter_document* c = chapter()) return &c->general();
  document::estimate_doc* doc = document();
  return doc ? &doc->general : nullptr;
}

document::Base_Node* tabbed_page_window::estimate_node() const {
  document::estimate_doc* doc = document();
  if (!doc || !doc->tree) return nullptr;
  return static_cast<document::Base_Node*>(doc->tree->first);
}

const views::compound_values* tabbed_page_window::compound() const {
  auto* multi = dynamic_cast<Tfrm_multi*>(owner());
  return multi ? multi->values() : nullptr;
}

document::Base_Node* tabbed_page_window::current_node() const { return owner()->current_node(); }

void tabbed_page_window::select_node(document::Base_Node* node) { owner()->select_node(node); }

bool tabbed_page_window::recalculate() { return owner()->recalculate(); }

Tfrm_koszt::Tfrm_koszt(Tfrm_child* owner, QWidget* parent)
    : tabbed_page_window(owner,
                         {{"Dane ogólne", "Tfrm_dane_ogolne_simpl"},
                          {"Cenniki", "Tfrm_cen3_simple"},
                          {"Opis", "Tfrm_opis_simple"},
                          {"Narzuty", "Tfrm_ovrhd_simple"},
                          {"Dodatki", "Tfrm_dodatki"},
                          {"Definiuj", "Tfrm_define"},
                          {"Zestawienie R", "Tfrm_zest_simple"},
                          {"Zestawienie M", "Tfrm_zest_simple"},
                          {"Zestawienie S", "Tfrm_zest_simple"},
                          {"Wyniki", "Tfrm_wynikiS"}},
                         parent) {
  setObjectName("Tfrm_koszt");
}

void Tfrm_koszt::bind(const void* key, const estimate_values* values) {
  bound_ = key;
  values_ = values;
  values_changed();
}

document::chapter_document* Tfrm_koszt::chapter() const {
  // A compound's page window for constituents is bound to a chapter node.
  if (!bound_ || !dynamic_cast<Tfrm_multi*>(owner())) return nullptr;
  auto* node = static_cast<document::Base_Node*>(const_cast<void*>(bound_));
  auto* chapter = dynamic_cast<document::Rozdz_Node*>(node);
  return chapter ? chapter->chapter() : nullptr;
}

document::Base_Node* Tfrm_koszt::estimate_node() const {
  if (dynamic_cast<Tfrm_multi*>(owner()))
    return static_cast<document::Base_Node*>(const_cast<void*>(bound_));
  return tabbed_page_window::estimate_node();
}

void Tfrm_koszt::show_total() { owner()->show_values(values_ ? values_->total() : std::optional<double>()); }

Tfrm_chapter::Tfrm_chapter(Tfrm_child* owner, QWidget* parent)
    : tabbed_page_window(owner,
                         {{"Dane ogólne", "Tfrm_dane_ogolne_multi"},
                          {"Cenniki", "Tfrm_cen3_multi"},
                          {"Opis", "Tfrm_opis_multi"},
                          {"Narzuty", "Tfrm_ovrhd_multi"},
                          {"Dodatki", "Tfrm_dodatki"},
                          {"Definiuj", "Tfrm_chpt_define"},
                          {"Zestawienie N", "Tfrm_zest_N"},
                          {"Zestawienie R", "Tfrm_zest_multi"},
                          {"Zestawienie M", "Tfrm_zest_multi"},
                          {"Zestawienie S", "Tfrm_zest_multi"},
                          {"Wyniki", "Tfrm_wynikiM"}},
                         parent) {
  setObjectName("Tfrm_chapter");
}

void Tfrm_chapter::show_total() {
  // The compound level has no chapter of its own: its total is the strip's "Razem".
  owner()->show_values(std::nullopt);
}

} // namespace kovra::app
