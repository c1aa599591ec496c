// Every page view of the program, by the class name its page window asks for.
#include "views/view_factory.h"
#include "views/chapters_view.h"
#include "views/define_view.h"
#include "views/general_views.h"

#include "views/additions_view.h"
#include "views/overhead_summary_view.h"
#include "views/overheads_view.h"
#include "views/results_view.h"
#include "views/summary_view.h"

namespace kovra::views {

void register_views() {
  static bool done = false;
  if (done) return;
  done = true;
  // One line per view: register_view("Tfrm_...", make_...);
  register_view("Tfrm_define", [](view_host& h, const QString&) { return new Tfrm_define(h); });
  register_view("Tfrm_chpt_define", [](view_host& h, const QString&) { return new Tfrm_chpt_define(h); });
  register_view("Tfrm_dane_ogolne_simpl", [](view_host& h, const QString&) { return new Tfrm_dane_ogolne(h, false); });
  register_view("Tfrm_dane_ogolne_multi", [](view_host& h, const QString&) { return new Tfrm_dane_ogolne(h, true); });
  register_view("Tfrm_cen3_simple", [](view_host& h, const QString&) { return new Tfrm_cen3(h, false); });
  register_view("Tfrm_cen3_multi", [](view_host& h, const QString&) { return new Tfrm_cen3(h, true); });
  register_view("Tfrm_opis_simple", [](view_host& h, const QString&) { return new Tfrm_opis(h, false); });
  register_view("Tfrm_opis_multi", [](view_host& h, const QString&) { return new Tfrm_opis(h, true); });
  register_view("Tfrm_zest_simple", [](view_host& h, const QString& c) { return new Tfrm_zestrms(h, summary_kind_of(c), false); });
  register_view("Tfrm_zest_multi", [](view_host& h, const QString& c) { return new Tfrm_zestrms(h, summary_kind_of(c), true); });
  register_view("Tfrm_wynikiS", [](view_host& h, const QString&) { return new Tfrm_wyniki(h, false); });
  register_view("Tfrm_wynikiM", [](view_host& h, const QString&) { return new Tfrm_wyniki(h, true); });
  register_view("Tfrm_zest_N", [](view_host& h, const QString&) { return new Tfrm_zest_N(h); });
  register_view("Tfrm_dodatki", [](view_host& h, const QString&) { return new Tfrm_dodatki(h); });
  register_view("Tfrm_ovrhd_simple", [](view_host& h, const QString&) { return new Tfrm_ovrhd(h, false); });
  register_view("Tfrm_ovrhd_multi", [](view_host& h, const QString&) { return new Tfrm_ovrhd(h, true); });
}

} // namespace kovra::views
