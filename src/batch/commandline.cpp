#include "batch/commandline.h"

#include <initializer_list>

namespace kaldora::batch {

namespace {

constexpr std::string_view kPricesOption = "--cene";
constexpr std::string_view kPriceListOption = "--cenovnik";
constexpr std::string_view kHelpOption = "--help";
constexpr std::string_view kShortHelpOption = "-h";
constexpr std::string_view kVersionOption = "--version";
constexpr std::string_view kShortVersionOption = "-v";
constexpr std::string_view kEndOfOptions = "--";
constexpr std::string_view kStandardInput = "-";

constexpr std::string_view kHelp =
    R"(Upotreba: kaldora-obracun [--cene "C1;C2;C3;C4;C5;C6" | --cenovnik BAZA] [DATOTEKA]

Obracunava mesecni racun za struju za svako brojilo iz CSV datoteke, istim
racunom kao prozor programa, i ispisuje racune kao CSV na standardni izlaz.
Bez DATOTEKE, ili sa "-", cita standardni ulaz.

Opcije:
  --cene "C1;...;C6"  sest cena u Din/kWh, ovim redom: zona 1 V.T.,
                      zona 1 M.T., zona 2 V.T., zona 2 M.T., zona 3 V.T.,
                      zona 3 M.T., npr.
                      --cene "3,10;1,55;4,65;2,33;9,30;4,65"
  --cenovnik BAZA     cene iz prvog zapisa cenovnika u datoteci BAZA
                      (cenovnik.db programa KALDORA)
Bez ove dve opcije cene se uzimaju iz cenovnika programa KALDORA, kao u
prozoru programa; ako cenovnik jos ne postoji, pravi se sa osnovnim cenama.
  -h, --help          ova pomoc
  -v, --version       verzija programa

)"
// Where the separator comes from: platform::SystemLocale.
#ifdef _WIN32
    R"(Brojevi se pisu sa decimalnim simbolom iz regionalnih podesavanja sistema
Windows: zarez za srpski (Srbija), tacka za engleski (SAD).
)"
#else
    R"(Brojevi se pisu sa decimalnim separatorom iz jezickih podesavanja korisnika
(LC_ALL, LC_NUMERIC, LANG): zarez za sr_RS, tacka za en_US i C.
)"
#endif
    R"(
Ulaz: CSV u UTF-8, polja odvojena znakom ";", prvi red je zaglavlje. Polja
pod navodnicima mogu sadrzati ";", prelome reda i "" za navodnik. Prazni
redovi se preskacu. Kolone, po imenu iz zaglavlja, bilo kojim redom:
  novo_vt, novo_mt     novo stanje brojila, V.T. i M.T., npr. 1234,5
  staro_vt, staro_mt   prethodno stanje brojila, V.T. i M.T.
  datum                datum ocitavanja, GGGG-MM-DD
  prethodni_datum      datum prethodnog ocitavanja, GGGG-MM-DD
  id                   nije obavezna: oznaka brojila, prepisuje se u izlaz
Ostale kolone se ne koriste.

Izlaz: zaglavlje, pa jedan red za svako brojilo iz ulaza, i za ono cije stanje
nije broj; red nemaju samo redovi ulaza prijavljeni na standardnom izlazu za
greske (vidi dole). Kolone ovim redom:
  id                              samo ako je ulaz ima
  potrosnja_vt, potrosnja_mt      potrosnja u kWh, V.T. i M.T.
  ukupno                          ukupna potrosnja u kWh
  dana                            broj dana izmedju dva ocitavanja
  zona1_vt, zona1_mt, zona2_vt,   kWh po zonama (zelena, plava, crvena)
  zona2_mt, zona3_vt, zona3_mt    i tarifama
  iznos1_vt, iznos1_mt,           iznos u dinarima za svaku od tih
  iznos2_vt, iznos2_mt,           sest stavki
  iznos3_vt, iznos3_mt
  energija                        utrosena elektricna energija
  naknada                         naknada za merno mesto
  snaga                           obracunska snaga brojila
  bez_pdv, pdv, sa_pdv            ukupno bez PDV-a, PDV 18 %, ukupno sa PDV-om
  greska                          prazno, ili poruka za brojilo cije stanje
                                  nije broj (tada su sve kolone osim id i
                                  greska prazne, a red se racuna kao
                                  neobracunat):
      NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!

