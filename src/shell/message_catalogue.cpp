#include "shell/message_catalogue.h"

#include <array>

namespace kovra::shell {
namespace {

constexpr std::array<message_kind, message_kind_count> kinds = {{
    /*  0 */ {msg_icon::error, msg_buttons::ok, false, "Błąd Fatalny"},
    /*  1 */ {msg_icon::error, msg_buttons::ok, false, "Błąd"},
    /*  2 */ {msg_icon::question, msg_buttons::ok_cancel, false, "Ostrzeżenie"},
    /*  3 */ {msg_icon::exclamation, msg_buttons::ok, false, "Ostrzeżenie"},
    /*  4 */ {msg_icon::information, msg_buttons::ok, false, "Wiadomość"},
    /*  5 */ {msg_icon::information, msg_buttons::ok_cancel, false, "Wiadomość"},
    /*  6 */ {msg_icon::information, msg_buttons::ok, false, "Wiadomość"},
    /*  7 */ {msg_icon::information, msg_buttons::ok, false, ""},
    /*  8 */ {msg_icon::question, msg_buttons::yes_no_cancel, false, "Ostrzeżenie"},
    /*  9 */ {msg_icon::question, msg_buttons::yes_no, false, ""},
    /* 10 */ {msg_icon::question, msg_buttons::ok_cancel, true, "Autozapis - Kovra"},
}};

// Entries 190 and 197 are not used by this edition (empty text).
constexpr std::array<catalogue_entry, message_count> entries = {{
    /*   0 */ {6, "Zbiór jest używany przez inny komputer.\n"
                  "Jeśli nie chcesz czekać naciśnij dowolny klawisz."},
    /*   1 */ {1, "Otwarcie pliku \"%s\"\nnie jest możliwe."},
    /*   2 */ {1, "Znaleziono błąd.\nProsimy o kontakt z producentem programu.\nOpis błędu w zbiorze %s"},
    /*   3 */ {1, "Wartość spoza przedziału <%d , %d>."},
    /*   4 */ {1, "Wartość spoza przedziału <%.*lf , %.*lf>."},
    /*   5 */ {1, "%s spoza przedziału <%.*lf , %.*lf>."},
    /*   6 */ {1, "Wyrażenie \"%s\"nie jest liczbą."},
    /*   7 */ {6, "Brak zbioru \"%s\"."},
    /*   8 */ {2, "Brak zbioru \"%s\"\nCzy utworzyć zbiór?"},
    /*   9 */ {2, "Plik \"%s\" już istnieje.\nCzy chcesz utracić poprzednią zawartość zbioru?"},
    /*  10 */ {8, "Plik \"%s\" już istnieje.\nCzy chcesz utracić poprzednią zawartość zbioru?"},
    /*  11 */ {2, "Plik \"%s\" istnieje i jest otwarty.\nCzy chcesz podać nową nazwę zbioru?"},
    /*  12 */ {2, "Zła nazwa zbioru. Czy chcesz poprawić nazwę?"},
    /*  13 */ {1, "\"%s\" to złe rozszerzenie."},
    /*  14 */ {1, "Zbiór \"%s\" jest otwarty.\nJego usunięcie nie jest możliwe."},
    /*  15 */ {1, "Zbiór \"%s\" jest otwarty.\nJego ponowne otwarcie nie jest możliwe."},
    /*  16 */ {1, "Plik \"%s\" pochodzi z innego programu."},
    /*  17 */ {1, "Nie można odczytać zbioru \"%s\"."},
    /*  18 */ {1, "Zbiór nie został wybrany."},
    /*  19 */ {2, "Dysk nie jest gotowy.\nCzy chcesz spróbować ponownie?"},
    /*  20 */ {2, "Brak zbioru \"%s\" definiującego drukarki."},
    /*  21 */ {1, "Zbiór z informacjami o drukarkach\n\"%s\" ma błędny numer wersji."},
    /*  22 */ {1, "Brak pamięci do wykonania żądanej operacji."},
    /*  23 */ {1, "Brak bloku kodów \"%s\".\nPlik \"%s\" jest niekompletny."},
    /*  24 */ {1, "Błąd danych w linii %d pole \"%s\".\nPlik \"%s\" jest uszkodzony."},
    /*  25 */ {1, "Znaleziono nie używany blok kodów \"%s\".\nPlik \"%s\" nie jest poprawny."},
    /*  26 */ {2, "Zbiór \"%s\" już istnieje.\nCzy chcesz zniszczyć poprzednią zawartość zbioru?"},
    /*  27 */ {2, "Czy cennik \"%s\"\nma być bieżącym cennikiem w kosztorysie?"},
    /*  28 */ {2, "Czy cennik \"%s\"\nma być bieżącym cennikiem w rozdziale?"},
    /*  29 */ {2, "Czy przenoszenie do cennika cen zmienianych w kosztorysie\n"
                  "ma być zgodne z ustawieniem znacznika 'Ceny do cennika'?"},
    /*  30 */ {2, "Czy chcesz usunąć pozycję?"},
    /*  31 */ {2, "Czy chcesz usunąć wszystkie zaznaczone pozycje?"},
    /*  32 */ {2, "Czy chcesz odłączyć pozycję od rusztowania?"},
    /*  33 */ {2, "Czy chcesz odłączyć od rusztowań wszystkie zaznaczone pozycje?"},
    /*  34 */ {1, "Brak rusztowań !\nNajpierw należy wstawic pozycję typu \"Rusztowanie\"!"},
    /*  35 */ {6, "Cennik dla %s\nnie został wybrany."},
    /*  36 */ {1, "Plik danych \"*.kvr\" nie został\notwarty lub nie istnieje!"},
    /*  37 */ {1, "Pozycja w katalogu jest uszkodzona! Wprowadzenie\ntych danych nie jest możliwe."},
    /*  38 */ {6, "Tworzenie pliku \"%05d.RMS\""},
    /*  39 */ {6, "Import nakładów użytkownika."},
    /*  40 */ {1, "%s o numerze: %ld już istnieje!"},
    /*  41 */ {1, "Nazwa katalogu \"%s\" jest niedozwolona."},
    /*  42 */ {1, "Katalog o nazwie \"%s %ld\" już istnieje !"},
    /*  43 */ {1, "Katalog o nazwie \"%s %ld\" już istnieje !\nZbiór \"%s\""},
    /*  44 */ {9, "Czy chcesz usunąć bieżąc%s?"},
    /*  45 */ {9, "Czy chcesz wyczyścić zawartość bieżącej wersji?"},
    /*  46 */ {9, "Czy chcesz usunąć wszystkie wyliczenia?"},
    /*  47 */ {8, "Cennik \"%s\" już istnieje."},
    /*  48 */ {2, "Cennik \"%s\" już istnieje.\n"
                  "Jeśli chcesz utracić poprzednią zawartość cennika, wciśnij \"OK\"!\n"
                  "Jeśli chcesz zrezygnować z importu cennika, wybierz \"Anuluj\""},
    /*  49 */ {1, "Aktualny kosztorys ma ustawiony znacznik 'Wycena'\ni nie można zapisać go do oferty."},
    /*  50 */ {1, "Kosztorys \"%s\" ma ustawiony znacznik 'Wycena'.\n"
                  "Nie można go otworzyć, a jedynie porównywać."},
    /*  51 */ {1, "To jest pozycja oryginalna (wprowadzona przez Inwestora).\n"
                  "Nie można jej usunąć ani zmodyfikować nakładów."},
    /*  52 */ {1, "W oryginalnym nakładzie (zdefiniowanym przez Inwestora)\nmożna zmienić tylko cenę."},
    /*  53 */ {1, "Kosztorys oryginalny został zmieniony.\nNie można zrobić porównania z wyceną."},
    /*  54 */ {1, "Kosztorys \"%s\" nie jest ofertowy\ni nie może być porównywany."},
    /*  55 */ {1, "Oferta \"%s\"pochodzi z innej wyceny\ni nie może być porównywana."},
    /*  56 */ {2, "To jest już ostatnia linia."},
    /*  57 */ {1, "Brak nakładów o tak zdefiniowanym kluczu częściowym."},
    /*  58 */ {2, "Czy chcesz usunąć ten nakład z pozycji?"},
    /*  59 */ {1, "Baza danych jest pusta."},
    /*  60 */ {9, "Czy rzeczywiście chcesz zakończyć pracę?"},
    /*  61 */ {1, "Zbiór o takiej nazwie już istnieje."},
    /*  62 */ {2, "Czy chcesz usunąć dane z bieżącej linii?"},
    /*  63 */ {2, "Czy chcesz usunąć wszystkie zaznaczonych linie?"},
    /*  64 */ {6, "Nie znaleziono pliku \"%s\"."},
    /*  65 */ {2, "Nie znaleziono pliku \"%s\"\nCzy chcesz samodzielnie odszukać plik ?"},
    /*  66 */ {8, "Nie znaleziono pliku \"%s\"\n"
                  "Czy chcesz samodzielnie odszukać plik ? Wciśniej \"Tak\" lub \"Nie\" !\n"
                  "Jeżeli nie chcesz samodzielnie szukać żadnych plików, wciśnij \"Anuluj\" !"},
    /*  67 */ {2, "Wskazane cenniki nie zawierają wszystkich nakładów."},
    /*  68 */ {2, "Ta kolumna katalogu zawiera dane.\n"
                  "Czy chcesz zniszczyć poprzednią zawartość tej kolumny?"},
    /*  69 */ {2, "Ceny %s\nwystępujących w cenniku:\n%s\nzostaną przepisane do nowego cennika."},
    /*  70 */ {1, "Cennik 'Sekocenbud' \"%s\"\nma nieznany format."},
    /*  71 */ {1, "Próba kopiowania cennika sprzętu 'Sekocenbud':\n\"%s\"\ndo cennika materiałów."},
    /*  72 */ {1, "Próba kopiowania cennika sprzętu 'Bistyp':\n\"%s\"\ndo cennika materiałów."},
    /*  73 */ {1, "Próba kopiowania cennika materiałów 'Sekocenbud':\n\"%s\"\ndo cennika sprzętu."},
    /*  74 */ {1, "Próba kopiowania cennika materiałów 'Bistyp':\n\"%s\"\ndo cennika sprzętu."},
    /*  75 */ {1, "Nie można importować aktualnego kosztorysu."},
    /*  76 */ {1, "Zbiór \"%s\"\nma błędny numer wersji."},
    /*  77 */ {1, "Zbiór \"%s\"\nma błędny typ."},
    /*  78 */ {1, "Brak pamięci do wykonania żądanej operacji."},
    /*  79 */ {1, "Utworzenie pliku \"%s\"\nnie jest możliwe."},
    /*  80 */ {1, "Brak dostępu do zbioru \"%s\"."},
    /*  81 */ {4, "Zbiór \"%s\" jest już używany w programie !\n"
                  "Dostęp wyłączny nie jest możliwy !\n"
                  "Musisz zamknąć wszystkie dokumenty używające go !!!"},
    /*  82 */ {4, "Zbiór \"%s\"\nnie został poprawnie zamknięty i jest uszkodzony.\nZbiór jest naprawiany."},
    /*  83 */ {6, "Zbiór \"%s\"\nnie został poprawnie zamknięty i jest uszkodzony.\nOtwarcie niemożliwe."},
    /*  84 */ {0, "Baza materiałów \"%s\" nie została poprawnie\n"
                  "zamknięta i jest uszkodzona. Należy dokonać reinstalacji\n"
                  "programu. Materiały wprowadzone do tej pory przez\n"
                  "użytkownika zostaną przepisane do nowej bazy."},
    /*  85 */ {6, "Zbiór \"%s\"\n"
                  "pochodzi ze starszej wersji programu.\n"
                  "Zbiór jest przepisywany do nowego formatu."},
    /*  86 */ {1, "Zbiór \"%s\"\n"
                  "pochodzi z wersji 4-tej lub niższej programu.\n"
                  "Konwersja do aktualnego formatu nie jest mozliwa."},
    /*  87 */ {1, "Otwarcie zbioru raportu nie powiodło się."},
    /*  88 */ {1, "Utworzenie kopii zbioru nie powiodło się."},
    /*  89 */ {4, "Drukowanie..."},
    /*  90 */ {4, "Przygotowanie wydruków..."},
    /*  91 */ {6, "Wybrany nakład został już wcześniej zdefiniowany w\n"
                  "kosztorysie i zostanie dla niego przyjęta cena lokalna."},
    /*  92 */ {1, "Plik \"%s\"\n"
                  "nie został poprawnie zamknięty i jest uszkodzony.\n"
                  "Można go naprawić wczytując w opcji 'Kosztorys-Otwórz'."},
    /*  93 */ {1, "Zbiór \"%s\"\npochodzi z nowszej wersji programu.\nOtwarcie zbioru nie jest możliwe."},
    /*  94 */ {2, "Czy chcesz zniszczyć zawartość zbioru \"%s\"?"},
    /*  95 */ {9, "Czy dołożyć nową jednostkę?"},
    /*  96 */ {6, "Kopiowanie bloku danych. Proszę czekać."},
    /*  97 */ {6, "Kopiowanie katalogów. Proszę czekać."},
    /*  98 */ {6, "Kasowanie bloku danych. Proszę czekać."},
    /*  99 */ {2, "Niepełny katalog \"%s %d\"\nZainstaluj katalog ponownie."},
    /* 100 */ {2, "Nie znaleziono tablic zawierających\n\"%s\"."},
    /* 101 */ {4, "Poszukiwanie słów w tytułach tablic."},
    /* 102 */ {4, "Przeliczanie kosztorysu."},
    /* 103 */ {4, "Przenoszenie cen."},
    /* 104 */ {4, "Renumeracja kosztorysu."},
    /* 105 */ {4, "Import kosztorysu."},
    /* 106 */ {4, "Wartość importowanego kosztorysu %s\nwynosi: %.2lf"},
    /* 107 */ {4, "Tworzenie cennika."},
    /* 108 */ {4, "Otwieranie kosztorysu..."},
    /* 109 */ {4, "Tworzenie cennika (część %c)."},
    /* 110 */ {1, "Katalog jest używany i nie może być usunięty."},
    /* 111 */ {1, "Katalog jest używany i nie może być zmieniony."},
    /* 112 */ {1, "Katalog o tej nazwie już istnieje i nie może być utworzony."},
    /* 113 */ {6, "Nie ma takiego katalogu.\nPonowna inicjalizacja katalogów.\nProszę czekać..."},
    /* 114 */ {5, "Dane w katalogu zostały zmienione.\nPonowna inicjalizacja danych.\nProszę czekać..."},
    /* 115 */ {6, "Dane w pozycji \"%s\"\nsą uszkodzone i zostaną usunięte."},
    /* 116 */ {1, "Wybrany nakład już istnieje w tej pozycji."},
    /* 117 */ {9, "Czy chcesz zamienić \"%s\" na \"%s\"?"},
    /* 118 */ {1, "Nie znaleziono żadnych cen wybranego nakładu."},
    /* 119 */ {1, "Nie znaleziono ceny dla wybranej pozycji."},
    /* 120 */ {1, "Za duży zbiór do podglądu!\nNa ekranie wyświetlone zostanie pierwsze %ld wierszy."},
    /* 121 */ {1, "Wartość krotności musi być różna od zera."},
    /* 122 */ {2, "Kovra doszła do końca wydruku. Kolejne szukanie\nbędzie prowadzone od początku wydruku."},
    /* 123 */ {2, "Kovra doszła do początku wydruku. Kolejne szukanie\nbędzie prowadzone od końca wydruku."},
    /* 124 */ {2, "Kovra doszła do końca bazy RMS. Kolejne szukanie\nbędzie prowadzone od początku bazy."},
    /* 125 */ {2, "Kovra doszła do początku bazy RMS. Kolejne szukanie\nbędzie prowadzone od końca bazy."},
    /* 126 */ {1, "Błędne wprowadzony numer strony.\nWpisz wartość z przedziału %d-%d."},
    /* 127 */ {1, "Kovra nie znalazła wyrażenia."},
    /* 128 */ {2, "Inicjalizacja bazy katalogów."},
    /* 129 */ {6, "Jeden z użytkowników dokonuje zmian w bazie RMS.\n"
                  "Jej wyświetlenie na ekranie w tej chwili nie jest możliwe.\n"
                  "Jeśli nie chcesz czekać - wciśnij dowolny klawisz."},
    /* 130 */ {6, "Baza RMS jest używana przez innych użytkowników.\n"
                  "Zmiany w niej w tej chwili nie są możliwe.\n"
                  "Jeśli nie chcesz czekać - wciśnij dowolny klawisz."},
    /* 131 */ {7, "Ktoś próbuje dokonać zmian w bazie RMS.\nJeśli to możliwe - pospiesz się."},
    /* 132 */ {6, "Przeglądanie cenników w poszukiwaniu cen."},
    /* 133 */ {1, "Drukarka nie została wybrana!\nWybierz drukarkę 'Typ drukarki'"},
    /* 134 */ {1, "Nie znaleziono żadnych drukarek !\n"
                  "Drukowanie nie jest możliwe !\n"
                  "Proszę zainstalować drukarkę ..."},
    /* 135 */ {1, "Niestety nie znaleziono żadnych drukarek poza %s !\n"
                  "Drukowanie na drukarce nie jest możliwe !\n"
                  "Najpierw należy zainstalować drukarkę ..."},
    /* 136 */ {6, "Porównywanie kosztorysu z katalogami."},
    /* 137 */ {6, "Porównywanie rozdziału z katalogami."},
    /* 138 */ {6, "Tworzenie pliku \"%s\"\ndla programu Planista."},
    /* 139 */ {6, "Tworzenie pliku \"%s\"\ndla programu bManager."},
    /* 140 */ {6, "Tworzenie pliku \"%s\"\ndla programu Artemis."},
    /* 141 */ {1, "Brak miejsca na dysku '%c'"},
    /* 142 */ {1, "Nie jest możliwe porównywanie zbioru \"%s\"."},
    /* 143 */ {6, "Tworzenie plików \"%s\"\ndla programu Artemis."},
    /* 144 */ {1, "Ilość stron wydruku: %d.\n"
                  "Numer pierwszej strony podglądu przekracza zakres stron w wydruku.\n"
                  "Zmniejsz zakres stron w polu 'Strony'."},
    /* 145 */ {1, "Ilość stron wydruku: %d.\n"
                  "Numer pierwszej drukowanej strony przekracza zakres stron w wydruku.\n"
                  "Zmniejsz zakres stron w polu 'Strony'."},
    /* 146 */ {6, "Wyszukiwanie wyrażenia\n\"%s\"\nw bazie RMS"},
    /* 147 */ {1, "Brak możliwości zdefiniowania kolejnej jednostki użytkownika."},
    /* 148 */ {9, "Czy na pewno chcesz usunąć pozycję:\n\"%s\"?"},
    /* 149 */ {1, "Brak możliwości odczytania pliku:\n\"%s\""},
    /* 150 */ {9, "Czy na pewno chcesz usunąć pozycję:\n\"%s\"?"},
    /* 151 */ {9, "Czy na pewno chcesz usunąć pozycję:\n\"%s\"?"},
    /* 152 */ {9, "Czy na pewno chcesz usunąć wszystkie dodatki?"},
    /* 153 */ {9, "Czy na pewno chcesz usunąć wszystkich autorów?"},
    /* 154 */ {9, "Czy na pewno chcesz usunąć narzut:\n\"%s\"?"},
    /* 155 */ {1, "Ten kosztorys nie został opracowany przy pomocy programu Kovra."},
    /* 156 */ {1, "Błąd fatalny. Kosztorysu nie można zobaczyć."},
    /* 157 */ {8, "Plik \"%s\" został zmieniony.\nCzy zapisać zmiany?"},
    /* 158 */ {2, "Plik \"%s\" \"tylko do odczytu\" został zmieniony.\n"
                  "Jeśli chcesz zamknąć kosztorys bez zachowania wprowadzonych zmian wybierz \"OK\"\n"
                  "Jeśli nie chcesz zamykać kosztorysu wybierz \"Anuluj\""},
    /* 159 */ {1, "Plik \"%s\" jest \"tylko do odczytu\".\n"
                  "Wprowadzenie zmian w kosztorysie uniemożliwi jego wydrukowanie.\n"
                  "Wprowadzone zmiany nie zostaną zachowane !"},
    /* 160 */ {8, "Czy zapamiętać zmiany?"},
    /* 161 */ {2, "Czy chcesz usunąć z pozycji Materiały pomocnicze (Materiały)?"},
    /* 162 */ {2, "Czy chcesz usunąć z pozycji Materiały pomocnicze (Robocizna)?"},
    /* 163 */ {2, "Czy chcesz usunąć z pozycji Sprzęt pomocniczy (Robocizna)?"},
    /* 164 */ {2, "Czy chcesz usunąć z pozycji Sprzęt pomocniczy (Sprzęt)?"},
    /* 165 */ {1, "Drukarka \"%s\" ma wstrzymane drukowanie !\nDrukowanie na tej drukarce jest niemożliwe !"},
    /* 166 */ {1, "Drukarka \"%s\" jest w trybie \"offline\" !\n"
                  "Drukowanie na tej drukarce jest niemożliwe !"},
    /* 167 */ {1, "Drukarka \"%s\" nie jest gotowa !\nDrukowanie na tej drukarce jest niemożliwe !"},
    /* 168 */ {1, "Drukarka nie jest gotowa !\nDrukowanie na tej drukarce jest niemożliwe !"},
    /* 169 */ {1, "Drukownie nie powiodło się !"},
    /* 170 */ {1, "Brak zaznaczonych elementów do wydruku."},
    /* 171 */ {1, "Brak zbioru \"%s\"."},
    /* 172 */ {1, "Nie można otworzyć zbioru \"%s\"."},
    /* 173 */ {1, "Nie można usunąć zbioru \"%s\"."},
    /* 174 */ {1, "Ustaw drukarkę na początek nowej strony."},
    /* 175 */ {1, "Program w trakcie drukowania."},
    /* 176 */ {1, "Pozostały niewydrukowane zbiory."},
    /* 177 */ {1, "Wydruk został przerwany."},
    /* 178 */ {1, "Drukarka nie jest gotowa."},
    // Kind 8 (Yes, No, Cancel): its callers tell "No" (close without saving) from "Cancel".
    /* 179 */ {8, "Czy zapisać kosztorys\n\"%s\"?"},
    /* 180 */ {3, "Kosztorys \"%s\"\n"
                  "nie został poprawnie zapisany !\n"
                  "Jego zawartość zostanie odczytana z kopii !"},
    /* 181 */ {8, "Operacja wymaga włączenia zewnętrznych rozdziałów do kosztorysu.\n"
                  "Czy chcesz utworzyć nowy kosztorys?\n"
                  "Jeśli odpowiesz \"Tak\", to zostanie utworzony nowy kosztorys i rozdziały zewnętrzne zostaną włączone do niego.\n"
                  "Jeśli odpowiesz \"Nie\", to rozdziały zewnętrzne zostaną włączone w bieżącym kosztorysie."},
    /* 182 */ {1, "Kovra jest już uruchomiona na tym komputerze!"},
    /* 183 */ {1, "Program `QRT` jest uruchomiony na tym komputerze!"},
    /* 184 */ {6, "Inicjalizacja kosztorysu..."},
    /* 185 */ {6, "Wklejanie pozycji ze schowka..."},
    /* 186 */ {6, "Usuwanie pozycji...\n"},
    /* 187 */ {6, "Zapisywanie kosztorysu..."},
    /* 188 */ {1, "Brak tablicy konwersji. Nie można wykonać importu cenników"},
    /* 189 */ {1, "Plik \"%s\" ma ustawiony znacznik \"Tylko do odczytu\" (ReadOnly).\n"
                  "Aby przeczytać ten plik należy w jego właściwościach wyłączyć ten znacznik."},
    /* 190 */ {1, ""},  // not used by this edition
    /* 191 */ {2, "Zdjęcie znacznika \"Tylko do odczytu\" spowoduje, że bieżącego kosztorysu\n"
                  "nie będzie można porównać z kosztorysami ofertowymi.\n"
                  "Jeśli rzeczywiście chcesz dokonać zmian w tym kosztorysie wciśnij klawisz <OK>."},
    /* 192 */ {1, "Przed zapisaniem do wyceny bieżący kosztorys musi zostać wcześniej zapisany na dysku (opcja \"Kosztorys - Zapisz\")"},
    /* 193 */ {2, "W bieżącym kosztorysie dokonano zmian uniemożliwiających porównanie. Do porównania musi zostać wczytany z dysku oryginalny kosztorys. Jeśli zgadzasz się na utratę wprowadzonych zmian i porównanie kosztorysów - wciśnij <OK>. Jeśli nie chcesz teraz porównywać kosztorysów - wciśnij <Anuluj>"},
    /* 194 */ {6, "Nakładu użytkownika o nazwie \"%s\" nie ma już w bazie. Prawdopodobnie został usunięty przez innego użytkownika. Proszę wybrać inny nakład."},
    /* 195 */ {1, "Kosztorys \"%s\" jest tylko do odczytu.\nImport nie jest możliwy."},
    /* 196 */ {1, "Kosztorys \"%s\" został zapisany do wyceny.\nImport nie jest możliwy."},
    /* 197 */ {1, ""},  // not used by this edition
    /* 198 */ {1, "Nie znaleziono żadnych własnych katalogów."},
    /* 199 */ {1, "Nie udało się przekopiować zbioru: \"%s\" !"},
    /* 200 */ {1, "Nie udało się przekopiować danych do zbioru: \"%s\" !"},
    /* 201 */ {6, "Eksport katalogu \"%s\" "},
    /* 202 */ {6, "Import katalogu \"%s\" "},
    /* 203 */ {1, "Niewłaściwy znak w nazwie katalogu.\n"
                  "Nazwa katalogu nie może zawierać następujących znaków:\n"
                  "%s"},
    /* 204 */ {1, "Nie zdefiniowana zmienna."},
    /* 205 */ {4, "Przygotowywanie danych..."},
    /* 206 */ {4, "Zapis danych na dysk ! Proszę czekać..."},
    /* 207 */ {4, "Brak pamięci do otwarcia kolejnego kosztorysu."},
    /* 208 */ {6, "Baza autorów, inwestorów, budów i obiektów pochodzi ze starszej wersji programu. Konwersja pliku nie jest możliwa. Plik zostanie utworzony na nowo, a wszystkie znajdujące się w nim dane zostaną stracone."},
    /* 209 */ {1, "Żadna z drukarek tekstowych nie jest gotowa."},
    /* 210 */ {2, "Jednostka wybranego nakładu jest inna niż nakładu w kosztorysie.\n"
                  "Czy rzeczywiście chcesz przenieść cenę?"},
    /* 211 */ {2, "Jednostka wybranej pozycji jest inna niż pozycji w kosztorysie.\n"
                  "Czy rzeczywiście chcesz przenieść cenę?"},
    /* 212 */ {2, "Wybrany cennik jest uszkodzony.\n"
                  "Program może przystąpić do odzyskiwania cen.\n"
                  "Po zakończeniu procesu odzyskiwania niektóre ceny mogą być błędne.\n"
                  "Czy chcesz rozpocząć proces odzyskiwania danych?"},
    /* 213 */ {6, "Cennik %s jest naprawiany."},
    /* 214 */ {1, "Odzyskiwanie cen nie powiodło się."},
    /* 215 */ {6, "Po zakończeniu procesu odzyskiwania cen znaleziono %ld cen w cenniku.\n"
                  "Zalecane jest sprawdzenie wiarygodności odtworzonych danych."},
    /* 216 */ {6, "Baza RMS jest uszkodzona i trwa jej naprawianie."},
    /* 217 */ {6, "Zawartość bazy RMS jest ponownie indeksowana."},
    /* 218 */ {4, "Baza RMS została naprawiona."},
    /* 219 */ {1, "Baza RMS jest uszkodzona i wymaga naprawy."},
    /* 220 */ {6, "Trwa przywracanie wszystkich nakładów w bazie RMS"},
    /* 221 */ {2, "Wykryto niezgodność pomiędzy bazą RMS i jej indeksem. Może to powodować\n"
                  "nieprawidłowe działanie programu. Program może przystąpić teraz do\n"
                  "naprawiania bazy. Czynność ta może potrwać nawet kilkanaście minut\n"
                  "i nie będzie mogła zostać przerwana. Wciśnij klawisz <OK> jeśli chcesz\n"
                  "rozpocząć proces naprawiania bazy. Wciśnij klawisz <Anuluj> jeśli chcesz\n"
                  "aby proces naprawy przeprowadzony został przy następnym uruchomieniu\n"
                  "programu. W razie wątpliwości skontaktuj się ze sprzedawcą programu."},
    /* 222 */ {1, "Okno \"%s\" zostało utworzone z niewłaściwym ustawieniem kolejności tworzenia okien."},
    /* 223 */ {1, "Niemożliwe jest naprawienie Bazy RMS!\nNumer błędu: %d."},
    /* 224 */ {1, "Próbuję otworzyć Bazę RMS!\nCzy chcesz zaprzestać prób?"},
    /* 225 */ {2, "Znaleziono konflikt nazw w kosztorysie i bazie RMS!\n"
                  "Kosztorys: %s\n"
                  "Baza: %s<OK> - kontynuacja sprawdzania\n"
                  "<Anuluj> - przerwanie sprawdzania"},
    /* 226 */ {2, "Brak nakładu w bazie materiałów!\n"
                  "Nazwa: %s\n"
                  "<OK> - kontynuacja sprawdzania\n"
                  "<Anuluj> - przerwanie sprawdzania"},
    /* 227 */ {1, "Brak plików \"%s\" w folderze KATALOG\\BAZA_ORG\n"
                  "Naprawa bazy RMS nie może zostać przeprowadzona.\n"
                  "Zainstaluj ponownie program z oryginalnego nośnika."},
    /* 228 */ {1, "Możliwość dokładania zawodów wymaga odblokowania znacznika\n"
                  "\"Robocizna razem\" znajdującego się w zakładce Cenniki."},
    /* 229 */ {1, "Nieokreślony błąd"},
    /* 230 */ {1, "Błąd podczas wykonywania instrukcji OLE:\n%s"},
    /* 231 */ {1, "Prawdopodobnie na tym komputerze nie ma zainstalowanego programu \"Microsoft Word\""},
    /* 232 */ {1, "Nie można zakończyć działania programu \"Microsoft Word\""},
    /* 233 */ {1, "Cennik \"%s\" nie zawiera cen."},
    /* 234 */ {6, "Do cennika \"%s\"\nzostało przepisanych %ld %s."},
    /* 235 */ {6, "W cenniku \"%s\"\nzostało zmienionych %ld %s."},
    /* 236 */ {1, "Błąd w trakcie tworzenia wydruku:\n%s"},
    /* 237 */ {1, "Kosztorys \"%s\" nie pochodzi z Kovry.\nOtwarcie nie jest możliwe."},
    /* 238 */ {1, "Kosztorys \"%s\" pochodzi z niekompatybilnej wersji Kovry.\nOtwarcie nie jest możliwe."},
    /* 239 */ {1, "Kosztorys \"%s\" jest uszkodzony.\n"
                  "Otwarcie nie jest możliwe.\n"
                  "Prosimy o kontakt z producentem programu."},
    /* 240 */ {6, "Zawężanie bazy RMS do nakładów z dostępnych katalogów."},
    /* 241 */ {1, "Baza RMS jest używana przez innych użytkowników.\n"
                  "Zmiany w niej w tej chwili nie są możliwe."},
    /* 242 */ {1, "Znaleziono zbiory świadczące o niepomyślnym zakończeniu naprawy lub reinstalacji bazy materiałów !\n"
                  "Może to powodować nieprawidłowe działanie programu.\n"
                  "Skontaktuj się z producentem programu!"},
    /* 243 */ {1, "Pliki \"%s\" w folderze KATALOG\\BAZA_ORG nie nadają się do użytku!\n"
                  "Naprawa bazy RMS nie może zostać przeprowadzona.\n"
                  "Zainstaluj ponownie program z oryginalnego nośnika."},
    /* 244 */ {1, "Brak plików \"Baza_rms.*\" w folderze KATALOG\\BAZA_ORG\n"
                  "Operacja na bazie RMS nie może zostać przeprowadzona.\n"
                  "Zainstaluj ponownie program z oryginalnego nośnika."},
    /* 245 */ {2, "Czy na pewno chcesz zawęzić bazę materiałów do nakładów\n"
                  "zawartych w obecnie zainstalowanych katalogach ?\n"
                  "Czynność ta może potrwać nawet kilkanaście minut\n"
                  "i nie będzie mogła zostać przerwana.\n"
                  "Wciśnij klawisz <OK> jeśli chcesz rozpocząć proces.\n"
                  "Wciśnij klawisz <Anuluj> jeśli chcesz zrezygnować.\n"
                  "W razie wątpliwości skontaktuj się ze sprzedawcą programu."},
    /* 246 */ {2, "Czy na pewno chcesz automatycznie zamienić nazwy standardowych nakładów\n"
                  "na nazwy własne, uprzednio zdefiniowane ?\n"
                  "Czynność ta może potrwać nawet kilkanaście minut\n"
                  "i nie będzie mogła zostać przerwana.\n"
                  "Wciśnij klawisz <OK> jeśli chcesz rozpocząć proces.\n"
                  "Wciśnij klawisz <Anuluj> jeśli chcesz zrezygnować.\n"
                  "W razie wątpliwości skontaktuj się ze sprzedawcą programu."},
    /* 247 */ {1, "Nie mogę zapisać informacji w zbiorze: \"%s\" !"},
    /* 248 */ {2, "Operacje zawężania bazy materiałów oraz\n"
                  "automatyczna zamianana nazw standardowych nakładów\n"
                  "nie może być wykonana, ponieważ inni użytkownicy\n"
                  "używają obecnie Kovry ! Poproś pozostałych użytkowników,\n"
                  "aby zamknęli Kovryę, i wtedy spróbuj ponownie...\n"
                  "Wciśnij klawisz <OK> jeśli chcesz uruchomić Kovryę\n"
                  "z możliwością ręcznej zamiany nazw standardowych nakładów.\n"
                  "Wciśnij klawisz <Anuluj> jeśli chcesz zrezygnować.\n"
                  "W razie wątpliwości skontaktuj się ze sprzedawcą programu."},
    /* 249 */ {5, "Nie znaleziono w bazie materiałów kodu ETO %ld : %d,\n"
                  "adres katalogowy %s %d/%d/%d.\n"
                  "\n"
                  "Czy powiadamiać o braku materiałów w bazie ?"},
    /* 250 */ {5, "Nie znaleziono w bazie materiałów kodu ETO %ld : %d.\n"
                  "\n"
                  "Czy powiadamiać o braku materiałów w bazie ?"},
    /* 251 */ {1, "Zbiór %s jest kosztorysem złożonym.\n"
                  "Nie można go wstawić jako rozdział do kosztorysu złożonego."},
    /* 252 */ {1, "Zbiór %s jest kosztorysem złożonym.\nNie można go importować do kosztorysu prostego."},
    /* 253 */ {1, "Kosztorys \"%s\" jest tylko do odczytu.\n"
                  "Nie można go wstawić jako rozdział kosztorysu złożonego."},
    /* 254 */ {1, "Kosztorys \"%s\" został zapisany do wyceny.\n"
                  "Nie można go wstawić jako rozdział kosztorysu złożonego."},
    /* 255 */ {2, "Kosztorys %s został zmieniony,\n"
                  "musisz zapisać zmiany przed dokonaniem transformacji rozdział zewnętrzny <-> wewnętrzny.\n"
                  "Czy chcesz zapisać zmiany?"},
    /* 256 */ {9, "Czy zmienić cenniki w rozdziale na obowiązujące w całym kosztorysie\n"
                  "i przeliczyć rozdział według nich?"},
    /* 257 */ {9, "Czy zmienić narzuty w rozdziale na obowiązujące w całym kosztorysie\n"
                  "i przeliczyć rozdział według nich?"},
    /* 258 */ {6, "Aby rozdziały mogły mieć różne cenniki,\n"
                  "należy zezwolić na to w zakładce Cenniki w kosztorysie złożonym."},
    /* 259 */ {6, "Aby rozdziały mogły mieć różne narzuty,\n"
                  "należy zezwolić na to w zakładce Narzuty w kosztorysie złożonym."},
    /* 260 */ {1, "Plik %s ma niepoprawny typ.\nLiczba kolumn jest różna niż %d."},
    /* 261 */ {1, "Plik %s ma niepoprawny typ.\n%d. kolumna ma typ %c,\na oczekiwanym typem jest %c."},
    /* 262 */ {1, "Plik %s ma niepoprawny typ.\nNiestandardowa kolejność kolumn z cenami."},
    /* 263 */ {6, "Do cennika \"%s\"\nprzepisano %ld %s spośród %ld."},
    /* 264 */ {6, "Do cennika \"%s\"\nprzepisano %ld %s spośród %ld.\n%ld %s nie przepisano, ponieważ %s."},
    /* 265 */ {2, "Czy na pewno chcesz usunąć z kosztorysu bieżący rozdział ?"},
    /* 266 */ {2, "Czy na pewno chcesz usunąć z kosztorysu zaznaczone rozdziały ?"},
    /* 267 */ {2, "Rozdział zewnętrzny %s jest już używany\n"
                  "i nie można otworzyć tego rozdziału.\n"
                  "Czy mimo to chcesz otworzyć kosztorys złożony?"},
    /* 268 */ {2, "Rozdział zewnętrzny %s jest już używany\n"
                  "i import nie przeniesie tego rozdziału.\n"
                  "Czy mimo tego chcesz importować kosztorys złożony?"},
    /* 269 */ {2, "Nie można otworzyć pliku \"tylko do odczytu\"\n"
                  "rozdziału zewnętrznego: %s.\n"
                  "Czy mimo braku rozdziału chcesz otworzyć kosztorys złożony ?"},
    /* 270 */ {8, "Nie można odnaleźć pliku rozdziału zewnętrznego: %s.\n"
                  "Jeśli chcesz samodzielnie znależć rozdział, naciśnij \"Tak\"\n"
                  "Jeśli mimo braku rozdziału chcesz otworzyć kosztorys złożony, naciśnij \"Nie\", rozdział ten zostanie z niego usunięty.\n"
                  "Jeśli nie chcesz otwierać kosztorysu złożonego, naciśnij \"Anuluj\""},
    /* 271 */ {2, "Nie można odnaleźć pliku rozdziału zewnętrznego: %s.\n"
                  "Jeśli chcesz samodzielnie znależć rozdział, naciśnij \"Tak\"\n"
                  "Jeśli mimo braku rozdziału chcesz importować kosztorys złożony, naciśnij \"Nie\", rozdział ten zostanie z niego usunięty.\n"
                  "Jeśli nie chcesz importować kosztorysu złożonego, naciśnij \"Anuluj\""},
    /* 272 */ {2, "Nie można otworzyć pliku rozdziału zewnętrznego: %s.\n"
                  "Jeśli mimo to chcesz otworzyć kosztorys złożony, rozdział ten zostanie z niego usunięty.\n"
                  "Czy kontynuować otwieranie kosztorysu złożonego?"},
    /* 273 */ {2, "Nie można otworzyć pliku rozdziału zewnętrznego: %s.\n"
                  "Jeśli mimo to chcesz importować kosztorys złożony, rozdział ten zostanie z niego usunięty.\n"
                  "Czy kontynuować importowanie kosztorysu złożonego?"},
    /* 274 */ {1, "Nie można otworzyć pliku rozdziału zewnętrznego:\n"
                  "%s.\n"
                  "\n"
                  "Zbyt wiele używanych plików.\n"
                  "Jeśli używasz innych kosztorysów, proszę je zamknąć.\n"
                  "Jeśli używasz rozdziałów zewnętrznych, proszę je zamienić na wewnętrzne."},
    /* 275 */ {1, "Ta opcja nie jest dostępna w bieżącej wersji Kovry."},
    /* 276 */ {2, "Dodatki, Materiały inwestora oraz Indywidualnie przyjęte koszty tranportu nie zostaną przeniesione !\n"
                  "Czy kontynuować ?"},
    /* 277 */ {1, "Zbiory z danymi do importu mają nieznany format !!!\n"
                  "Import cen jest niemożliwy.\n"
                  "Prosimy o kontakt z producentem programu."},
    /* 278 */ {1, "Niepoprawna nazwa zbioru !!!\nImport cen jest niemożliwy."},
    /* 279 */ {6, "Poszukiwanie cennika BCA do konwersji.\nProszę czekać ..."},
    /* 280 */ {4, "Należy ponownie zdefiniować koszty zakupu i materiały inwestora.\nSzczegóły w pliku: %s"},
    /* 281 */ {1, "Import z RODOS jest niekompletny !\n%s"},
    /* 282 */ {6, "Import cennika zakończony !\nIlość zaimportowanych cen: %u."},
    /* 283 */ {6, "Import cennika nie powiódł się !"},
    /* 284 */ {1, "Nazwa użytkownika \"%s\" jest już używana !"},
    /* 285 */ {1, "Nie można utworzyć zbioru \"%s\" "},
    /* 286 */ {1, "Nie można utworzyć kopii zbioru \"%s\" "},
    /* 287 */ {6, "Nie można odnaleźć zbiorów cenników na dyskietce."},
    /* 288 */ {6, "Eksport danych do programu Excel.\n\nProszę czekać ..."},
    /* 289 */ {2, "Otwarcie cennika: \"%s\"\n"
                  "spowoduje zmianę jego wersji z %d.x na %d.x.\n"
                  "Zmiana jest nieodwracalna.\n"
                  "Kopia niezmienionego pliku znajdzie się\n"
                  "w kartotece: \"%s\"\n"
                  "Czy kontynuować ?"},
    /* 290 */ {8, "Otwarcie cennika: \"%s\"\n"
                  "spowoduje zmianę jego wersji z %d.x na %d.x.\n"
                  "Zmiana jest nieodwracalna.\n"
                  "Kopia niezmienionego pliku znajdzie się\n"
                  "w kartotece: \"%s\"\n"
                  "Czy kontynuować ? Wciśniej \"Tak\" lub \"Nie\" !\n"
                  "Jeżeli nie chcesz zmienić wersji żadnego z plików, wciśnij \"Anuluj\" !"},
    /* 291 */ {2, "Otwarcie kosztorysu: \"%s\"\n"
                  "spowoduje zmianę jego wersji z %d.x na %d.x.\n"
                  "Zmiana jest nieodwracalna.\n"
                  "Kopia niezmienionego pliku znajdzie się\n"
                  "w kartotece: \"%s\"\n"
                  "Czy kontynuować ?"},
    /* 292 */ {2, "Otwarcie kosztorysu: \"%s\"\n"
                  "spowoduje zmianę wersji jego oraz wszystkich rozdziałów z %d.x na %d.x.\n"
                  "Zmiana jest nieodwracalna.\n"
                  "Kopie niezmienionych plików znajdą się\n"
                  "w kartotece: \"%s\"\n"
                  "Czy kontynuować ?"},
    /* 293 */ {6, "Zbiór \"%s\"\n"
                  "pochodzi z wersji %d programu Kovra.\n"
                  "\n"
                  "Program umożliwia przeglądanie jedynie zbiorów z wersji %d !"},
    /* 294 */ {2, "Plik rozdziału zewnętrznego: %s jest zmieniony.\n"
                  "Jeśli chcesz samodzielnie znależć rozdział, naciśnij \"OK\"\n"
                  "Jeśli nie chcesz otwierać kosztorysu złożonego, naciśnij \"Anuluj\""},
    /* 295 */ {8, "Został zmieniony zakres nakładów bazy RMS !!!\n"
                  "Czy chcesz ponownie ograniczyć zakres do zainstalowanych katalogów?"},
    /* 296 */ {2, "Metoda kalkulacji przyjęta we wskazanym rozdziale jest różna od metody przyjętej w kosztorysie złożonym.\n"
                  "Jeżeli chcesz zmienić metodę kalkulacji w rozdziale i włączyć go do kosztorysu, naciśnij \"OK\"\n"
                  "Jeżeli nie chcesz włączać rozdziału do kosztorysu, naciśnij \"Anuluj\""},
    /* 297 */ {2, "Metoda kalkulacji przyjęta w importowanym kosztorysie jest różna od metody przyjętej w bieżącym kosztorysie.\n"
                  "Jeżeli chcesz zmienić metodę kalkulacji w importowanym kosztorysie i wykonać import, naciśnij \"OK\"\n"
                  "Jeżeli nie chcesz importować kosztorysu, naciśnij \"Anuluj\""},
    /* 298 */ {8, "Rozdział \"%s\" ma przyjętą metodę kalkulacji różną od metody przyjętej w kosztorysie złożonym.\n"
                  "Jeżeli chcesz zmienić metodę kalkulacji w rozdziale i otworzyć go w kosztorysie, naciśnij \"Tak\"\n"
                  "Jeżeli chcesz usunąć rozdział i otworzyć kosztorys bez tego rozdziału, naciśnij \"Nie\"\n"
                  "Jeżeli rezygnujesz z otwarcia kosztorysu złożonego, naciśnij \"Anuluj\""},
    /* 299 */ {2, "Narzuty otwieranego rozdziału są różne od narzutów przyjętych w kosztorysie.\n"
                  "Jeżeli chcesz zmienić narzuty w rozdziale na narzuty przyjęte w kosztorysie, naciśnij \"OK\"\n"
                  "Jeżeli chcesz pozostawić w rozdziale istniejące narzuty, naciśnij \"Anuluj\""},
    /* 300 */ {1, "Nie mogę znależć w katalogach pozycji: %s !!!"},
    /* 301 */ {6, "Eksport katalogu: \"%s %d\" do zbioru:\n%s zakończył się pomyślnie !"},
    /* 302 */ {6, "Katalog: \"%s %d\" został pomyślnie zaimportowany !"},
    /* 303 */ {1, "Błąd formatu liczby !\nPrawdopodobnie brak przecinka."},
    /* 304 */ {5, "Czy chcesz zamienić współczynniki RMS\n"
                  "%s w bieżącej kolumnie na\n"
                  "%s z zapisywanej wersji ?"},
    /* 305 */ {4, "Wydruk tekstowy jest niedostępny w tej wersji programu !"},
    /* 306 */ {6, "Nie zamknięto wszystkich kosztorysów, nie można rozpocząć aktualizacji"},
    /* 307 */ {5, "Zdefiniuj ponownie narzut zysku !"},
    /* 308 */ {1, "Zbiór: \"%s\"\n"
                  "nie zawiera wymaganych danych. Import cen nie jest możliwy!\n"
                  "Wybierz inny zbiór!"},
    /* 309 */ {4, "Import danych..."},
    /* 310 */ {8, "Wprowadzono zmiany w kosztorysach stanowiących rozdziały zewnętrzne w kosztorysie złożonym !\n"
                  "\n"
                  "Aby zamienić rozdziały zewnętrzne na wewnętrzne wciśnij \"Tak\" !\n"
                  "Aby zapisać zmiany w rozdziałach zewnętrznych wciśnij \"Nie\" !\n"
                  "Aby zrezygnować z zapisu, wybierz \"Anuluj\""},
    /* 311 */ {1, "Niepoprawne hasło."},
    /* 312 */ {1, "Hasło musi mieć co najmniej 6 znaków bez spacji."},
    /* 313 */ {1, "Pomyłka w hasłach"},
    /* 314 */ {9, "Czy chcesz zamienić bieżący kod CPV ?"},
    /* 315 */ {1, "Brak katalogu \"%s %d\" w bazie katalogowej !"},
    /* 316 */ {1, "W podanym folderze nie znaleziono danych do importu cenników !"},
    /* 317 */ {6, "Proszę czekać ..."},
    /* 318 */ {1, "Włóż płytę do napędu CD i ponów próbę !"},
    /* 319 */ {1, "Na płycie CD nie znaleziono danych do importu cenników !"},
    /* 320 */ {1, "Opcja aktywna z poziomu Administratora !"},
    /* 321 */ {2, "%s nie może być pusta !\nKontynuować ?"},
    /* 322 */ {1, "Nie zainstalowany programu do obsługi pliku: \"%s\""},
    /* 323 */ {1, "Nie powiodła się próba obsługi pliku: \"%s\""},
    /* 324 */ {6, "Trwa konwersja kosztorysów, proszę czekać ..."},
    /* 325 */ {6, "W wybranym foderze nie znaleziono zbiorów do konwersji !!!"},
    /* 326 */ {6, "Wybrane kosztorysy zostały przekonwertowane do obecnej wersji programu!\n"
                  "Ilość zbiorów: %d"},
    /* 327 */ {9, "Przenoszone wartości mają inne zaokrąglenie niż dane w pozycji.\n"
                  "Czy chcesz, aby dane w pozycji były od teraz zaokrąglane do %d miejsc po przecinku ?"},
}};

} // namespace

const message_kind& kind_style(int kind) {
  if (kind < 0 || kind >= message_kind_count) kind = 1;
  return kinds[kind];
}

const catalogue_entry* catalogue_message(int number) {
  if (number < 0 || number >= message_count || number == 190 || number == 197) return nullptr;
  return &entries[number];
}

} // namespace kovra::shell
