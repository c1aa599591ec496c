#pragma once
// Polish fonts for printers that must have them downloaded.
//
// Such a printer (font download set in its definition) prints Mazovia text through the
// font-download code page, from the fonts in "boldpl17.hp" and "stanpl17.hp" (program
// folder). The fonts go to the printer before the first printout since the program started
// and again only after the port setting changed; a printer-code file gets them at its start.
#include "report/print_sink.h"

#include <string>

namespace kovra::report {

struct printer_config;

inline constexpr const char* font_file_names[] = {"boldpl17.hp", "stanpl17.hp"};

// True when the printer's Polish letters come from downloaded fonts.
bool uses_downloaded_fonts(const printer_config& config);

// Process-wide: whether the fonts have been sent to the printer in this run.
bool fonts_sent_to_printer();
void set_fonts_sent_to_printer(bool sent);
// The port setting changed: the fonts go again with the next printout.
inline void port_changed() { set_fonts_sent_to_printer(false); }
// Tests.
void reset_font_download();

// Writes both font files, in order, into an open document of `out`. A missing file is
// reported with message 171 and gives false, as does a failed write (message 178).
bool send_font_files(print_sink& out, const std::string& program_folder);

} // namespace kovra::report
