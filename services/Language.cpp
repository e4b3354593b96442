#include "Language.h"

#include <array>

namespace zorvi {

namespace {

struct Entry {
    std::string text[3];
};

const std::array<Entry, static_cast<std::size_t>(TextId::Count)>& Table() {
    static const std::array<Entry, static_cast<std::size_t>(TextId::Count)> table{{
        {{"Anna pelille numeroraja", "Antalsgräns för detta spel",
          "Number limit for this game"}},                           // TXT_NUMBER_LIMIT_FOR_GAME
        {{"Arvonta pois päältä", "Dragning av", "Lottery is off"}}, // TXT_LOTTERY_OFF
        {{"Arvonta käynnissä", "Dragning igång", "Lottery is on"}}, // TXT_LOTTERY_ON
        {{"Arvontanopeus (sek.)", "Hastighet (sek.)", "Autospeed (sec.)"}}, // TXT_AUTOSPEED
        {{"Automaattinen", "Automatisk", "Automatic"}},                     // TXT_AUTOMATIC
        {{"BINGO!", "BINGO!", "BINGO!"}},                                   // TXT_BINGO
        {{"Väärin!", "Fel!", "Wrong!"}},                                    // TXT_WRONG
        {{"Arvotut numerot", "Utropade nummer", "Drawn Numbers"}},          // TXT_DRAWN_NUMBERS
        {{"Peruuta", "Upphäva", "Cancel"}},                                 // TXT_CANCEL
        {{"Peruuta numero", "Upphäva", "Cancel number"}},                   // TXT_CANCEL_NUMBER
        {{"Sulje (Esc)", "Stäng (Esc)", "Close (Esc)"}},                    // TXT_CLOSE_ESC
        {{"Oletko varma?", "Är du säkert?", "Are you sure?"}},              // TXT_ARE_YOU_SURE
        {{"Oletko varma että haluat peruuttaa numeron?", "Är du säkert att du vill upphäva numret?",
          "Are you sure you want to cancel last number?"}}, // TXT_CONFIRM_CANCEL_NUMBER
        {{"Oletko varma että haluat vaihtaa riviä?", "Är du säkert att du vill växla raden?",
          "Are you sure you want to change the current row?"}}, // TXT_CONFIRM_CHANGE_ROW
        {{"Oletko varma että haluat sulkea ohjelman?", "Är du säkert att du vill sluta programmet?",
          "Are you sure you want to close the program?"}}, // TXT_CONFIRM_CLOSE
        {{"Peli käynnissä, haluatko varmasti sulkea ohjelman?",
          "Spelet är igång. Är du säkert att du vill sluta programmet?",
          "The game is on. Are you sure want to close the program?"}}, // TXT_CONFIRM_CLOSE_GAME_ON
        {{"Oletko varma että haluat aloittaa uuden pelin?",
          "Är du säkert att du vill starta nya spelet?",
          "Are you sure you want to start a new game?"}},                   // TXT_CONFIRM_NEW_GAME
        {{"Lappusarja", "Kupongserien", "Coupon Series"}},                  // TXT_COUPON_SERIES
        {{"Ruudukko", "Rutnät", "Grid"}},                                   // TXT_GRID
        {{"Ei animointia", "Ingen animation", "Disable animation"}},        // TXT_DISABLE_ANIMATION
        {{"Lopeta", "Avsluta", "Exit"}},                                    // TXT_EXIT
        {{"Vapaa keskiruutu", "Fria", "Free middle"}},                      // TXT_FREE_MIDDLE
        {{"Näytä peliloki", "Visa logg", "Show game log"}},                 // TXT_SHOW_GAME_LOG
        {{"Tarkista", "Kolla", "Check"}},                                   // TXT_CHECK
        {{"Korkeus", "Höjd", "Height"}},                                    // TXT_HEIGHT
        {{"Kieli", "Språk", "Language"}},                                   // TXT_LANGUAGE
        {{"Uusi peli", "Nya spel", "New game"}},                            // TXT_NEW_GAME
        {{"Numero", "Nummer", "Number"}},                                   // TXT_NUMBER
        {{"Arvonta (Välilyönti)", "Drag (Mellanslag)", "Draw (Spacebar)"}}, // TXT_DRAW_SPACEBAR
        {{"Aloita (Välilyönti)", "Starta (Mellanslag)", "Start (Spacebar)"}}, // TXT_START_SPACEBAR
        {{"Lopeta (Välilyönti)", "Sluta (Mellanslag)", "Stop (Spacebar)"}},   // TXT_STOP_SPACEBAR
        {{"Ei", "Nej", "No"}},                                                // TXT_NO
        {{"Numeromäärä", "Antal", "Number count"}},                           // TXT_NUMBER_COUNT
        {{"Bertta", "Bertil", "B"}},                                          // TXT_LETTER_B
        {{"Gideon", "Gustav", "G"}},                                          // TXT_LETTER_G
        {{"Iivari", "Ivar", "I"}},                                            // TXT_LETTER_I
        {{"Niilo", "Niklas", "N"}},                                           // TXT_LETTER_N
        {{"Otto", "Oskar", "O"}},                                             // TXT_LETTER_O
        {{"Sakari", "Sven", "S"}},                                            // TXT_LETTER_S
        {{"Edellinen numero", "Förra", "Previous number"}},                   // TXT_PREVIOUS_NUMBER
        {{"Ohjelma käynnistyy...", "Programmet startas...",
          "Program is starting..."}},                                 // TXT_PROGRAM_STARTING
        {{"Yleisönäyttö", "Bildskärmen", "Public screen"}},           // TXT_PUBLIC_SCREEN
        {{"Ei käytössä", "Deaktiverad", "Disabled"}},                 // TXT_PUBLIC_SCREEN_DISABLED
        {{"Toisessa näytössä", "Andra bildskärmen", "Other screen"}}, // TXT_PUBLIC_SCREEN_OTHER
        {{"Samassa näytössä", "Samma bildskärmen", "Same screen"}},   // TXT_PUBLIC_SCREEN_SAME
        {{"Rivi", "Rad", "Row"}},                                     // TXT_ROW
        {{"Asetukset", "Inställningar", "Settings"}},                 // TXT_SETTINGS
        {{"Näytä arvotut numerot", "Visa utropate nummer",
          "Show drawn numbers"}},                              // TXT_SHOW_DRAWN_NUMBERS
        {{"Vaihda koko näyttöön", "Fullskärm", "Fullscreen"}}, // TXT_FULLSCREEN
        {{"Vaihda ikkunaan", "Windowed", "Windowed"}},         // TXT_WINDOWED
        {{"Kuulutuskieli", "Utrop språk", "Voice"}},           // TXT_VOICE
        {{"Ei ääniä", "Ingen ljud", "No voices"}},             // TXT_NO_VOICES
        {{"Äänenv.", "Volym", "Volume"}},                      // TXT_VOLUME
        {{"Odota hetki...", "Vänta...", "Please wait..."}},    // TXT_PLEASE_WAIT
        {{"Leveys", "Bredd", "Width"}},                        // TXT_WIDTH
        {{"Voittajat", "Vinnarna", "Winners"}},                // TXT_WINNERS
        {{"Kyllä", "Ja", "Yes"}},                              // TXT_YES
        {{"Ladataanko aiempi tila?", "Ladda tidigare tillstånd?",
          "Load previous state?"}},                      // TXT_LOAD_PREVIOUS_STATE
        {{"Numeroraja", "Antalsgräns", "Number limit"}}, // TXT_NUMBER_LIMIT
        {{"Ei numerorajaa tähän peliin", "Hoppa över antalsgräns för detta spel",
          "Skip number limit for this game"}}, // TXT_SKIP_NUMBER_LIMIT
        {{"Lappua %1 ei ole sarjassa. Sarjan laput: 1\u2013%2.",
          "Kupong %1 finns inte i serien. Seriens kuponger: 1\u2013%2.",
          "Coupon %1 is not in the series. The series holds coupons 1\u2013%2."}},
        // TXT_COUPON_NOT_IN_SERIES
        {{"Lappuja pelissä", "Kuponger i spel", "Coupons in play"}}, // TXT_COUPONS_IN_PLAY
        {{"Pelissä olevat laput ovat liian pitkä teksti: enintään %1 merkkiä.",
          "Kupongerna i spel är en för lång text: högst %1 tecken.",
          "The coupons in play are too long a text: at most %1 characters."}},
        // TXT_COUPONS_TOO_LONG
        {{"\"%1\" ei ole lapun numero eikä numeroalue: kirjoita alueet muodossa 1-500, "
          "1201-1300.",
          "\"%1\" är inget kupongnummer eller intervall: skriv intervallen som 1-500, "
          "1201-1300.",
          "\"%1\" is not a coupon number or a range: write ranges as 1-500, 1201-1300."}},
        // TXT_COUPONS_NOT_A_RANGE
        {{"Kohdasta \"%1\" puuttuu numero: kirjoita alue muodossa 1-500.",
          "\"%1\" saknar ett nummer: skriv ett intervall som 1-500.",
          "\"%1\" lacks a number: write a range as 1-500."}}, // TXT_COUPONS_MISSING_NUMBER
        {{"Lapun numero %1 ei ole välillä 1\u2013%2.",
          "Kupongnummer %1 ligger inte mellan 1 och %2.",
          "Coupon number %1 is outside 1 to %2."}}, // TXT_COUPONS_OUT_OF_RANGE
        {{"Alue \"%1\" päättyy ennen kuin se alkaa.", "Intervallet \"%1\" slutar innan det börjar.",
          "The range \"%1\" ends before it begins."}}, // TXT_COUPONS_REVERSED
        {{"Voittaa nyt: %1 \u2014 %2", "Vinner nu: %1 \u2014 %2",
          "Winning now: %1 \u2014 %2"}}, // TXT_WINNING_NOW
        {{"Salin näytöt verkon kautta", "Hallens skärmar via nätverket",
          "Hall screens over the network"}},                      // TXT_HALL_SERVER
        {{"Portti", "Port", "Port"}},                             // TXT_HALL_SERVER_PORT
        {{"Osoite", "Adress", "Address"}},                        // TXT_HALL_SERVER_ADDRESS
        {{"Kaikki osoitteet", "Alla adresser", "All addresses"}}, // TXT_HALL_SERVER_ALL_ADDRESSES
        {{"Salin näytöt: %1 yhteydessä \u2014 %2", "Hallens skärmar: %1 anslutna \u2014 %2",
          "Hall screens: %1 connected \u2014 %2"}}, // TXT_HALL_SERVER_SHOWN_AT
        {{"Salin näyttöjä ei voitu käynnistää porttiin %1: %2\nValitse asetuksista toinen portti "
          "tai osoite.",
          "Hallens skärmar kunde inte startas på port %1: %2\nVälj en annan port eller adress i "
          "inställningarna.",
          "The hall screens could not be started on port %1: %2\nChoose another port or address in "
          "the settings."}}, // TXT_HALL_SERVER_START_FAILED
        {{"Lappuja pelissä numeroon %1 asti, mutta sarjassa on vain laput 1\u2013%2.",
          "Kuponger i spel upp till nummer %1, men serien har bara kupongerna 1\u2013%2.",
          "The coupons in play go up to %1, but the series holds only coupons 1\u2013%2."}},
        // TXT_COUPONS_BEYOND_SERIES
        {{"Pallot", "Bollarna", "Balls"}}, // TXT_BALL_SOURCE
        {{"Tämän tietokoneen arvonta", "Datorns dragning",
          "This computer's draw"}}, // TXT_BALL_SOURCE_COMPUTER
        {{"Salin pallokone", "Hallens bollmaskin", "The hall's ball machine"}},
        // TXT_BALL_SOURCE_MACHINE
        {{"Numerotaulun napsautus kysyy ensin", "Klick på nummertavlan frågar först",
          "A click on the board asks first"}}, // TXT_CONFIRM_BOARD_ENTRY
        {{"Pallo", "Boll", "Ball"}},           // TXT_BALL
        {{"Merkitäänkö pallo %1 nostetuksi?", "Registrera boll %1 som dragen?",
          "Enter ball %1 as drawn?"}}, // TXT_CONFIRM_ENTER_BALL
        {{"%1 ei ole tämän pelin pallo (1–%2).", "%1 är inte en boll i detta spel (1–%2).",
          "%1 is not a ball of this game (1–%2)."}}, // TXT_BALL_OUT_OF_RANGE
        {{"Pallo %1 on jo nostettu.", "Boll %1 är redan dragen.",
          "Ball %1 has been drawn already."}}, // TXT_BALL_ALREADY_DRAWN
        {{"Peli on päättynyt: palloa ei merkitty.", "Spelet är slut: bollen registrerades inte.",
          "The game has ended: the ball was not entered."}}, // TXT_BALL_GAME_OVER
        {{"Perutaanko viimeinen pallo kaikilta näytöiltä?",
          "Återkalla den sista bollen på alla skärmar?",
          "Recall the last ball on every screen?"}}, // TXT_CONFIRM_RECALL_BALL
        {{"Siirrytäänkö ohjelman seuraavaan peliin?", "Gå vidare till programmets nästa spel?",
          "Move on to the programme's next game?"}},    // TXT_CONFIRM_NEXT_GAME
        {{"Seuraava peli", "Nästa spel", "Next game"}}, // TXT_NEXT_GAME
        {{"Ohjelma…", "Program…", "Programme…"}}, // TXT_PROGRAMME
        {{"Peli %1/%2: %3", "Spel %1 av %2: %3", "Game %1 of %2: %3"}}, // TXT_PROGRAMME_LINE_GAME
        {{"Vaihe %1/%2: %3", "Etapp %1 av %2: %3", "Stage %1 of %2: %3"}},
        // TXT_PROGRAMME_LINE_STAGE
        {{"Jackpot: täysi kuponki %1 numerolla: %2", "Jackpot: full bricka inom %1: %2",
          "Jackpot: full card within %1: %2"}}, // TXT_PROGRAMME_LINE_JACKPOT
        {{"päättynyt", "avslutat", "over"}}, // TXT_PROGRAMME_LINE_OVER
        {{"Seuraavaksi peli %1: %2", "Nästa: spel %1: %2", "Next: game %1: %2"}},
        // TXT_PROGRAMME_LINE_NEXT
        {{"ohjelman viimeinen peli", "programmets sista spel", "the programme's last game"}},
        // TXT_PROGRAMME_LINE_LAST
        {{"Ohjelmatiedostoa %1 ei voitu käyttää.\n%2", "Programfilen %1 kunde inte användas.\n%2",
          "The programme file %1 could not be used.\n%2"}}, // TXT_PROGRAMME_FILE_REFUSED
        {{"Illan peleissä käytetään viimeisintä toimivaa ohjelmaa.",
          "Kvällen spelas med det senaste fungerande programmet.",
          "The last good programme is played."}}, // TXT_PROGRAMME_LAST_GOOD_PLAYED
        {{"Illan pelit pelataan ilman ohjelmaa.", "Kvällen spelas utan program.",
          "No programme is played."}}, // TXT_PROGRAMME_NONE_PLAYED
        {{"Ohjelman nimi", "Programmets namn", "Programme name"}}, // TXT_PROGRAMME_NAME
        {{"Valuutta", "Valuta", "Currency"}}, // TXT_PROGRAMME_CURRENCY
        {{"Pelit", "Spel", "Games"}}, // TXT_PROGRAMME_GAMES
        {{"Pelin nimi", "Spelets namn", "Game name"}}, // TXT_PROGRAMME_GAME_NAME
        {{"Numeroita", "Nummer", "Numbers"}}, // TXT_PROGRAMME_NUMBERS
        {{"Vaiheet", "Etapper", "Stages"}}, // TXT_PROGRAMME_STAGES
        {{"Kuvio", "Mönster", "Pattern"}}, // TXT_PROGRAMME_PATTERN
        {{"Palkinto", "Vinst", "Prize"}}, // TXT_PROGRAMME_PRIZE
        {{"Lisää", "Lägg till", "Add"}}, // TXT_PROGRAMME_ADD
        {{"Poista", "Ta bort", "Remove"}}, // TXT_PROGRAMME_REMOVE
        {{"Ylös", "Upp", "Up"}}, // TXT_PROGRAMME_UP
        {{"Alas", "Ner", "Down"}}, // TXT_PROGRAMME_DOWN
        {{"Jackpot täydestä kupongista", "Jackpot på full bricka", "Jackpot on a full card"}},
        // TXT_PROGRAMME_JACKPOT
        {{"Numeroita enintään", "Inom antal nummer", "Within numbers"}},
        // TXT_PROGRAMME_JACKPOT_WITHIN
        {{"Jackpot-palkinto", "Jackpotvinst", "Jackpot prize"}}, // TXT_PROGRAMME_JACKPOT_PRIZE
        {{"Numeroita lisää kerralla", "Nummer till per gång", "Numbers added each time"}},
        // TXT_PROGRAMME_JACKPOT_STEP
        {{"Palkintoa lisää kerralla", "Vinst till per gång", "Prize added each time"}},
        // TXT_PROGRAMME_JACKPOT_PRIZE_STEP
        {{"Numeroita enintään (katto)", "Högst antal nummer (tak)", "Most numbers (cap)"}},
        // TXT_PROGRAMME_JACKPOT_CAP
        {{"Piirrä kuvio", "Rita ett mönster", "Draw a pattern"}}, // TXT_PROGRAMME_DRAW_PATTERN
        {{"Kuvion nimi", "Mönstrets namn", "Pattern name"}}, // TXT_PROGRAMME_PATTERN_NAME
        {{"Lisää kuvio", "Lägg till mönster", "Add pattern"}}, // TXT_PROGRAMME_ADD_PATTERN
        {{"Kuviolla on oltava oma nimi ja vähintään yksi ruutu.",
          "Mönstret behöver ett eget namn och minst en ruta.",
          "A pattern needs a name of its own and at least one square."}},
        // TXT_PROGRAMME_PATTERN_REFUSED
        {{"Tallenna", "Spara", "Save"}}, // TXT_PROGRAMME_SAVE
        {{"Tuo…", "Importera…", "Import…"}}, // TXT_PROGRAMME_IMPORT
        {{"Vie…", "Exportera…", "Export…"}}, // TXT_PROGRAMME_EXPORT
        {{"Poista ohjelma", "Ta bort programmet", "Remove programme"}}, // TXT_PROGRAMME_REMOVE_ALL
        {{"Sulje", "Stäng", "Close"}}, // TXT_PROGRAMME_CLOSE
        {{"Ohjelma tallennettu: se pelataan seuraavasta pelistä alkaen.",
          "Programmet sparat: det spelas från nästa spel.",
          "Programme saved: it is played from the next game on."}}, // TXT_PROGRAMME_SAVED
        {{"Ohjelmaa ei voitu tallentaa: datakansioon ei voi kirjoittaa.",
          "Programmet kunde inte sparas: datamappen går inte att skriva.",
          "The programme could not be saved: the data folder cannot be written."}},
        // TXT_PROGRAMME_SAVE_FAILED
        {{"Ohjelmaa ei voitu viedä tiedostoon %1.", "Programmet kunde inte exporteras till %1.",
          "The programme could not be exported to %1."}}, // TXT_PROGRAMME_EXPORT_FAILED
        {{"Ohjelmaa ei voi tallentaa näin: %1", "Programmet kan inte sparas så här: %1",
          "The programme cannot be saved like this: %1"}}, // TXT_PROGRAMME_NOT_WRITABLE
        {{"pelillä %1 ei ole nimeä", "spel %1 saknar namn", "game %1 has no name"}},
        // TXT_PROGRAMME_NO_GAME_NAME
        {{"kahdella pelillä on nimi \"%1\"", "två spel heter \"%1\"",
          "two games are named \"%1\""}}, // TXT_PROGRAMME_SAME_GAME_NAME
        {{"Poistetaanko ohjelma? Seuraavasta pelistä alkaen pelataan ilman ohjelmaa.",
          "Ta bort programmet? Från nästa spel spelas utan program.",
          "Remove the programme? From the next game on the evening is played without one."}},
        // TXT_CONFIRM_REMOVE_PROGRAMME
        {{"Ohjelmaa ei voitu poistaa.", "Programmet kunde inte tas bort.",
          "The programme could not be removed."}}, // TXT_PROGRAMME_REMOVE_FAILED
        {{"Muutoksia ei ole tallennettu. Suljetaanko silti?",
          "Ändringarna är inte sparade. Stäng ändå?", "The changes are not saved. Close anyway?"}},
        // TXT_CONFIRM_CLOSE_UNSAVED
        {{"Tuotu tiedostosta %1: tallenna, niin se pelataan.",
          "Importerat från %1: spara för att spela det.", "Imported from %1: save it to play it."}},
        // TXT_PROGRAMME_IMPORTED
    }};
    return table;
}

} // namespace

const std::string& Language::GetText(TextId entry, int language) {
    const int index = (language >= 0 && language <= 2) ? language : 0;
    auto position = static_cast<std::size_t>(entry);
    if (position >= Table().size())
        position = 0;
    return Table()[position].text[index];
}

std::optional<TextId> Language::GetLetterName(int number) {
    if (number >= 1 && number <= 15)
        return TextId::TXT_LETTER_B;
    if (number >= 16 && number <= 30)
        return TextId::TXT_LETTER_I;
    if (number >= 31 && number <= 45)
        return TextId::TXT_LETTER_N;
    if (number >= 46 && number <= 60)
        return TextId::TXT_LETTER_G;
    if (number >= 61 && number <= 75)
        return TextId::TXT_LETTER_O;
    if (number >= 76 && number <= 90)
        return TextId::TXT_LETTER_S;
    return std::nullopt;
}

} // namespace zorvi
