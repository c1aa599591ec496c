#include "store/document_texts.h"

#include "store/codepage.h"

#include <array>

namespace kovra::store {
namespace {

constexpr std::array<const char*, document_text_count> texts_utf8 = {
    /*   0 */ "K O S Z T O R Y S",
    /*   1 */ "O R Y G I N A Ł",
    /*   2 */ "Brak katalogu (pozycji) w bazie",
    /*   3 */ "Pierwsze       [km]",
    /*   4 */ "Każde następne [km]",
    /*   5 */ "Import kosztorysu",
    /*   6 */ "Zbiór tylko do odczytu. Import nie jest możliwy.",
    /*   7 */ "Eksport z bazy RMS nr",
    /*   8 */ "Plik nie zawiera nakładów RMS.",
    /*   9 */ "Nakłady pochodzą z bieżącej bazy",
    /*  10 */ "Import nakładów użytkownika",
    /*  11 */ "Wartość jednostkowa:  ",
    /*  12 */ "",
    /*  13 */ "O P I S",
    /*  14 */ "P R Z E D M I A R   R O B Ó T",
    /*  15 */ "K O S Z T O R Y S",
    /*  16 */ "K O S Z T O R Y S   S K R Ó C O N Y",
    /*  17 */ "K O S Z T O R Y S   O F E R T O W Y",
    /*  18 */ "K O S Z T O R Y S   R Ó Ż N I C O W Y",
    /*  19 */ "S T A T Y S T Y K A",
    /*  20 */ "Z E S T A W I E N I E   R O B O C I Z N Y",
    /*  21 */ "Z E S T A W I E N I E   M A T E R I A Ł Ó W",
    /*  22 */ "Z E S T A W I E N I E   S P R Z Ę T U",
    /*  23 */ "M A T E R I A Ł Y   I N W E S T O R A",
    /*  24 */ "D O D A T K I",
    /*  25 */ "T A B E L A   E L E M E N T Ó W   S C A L O N Y C H",
    /*  26 */ "C E N N I K   R O B O C I Z N Y",
    /*  27 */ "C E N N I K   M A T E R I A Ł Ó W",
    /*  28 */ "C E N N I K   S P R Z Ę T U",
    /*  29 */ "K O S Z T O R Y S",
    /*  30 */ "",
    /*  31 */ "W Y K A Z   U Ż Y T Y C H   K A T A L O G Ó W",
    /*  32 */ "",
    /*  33 */ "O B M I A R   R O B Ó T",
    /*  34 */ "K O S Z T O R Y S   I N W E S T O R S K I",
    /*  35 */ "K O S Z T O R Y S   I N W E S T O R S K I   U P R O S Z C Z O N Y",
    /*  36 */ "K O S Z T O R Y S   O F E R T O W Y   U P R O S Z C Z O N Y",
    /*  37 */ "(na jednostkę kosztorysu, ilość jednostek: ",
    /*  38 */ "(na jednostkę rozdziału)",
    /*  39 */ "(na jednostkę elementu)",
    /*  40 */ "(na jednostkę pozycji)",
    /*  41 */ "K O S Z T O R Y S   D O D A T K O W Y",
    /*  42 */ "K O S Z T O R Y S   P O W Y K O N A W C Z Y",
    /*  43 */ "P R Z E D M I A R   R O B Ó T",
    /*  44 */ "",
    /*  45 */ "K O S Z T O R Y S   Z A M I E N N Y",
    /*  46 */ "K A L K U L A C J A   K O S Z T Ó W   Z A K U P U",
    /*  47 */ "K A L K U L A C J E   S Z C Z E G Ó Ł O W E\nC E N   J E D N O S T K O W Y C H",
    /*  48 */ "Element, asortyment, rodzaj robót, pozycja przedmiarowa",
    /*  49 */ "wyliczenie ilości robót",
    /*  50 */ "Opis pozycji",
    /*  51 */ "Podstawa nakładu, opis pozycji",
    /*  52 */ "Opis pozycji, wyliczenie ilości robót",
    /*  53 */ "Podstawa nakładu, opis pozycji, wyliczenie ilości robót",
    /*  54 */ "       Data: ",
    /*  55 */ "Zamawiający: ",
    /*  56 */ "     Obiekt: ",
    /*  57 */ "     Budowa: ",
    /*  58 */ "Jednostka opracowująca kosztorys: ",
    /*  59 */ "Kosztorys opracowali: ",
    /*  60 */ "Sprawdzający: ",
    /*  61 */ "Stawka roboczogodz.: ",
    /*  62 */ "Cennik robocizny: ",
    /*  63 */ "Cennik materiałów: ",
    /*  64 */ "Cennik sprzętu: ",
    /*  65 */ "Cennik uproszczony: ",
    /*  66 */ "Cennik scalony: ",
    /*  67 */ "Kwota kosztorysu: ",
    /*  68 */ "Kwota kosztorysu netto: ",
    /*  69 */ "Kwota kosztorysu brutto: ",
    /*  70 */ "Sprawdzający: ",
    /*  71 */ "............. ",
    /*  72 */ "Zamawiający:  ",
    /*  73 */ "Wykonawca:    ",
    /*  74 */ "Wykonujący:   ",
    /*  75 */ "Import kosztorysu z programu 'Rodos-KS'",
    /*  76 */ "Plik nie pochodzi z programu 'Rodos-KS'",
    /*  77 */ "Import kosztorysu z programu 'Norma'",
    /*  78 */ "Plik nie pochodzi z programu 'Norma'",
    /*  79 */ "  Koszty jedn.    odl. ",
    /*  80 */ "Wartość:",
    /*  81 */ "  Razem robocizna",
    /*  82 */ "Razem",
    /*  83 */ "Razem z narzutami",
    /*  84 */ "Wartości",
    /*  85 */ "całkowite",
    /*  86 */ "Koszty bezpośrednie",
    /*  87 */ "Razem wartości jednostkowe",
    /*  88 */ "Materiały + Koszty zakupu",
    /*  89 */ "Wartości jednostkowe",
    /*  90 */ "Materiały pomocnicze",
    /*  91 */ " bez VAT",
    /*  92 */ "I. Tabela elementów scalonych",
    /*  93 */ "Składnik wyceny",
    /*  94 */ "II. Narzuty i stawki r-g",
    /*  95 */ "Narzut",
    /*  96 */ "III. Pozycje kosztorysowe",
    /*  97 */ "",
    /*  98 */ "Stawka r-g",
    /*  99 */ ". Ceny materiałów",
    /* 100 */ "Nazwa materiału",
    /* 101 */ ". Ceny robocizny",
    /* 102 */ "Nazwa zawodu",
    /* 103 */ ". Ceny sprzętu",
    /* 104 */ "Nazwa sprzętu",
    /* 105 */ "DOŁOŻONA POZYCJA",
    /* 106 */ "DOŁOŻONY ELEMENT",
    /* 107 */ "DOŁOŻONY ELEMENT SCALONY",
    /* 108 */ " Robocizna",
    /* 109 */ " Materiały",
    /* 110 */ " Sprzęt",
    /* 111 */ " Razem z narzutami (bez VAT)",
    /* 112 */ "Cennik robocizny",
    /* 113 */ "Raport o błędach importu cennika",
    /* 114 */ "Nie znany kod jednostki: ",
    /* 115 */ "Nie rozpoznana jednostka: ",
    /* 116 */ "Brak ceny: ",
    /* 117 */ "Powtórzony kod ETO: ",
    /* 118 */ "Dla powtórzonych kodów ETO tylko cena pierwszego",
    /* 119 */ "materiału zostanie wpisana do cennika.",
    /* 120 */ "Błędy w cenniku",
    /* 121 */ "Brak nazwy nakładu",
    /* 122 */ "Powtórzona nazwa nakładu",
    /* 123 */ "Brak drukarek systemowych !",
    /* 124 */ "P O D S U M O W A N I E   K O S Z T O R Y S U",
    /* 125 */ "K O S Z T Y   B E Z P O Ś R E D N I E",
};

} // namespace

const char* document_text_utf8(int n) {
  if (n < 0 || n >= document_text_count) return "";
  return texts_utf8[n];
}

const std::string& document_text(int n) {
  static const std::array<std::string, document_text_count> mazovia = [] {
    std::array<std::string, document_text_count> t;
    for (int i = 0; i < document_text_count; ++i) t[i] = utf8_to_mazovia(texts_utf8[i]);
    return t;
  }();
  static const std::string empty;
  if (n < 0 || n >= document_text_count) return empty;
  return mazovia[n];
}

} // namespace kovra::store
