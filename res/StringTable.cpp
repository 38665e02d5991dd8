#include "res/StringTable.h"

#include <algorithm>
#include <array>
#include <utility>

namespace res {

namespace {

// Sorted by id.
constexpr std::pair<unsigned, std::string_view> kStrings[] = {
    {1005, "NAGRAJ$NAGRYWANIE"},
    {3022, "ADRES IP"},
    {3023, "ADRES MAC"},
    {3024, "PORT"},
    {3025, "URZĄDZENIE"},
    {3026, "UŻYWANY"},
    {3028, "Wyszukiwanie\nWyszukiwanie_zatrzymane"},
    {4001, "Zbyt mało pamięci aby dodać konto"},
    {4002, "Błąd dodawania konta"},
    {4004, "Błąd zapisu konfiguracji"},
    {4005, "Dane zachowane prawidłowo"},
    {4006, "Błąd zestawiania połączenia,zamknij okno i spróbój ponownie"},
    {4011, "błąd zmiany jakości obrazu !!"},
    {4012, "Błąd zmiany konfiguracji systemu"},
    {4014, "Błąd połączenia"},
    {4018, "Błąd tworzenia pliku. Sprawdź prawidłowość wybranego folderu"},
    {4022, "Błąd edycji konta"},
    {4029, "Błąd odczytu konfiguracji!! Spróbuj ponownie!!"},
    {4031, "Błąd odczytu identyfikacji"},
    {4034, "Błąd połączenia z urządzeniem"},
    {4035, "Błąd odczytu danych"},
    {4036, "Błąd modyfikacji ustawień sieciowych"},
    {4040, "Błędny login !!"},
    {4041, "Możda dodać maksymalnie 4 konta email"},
    {4042, "Maksymalna ilość użytkowników nie może być 0"},
    {4043, "Maks ilośc użytkowników musi być 1 ~ 5"},
    {4044, "Nalezy wybrać coś z listy"},
    {4045, "Nic nie wybrano do usunięcia"},
    {4046, "Nic nie wybrano do edycji"},
    {4047, "Błąd otwarcia pliku Firmware"},
    {4048, "Trwa zapisywanie do pamięci flash. Potrwa to ok 1 ~ 2 minut."},
    {4049, "hasło jest nieprawidłowe"},
    {4050, "Musisz coś wybrać"},
    {4051, "Proszę wpisać komendę serwera"},
    {4052, "Proszę wybrać ustawienie"},
    {4053, "Port Web nie może być poza zakresem 1 ~ 9999,wpisz jeszcze raz"},
    {4054, "Numer portu jest nieprawidłowy"},
    {4056, "Błąd oczytu DeskTop Path!!"},
    {4057, "Błąd odczytu pliku Firmware"},
    {4059, "Błąd odczytanych danych"},
    {4061, "Błąd resetowania ustawień"},
    {4062, "Reset został wykonany prawidłowo.Proces zostanie zakończony za kilka minut"},
    {4064, "Minał czas wysyłania komendy"},
    {4065, "Komenda nie zostałana wysłana do urządzenia !!"},
    {4066, "Błąd zmiany rozdzielczości"},
    {4067, "Ustawienia sieci nie zostały zmienione"},
    {4069, "To konto jest teraz uzywane.Nie mozna go usunąć"},
    {4077, "Błąd uaktualniania Firmware"},
    {4079, "Nazwa użytkownika i adres IP nie mogą być puste."},
    {4080, "nazwa użytkownika jest nieprawidłowa"},
    {4081, "Użytkownik lub hasło jest nieprawidłowe"},
    {4084, "Web Server nie obsługuje tych komend!"},
    {4085, "Najpierw należy podłączyć serwer Video"},
    {4086, "Przed naciśnięciem przycisku usuwania należy wybrać konto"},
    {4087, "Przed naciśnięciem przycisku edycji należy wybrać konto"},
    {4088, "Przed naciśnięciem przycisku usuwania należy adres email"},
    {4089, "Przed naciśnięciem przycisku edycji należy adres email"},
    {4090, "nalezy wybrać jakiś numer portu"},
    {4093, "Nie można znaleźć urządzenia do obsługi protokołu"},
    {4094, "Błąd otwarcia pliku urządzenia sterowania"},
    {4095, "Numer PTZ jest nieprawidłowy."},
    {4096, "Błąd ładowania  pliku dźwiękowego alarmu"},
    {4098, "Błąd uruchomienia pliku odtwarzacza"},
    {4102, "Serwer używa stałego IP. Nie można tutaj zmieniać ustawień sieciowych."},
    {4103, "Najpierw należy wybrać ścieżkę dostępu!"},
    {4104, "Wielkość pliku archiwizacyjnego jest nieodpowiednia"},
    {4105, "Ścieżka dostępu jest nieprawidłowa."},
    {4106, "Bład ładowania pliku!"},
    {4107, "DVR nie zawiera zapisanych danych."},
    {4108, "Błąd uruchomienia pliku odtwarzacza"},
    {4109, "Dysk HDD nie istnieje"},
    {4110, "NBRAK LISTY DANYCH"},
    {4111, "Ten katalog nie zawiera pliku Firmware.Sprawdź prawidłowość ścieżki."},
    {4112, "Opis może zawierać maksymalnie 6 znaków."},
    {4113, "Błąd w działaniu programu odtwarzającego!"},
    {4115, "Zaczekaj chwilę i spróboj ponownie."},
    {4116, "Błąd zapisu zdjęcia,sprawdź prawidłowość ścieżki."},
    {4117, "Wyczyscić pamięć serwera? ?"},
    {4118, "Taka nazwa już istnieje."},
    {4119, "Błąd zapisu na dysku CD"},
    {8310, "TURBO_ZAŁ$TURBO_WYŁ"},
    {8331, "R.E.T.R.(Załączony)$R.E.T.R.(Wyłączony)"},
    {8440, "Adres"},
    {8441, "Wyszukiwanie"},
    {8442, "Odtwarzacz"},
    {8443, "Kopiowanie"},
    {8444, "Połączenie"},
    {8445, "Anuluj"},
    {8527, "Aktualizacja Firmware"},
    {8528, "Nazwa użytkownika"},
    {8529, "Hasło"},
    {8530, "Adres IP"},
    {8531, "Port WEB"},
    {8532, "Połącz\nZatrzymaj_połączenie"},
};

}  // namespace

std::string_view LoadString(unsigned id) {
    const auto* end = std::end(kStrings);
    const auto* it = std::lower_bound(std::begin(kStrings), end, id,
                                      [](const auto& entry, unsigned key) { return entry.first < key; });
    return it != end && it->first == id ? it->second : std::string_view{};
}

}  // namespace res
