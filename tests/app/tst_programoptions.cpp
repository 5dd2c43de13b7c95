// The kaldora program's command line: what each one asks for, the message
// for each wrong one, and the help and version texts.

#include "app/programoptions.h"

#include <QTest>

using kaldora::app::ProgramOptions;
using Request = ProgramOptions::Request;

Q_DECLARE_METATYPE(ProgramOptions::Request)

namespace {

// A text the user reads is Serbian without diacritics: printable ASCII and
// line breaks.
bool plainAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c != QLatin1Char('\n') && (c.unicode() < 0x20 || c.unicode() > 0x7e)) {
            return false;
        }
    }
    return true;
}

} // namespace

class ProgramOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Request>("request");
        QTest::addColumn<QString>("error");

        const auto row = [](const char* name, const QStringList& arguments, Request request,
                            const char* error = "") {
            QTest::newRow(name) << arguments << request << QString::fromUtf8(error);
        };
        row("nothing", {}, Request::Start);
        row("--help", {"--help"}, Request::Help);
        row("-h", {"-h"}, Request::Help);
        row("--version", {"--version"}, Request::Version);
        row("-v", {"-v"}, Request::Version);
        row("help before version", {"--version", "--help"}, Request::Help);
        // Qt's own options, with one or two dashes, the value apart or after
        // "=", are left for Qt.
        row("-style fusion", {"-style", "fusion"}, Request::Start);
        row("-style=fusion", {"-style=fusion"}, Request::Start);
        row("--platform xcb", {"--platform", "xcb"}, Request::Start);
        row("session manager", {"-session", "1a2b3c_4"}, Request::Start);
        row("Qt switches", {"-reverse", "-widgetcount", "-nograb"}, Request::Start);
        row("Qt option and help", {"-style", "fusion", "-h"}, Request::Help);
        row("unknown long", {"--nepostojeca"}, Request::Invalid,
            "nepoznata opcija \"--nepostojeca\"");
        row("unknown short", {"-x"}, Request::Invalid, "nepoznata opcija \"-x\"");
        row("unknown with value", {"--boja=plava"}, Request::Invalid,
            "nepoznata opcija \"--boja\"");
        row("unknown beside help", {"--help", "-x"}, Request::Invalid, "nepoznata opcija \"-x\"");
        row("a file", {"racun.txt"}, Request::Invalid,
            "program ne prima argumente, a dat je \"racun.txt\"");
        row("after --", {"--", "--help"}, Request::Invalid,
            "program ne prima argumente, a dat je \"--help\"");
        row("standard input", {"-"}, Request::Invalid,
            "program ne prima argumente, a dat je \"-\"");
        row("Qt option without its value", {"-style"}, Request::Invalid,
            "opciji \"-style\" nedostaje vrednost");
        row("help with a value", {"--help=1"}, Request::Invalid,
            "opcija \"--help\" ne prima vrednost");
        row("switch with a value after a Qt option", {"-style=fusion", "-v=2"}, Request::Invalid,
            "opcija \"-v\" ne prima vrednost");
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Request, request);
        QFETCH(QString, error);
        arguments.prepend(QStringLiteral("/usr/bin/kaldora"));
        const ProgramOptions options = ProgramOptions::parse(arguments);
        QCOMPARE(options.request(), request);
        QCOMPARE(options.error(), error);
        QVERIFY(plainAscii(options.error()));
    }

    // Without even the program's name the window opens, as with no options.
    void emptyCommandLine() { QCOMPARE(ProgramOptions::parse({}).request(), Request::Start); }

    void helpNamesTheOptionsThePriceListAndTheExitCodes()
    {
        const QString path = QStringLiteral("/home/korisnik/.local/share/kaldora/cenovnik.db");
        const QString help = ProgramOptions::helpText(path);
        QVERIFY(help.startsWith(QLatin1String("Upotreba: kaldora [OPCIJA]\n")));
        for (const char* text :
             {"-h, --help", "-v, --version", "-style", "Izlazni kod:", "  1  pogresna upotreba",
              "  2  prozor ne moze", "  3  program je zaustavljen"}) {
            QVERIFY2(help.contains(QLatin1String(text)), text);
        }
        QVERIFY(help.contains(QStringLiteral("Cenovnik: ") + path + QLatin1Char('\n')));
        // Windows has no locale variables; the separator is the regional one.
#ifdef Q_OS_WIN
        QVERIFY(help.contains(QLatin1String("regionalnih podesavanja")));
        QVERIFY(!help.contains(QLatin1String("LC_ALL")));
#else
        QVERIFY(help.contains(QLatin1String("(LC_ALL, LC_NUMERIC,\nLANG)")));
#endif
        QVERIFY(help.endsWith(QLatin1Char('\n')));
        QVERIFY(plainAscii(help));
    }

    void helpWithoutADataFolder()
    {
        const QString help = ProgramOptions::helpText(QString());
        QVERIFY(help.contains(QLatin1String("Cenovnik: nema mesta za njega")));
        QVERIFY(plainAscii(help));
    }
};

int runProgramOptionsTest(int argc, char** argv)
{
    ProgramOptionsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programoptions.moc"
