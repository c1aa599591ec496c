#pragma once
// Applying the screen look to a form: the form and each of its controls, recursively, get
// the fonts and colours of the screen elements that fit their kind.
class QWidget;

namespace kovra::controls {

void apply_screen_look(QWidget* form);

} // namespace kovra::controls
