// The hint and shortcut table of every window: row number, shortcut text in the
// system's notation, hint sentence, and the tool-button caption where the row has one.
#include "shell/hint_table.h"

namespace kovra::shell {
namespace {

const hint_row rows[hint_row_count] = {
    {"", "Tworzenie, otwieranie, zapisywanie i drukowanie kosztorysów oraz zakończenie pracy z programem Kovra", ""},  // 0
    {"", "Tworzy i otwiera nowy kosztorys", ""},  // 1
    {"Ctrl+N", "Tworzy i otwiera nowy kosztorys prosty", ""},  // 2
    {"Ctrl+Z", "Tworzy i otwiera nowy kosztorys złożony", ""},  // 3
    {"Ctrl+O", "Otwiera istniejący kosztorys", ""},  // 4
    {"", "Zamyka aktywny kosztorys", ""},  // 5
    {"Ctrl+L", "Umożliwia przeliczenie aktywnego kosztorysu", ""},  // 6
    {"Ctrl+S", "Zapisuje aktywny kosztorys", ""},  // 7
    {"", "Tworzy kopię aktywnego kosztorysu w oddzielnym pliku", ""},  // 8
    {"", "Zapisuje wszystkie otwarte kosztorysy", ""},  // 9
    {"", "Tworzy kosztorys ślepy - do wyceny", ""},  // 10
    {"", "Porównuje aktywny kosztorys z katalogami bądź kosztorysem ofertowym", ""},  // 11
    {"", "Porównuje aktywny kosztorys z wycenioną ofertą", ""},  // 12
    {"", "Porównuje aktywny kosztorys z danymi w katalogach", ""},  // 13
    {"", "Do aktywnego kosztorysu importuje inny - stworzony w programie Kovra", ""},  // 14
    {"", "Zakłada nowy kosztorysu i importuje istniejący", ""},  // 15
    {"", "Tworzy pliki z danymi dla programów do harmonogramowania", ""},  // 16
    {"", "Tworzy pliki z danymi dla programu do harmonogramowania Planista", ""},  // 17
    {"", "Tworzy pliki z danymi dla programu do harmonogramowania bManager", ""},  // 18
    {"", "Tworzy pliki z danymi dla programu do harmonogramowania Artemis Schedule Publisher", ""},  // 19
    {"", "Tworzy pliki z danymi dla programu do harmonogramowania Artemis Schedule Publisher", ""},  // 20
    {"", "Tworzy pliki z danymi dla programu do harmonogramowania Artemis Schedule Publisher", ""},  // 21
    {"", "Ustawianie parametrów drukarki", ""},  // 22
    {"", "Ustawia parametry drukarki dla trybu tekstowego", ""},  // 23
    {"", "Ustawia parametry drukarki dla trybu graficznego", ""},  // 24
    {"Ctrl+P", "Drukuje aktywny kosztorys", ""},  // 25
    {"", "Kończy pracę z programem Kovra", ""},  // 26
    {"", "Konwersja, import, modyfikacja i kopiowanie cenników", ""},  // 27
    {"", "Konwertuje cenniki z formatu Orgbud-Serwis", ""},  // 28
    {"", "Konwertuje cenniki z formatu Sekocenbud", ""},  // 29
    {"", "Konwertuje cenniki z formatu Bistyp-Consulting", ""},  // 30
    {"", "Konwertuje cenniki z formatu Intercenbud", ""},  // 31
    {"", "Modyfikuje ceny bezpośrednio w cenniku robocizny", ""},  // 32
    {"", "Modyfikuje ceny bezpośrednio w cenniku materiałów", ""},  // 33
    {"", "Modyfikuje ceny bezpośrednio w cenniku sprzętu", ""},  // 34
    {"", "Modyfikuje ceny bezpośrednio w cenniku pozycji uproszczonych", ""},  // 35
    {"", "Przemnaża wszystkie ceny w cenniku przez mnożnik", ""},  // 36
    {"", "Wykonuje kopię cennika", ""},  // 37
    {"", "Importuje ceny z jednego cennika do drugiego", ""},  // 38
    {"", "Wyświetlenie katalogów, aktów prawnych, ustawienia konfiguracji, eksport i import bazy RMS", ""},  // 39
    {"Ctrl+Q", "Wyświetla dane z zainstalowanych katalogów", ""},  // 40
    {"Ctrl+A", "Wyświetla teksty dostępnych aktów prawnych", ""},  // 41
    {"Ctrl+K", "Ustawia różne opcje programu Kovra", ""},  // 42
    {"", "Tworzy plik zawierający informacje o nakładach użytkownika w bazie RMS", ""},  // 43
    {"", "Dołącza do aktualnej bazy RMS nakłady z innej bazy", ""},  // 44
    {"", "Zmiana rozmieszczenia okien lub uaktywnianie wybranego okna", ""},  // 45
    {"", "Rozmieszcza wszystkie okna w postaci kaskady", ""},  // 46
    {"", "Rozmieszcza wszystkie okna poziomo, jedno nad drugim", ""},  // 47
    {"", "Rozmieszcza wszystkie okna pionowo, jedno obok drugiego", ""},  // 48
    {"", "Ustawia wszystkie ikony okien na dole okna programu Kovra", ""},  // 49
    {"", "Minimalizuje wszystkie okna do postaci ikon", ""},  // 50
    {"", "Korzystanie z informacji o sposobie korzystania i nowościach w programie Kovra", ""},  // 51
    {"F1", "Wyświetla tematy pomocy programu Kovra", ""},  // 52
    {"", "Wyświetla okno porad dnia programu Kovra", ""},  // 53
    {"", "Wyświetla informacje o programie i producencie programu", ""},  // 54
    {"", "Ustawia bieżące dane we wszystkich rozdziałach", "Ustaw w rozdziałach"},  // 55
    {"Ctrl+W", "Wstawia nowy rozdział", "Wstaw rozdział"},  // 56
    {"Ctrl+D", "Dokłada nowy rozdział", "Dołóż rozdział"},  // 57
    {"Ctrl+U", "Usuwa bieżący rozdział", "Usuń rozdział"},  // 58
    {"Ctrl+B", "Blokuje bieżący rozdział", "Blokuj rozdział"},  // 59
    {"Ctrl+N", "Tworzy i otwiera nowy kosztorys prosty", "Nowy prosty"},  // 60
    {"Ctrl+Z", "Tworzy i otwiera nowy kosztorys złożony", "Nowy złożony"},  // 61
    {"Ctrl+O", "Otwiera istniejący kosztorys", "Otwórz"},  // 62
    {"Ctrl+S", "Zapisuje aktywny kosztorys", "Zapisz"},  // 63
    {"Ctrl+P", "Drukuje aktywny kosztorys", "Drukuj"},  // 64
    {"Ctrl+H", "Pokazuje/ukrywa okienko nawigacji", "Pokaż/ukryj okienko nawigacji"},  // 65
    {"", "Przesuń grupę lub element w lewo", "Przesuń w lewo"},  // 66
    {"", "Przesuń grupę lub element w prawo", "Przesuń w prawo"},  // 67
    {"Ctrl+Q", "Wyświetla dane z zainstalowanych katalogów", "Katalogi"},  // 68
    {"Ctrl+A", "Wyświetla teksty dostępnych aktów prawnych", "Akty prawne"},  // 69
    {"Ctrl+K", "Ustawia różne opcje programu Kovra", "Konfiguracja"},  // 70
    {"", "Ustawia domniemany typ tworzonego rozdziału jako wewnętrzny", "Rozdział wewnętrzny"},  // 71
    {"", "Ustawia domniemany typ tworzonego rozdziału jako zewnętrzny", "Rozdział zewnętrzny"},  // 72
    {"", "Zamienia typ bieżącego rozdziału z zewnętrznego na wewnętrzny i na odwrót", "Zamień wewnętrzny<->zewnętrzny"},  // 73
    {"", "Przesuwa bieżący rozdział w górę", "Rozdział w górę"},  // 74
    {"", "Przesuwa bieżący rozdział w dół", "Rozdział w dół"},  // 75
    {"Ctrl+Enter", "Przejście do zakładki \"Definiuj\" rozdziału w kosztorysie złożonym", "Do rozdziału"},  // 76
    {"Ctrl+F5", "Włącza definiowanie grup robót (rozdziałów) w kosztorysie", "Grupa robót"},  // 77
    {"F5", "Włącza definiowanie elementów (rozdziałów) w kosztorysie", "Element"},  // 78
    {"F6", "Włącza definiowanie pozycji kosztorysowych", "Pozycja kosztorysowa"},  // 79
    {"F7", "Włącza definiowanie kosztów jednorazowych sprzętu", "Koszty jednorazowe sprzętu"},  // 80
    {"F8", "Włącza definiowanie pozycji uproszczonych", "Pozycja uproszczona"},  // 81
    {"F9", "Włącza definiowanie rusztowań", "Rusztowanie"},  // 82
    {"Ctrl+D", "Dokłada nowy pozycję (grupa robót) na końcu kosztorysu", "Dołóż grupę robót"},  // 83
    {"Ctrl+W", "Wstawia nową pozycję (grupa robót) przed aktywną", "Wstaw grupę robót"},  // 84
    {"Ctrl+D", "Dokłada nowy pozycję (element) na końcu kosztorysu", "Dołóż element"},  // 85
    {"Ctrl+W", "Wstawia nową pozycję (element) przed aktywną", "Wstaw element"},  // 86
    {"Ctrl+D", "Dokłada nową pozycję (element) na końcu kosztorysu", "Dołóż pozycję kosztorysową"},  // 87
    {"Ctrl+W", "Wstawia nową pozycję (element) przed aktywną", "Wstaw pozycję kosztorysową"},  // 88
    {"Ctrl+D", "Dokłada nową pozycję (element) na końcu kosztorysu", "Dołóż koszty jednorazowe sprzętu"},  // 89
    {"Ctrl+W", "Wstawia nową pozycję (element) przed aktywną", "Wstaw koszty jednorazowe sprzętu"},  // 90
    {"Ctrl+D", "Dokłada nową pozycję (element) na końcu kosztorysu", "Dołóż pozycję uproszczoną"},  // 91
    {"Ctrl+W", "Wstawia nową pozycję (element) przed aktywną", "Wstaw pozycję uproszczoną"},  // 92
    {"Ctrl+D", "Dokłada nową pozycję (element) na końcu kosztorysu", "Dołóż rusztowanie"},  // 93
    {"Ctrl+W", "Wstawia nową pozycję (element) przed aktywną", "Wstaw rusztowanie"},  // 94
    {"Ctrl+U", "Usuwa aktywną pozycję", "Usuń"},  // 95
    {"F10", "Dokonuje renumeracji pozycji w kosztorysie", "Renumeruj"},  // 96
    {"Ctrl+X", "Przenosi do schowka zaznaczone (zamarkowane) pozycje", "Wytnij"},  // 97
    {"Ctrl+C", "Kopiuje do schowka zaznaczone (zamarkowane) pozycje", "Kopiuj"},  // 98
    {"Ctrl+V", "Wkleja ze schowka pozycje przed aktualną", "Wklej przed"},  // 99
    {"Ctrl+B", "Wkleja ze schowka pozycje za aktualną", "Wklej za"},  // 100
    {"Ctrl+V", "Wkleja informacje ze schowka", "Wklej"},  // 101
    {"Alt+B", "Włącza/Wyłącza blokowanie pozycji", "Blokuj pozycję"},  // 102
    {"Alt+R", "Wyświetla opisy robót dla aktywnej pozycji", "Opisy robót"},  // 103
    {"Alt+U", "Wyświetla uwagi dla aktywnej pozycji", "Uwagi"},  // 104
    {"Alt+G", "Wyświetla założenia do rozdziału dla aktywnej pozycji", "Założenia"},  // 105
    {"Alt+L", "Wyświetla istotne informacje w założeniach dla aktywnej pozycji", "Informacje o pozycji"},  // 106
    {"", "", ""},  // 107
    {"Alt+F", "Włącza filtrowanie pozycji wg. podanych kryteriów", "Filtr pozycji"},  // 108
    {"Ctrl+F", "Wyłącza filtr dla wyświetlania pozycji", "Wyłącz filtr"},  // 109
    {"Alt+Home", "Umożliwia przesunięcie na pozycję poprzednią", "Poprzednia pozycja"},  // 110
    {"Alt+End", "Umożliwia przesunięcie na pozycję następną", "Następna pozycja"},  // 111
    {"Alt+PgUp", "Umożliwia przesunięcie na pozycję pierwszą", "Pierwsza pozycja"},  // 112
    {"Alt+PgDn", "Umożliwia przesunięcie na pozycję ostatnią", "Ostatnia pozycja"},  // 113
    {"", "Włącza/Wyłącza zaznaczenie bieżącej pozycji", "Zaznacz bieżącą"},  // 114
    {"", "Zaznacza bieżący element", "Zaznacz element"},  // 115
    {"", "Zaznacza bieżącą grupę", "Zaznacz grupę"},  // 116
    {"", "Zaznacza wszystkie pozycje", "Zaznacz wszystkie"},  // 117
    {"", "Zamienia zaznaczone pozycje uproszczone na pozycje w nakładami", "Zamień na pozycje z nakładami"},  // 118
    {"", "Zamienia zaznaczone pozycje z nakładami na pozycje uproszczone", "Zamień na pozycje uproszczone"},  // 119
    {"", "Usuwa z pozycji podstawy katalogowe", "Usuń podstawy"},  // 120
    {"Ctrl+Enter", "Powrót do zakładki \"Definiuj\" kosztorysu złożonego", "Powrót"},  // 121
    {"", "Scala pozycje w elemencie - element scalony", "Scal elementy"},  // 122
    {"", "Zamienia element scalony na pozycje", "Rozłącz elementy"},  // 123
    {"", "Uwzględnia nakłady robocizny z pozycji przy liczeniu rusztowania", "Licz rusztowanie"},  // 124
    {"", "Nie uwzględnia nakładów robocizny z pozycji przy liczeniu rusztowania", "Nie licz rusztowania"},  // 125
    {"Alt+A", "Pozwala utworzyć dodatkowy opis do pozycji kosztorysowej", "Notatka"},  // 126
    {"Alt+V", "Przenosi opisy robót pozycji do notatki", "Przenieś opisy robót"},  // 127
    {"Ctrl+D", "Dokłada nowy nakład do pozycji", "Dołóż"},  // 128
    {"Ctrl+W", "Wstawia nowy nakład przed aktywny", "Wstaw"},  // 129
    {"Alt+H", "Wymienia zaznaczony nakład na inny", "Zmień"},  // 130
    {"Alt+B", "Włącza/Wyłącza blokowanie nakładu w pozycji", "Blokuj"},  // 131
    {"Ctrl+U", "Usuwa zaznaczony nakład z pozycji", "Usuń"},  // 132
    {"Ctrl+D", "Dokłada nowy nakład do pozycji", "Dołóż zawód"},  // 133
    {"Ctrl+W", "Wstawia nowy nakład przed aktywny", "Wstaw zawód"},  // 134
    {"Alt+H", "Umożliwia wymianę zaznaczonego nakładu na inny", "Zmień zawód"},  // 135
    {"Alt+H", "Umożliwia wymianę ceny zaznaczonego nakładu na inną", "Zmień cenę zawodu"},  // 136
    {"Alt+B", "Włącza/Wyłącza blokowanie nakładu w pozycji", "Blokuj zawód"},  // 137
    {"Ctrl+U", "Usuwa zaznaczony nakład z pozycji", "Usuń zawód"},  // 138
    {"Ctrl+D", "Dokłada nowy nakład do pozycji", "Dołóż materiał"},  // 139
    {"Ctrl+W", "Wstawia nowy nakład przed aktywny", "Wstaw materiał"},  // 140
    {"Alt+H", "Umożliwia wymianę zaznaczonego nakładu na inny", "Zmień materiał"},  // 141
    {"Alt+H", "Umożliwia wymianę ceny zaznaczonego nakładu na inną", "Zmień cenę materiału"},  // 142
    {"Alt+B", "Włącza/Wyłącza blokowanie nakładu w pozycji", "Blokuj materiał"},  // 143
    {"Ctrl+U", "Usuwa zaznaczony nakład z pozycji", "Usuń materiał"},  // 144
    {"Ctrl+D", "Dokłada nowy nakład do pozycji", "Dołóż sprzęt"},  // 145
    {"Ctrl+W", "Wstawia nowy nakład przed aktywny", "Wstaw sprzęt"},  // 146
    {"Alt+H", "Umożliwia wymianę zaznaczonego nakładu na inny", "Zmień sprzęt"},  // 147
    {"Alt+H", "Umożliwia wymianę ceny zaznaczonego nakładu na inną", "Zmień cenę sprzętu"},  // 148
    {"Alt+B", "Włącza/Wyłącza blokowanie nakładu w pozycji", "Blokuj sprzęt"},  // 149
    {"Ctrl+U", "Usuwa zaznaczony nakład z pozycji", "Usuń sprzęt"},  // 150
    {"Ctrl+D", "Dokłada nowy nakład do pozycji", "Dołóż materiał pomocniczy"},  // 151
    {"Ctrl+W", "Wstawia nowy nakład przed aktywny", "Wstaw materiał pomocniczy"},  // 152
    {"Alt+H", "Wymienia zaznaczony nakład na inny", "Zmień materiał pomocniczy"},  // 153
    {"Alt+B", "Włącza/Wyłącza blokowanie nakładu w pozycji", "Blokuj materiał pomocniczy"},  // 154
    {"Ctrl+U", "Usuwa zaznaczony nakład z pozycji", "Usuń materiał pomocniczy"},  // 155
    {"Alt+Z", "Wyświetla poprzednią wersję alternatywną pozycji", "Poprzednia wersja"},  // 156
    {"Alt+X", "Umożliwia zmianę pozycji poprzez wybór z katalogu", "Zmień podstawę pozycji"},  // 157
    {"Alt+M", "Wyświetla następną wersję alternatywną pozycji", "Następna wersja"},  // 158
    {"Alt+Y", "Zapisuje aktualna pozycję kosztorysową do własnego katalogu", "Zapisz do bazy"},  // 159
    {"Alt+R", "Wyświetla opisy robót dla aktywnej pozycji", "Opisy robót"},  // 160
    {"Alt+U", "Wyświetla uwagi dla aktywnej pozycji", "Uwagi"},  // 161
    {"Alt+G", "Wyświetla założenia do rozdziału dla aktywnej pozycji", "Założenia"},  // 162
    {"Alt+L", "Wyświetla istotne informacje w założeniach dla aktywnej pozycji", "Informacje o pozycji"},  // 163
    {"Alt+T", "Wyświetla okno z kosztami pozycji", "Koszty pozycji"},  // 164
    {"Ctrl+Alt+P", "Definiuje dla pozycji nakłady pomocnicze", "Nakłady pomocnicze"},  // 165
    {"Ctrl+Alt+M", "Definiuje dla pozycji materiały pomocnicze liczone od wartości materiałów", "Mp(M)"},  // 166
    {"Ctrl+Alt+R", "Definiuje dla pozycji materiały pomocnicze liczone od wartości robocizny", "Mp(R)"},  // 167
    {"Ctrl+Alt+T", "Definiuje dla pozycji spręt pomocniczy liczone od wartości robocizny", "Sp(R)"},  // 168
    {"Ctrl+Alt+Y", "Definiuje dla pozycji spręt pomocniczy liczone od wartości sprętu", "Sp(S)"},  // 169
    {"Ctrl+C", "Kopiuje do schowka nakłady edytowanej kolumny lub wersji", "Kopiuj nakłady"},  // 170
    {"Ctrl+V", "Wkleja ze schowka nakłady do edytowanej kolumny lub wersji", "Wklej nakłady"},  // 171
    {"", "W kolumnie \"Ilość jednostkowa / Ilość\" - wyświetlenie ilości jednostkowej lub ilości nakładu", "Ilość jednostkowa / Ilość"},  // 172
    {"Alt+Z", "Wyświetla poprzednią wersję alternatywną pozycji", "Poprzednia wersja"},  // 173
    {"Alt+X", "Umożliwia wymianę pozycji poprzez wybór z katalogu lub cennika", "Zmień podstawę pozycji"},  // 174
    {"Alt+M", "Wyświetla następną wersję alternatywną pozycji", "Następna wersja"},  // 175
    {"Alt+S", "Wyświetla aktualny cennik pozycji uproszczonych", "Pokaż cennik"},  // 176
    {"Alt+D", "Wyświetla aktualny cennik scalony dla pozycji uproszczonych", "Pokaż cennik scalony"},  // 177
    {"Alt+R", "Wyświetla opisy robót dla aktywnej pozycji", "Opisy robót"},  // 178
    {"Alt+U", "Wyświetla uwagi dla aktywnej pozycji", "Uwagi"},  // 179
    {"Alt+G", "Wyświetla założenia do rozdziału dla aktywnej pozycji", "Założenia"},  // 180
    {"Alt+L", "Wyświetla istotne informacje w założeniach dla aktywnej pozycji", "Informacje o pozycji"},  // 181
    {"Alt+P", "Wyświetla listę pozycji związanych z rusztowaniem", "Lista pozycji rusztowania"},  // 182
    {"Alt+W", "Wyświetla listę wszystkich pozycji, które są związanych, lub mogą być związane z rusztowaniem", "Lista wszystkich pozycji"},  // 183
    {"Alt+B", "Wyświetla listę pozycji bez rusztowania", "Lista pozycji bez rusztowania"},  // 184
    {"Alt+W", "Wyświetla założenia z informacjami o współczyniku \"W\" dla wybranego rusztowania", "Współczynnik W"},  // 185
    {"Alt+S", "Wyświetla założenia z informacjami o współczyniku \"S\" dla wybranego rusztowania", "Współczynnik S"},  // 186
    {"Alt+P", "Wyświetla założenia z informacjami o współczyniku \"P\" uwzględniającym długość pomostu roboczego dla wybranego rusztowania", "Współczynnik P"},  // 187
    {"Alt+V", "Wyświetla aktualny cennik rusztowań (sprzętu)", "Pokaż cennik"},  // 188
    {"Ctrl+E", "Pozwala na edycję aktywnego kodu głównego CPV", "Kod główny"},  // 189
    {"Ctrl+Alt+E", "Pozwala na edycję aktywnego kodu uzupełniającego CPV", "Kod uzupełniający"},  // 190
    {"Ctrl+U", "Usuwa zaznaczony kod główny CPV", "Usuń kod główny"},  // 191
    {"Ctrl+Alt+U", "Usuwa zaznaczony kod uzupełniający CPV", "Usuń kod uzupełniający"},  // 192
    {"Ctrl+Alt+Shift+U", "Usuwa wszystkie zdefiniowane kody CPV", "Usuń wszystkie kody"},  // 193
    {"Ctrl+W", "Pokazuje tylko kody dopisane w pozycji, elemencie i grupie.", "Pokaż kody wstawione"},  // 194
    {"Ctrl+Z", "Pokazuje tylko kody zebrane z pozycji, elementów i grup.", "Pokaż kody zebrane"},  // 195
    {"Ctrl+A", "Pokazuje tylko kody agregowane z pozycji, elementów i grup.", "Pokaż kody agregowane"},  // 196
    {"Alt+S", "Ustawia sposób sortowania nakładów w zestawieniu", "Sortuj"},  // 197
    {"Alt+Q", "Włącza/wyłącza wyświetlanie poszczególnych kolumn w zestawieniu", "Kolumny"},  // 198
    {"Alt+J", "Włącza/wyłącza wyświetlanie zestawienia w tabeli o wysokości 1 wiersza", "Lista jednowierszowa"},  // 199
    {"Alt+F", "Wyświetla wszystkie pozycje zawierające aktywny nakład", "Znajdź pozycje"},  // 200
    {"", "Ustawia cenę we wszystkich rozdziałach dla bieżącego nakładu", "Ustaw cenę dla bieżącego nakładu"},  // 201
    {"", "Ustawia dla każdego nakładu cenę średnią we wszystkich rozdziałach", "Ustaw cenę dla wszystkich nakładów"},  // 202
    {"Alt+F1", "Wyświetla zestawienie zawodów z kosztorysu mających zerową cenę", "Ceny zerowe"},  // 203
    {"Alt+F2", "Wyświetla zestawienie zawodów z kosztorysu mających niezerową cenę", "Ceny niezerowe"},  // 204
    {"Alt+F3", "Wyświetla zestawienie wszystkich zawodów z kosztorysu", "Ceny wszystkie"},  // 205
    {"Alt+H", "Wymienia aktywny zawód na inny we wszystkich pozycjach kosztorysu", "Zmień"},  // 206
    {"Alt+B", "Włącza/Wyłącza blokowanie aktywnego zawodu we wszystkich pozycjach kosztorysu", "Blokuj"},  // 207
    {"Alt+V", "Wyświetla cenę aktywnego zawodu we wszystkich dostępnych cennikach", "Szukaj ceny"},  // 208
    {"Alt+W", "Narzuca wszystkim zawodom w zestawieniu jednakową cenę", "Ujednolić ceny"},  // 209
    {"", "Przemnaża ceny wszystkich zawodów przez podany współczynnik", "Przemnóż ceny"},  // 210
    {"", "Pokazuje/ukrywa szczegóły dla zawodów", "Pokaż/ukryj szczegóły"},  // 211
    {"Alt+F1", "Wyświetla zestawienie materiałów z kosztorysu mających zerową cenę", "Ceny zerowe"},  // 212
    {"Alt+F2", "Wyświetla zestawienie materiałów z kosztorysu mających niezerową cenę", "Ceny niezerowe"},  // 213
    {"Alt+F3", "Wyświetla zestawienie wszystkich materiałów z kosztorysu", "Ceny wszystkie"},  // 214
    {"Alt+H", "Wymienia aktywny materiał na inny we wszystkich pozycjach kosztorysu", "Zmień"},  // 215
    {"Alt+B", "Włącza/Wyłącza blokowanie aktywnego materiału we wszystkich pozycjach kosztorysu", "Blokuj"},  // 216
    {"Alt+V", "Wyświetla cenę aktywnego materiału we wszystkich dostępnych cennikach", "Szukaj ceny"},  // 217
    {"Ctrl+F5", "Narzuca wszystkim materiałom status 'naliczaj Mp'", "Wszystkie Mp+"},  // 218
    {"Ctrl+F8", "Narzuca wszystkim materiałom status 'nie naliczaj Mp'", "Wszystkie Mp-"},  // 219
    {"", "Narzuca aktualnemu materiałowi status 'naliczaj Mp'", "Mp+"},  // 220
    {"", "Narzuca aktualnemu materiałowi status 'nie naliczaj Mp'", "Mp-"},  // 221
    {"", "Przemnaża ceny wszystkich materiałów przez podany współczynnik", "Przemnóż ceny"},  // 222
    {"", "Pokazuje/ukrywa szczegóły dla materiałów", "Pokaż/ukryj szczegóły"},  // 223
    {"Alt+K", "Umożliwia zmianę wartości [%] kosztów zakupu w wybranej pozycji", "Kalkulator ceny"},  // 224
    {"", "Zmienia wartości [%] kosztów zakupu we wszystkich pozycjach na domniemaną", "Ustaw Kz [%] we wszystkich pozycjach"},  // 225
    {"Alt+F1", "Wyświetla zestawienie sprzętów z kosztorysu mających zerową cenę", "Ceny zerowe"},  // 226
    {"Alt+F2", "Wyświetla zestawienie sprzętów z kosztorysu mających niezerową cenę", "Ceny niezerowe"},  // 227
    {"Alt+F3", "Wyświetla zestawienie wszystkich sprzętów z kosztorysu", "Ceny wszystkie"},  // 228
    {"Alt+H", "Wymienia aktywny sprzęt na inny we wszystkich pozycjach kosztorysu", "Zmień"},  // 229
    {"Alt+B", "Włącza/Wyłącza blokowanie aktywnego sprzętu we wszystkich pozycjach kosztorysu", "Blokuj"},  // 230
    {"Alt+V", "Wyświetla cenę aktywnego sprzętu we wszystkich dostępnych cennikach", "Szukaj ceny"},  // 231
    {"Alt+W", "Narzuca wszystkim sprzętom w zestawieniu jednakową cenę", "Ujednolić ceny"},  // 232
    {"", "Przemnaża ceny wszystkich sprzętów przez podany współczynnik", "Przemnóż ceny"},  // 233
    {"", "Pokazuje/ukrywa szczegóły dla sprzętów", "Pokaż/ukryj szczegóły"},  // 234
    {"", "Pokazuje/ukrywa szczegóły dla Zestawienia Narzutów", "Pokaż/ukryj szczegóły"},  // 235
    {"Ctrl+U", "Usuwa zaznaczony dodatek", "Usuń"},  // 236
    {"Ctrl+Alt+U", "Usuwa wszystkie zdefiniowane dodatki", "Usuń wszystkie"},  // 237
    {"", "Wczytuje standardowe cenniki", "Czytaj standard"},  // 238
    {"", "Zapisuje standardowe cenniki", "Zapisz standard"},  // 239
    {"Ctrl+U", "Usuwa bieżący narzut", "Usuń"},  // 240
    {"", "Wczytuje standardowe narzuty", "Czytaj standard"},  // 241
    {"", "Zapisuje standardowe narzuty", "Zapisz standard"},  // 242
    {"", "Wczytuje standardowy opis", "Czytaj standard"},  // 243
    {"", "Zapisuje standardowy opis", "Zapisz standard"},  // 244
    {"", "Przywraca poprzednią wersję opisu", "Przywróć"},  // 245
    {"Ctrl+E", "Wyświetla okno ręcznego wyboru plików z cenami", "Zaawansowane"},  // 246
    {"Ctrl+F5", "Zaznacza do konwersji wszystkie dostępne poziomy cenowe", "Zaznacz wszystkie"},  // 247
    {"Ctrl+F6", "Ustawia zaznaczone cenniki jako niezaznaczone i na odwrót", "Odwróć zaznaczenie"},  // 248
    {"Ctrl+F7", "Odmarkowuje wszystkie zaznaczone do konwersji poziomy cenowe", "Wygaś wszystkie"},  // 249
    {"Ctrl+F11", "Wybiera folder zawierający pliki źródłowe", "Ścieżka źródłowa"},  // 250
    {"Ctrl+F12", "Wybiera folder, w którym zostaną utworzone cenniki", "Ścieżka docelowa"},  // 251
    {"Ctrl+R", "Czyta cenniki z dyskietki lub CD do kartoteki cennik\\sekocen", "Rozpakuj dyskietkę/CD"},  // 252
    {"Alt+A", "Przenosi do kosztorysu cenę zaznaczonego nakładu", "Przenieś cenę"},  // 253
    {"Alt+V", "Przeszukuje wszystkie dostępne cenniki w poszukiwaniu ceny zaznaczonego nakładu", "Szukaj ceny"},  // 254
    {"Alt+F9", "Ustawia się na ostatnio przyjętym do kosztorysu nakładzie", "Ostatnio przyjęty"},  // 255
    {"Ctrl+W", "Dokłada nowy nakład do bazy RMS", "Dołóż"},  // 256
    {"Alt+H", "Zmienia nazwę nakładu w bazie RMS", "Zmień"},  // 257
    {"Ctrl+U", "Usuwa zaznaczony nakład z bazy RMS", "Usuń"},  // 258
    {"Alt+PgUp", "Wyszukuje poprzedni nakład zawierający wpisane ciągi znaków", "Szukaj poprzedni"},  // 259
    {"Alt+PgDn", "Wyszukuje następny nakład zawierający wpisane ciągi znaków", "Szukaj następny"},  // 260
    {"", "Włącza/wyłącza wyświetlanie kolumny zawierającej kody ETO nakładów", "Kolumna ETO"},  // 261
    {"", "Przełącza wyświetlanie nakładów z bazy nakładów lub tylko z cennika", "Tylko z cennika"},  // 262
    {"Ctrl+R", "Umożliwia wybór cenników robocizny", "Wybierz"},  // 263
    {"Ctrl+M", "Umożliwia wybór cenników materiałów", "Wybierz"},  // 264
    {"Ctrl+T", "Umożliwia wybór cenników sprzętów", "Wybierz"},  // 265
    {"Ctrl+U", "Umożliwia wybór cenników pozycji uproszczonych", "Wybierz"},  // 266
    {"", "Umożliwia wybór pliku", "Wybierz"},  // 267
    {"", "Umożliwia wybór z bazy autorów, inwestorów, budów i obiektów", "Wybierz z bazy"},  // 268
    {"", "Umożliwia usunięcie danych pojedynczego autora", "Usuń autora"},  // 269
    {"", "Umożliwia usunięcie danych wszystkich autora", "Usuń wszystkich autorów"},  // 270
    {"", "Umożliwia wybór cennika", "Wybierz"},  // 271
    {"", "Usuwa cennik z kosztorysu", "Usuń"},  // 272
    {"Ctrl+L", "Umożliwia podgląd wydruku kosztorysu", "Podgląd"},  // 273
    {"Alt+F4", "Przywraca poprzednie ustawienia opcji wydruków", "Przywróć"},  // 274
    {"Alt+F10", "Umożliwia ustawienie dodatkowych parametrów wydruku", "Ustawienia wydruku"},  // 275
    {"Alt+F8", "Umożliwia wybranie czcionek jakimi ma być wydrukowany kosztorys", "Czcionki"},  // 276
    {"", "Wczytuje standardowe ustawienia opcji wydruków", "Czytaj standard"},  // 277
    {"", "Zapisuje aktualne ustawienia opcji wydruków jako standardowe", "Zapisz standard"},  // 278
    {"", "Wczytuje standardowe dla programu Kovra ustawienia opcji wydruków", "Standard Kovra"},  // 279
    {"", "Usuwa bieżący szablon stopki", "Usuń szablon stopki"},  // 280
    {"", "Usuwa bieżący szablon nagłówka", "Usuń szablon nagłówka"},  // 281
    {"", "Wczytuje standardowe dla programu Kovra ustawienie szablonu stopki", "Stopka - Standard Kovra"},  // 282
    {"", "Wczytuje standardowe dla programu Kovra ustawienie szablonu nagłówka", "Nagłówek - Standard Kovra"},  // 283
    {"", "Zapisuje aktualne ustawienia opcji wydruków jako standardowe", "Zapisz standard"},  // 284
    {"", "Zapisuje aktualne ustawienia opcji wydruków jako standardowe", "Zapisz standard"},  // 285
    {"", "Pozwala na wybranie drukarki, na której będą drukowane kosztorysy", "Wybierz drukarkę"},  // 286
    {"", "Przywraca wybraną drukarkę, na której będą drukowane kosztorysy, jako domniemaną z sytemu", "Wybierz domniemaną drukarkę"},  // 287
    {"", "Składa stronę tytułową do wydruku poprzez program Word.", "Scalaj według szablonu"},  // 288
    {"", "Przesyła stronę tytułową do programu Word.", "Wydrukuj dokument"},  // 289
    {"", "Pozwala na zmianę Logo firmy na wydruku poprzez Konfigurację programu.", "Zmień"},  // 290
    {"Alt+R", "Wyświetla opisy robót dla aktywnej pozycji", "Opisy robót"},  // 291
    {"Alt+U", "Wyświetla uwagi dla aktywnej pozycji", "Uwagi"},  // 292
    {"Alt+G", "Wyświetla założenia do rozdziału dla aktywnej pozycji", "Założenia"},  // 293
    {"Alt+L", "Wyświetla istotne informacje w założeniach dla aktywnej pozycji", "Informacje o pozycji"},  // 294
    {"Ctrl+D", "Umożliwia dołożenie nowego katalogu (rozdziału, tablicy, kolumny) użytkownika", "Dołóż"},  // 295
    {"Ctrl+D", "Umożliwia dołożenie nowego katalogu (rozdziału, tablicy, kolumny, wersji) użytkownika", "Dołóż"},  // 296
    {"Alt+H", "Zmiana nazwy katalogu (rozdziału, tablicy, kolumny) użytkownika", "Zmień"},  // 297
    {"Alt+H", "Zmiana nazwy katalogu (rozdziału, tablicy, kolumny, wersji) użytkownika", "Zmień"},  // 298
    {"Alt+D", "Usunięcie katalogu (rozdziału, tablicy, kolumny, wersji) użytkownika", "Usuń"},  // 299
    {"Ctrl+D", "Umożliwia dołożenie nowej wersji alternatywnej (na końcu listy)", "Dołóż wersję"},  // 300
    {"Alt+Del", "Umożliwia wyczyszczenie zawartości zaznaczonej wersji alternatywnej", "Wyczyść wersję"},  // 301
    {"Alt+D", "Usunięcie zaznaczonej wersji alternatywnej", "Usuń wersję"},  // 302
    {"Alt+V", "Rozpoczęcie wyszukiwania w nazwach tablic wpisanego słowa", "Szukaj"},  // 303
    {"Alt+N", "Wyświetla nakłady w przeglądanej kolumnie lub wersji", "Nakłady"},  // 304
    {"", "Wyświetla nakłady robocizny jako Robocizna razem", "Robocizna razem"},  // 305
    {"Alt+E", "Umożliwia wybór pozycji uproszczonej wraz z ceną z aktualnego cennika", "Pozycje z cennika"},  // 306
    {"Alt+K", "Umożliwia wybór pozycji uproszczonej z katalogu bez ceny", "Pozycje z katalogu"},  // 307
    {"", "Umożliwia wybór tylko ceny z aktualnego cennika, dla pozycji uproszczonej", "Tylko cena"},  // 308
    {"", "Umożliwia edycję założeń ogólnych i szczegółowych w katalogach użytkowników", "Edycja założeń"},  // 309
    {"", "Umożliwia edycję opisów robót i uwag do pozycji w katalogach użytkowników", "Edycja opisów robót i uwag"},  // 310
    {"", "Pokazuje tytuły katalogów z dodatkową informacją o wydaniu", "Poszerzone tytuły katalogów"},  // 311
    {"", "Umożliwia dodanie kolejnych wersji do pozycji jednowersjowych", "Zawsze pokazuj wersje"},  // 312
    {"Alt+T", "Włącza (wyłącza) wyświetlanie tytułu zaznaczonej pozycji", "Tytuł"},  // 313
    {"Alt+R", "Wyświetla opisy robót dla aktywnej pozycji", "Opisy robót"},  // 314
    {"Alt+U", "Wyświetla uwagi dla aktywnej pozycji", "Uwagi"},  // 315
    {"Alt+G", "Wyświetla założenia do rozdziału dla aktywnej pozycji", "Założenia"},  // 316
    {"Alt+L", "Wyświetla istotne informacje w założeniach dla aktywnej pozycji", "Informacje o pozycji"},  // 317
    {"Ctrl+U", "Usunięcie zaznaczonej pozycji z cennika", "Usuń"},  // 318
    {"Alt+S", "Przeszukanie cenników pozycji uproszczonych", "Szukaj"},  // 319
    {"Alt+A", "Przenosi do kosztorysu cenę zaznaczonej pozycji uproszczonej", "Przenieś cenę"},  // 320
    {"Alt+PgUp", "Znajduje poprzednie wystąpienie poszukiwanego słowa", "Znajdź poprzedni"},  // 321
    {"Alt+PgDn", "Znajduje następne wystąpienie poszukiwanego słowa", "Znajdź następny"},  // 322
    {"Ctrl+X", "Przenosi do schowka zaznaczone (zamarkowane) wiersze", "Wytnij"},  // 323
    {"Ctrl+C", "Kopiuje do schowka zaznaczone (zamarkowane) wiersze", "Kopiuj"},  // 324
    {"Ctrl+V", "Wkleja ze schowka zapamiętany uprzednio wiersz", "Wklej"},  // 325
    {"Ctrl+P", "Wstawia pusty wiersz", "Wstaw pusty"},  // 326
    {"Ctrl+Alt+U", "Umożliwia usunięcie wszystkich wprowadzonych wyliczeń", "Usuń wszystko"},  // 327
    {"Ctrl+U", "Usuwa aktualnie zaznaczone wyliczenie", "Usuń"},  // 328
    {"Ctrl+G", "Umożliwia wstawinie do obmiaru zmienne globalnej", "Zmienne globalne"},  // 329
    {"", "Umożliwia przeniesienie obmiaru z wybranego pliku", "Wybierz z pliku"},  // 330
    {"F5", "Umożliwia zaokrąglenie sumy obmiarami do wartości całkowitej", "Zaokrąglenie do 1"},  // 331
    {"F6", "Umożliwia zaokrąglenie sumy obmiarami do wartości z jednym miejscem po przecinku", "Zaokrąglenie do 0,1"},  // 332
    {"F7", "Umożliwia zaokrąglenie sumy obmiarami do wartości z dwoma miejscami po przecinku", "Zaokrąglenie do 0,01"},  // 333
    {"F8", "Umożliwia zaokrąglenie sumy obmiarami do wartości z trzema miejscami po przecinku", "Zaokrąglenie do 0,001"},  // 334
    {"F9", "Umożliwia zaokrąglenie sumy obmiarami do wartości z czterema miejscami po przecinku", "Zaokrąglenie do 0,0001"},  // 335
    {"F10", "Umożliwia zaokrąglenie sumy obmiarami do wartości z pięcioma miejscami po przecinku", "Zaokrąglenie do 0,00001"},  // 336
    {"F11", "Umożliwia zaokrąglenie sumy obmiarami do wartości z sześcioma miejscami po przecinku", "Zaokrąglenie do 0,000001"},  // 337
    {"", "Umożliwia stały podgląd edytowanego tekstu", "Podgląd"},  // 338
    {"", "Umożliwia ustawienie tekstu w poprzednim miejscu z istotnymi informacjami o bieżącej tablicy", "Poprzednia"},  // 339
    {"", "Umożliwia ponowne ustawienie tekstu w miejscu z istotnymi informacjami o bieżącej tablicy", "Bieżąca"},  // 340
    {"", "Umożliwia ustawienie tekstu w następnym miejscu z istotnymi informacjami o bieżącej tablicy", "Następna"},  // 341
    {"", "Umożliwia ustawienie współczynnika KZ dla Mp(R) i materiałów z pozycji uproszczonych", "Współczynnik KZ"},  // 342
    {"", "Umożliwia przesunięcie raportu w górę", "Przesuń w górę"},  // 343
    {"", "Umożliwia przesunięcie raportu w dół", "Przesuń w dół"},  // 344
    {"Ctrl+D", "Dokłada nowego użytkownika do listy użytkowników programu", "Dołóż użytkownika"},  // 345
    {"Ctrl+U", "Usuwa bieżącego użytkownika z listy użytkowników programu", "Usuń użytkownika"},  // 346
    {"Alt+H", "Umożliwia zmianę ustawień bieżącego użytkownika z listy użytkowników programu", "Zmień ustawienia"},  // 347
    {"Ctrl+D", "Umożliwia wybór folderu", "Wybierz folder"},  // 348
    {"Ctrl+F", "Wybierz folder główny z CD", "Wybierz CD"},  // 349
    {"Ctrl+S", "Przeszukuje podaną ścieżkę źródłową w poszukiwaniu zbiorów z danymi", "Przeszukaj"},  // 350
    {"Ctrl+W", "Pokazuje wszystkie możliwości tworzenia cenników", "Pokaż wszystko"},  // 351
    {"", "Wkleja do bieżącej pozycji zaznaczone fragmenty przedmiaru", "Przenieś"},  // 352
    {"", "Umożliwia zwijanie i rozwijanie drzewka z danymi", "Zwiń / Rozwiń"},  // 353
    {"", "Umożliwia pozostawienie paska przedmiaru na ekranie", "Stale widoczne"},  // 354
    {"", "Umożliwia wybór pliku z obmiarem / przedmiarem", "Otwórz"},  // 355
};

} // namespace

const hint_row& hint(int row) {
  static const hint_row none{"", "", ""};
  return row >= 0 && row < hint_row_count ? rows[row] : none;
}

std::string button_hint(int row) {
  const hint_row& r = hint(row);
  std::string text = r.caption;
  if (*r.shortcut) text += std::string("  (") + r.shortcut + ")";
  return text + "|" + r.hint;
}

} // namespace kovra::shell
