#pragma once
// The pages' views by their class names ("Tfrm_define", "Tfrm_zest_simple", ...). Every view
// is registered by register_views (view_catalogue.cpp); a page window asks for its pages by
// class name and caption and gets a placeholder that says so for a view this edition does
// not have.
#include "views/tab_form.h"

#include <QString>
#include <functional>

namespace kovra::views {

class view_host;

// Makes the view of one page: `caption` tells the pages of one class apart (the three
// summaries share "Tfrm_zest_simple": "Zestawienie R", "Zestawienie M", "Zestawienie S").
using view_maker = std::function<TTabForm*(view_host& host, const QString& caption)>;

// Registers (or replaces) the maker of `view_class`.
void register_view(const QString& view_class, view_maker maker);
bool has_view(const QString& view_class);
TTabForm* make_view(const QString& view_class, const QString& caption, view_host& host);

// Registers every view of the program (once; later calls do nothing).
void register_views();

} // namespace kovra::views
