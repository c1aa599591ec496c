#include "app/document_window.h"

#include "app/chapter_locator.h"
#include "app/estimate_tree_model.h"
#include "app/main_window.h"
#include "app/page_windows.h"
#include "app/tree_pictures.h"
#include "calc/number_text.h"
#include "controls/sum_panel.h"
#include "calc/rounding.h"
#include "document/store_chapter.h"
#include "document/build_tree.h"
#include "document/cpv_collect.h"
#include "document/chapter_open.h"
#include "document/estimate_layout.h"
#include "document/tree_moves.h"
#include "shell/messages.h"
#include "shell/progress.h"
#include "store/codepage.h"
#include "store/container.h"
#include "store/record_set.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>
#include <filesystem>
#include <unordered_map>

namespace kovra::app {

using namespace kovra::document;

namespace {

constexpr int tree_panel_width = 177;
constexpr int min_side_width = 80;
constexpr int value_panel_width = 108;

QString internal_to_screen(const std::string& text) { return QString::fromStdString(store::mazovia_to_utf8(text)); }

QLabel* value_panel(QWidget* parent, const char* name) {
  auto* l = new controls::VL_sum_panel(parent);
  l->setObjectName(name);
  l->set_min_width(value_panel_width);  // as wide as its value, never narrower
  l->setFrameShape(QFrame::Panel);
  l->setFrameShadow(QFrame::Sunken);
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  l->setFocusPolicy(Qt::StrongFocus);  // takes the focus so that an open editor commits
  return l;
}

QStackedWidget* pages_host(QWidget* w) { return static_cast<QStackedWidget*>(w); }

} // namespace

Tfrm_child::Tfrm_child(Tfrm_main* main, QWidget* parent) : QWidget(parent), main_(main) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  splt_main = new QSplitter(Qt::Horizontal, this);
  splt_main->setObjectName("splt_main");
  splt_main->setChildrenCollapsible(false);
  pnl_main = new QWidget(splt_main);
  pnl_main->setObjectName("pnl_main");
  pnl_main->setMinimumWidth(min_side_width);
  auto* tl = new QVBoxLayout(pnl_main);
  tl->setContentsMargins(0, 0, 0, 0);
  tree_multi = new QTreeView(pnl_main);
  tree_multi->setObjectName("tree_multi");
  tree_multi->setHeaderHidden(true);
  tree_multi->setUniformRowHeights(true);
  tree_multi->setDragEnabled(false);
  tree_multi->setContextMenuPolicy(Qt::CustomContextMenu);
  tree_multi->setItemDelegate(new tree_delegate(tree_multi));
  tl->addWidget(tree_multi);
  model = new estimate_tree_model(this);
  tree_multi->setModel(model);
  auto* pages = new QStackedWidget(splt_main);
  pages->setObjectName("pages");
  pages->setMinimumWidth(min_side_width);
  splt_main->addWidget(pnl_main);
  splt_main->addWidget(pages);
  splt_main->setStretchFactor(1, 1);
  splt_main->setSizes({tree_panel_width, 600});

  pnl_chd_status = new QWidget(this);
  pnl_chd_status->setObjectName("pnl_chd_status");
  auto* sl = new QHBoxLayout(pnl_chd_status);
  sl->setContentsMargins(2, 2, 2, 2);
  lbl_razem = new QLabel("Razem kosztorys:  ", pnl_chd_status);
  pnl_chd_value_razem = value_panel(pnl_chd_status, "pnl_chd_value_razem");
  lbl_suma = new QLabel("Suma rozdziału:", pnl_chd_status);
  pnl_chd_value = value_panel(pnl_chd_status, "pnl_chd_value");
  sl->addStretch();
  sl->addWidget(lbl_razem);
  sl->addWidget(pnl_chd_value_razem);
  sl->addWidget(lbl_suma);
  sl->addWidget(pnl_chd_value);

