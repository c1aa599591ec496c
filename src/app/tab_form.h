#pragma once
// Tfrm_dsc: the base of the page windows (the pages' own base, TTabForm, is the views').
#include "views/tab_form.h"

#include <QWidget>
#include <string>
#include <vector>

namespace kovra::document {
class Base_Node;
}

namespace kovra::app {

class Tfrm_child;

using views::TTabForm;
using views::Tfrm_pending_view;

class Tfrm_dsc : public TTabForm {
public:
  explicit Tfrm_dsc(Tfrm_child* owner, QWidget* parent = nullptr) : TTabForm(parent), owner_(owner) {}
  Tfrm_child* owner() const { return owner_; }

  void hold_autosave();
  void release_autosave();

  virtual void show_position(int index, document::Base_Node* node, const std::string& text) = 0;
  virtual void show_summary(int kind) = 0;
  virtual void activate_window(bool full) = 0;
  virtual void deactivate_window(bool full) = 0;
  virtual void switch_page(bool forward) = 0;
  virtual void show_total() = 0;

private:
  Tfrm_child* owner_;
};

} // namespace kovra::app
