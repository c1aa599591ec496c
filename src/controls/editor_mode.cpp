#include "controls/editor_mode.h"

namespace kovra::controls {

VL_editor_mode& VL_editor_mode::instance() {
  static VL_editor_mode mode;
  return mode;
}

void VL_editor_mode::set_insert_mode(bool insert) {
  insert_mode_ = insert;
  emit insert_mode_changed(insert);
}

bool VL_editor_mode::request_switch(bool insert) {
  if (handler_) return handler_(insert);
  set_insert_mode(insert);
  return true;
}

void VL_editor_mode::reset() {
  handler_ = nullptr;
  set_insert_mode(true);
}

} // namespace kovra::controls