  auto* all = new QVBoxLayout(this);
  all->setContentsMargins(0, 0, 0, 0);
  all->setSpacing(0);
  all->addWidget(splt_main, 1);
  all->addWidget(pnl_chd_status);

  popup_tree = new QMenu(this);
  popup_tree->setObjectName("popup_tree");
  popup_tree->addAction("Przesun w &Lewo << ", this, [this] { item_left_click(); });
  popup_tree->addAction("Przesun w &Prawo >>", this, [this] { item_right_click(); });
  popup_tree->addSeparator();
  popup_tree->addAction("&Zwiń wszystkie", tree_multi, &QTreeView::collapseAll);
  popup_tree->addAction("&Rozwiń wszystkie", tree_multi, &QTreeView::expandAll);
  connect(tree_multi, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { popup_tree->popup(tree_multi->viewport()->mapToGlobal(p)); });
  connect(tree_multi->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& now, const QModelIndex&) {
            Base_Node* n = estimate_tree_model::node_of(now);
            if (!n) return;
            node_selected(n, !program_selection_);
            if (tabbed_page_window* pages = front_page_window()) pages->node_changed(n);
          });
}

Tfrm_child::~Tfrm_child() = default;

void Tfrm_child::on_activated() {
  if (ready)
    if (auto* p = front_page_window()) p->activate_window(false);
}

void Tfrm_child::on_deactivated() {
  if (ready)
    if (auto* p = front_page_window()) p->deactivate_window(false);
}

void Tfrm_child::show_values(std::optional<double> value) {
  static_cast<controls::VL_sum_panel*>(pnl_chd_value)
      ->set_caption(value ? QString::fromLatin1(calc::text_money(*value)).trimmed() : QString());
}

bool Tfrm_child::shows_file(const std::string& path, Base_Node** node) const {
  if (node) *node = nullptr;
  return QString::fromStdString(path).compare(QString::fromStdString(path_), Qt::CaseInsensitive) == 0;
}

bool Tfrm_child::is_writable() const { return document() && !is_read_only(*document()); }
bool Tfrm_child::is_modified() const { return document() && document()->is_open() && document::is_modified(*document()); }

void Tfrm_child::refresh_values() {
  if (auto* p = front_page_window()) {
    p->refresh_views();
    p->show_total();
  }
}

void Tfrm_child::show_total() {
  if (auto* p = front_page_window()) p->show_total();
}

void Tfrm_child::switch_page(bool forward) {
  if (auto* p = front_page_window()) p->switch_page(forward);
}

void Tfrm_child::update_caption() {
  if (!document() || !document()->is_open()) {
    setWindowTitle(QFileInfo(QString::fromStdString(path_)).fileName());
    return;
  }
  // The title names the estimate in the internal code page; the screen shows UTF-8.
  setWindowTitle(QString::fromStdString(document_title(*document(), path_)));
}

void Tfrm_child::set_tree_visible(bool visible) { pnl_main->setVisible(visible); }
bool Tfrm_child::tree_visible() const { return !pnl_main->isHidden(); }

void Tfrm_child::select_node(Base_Node* node) {
  program_selection_ = true;
  tree_multi->setCurrentIndex(model->index_of(node));
  program_selection_ = false;
}

Base_Node* Tfrm_child::current_node() const { return estimate_tree_model::node_of(tree_multi->currentIndex()); }

void Tfrm_child::page_window_activated(Tfrm_dsc*) {
  update_caption();
  if (main_) main_->update_menu_items();
}

void Tfrm_child::item_left_click() {
  Base_Node* node = estimate_tree_model::node_of(tree_multi->currentIndex());
  if (!node || !model->tree()) return;
  hold_autosave();
  move_result r = outdent_node(*model->tree(), node, &shell::current_message_sink());
  release_autosave();
  model->finish_changes();
  if (r == move_result::moved) {
    after_tree_change();
    select_node(node);
  }
}

