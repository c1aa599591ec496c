#include "app/tab_form.h"

#include "app/document_window.h"


namespace kovra::app {

void Tfrm_dsc::hold_autosave() { owner_->hold_autosave(); }
void Tfrm_dsc::release_autosave() { owner_->release_autosave(); }

} // namespace kovra::app
