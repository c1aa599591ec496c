#pragma once
// The page windows: Tfrm_koszt (the pages of one simple estimate, also of a constituent of a
// compound one) and Tfrm_chapter (the pages of the compound level). A page window hosts
// one view per page and runs the page protocol when the shown page changes.
#include "app/tab_form.h"
#include "views/estimate_values.h"
#include "views/view_host.h"

#include <QString>
#include <vector>

class QTabWidget;

namespace kovra::app {

using views::estimate_values;

// A page window is the host of its pages' views (what they read of the document window).
class tabbed_page_window : public Tfrm_dsc, public views::view_host {
public:
  struct page {
    const char* caption;
    const char* view_class;
  };
  tabbed_page_window(Tfrm_child* owner, const std::vector<page>& pages, QWidget* parent = nullptr);

  QTabWidget* pages() const { return page_ctrl; }
  int page_count() const { return int(views_.size()); }
  int current_page() const { return current_; }
  TTabForm* view(int page) const { return views_[std::size_t(page)]; }
  int page_index(const QString& caption) const;
  // Shows `page` through the page protocol.
  void select_page(int page);

  void activate_window(bool full) override;
  void deactivate_window(bool full) override;
  void switch_page(bool forward) override;
  void show_position(int index, document::Base_Node* node, const std::string& text) override;
  void show_summary(int kind) override;

  // Tells every view whether its page is the shown one.
  void refresh_views();
  // Tells every view that the values it shows were bound, unbound or recalculated, or
  // that the chosen node changed.
  void values_changed();
  void node_changed(document::Base_Node* node);

  // views::view_host, for the views of the pages.
  document::estimate_doc* document() const override;
  document::chapter_document* chapter() const override { return nullptr; }
  document::record_source* records() const override;
  document::general_data* general() const override;
  document::Base_Node* estimate_node() const override;
  const views::estimate_values* values() const override { return nullptr; }
  const views::compound_values* compound() const override;
  document::Base_Node* current_node() const override;
  void select_node(document::Base_Node* node) override;
  bool recalculate() override;

protected:
  QTabWidget* page_ctrl;

private:
  void page_changing(int to);
  std::vector<TTabForm*> views_;
  int current_ = 0;
  bool switching_ = false;
};

class Tfrm_koszt : public tabbed_page_window {
public:
  explicit Tfrm_koszt(Tfrm_child* owner, QWidget* parent = nullptr);
  // The estimate shown: its key (the document or the chapter), the caption suffix and
  // the values of its last recalculation (none when it has none).
  void bind(const void* key, const estimate_values* values);
  const void* bound() const { return bound_; }
  const estimate_values* values() const override { return values_; }
  void show_total() override;

  document::chapter_document* chapter() const override;
  document::Base_Node* estimate_node() const override;

private:
  const void* bound_ = nullptr;
  const estimate_values* values_ = nullptr;
};

class Tfrm_chapter : public tabbed_page_window {
public:
  explicit Tfrm_chapter(Tfrm_child* owner, QWidget* parent = nullptr);
  void show_total() override;
};

} // namespace kovra::app