void Tfrm_child::item_right_click() {
  Base_Node* node = estimate_tree_model::node_of(tree_multi->currentIndex());
  if (!node || !model->tree()) return;
  hold_autosave();
  move_result r = indent_node(*model->tree(), node, &shell::current_message_sink());
  release_autosave();
  model->finish_changes();
  if (r == move_result::moved) {
    after_tree_change();
    tree_multi->expand(model->index_of(static_cast<Base_Node*>(node->parent)));
    select_node(node);
  }
}

void Tfrm_child::closeEvent(QCloseEvent* event) {
  if (!closing) {
    pnl_chd_value_razem->setFocus();  // an open editor commits its value
    closing = true;
  }
  closing = false;
  const bool temporary = is_temporary();
  const std::string path = path_;
  if (!temporary && ready && main_) main_->add_recent(path);
  pnl_chd_value->setFocus();
  close_document();
  if (temporary) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
  event->accept();
  if (main_) main_->document_closed(this);
}

bool Tfrm_child::check_header(const std::string& path, int kind) {
  uint8_t error = 0;
  if (document_kind(path, &error) >= 0) return true;
  if (error == store::OPEN_NOT_FOUND && !std::filesystem::exists(path)) {
    estimate_doc empty;
    bool made = kind == KIND_COMPOUND ? create_compound_estimate(empty, path) : create_simple_estimate(empty, path);
    if (made) close_estimate(empty);
    return made;
  }
  shell::msg_box(error == store::OPEN_BAD_MAGIC || error == store::OPEN_WRONG_TYPE ? 155 : 156);
  return false;
}

// --- Tfrm_simple ---

Tfrm_simple::Tfrm_simple(Tfrm_main* main, QWidget* parent) : Tfrm_child(main, parent) {
  setObjectName("Tfrm_simple");
  setWindowIcon(tree_picture(0));
  // One value in the strip: "Razem kosztorys:" before the sum's panel.
  lbl_suma->hide();
  pnl_chd_value_razem->hide();
}

Tfrm_simple::~Tfrm_simple() { close_document(); }

tabbed_page_window* Tfrm_simple::front_page_window() const { return koszt_; }

bool Tfrm_simple::open(const std::string& path, int mode) {
  path_ = path;
  koszt_ = new Tfrm_koszt(this);
  pages_host(splt_main->widget(1))->addWidget(koszt_);
  koszt_->setVisible(true);
  update_caption();
  auto fail = [this] {
    delete koszt_;
    koszt_ = nullptr;
    doc_.reset();
    return false;
  };
  if (!check_header(path, 1)) return fail();
  doc_ = std::make_unique<estimate_doc>();
  if (!open_simple_estimate(*doc_, path, nullptr, true, nullptr, false, mode == OPEN_READ_ONLY)) return fail();
  doc_->window = this;
  update_caption();

  shell::wait_open(nullptr, shell::ANIM_NONE, shell::WAIT_ANIMATION, 184);
  shell::wait_step();
  doc_->tree = std::make_unique<Kvr_Tree8>();
  auto* root = new Koszt_Node;
  root->doc = doc_.get();
  attach_last(*doc_->tree, nullptr, root, 0, "");
  build_tree(*doc_->records, *doc_->tree, *root, doc_.get());
  collect_cpv(*doc_);  // the "Kod" pages show every node's codes
  shell::wait_close();
  recalculate();
  model->set_tree(doc_->tree.get(), "Kosztorys");
  tree_multi->expand(model->index_of(root));
  select_node(root);

  ready = true;
  koszt_->bind(doc_.get(), values_.get());
  koszt_->activate_window(true);
  koszt_->show_total();
  return true;
}

