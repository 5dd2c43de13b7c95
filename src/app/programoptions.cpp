#include "app/programoptions.h"

#include "app/programidentity.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <utility>

namespace kaldora::app {

namespace {

const QStringList kHelpNames = {QStringLiteral("h"), QStringLiteral("help")};
const QStringList kVersionNames = {QStringLiteral("v"), QStringLiteral("version")};

// The options QGuiApplication, QApplication and the X11 platform read and
// remove when the application object is made: those with a value, then the
// switches. Qt writes them with one dash ("-style fusion").
const QStringList kQtValueOptions = {
    QStringLiteral("platform"),      QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"), QStringLiteral("plugin"),
    QStringLiteral("qmljsdebugger"), QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"),   QStringLiteral("qwindowtitle"),
    QStringLiteral("session"),       QStringLiteral("display"),
    QStringLiteral("geometry"),      QStringLiteral("name"),
    QStringLiteral("style"),         QStringLiteral("stylesheet")};
const QStringList kQtSwitches = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                 QStringLiteral("sync"), QStringLiteral("nograb"),
                                 QStringLiteral("dograb")};

// Where the separator comes from: platform::SystemLocale.
#ifdef _WIN32
const QString kSeparatorHelp =
    QStringLiteral("Decimalni separator je decimalni simbol iz regionalnih podesavanja\n"
                   "sistema Windows: zarez za srpski (Srbija), tacka za engleski (SAD).\n");
#else
const QString kSeparatorHelp =
    QStringLiteral("Decimalni separator se uzima iz jezickih podesavanja (LC_ALL, LC_NUMERIC,\n"
                   "LANG): zarez za sr_RS, tacka za en_US i C.\n");
#endif

const QString kHelp =
    QStringLiteral("Upotreba: kaldora [OPCIJA]\n"
                   "\n"
                   "Otvara prozor programa KALDORA, koji obracunava mesecni racun domacinstva\n"
                   "za elektricnu energiju iz novog i starog stanja brojila, po cenama iz\n"
                   "cenovnika.\n"
                   "\n"
                   "Opcije:\n"
                   "  -h, --help     ispisuje ovu pomoc\n"
                   "  -v, --version  ispisuje verziju programa\n"
                   "Prihvataju se i opcije koje biblioteka Qt daje svakom programu, npr.\n"
                   "-style IME ili -platform IME.\n"
                   "\n"
                   "Cenovnik: %1\n"
                   "Kopija cenovnika se pravi i vraca kopiranjem te datoteke dok je program\n"
                   "zatvoren.\n"
                   "\n"
                   "%2"
                   "\n"
                   "Izlazni kod:\n"
                   "  0  prozor je zatvoren, ili je ispisana pomoc ili verzija\n"
                   "  1  pogresna upotreba, ili pomoc ili verzija nisu mogle da se ispisu\n"
                   "  2  prozor ne moze da se otvori: nema ekrana ili mu se ne moze pristupiti\n"
                   "  3  program je zaustavljen (signalom ili krajem sesije), a izmene\n"
                   "     cenovnika nisu mogle da se sacuvaju; razlog i upisane cene su\n"
                   "     ispisani na izlazu za greske\n");

// The argument the parser names by `name`: "-x", "--x" or "--x=1" for "x".
QString argumentNamed(const QStringList& arguments, const QString& name)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString option = arguments[i];
        option = option.section(QLatin1Char('='), 0, 0);
        while (option.startsWith(QLatin1Char('-'))) {
            option.remove(0, 1);
        }
        if (option == name) {
            return arguments[i].section(QLatin1Char('='), 0, 0);
        }
    }
    return QLatin1Char('-') + name;
}

// The message for a command line QCommandLineParser refused. Its own texts
// are English, so the cause is told again: an unknown option, a switch given
// a value ("--help=1"), or a value option at the end without its value.
QString refusal(const QCommandLineParser& parser, const QStringList& arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        return QStringLiteral("nepoznata opcija \"%1\"")
            .arg(argumentNamed(arguments, unknown.front()));
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            break;
        }
        if (argument.startsWith(QLatin1Char('-')) && argument.contains(QLatin1Char('='))) {
            const QString option = argument.section(QLatin1Char('='), 0, 0);
            QString name = option;
            while (name.startsWith(QLatin1Char('-'))) {
                name.remove(0, 1);
            }
            if (!kQtValueOptions.contains(name)) {
                return QStringLiteral("opcija \"%1\" ne prima vrednost").arg(option);
            }
        }
    }
    return QStringLiteral("opciji \"%1\" nedostaje vrednost").arg(arguments.back());
}

} // namespace

ProgramOptions::ProgramOptions(Request request, QString error)
    : m_request(request)
    , m_error(std::move(error))
{
}

ProgramOptions ProgramOptions::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    // Qt's own options have one dash and long names; so "-h" and "--help"
    // are the same option here, and "-style" is not "-s -t -y ...".
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(kHelpNames);
    const QCommandLineOption version(kVersionNames);
    parser.addOption(help);
    parser.addOption(version);
    for (const QString& name : kQtValueOptions) {
        parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
    }
    for (const QString& name : kQtSwitches) {
        parser.addOption(QCommandLineOption(name));
    }

    QStringList all = arguments;
    if (all.isEmpty()) {
        all << kProgramName;
    }
    if (!parser.parse(all)) {
        return {Request::Invalid, refusal(parser, all)};
    }
    // The program opens no files, so any other argument is a mistake.
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty()) {
        return {Request::Invalid,
                QStringLiteral("program ne prima argumente, a dat je \"%1\"").arg(extra.front())};
    }
    if (parser.isSet(help)) {
        return {Request::Help, QString()};
    }
    if (parser.isSet(version)) {
        return {Request::Version, QString()};
    }
    return {Request::Start, QString()};
}

QString ProgramOptions::helpText(const QString& priceListPath)
{
    return kHelp.arg(priceListPath.isEmpty()
                         ? QStringLiteral("nema mesta za njega (nije poznata fascikla "
                                          "sa korisnikovim podacima)")
                         : priceListPath,
                     kSeparatorHelp);
}

QString ProgramOptions::versionText()
{
    return kProgramName + QLatin1Char(' ') + programVersion() + QLatin1Char('\n');
}

} // namespace kaldora::app