Red sa neispravnim datumom, sa pogresnim brojem polja ili sa nezatvorenim
navodnicima se ne obracunava. Poruka o njemu ide na standardni izlaz za
greske i navodi broj reda (linije datoteke; zaglavlje je red 1). Ostali redovi
se obracunavaju kao da tog reda nema.

Ulaz se cita i obracunava deo po deo, pa i vrlo velika datoteka ili
standardni ulaz zauzimaju malo memorije. Zapis duzi od 1 MiB se preskace.

Izlazni kod:
  0  svi redovi su obracunati
  1  neki redovi nisu obracunati: neispravni redovi (vidi poruke) i redovi
     sa porukom u koloni greska
  2  nista nije obracunato: pogresna upotreba, neispravan cenovnik, ulaz koji
     ne moze da se procita ili zaglavlje bez potrebne kolone; ili izlaz nije
     mogao da se upise (obrada staje pri prvom neuspelom upisu, a poruka
     navodi razlog: disk je pun, izlaz je zatvoren, datoteka je prevelika...;
     izlaz koji je datoteka tada sadrzi samo cele redove upisane do greske,
     jer se deo reda koji je poceo da se upisuje brise; u cevi ili na
     terminalu poslednji red moze ostati nepotpun, i poruka to kaze)
  130  na Windows-u: obrada je prekinuta (Ctrl+C, Ctrl+Break ili zatvaranje
     konzole), i kad je ulaz bas tada zavrsen; do tada obracunati redovi su
     upisani celi, a poruka navodi njihov broj (na drugim sistemima Ctrl+C
     odmah zavrsava program, a ljuska javlja isti kod 130)
)";

// The option that takes a value, as "--cene X" or "--cene=X".
std::optional<std::string_view> valueOption(std::string_view arg)
{
    for (const std::string_view option : {kPricesOption, kPriceListOption}) {
        if (arg == option ||
            (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=')) {
            return option;
        }
    }
    return std::nullopt;
}

} // namespace

std::string_view CommandLine::helpText()
{
    return kHelp;
}

std::optional<CommandLine> CommandLine::parse(std::span<const std::string_view> args,
                                              std::string& error)
{
    CommandLine command;
    bool haveInput = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool isOption = !optionsEnded && arg.starts_with('-') && arg != kStandardInput;
        if (!isOption) {
            if (haveInput) {
                error = "samo jedna ulazna datoteka je dozvoljena, a data je i \"" +
                        std::string(arg) + "\"";
                return std::nullopt;
            }
            command.inputPath = arg;
            haveInput = true;
        } else if (arg == kEndOfOptions) {
            optionsEnded = true;
        } else if (arg == kHelpOption || arg == kShortHelpOption) {
            command.help = true;
        } else if (arg == kVersionOption || arg == kShortVersionOption) {
            command.version = true;
        } else if (const auto option = valueOption(arg)) {
            std::optional<std::string>& target =
                *option == kPricesOption ? command.prices : command.priceListPath;
            if (target) {
                error = "opcija " + std::string(*option) + " je data vise puta";
                return std::nullopt;
            }
            if (arg.size() > option->size()) {
                target = std::string(arg.substr(option->size() + 1));
            } else if (i + 1 < args.size()) {
                target = std::string(args[++i]);
            } else {
                error = "opciji " + std::string(*option) + " nedostaje vrednost";
                return std::nullopt;
            }
        } else {
            error = "nepoznata opcija \"" + std::string(arg) + "\"";
            return std::nullopt;
        }
    }
    if (command.prices && command.priceListPath) {
        error = "opcije --cene i --cenovnik se ne mogu dati zajedno";
        return std::nullopt;
    }
    return command;
}

} // namespace kaldora::batch