bool Tfrm_simple::recalculate() {
  if (!doc_ || !doc_->is_open()) return false;
  auto v = std::make_unique<estimate_values>();
  std::string error;
  const bool was_modified = document::is_modified(*doc_);
  if (!calc::model_from_document(*doc_->records, doc_->general, doc_->overhead, v->own_model, error)) return false;
  v->result = calc::recalculate(v->own_model);
  if (!is_read_only(*doc_)) calc::write_results(v->own_model, *doc_->records);
  if (!was_modified) document::clear_modified(*doc_);
  // The tree's nodes hold the values of this run.
  if (doc_->tree) {
    std::unordered_map<int32_t, const calc::model_node*> by_pos;
    for (const auto& n : v->model.nodes) by_pos.emplace(n.pos, &n);
    for (Smp_Node* n = doc_->tree->first; n; n = next_in_preorder(n))
      if (auto* e = dynamic_cast<Elpz_Node*>(n)) {
        auto it = by_pos.find(e->pos);
        if (it == by_pos.end()) continue;
        e->record.set_net(it->second->net);
        e->record.set_gross(it->second->gross);
      }
  }
  values_ = std::move(v);
  if (koszt_ && koszt_->bound()) koszt_->bind(doc_.get(), values_.get());
  return true;
}

namespace {
// Writes a set (with its sub-sets) and its file's image to disk; message 180 when that fails.
void write_through(store_records& records, const std::string& path) {
  if (records.read_only()) return;
  store::record_set* set = records.set();
  if (!store::flush_record_set(set) || !store::flush_container(store::set_handle(set)))
    shell::msg_box_screen(180, path.c_str());
}
} // namespace

void Tfrm_simple::after_tree_change() {
  recalculate();
  if (doc_ && doc_->is_open() && !is_read_only(*doc_)) write_through(*doc_->records, path_);
}

void Tfrm_multi::after_tree_change() {
  recalculate();
  if (!doc_ || !doc_->is_open() || !doc_->tree || !compound_) return;
  for (Smp_Node* n = doc_->tree->first ? doc_->tree->first->first_child : nullptr; n; n = n->next) {
    auto* b = static_cast<Base_Node*>(n);
    auto* chapter = b->kind == KIND_CHAPTER ? dynamic_cast<store_chapter*>(static_cast<Rozdz_Node*>(b)->chapter()) : nullptr;
    if (chapter && chapter->storage == STORAGE_EXTERNAL) write_through(chapter->set(), compound_->resolve(chapter->chapter));
  }
  if (!is_read_only(*doc_)) write_through(*doc_->records, path_);  // the internal chapters with it
}

void Tfrm_simple::close_document() {
  ready = false;
  model->set_tree(nullptr, {});
  if (doc_ && doc_->is_open()) close_estimate(*doc_);
  doc_.reset();
  if (koszt_) koszt_->bind(nullptr, nullptr);
  values_.reset();
}

void Tfrm_simple::node_selected(Base_Node* node, bool by_user) {
  if (by_user && ready && node && node->kind != KIND_ESTIMATE && koszt_) koszt_->show_position(0, node, "");
}

// --- Tfrm_multi ---

