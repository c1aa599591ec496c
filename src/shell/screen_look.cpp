#include "shell/screen_look.h"

namespace kovra::shell {
namespace {

// System colour numbers.
constexpr uint32_t window = system_colour | 5, window_text = system_colour | 8, highlight = system_colour | 13,
                   highlight_text = system_colour | 14, button_face = system_colour | 15,
                   button_text = system_colour | 18;
// Plain colours as 0x00BBGGRR.
constexpr uint32_t white = 0x00FFFFFF, black = 0, red = 0x000000FF, blue = 0x00FF0000;

} // namespace

design_look default_screen_look() {
  design_look look;
  const look_font plain{8, 0, 0, "MS Sans Serif", east_european_charset};
  look.fonts = {plain,
                plain,
                plain,
                {8, 1, 0, "Courier New", east_european_charset},
                {11, 0, font_bold, "MS Sans Serif", east_european_charset},
                {10, 0, font_bold, "MS Sans Serif", east_european_charset},
                {8, 0, font_italic, "MS Sans Serif", east_european_charset}};
  look.elements = {{0, highlight_text, highlight, "Markowany tekst"},
                   {2, 0x007F007F, button_face, "Nagłówek tabeli"},
                   {6, window_text, window, "Nakład zablokowany"},
                   {0, white, 0x00404080, "Pole aktywne"},
                   {0, white, 0x007F7F00, "Pole wyróżnione"},
                   {5, red, window, "Nazwa elementu"},
                   {0, window_text, window, "Opis opcji"},
                   {0, black, 0x0080FFFF, "Pole edytowane"},
                   {0, button_text, button_face, "Pole niedostępne"},
                   {0, window_text, window, "Pole podstawowe"},
                   {0, window_text, window, "Tekst stały"},
                   {3, window_text, window, "Teksty przeglądane"},
                   {1, red, button_face, "Zakładka aktywna"},
                   {1, black, button_face, "Zakładka nieaktywna"},
                   {4, blue, window, "Nazwa grupy"}};
  return look;
}

} // namespace kovra::shell
