// kovra-cli cpv: the codes of an estimate file collected over its tree.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_run.h"

using kovra::test::run_cli;

// The vocabulary's texts hold no-break spaces after one-letter words: "~" below.
std::string with_nbsp(std::string s) {
  for (std::size_t p; (p = s.find('~')) != std::string::npos;) s.replace(p, 1, "\u00a0");
  return s;
}

// Estimate level 2, work group 4, element 5. The positions carry a 2008 code with a
// supplementary code, a 2003 code (02000000-4, since 2008 03400000-4) and codes of neither.
TEST(CliCpv, OwnCollectedAndAggregatedCodesOfEachNode) {
  kovra::test::cli_folder dir;
  const std::string kvr = dir.build(nlohmann::json::parse(R"({
    "general": {"name": "Kody", "cpv_level": 2}, "cpv": "45000000-7",
    "nodes": [{"type": 9, "number": "1", "description": "Roboty ziemne", "cpv_level": 4},
              {"type": 0, "level": 1, "number": "1.1", "description": "Wykopy", "cpv_level": 5},
              {"type": 1, "level": 2, "number": "1", "description": "Wykop", "cpv": "45111200-0\u0001FF01-1"},
              {"type": 1, "level": 2, "number": "2", "description": "Wycinka", "cpv": "02000000-4"},
              {"type": 1, "level": 2, "number": "3", "description": "Inne", "cpv": "99999999-8\u0001E001-0"},
              {"type": 1, "level": 2, "number": "4", "description": "Bez kodu"}]})"),
                                    "kody.kvr");
  const auto r = run_cli({"cpv", kvr});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, with_nbsp(R"(kody.kvr (Tylko do odczytu) (Kody)
  wstawiony: 45000000-7  Roboty budowlane
  zebrany: 45111200-0  Roboty w~zakresie przygotowania terenu pod budowę i~roboty ziemne
  zebrany: 03400000-4  Leśnictwo i~pozyskiwanie drewna
  zebrany: 99999999-8  [kod nieznany]
  agregowany: 45000000-7  Roboty budowlane
  agregowany: 03000000-1  Produkty rolnictwa, hodowli, rybołówstwa, leśnictwa i~podobne
  agregowany: 99000000  [kod nieznany]
  1  Roboty ziemne
    zebrany: 45111200-0  Roboty w~zakresie przygotowania terenu pod budowę i~roboty ziemne
    zebrany: 03400000-4  Leśnictwo i~pozyskiwanie drewna
    zebrany: 99999999-8  [kod nieznany]
    agregowany: 45110000-1  Roboty w~zakresie burzenia i~rozbiórki obiektów budowlanych; roboty ziemne
    agregowany: 03400000-4  Leśnictwo i~pozyskiwanie drewna
    agregowany: 99990000  [kod nieznany]
    1.1  Wykopy
      zebrany: 45111200-0  Roboty w~zakresie przygotowania terenu pod budowę i~roboty ziemne
      zebrany: 03400000-4  Leśnictwo i~pozyskiwanie drewna
      zebrany: 99999999-8  [kod nieznany]
      agregowany: 45111000-8  Roboty w~zakresie burzenia, roboty ziemne
      agregowany: 03400000-4  Leśnictwo i~pozyskiwanie drewna
      agregowany: 99999000  [kod nieznany]
      1  Wykop
        wstawiony: 45111200-0  Roboty w~zakresie przygotowania terenu pod budowę i~roboty ziemne | FF01-1  Do czyszczenia
      2  Wycinka
        wstawiony: 03400000-4  Leśnictwo i~pozyskiwanie drewna
      3  Inne
        wstawiony: 99999999-8  [kod nieznany] | E001-0  [kod nieznany]
)"));
}