Tfrm_multi::Tfrm_multi(Tfrm_main* main, QWidget* parent) : Tfrm_child(main, parent) {
  setObjectName("Tfrm_multi");
  setWindowIcon(tree_picture(1));
  tree_multi->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

Tfrm_multi::~Tfrm_multi() { close_document(); }

tabbed_page_window* Tfrm_multi::front_page_window() const {
  return koszt_in_front_ ? static_cast<tabbed_page_window*>(koszt_) : chapter_;
}

bool Tfrm_multi::open(const std::string& path, int mode) {
  path_ = path;
  chapter_ = new Tfrm_chapter(this);
  pages_host(splt_main->widget(1))->addWidget(chapter_);
  chapter_->setVisible(true);
  auto fail = [this] {
    close_document();
    delete chapter_;
    chapter_ = nullptr;
    return false;
  };
  if (!check_header(path, KIND_COMPOUND)) return fail();
  doc_ = std::make_unique<estimate_doc>();
  if (!open_compound_estimate(*doc_, path, false, mode == OPEN_READ_ONLY)) {
    doc_.reset();
    return fail();
  }
  doc_->window = this;
  setWindowTitle(QString::fromStdString(path));

  doc_->tree = std::make_unique<Kvr_Tree8>();
  auto* root = new Koszt_Node;
  root->doc = doc_.get();
  attach_last(*doc_->tree, nullptr, root, 0, "");
  compound_ = std::make_unique<store_compound>(*doc_);
  hold_autosave();
  chapter_locator locator(this);
  chapter_open_options options;
  options.chooser = &locator;
  open_all_result loaded;
  const bool all = open_all_chapters(*doc_->tree, *root, *compound_, options, &loaded);
  release_autosave();
  if (!all || loaded.stopped) return fail();
  collect_cpv(*doc_);
  if (root->first_child) {
    koszt_ = new Tfrm_koszt(this);
    pages_host(splt_main->widget(1))->addWidget(koszt_);
  }
  model->set_tree(doc_->tree.get(), internal_to_screen(doc_->general.name()));
  recalculate();
  ready = true;
  select_node(root);
  tree_multi->expand(model->index_of(root));
  pages_host(splt_main->widget(1))->setCurrentWidget(chapter_);
  chapter_->activate_window(true);
  update_caption();
  return true;
}

bool Tfrm_multi::recalculate() {
  if (!doc_ || !doc_->is_open() || !doc_->tree) return false;
  std::vector<store_chapter*> chapters;
  std::vector<const Base_Node*> nodes;
  for (Smp_Node* n = doc_->tree->first ? doc_->tree->first->first_child : nullptr; n; n = n->next) {
    auto* b = static_cast<Base_Node*>(n);
    if (b->kind != KIND_CHAPTER) continue;
    chapters.push_back(dynamic_cast<store_chapter*>(static_cast<Rozdz_Node*>(b)->chapter()));
    nodes.push_back(b);
  }
  auto v = std::make_unique<compound_values>();
  std::string error;
  const bool was_modified = document::is_modified(*doc_);
  // The model over the chapters the window holds, the way a read-only run builds it.
  if (doc_->records->chain_count() < COMPOUND_CHAINS) return false;
  calc::compound_parts_from_records(*doc_->records, doc_->general, doc_->overhead, v->model);
  for (store_chapter* c : chapters) {
    if (!c) continue;
    calc::chapter_model ch = calc::chapter_from_record(c->chapter);
    ch.available = calc::model_from_document(c->records(), c->general(), c->overhead, ch.doc, error);
    v->model.chapters.push_back(std::move(ch));
  }
  v->result = calc::recalculate_compound(v->model);
  const bool write_back = !is_read_only(*doc_);
  std::size_t k = 0;
  for (std::size_t i = 0; i < chapters.size(); ++i) {
    if (!chapters[i]) continue;
    calc::chapter_model& ch = v->model.chapters[k];
    std::unique_ptr<estimate_values> values;
    if (ch.available) {
      if (write_back && !chapters[i]->set().read_only()) calc::write_results(ch.doc, chapters[i]->records());
      values = std::make_unique<estimate_values>(ch.doc);
      if (k < v->result.chapters.size()) values->result = v->result.chapters[k];
    }
    v->chapters.emplace_back(nodes[i], std::move(values));
    ++k;
  }
  if (write_back) calc::write_summary_results(v->model, *doc_->records);
  if (!was_modified) document::clear_modified(*doc_);
  values_ = std::move(v);
  // The pages read the new run (a constituent's page window its chapter's part of it).
  if (koszt_ && koszt_->bound()) {
    auto* chapter = static_cast<const Base_Node*>(koszt_->bound());
    koszt_->bind(chapter, values_->chapter(chapter));
  }
  if (chapter_) chapter_->values_changed();
  return true;
}

void Tfrm_multi::update_caption() {
  if (koszt_in_front_ && koszt_) constituent_caption(static_cast<const Base_Node*>(koszt_->bound()));
  else Tfrm_child::update_caption();
}

void Tfrm_multi::constituent_caption(const Base_Node* chapter) {
  auto* c = chapter ? dynamic_cast<store_chapter*>(static_cast<const Rozdz_Node*>(chapter)->chapter()) : nullptr;
  if (!c || !compound_) return Tfrm_child::update_caption();
  // The constituent's file (the compound's own for an internal chapter), then its name.
  const std::string file = c->storage == STORAGE_EXTERNAL ? compound_->resolve(c->chapter) : path_;
  QString caption = QFileInfo(QString::fromStdString(file)).fileName();
  if (c->set().read_only()) caption += " (Tylko do odczytu)";
  const std::string name = c->general().name();
  if (!name.empty()) caption += " (" + internal_to_screen(name) + ")";
  setWindowTitle(caption);
}

void Tfrm_multi::show_values(std::optional<double> value) {
  Tfrm_child::show_values(value);
  // The whole compound, rounded as its totals are.
  static_cast<controls::VL_sum_panel*>(pnl_chd_value_razem)
      ->set_caption(values_ ? QString::fromLatin1(calc::text_money(calc::round_total(values_->result.totals.gross))).trimmed()
                            : QString());
}

void Tfrm_multi::close_document() {
  ready = false;
  model->set_tree(nullptr, {});
  if (koszt_) koszt_->bind(nullptr, nullptr);
  if (doc_ && doc_->is_open()) {
    hold_autosave();
    close_estimate(*doc_);  // the chapters close with the tree, before the compound
    release_autosave();
  }
  compound_.reset();
  doc_.reset();
}

bool Tfrm_multi::shows_file(const std::string& path, Base_Node** node) const {
  if (Tfrm_child::shows_file(path, node)) return true;
  if (!doc_ || !doc_->tree || !compound_) return false;
  const QString wanted = QString::fromStdString(path);
  for (Smp_Node* n = doc_->tree->first; n; n = next_in_preorder(n)) {
    auto* b = static_cast<Base_Node*>(n);
    if (b->kind != KIND_CHAPTER) continue;
    auto* chapter = static_cast<Rozdz_Node*>(b)->chapter();
    if (!chapter || chapter->storage != STORAGE_EXTERNAL) continue;
    const QString file = QString::fromStdString(compound_->resolve(chapter->chapter));
    if (file.compare(wanted, Qt::CaseInsensitive) == 0) {
      if (node) *node = b;
      return true;
    }
  }
  return false;
}

void Tfrm_multi::node_selected(Base_Node* node, bool by_user) {
  if (!ready || !node) return;
  hold_autosave();
  auto* host = pages_host(splt_main->widget(1));
  if (node->kind == KIND_ESTIMATE || !koszt_) {
    if (koszt_in_front_ && koszt_) koszt_->deactivate_window(true);
    koszt_in_front_ = false;
    host->setCurrentWidget(chapter_);
    chapter_->activate_window(true);
    chapter_->show_total();
    update_caption();
  } else {
    Base_Node* chapter = node;
    while (chapter && chapter->kind != KIND_CHAPTER) chapter = static_cast<Base_Node*>(chapter->parent);
    if (koszt_->bound() != chapter || !koszt_in_front_) {
      if (koszt_in_front_) koszt_->deactivate_window(true);
      else chapter_->deactivate_window(true);
      koszt_->bind(chapter, values_ ? values_->chapter(chapter) : nullptr);
      koszt_in_front_ = true;
      host->setCurrentWidget(koszt_);
      refresh_values();
      koszt_->activate_window(true);
    } else {
      koszt_->show_total();
      koszt_->activate_window(true);
    }
    if (by_user && (node->kind == KIND_WORK_GROUP || node->kind == KIND_ELEMENT || node->kind == KIND_POSITION))
      koszt_->show_position(0, node, "");
  }
  release_autosave();
  if (main_) main_->update_menu_items();
}

} // namespace kovra::app
