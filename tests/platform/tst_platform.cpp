// The window-system services: the message box, the date conversion and the
// locale's separator.

#include "platform/dateconversion.h"
#include "platform/qtmessagebox.h"
#include "platform/systemlocale.h"
#include "support/environmentoverride.h"
#include "support/modalwatchdog.h"
#include "support/qttestmain.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <optional>
#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace kaldora::platform;

namespace {

std::chrono::sys_days civil(int y, unsigned m, unsigned d)
{
    return std::chrono::sys_days(std::chrono::year(y) / std::chrono::month(m) /
                                 std::chrono::day(d));
}

// How long this test program, started afresh for one test, may take: the
// watchdog's limit, and time for the program's start and end.
constexpr int kAfreshLimitMs = 30000;

// Runs this test program's test `function` afresh, with `name` set to
// `value` in its environment. Gives its report; nothing when it was still
// running after the limit.
std::optional<QString> runAfresh(const char* function, const QString& name, const QString& value)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(name, value);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(function)});
    if (!program.waitForFinished(kAfreshLimitMs)) {
        program.kill();
        program.waitForFinished();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(program.readAll());
}

#ifdef Q_OS_WIN
// The decimal symbol of the user's regional settings, changed while the
// object lives; the old one is put back afterwards.
class RegionalDecimalSymbol {
public:
    explicit RegionalDecimalSymbol(const QString& symbol)
    {
        wchar_t previous[8] = {};
        m_saved = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, previous, 8) > 0;
        m_previous = previous;
        m_set = m_saved && SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL,
                                          symbol.toStdWString().c_str()) != 0;
    }
    ~RegionalDecimalSymbol()
    {
        if (m_saved &&
            SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, m_previous.c_str()) == 0) {
            qWarning("the regional settings' decimal symbol could not be put back");
        }
    }
    RegionalDecimalSymbol(const RegionalDecimalSymbol&) = delete;
    RegionalDecimalSymbol& operator=(const RegionalDecimalSymbol&) = delete;

    bool isSet() const { return m_set; }

private:
    std::wstring m_previous;
    bool m_saved = false;
    bool m_set = false;
};
#endif

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    // The real box: one OK button, no icon, modal for the whole application,
    // with the caption and text it was given; OK closes it.
    void messageBoxHasOneOkButtonAndNoIcon()
    {
        const kaldora::tests::ModalWatchdog watchdog;
        QString caption, text;
        QMessageBox::Icon icon = QMessageBox::Warning;
        Qt::WindowModality modality = Qt::NonModal;
        qsizetype buttons = 0;
        QTimer::singleShot(0, qApp, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            modality = box->windowModality();
            buttons = box->buttons().size();
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        QtMessageBox messages;
        messages.show("NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!", "GRESKA");
        QVERIFY(watchdog.caught().isEmpty());
        QCOMPARE(caption, QStringLiteral("GRESKA"));
        QCOMPARE(text, QStringLiteral("NISTE UPISALI BROJ ILI PODATAK NIJE NUMERICKI!!!"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(buttons, qsizetype(1));
    }

    void messageBoxClosedByEscape()
    {
        const kaldora::tests::ModalWatchdog watchdog;
        QTimer::singleShot(0, qApp, [] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        QtMessageBox().show("CENOVNIK JE IZMENJEN", "Obracun");
        QVERIFY(watchdog.caught().isEmpty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    // The watchdog the window tests rely on: a test program whose message
    // box nobody answers ends within the bound, its test failed and the box
    // named, instead of hanging.
    void watchdogFailsATestOnAnUnansweredBox()
    {
        const auto report = runAfresh("unansweredBox", QStringLiteral("KALDORA_UNANSWERED_BOX"),
                                      QStringLiteral("1"));
        QVERIFY(report);
        QVERIFY2(report->contains(QStringLiteral("FAIL!  : PlatformTest::unansweredBox()")) &&
                     report->contains(QStringLiteral("NEODGOVORENA PORUKA")),
                 qPrintable(*report));
    }

    // The other half of the test above: opens the box and waits.
    void unansweredBox()
    {
        if (qEnvironmentVariableIsEmpty("KALDORA_UNANSWERED_BOX")) {
            QSKIP("run by watchdogFailsATestOnAnUnansweredBox only");
        }
        const kaldora::tests::ModalWatchdog watchdog;
        QtMessageBox().show("NIKO NE ODGOVARA", "NEODGOVORENA PORUKA");
        QVERIFY2(watchdog.caught().isEmpty(), qPrintable(watchdog.caught().join(", ")));
    }

    void dateConversion_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("epoch") << QDate(1970, 1, 1) << 1970 << 1 << 1;
        QTest::newRow("first picker date") << QDate(1601, 1, 1) << 1601 << 1 << 1;
        QTest::newRow("last picker date") << QDate(9999, 12, 31) << 9999 << 12 << 31;
        QTest::newRow("leap day") << QDate(2024, 2, 29) << 2024 << 2 << 29;
    }
    void dateConversion()
    {
        QFETCH(QDate, date);
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        const auto expected = civil(year, unsigned(month), unsigned(day));
        QCOMPARE(toSysDays(date).time_since_epoch().count(), expected.time_since_epoch().count());
        QCOMPARE(toQDate(expected), date);
    }

    // The separator of the user's own settings, as a program started afresh
    // with them reads it: on Windows the regional settings' decimal symbol,
    // set here for the while; elsewhere the locale variables, also where the
    // C library lacks that locale.
    void decimalSeparatorFollowsTheUserSettings_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("separator");
#ifdef Q_OS_WIN
        QTest::newRow("decimal comma") << ","
                                       << ",";
        QTest::newRow("decimal period") << "."
                                        << ".";
#else
        QTest::newRow("sr_RS@latin") << "sr_RS@latin"
                                     << ",";
        QTest::newRow("en_US.UTF-8") << "en_US.UTF-8"
                                     << ".";
#endif
    }
    void decimalSeparatorFollowsTheUserSettings()
    {
        QFETCH(QString, setting);
        QFETCH(QString, separator);
#ifdef Q_OS_WIN
        const RegionalDecimalSymbol symbol(setting);
        QVERIFY(symbol.isSet());
#else
        const kaldora::tests::EnvironmentOverride locale("LC_ALL", setting.toStdString());
#endif
        const auto report = runAfresh("decimalSeparatorFollowsTheLocale",
                                      QStringLiteral("KALDORA_EXPECTED_SEPARATOR"), separator);
        QVERIFY(report);
        QVERIFY2(report->contains(
                     QStringLiteral("PASS   : PlatformTest::decimalSeparatorFollowsTheLocale()")),
                 qPrintable(*report));
    }

    // The other half of the test above, in the program started afresh; run
    // by itself, without an expectation, it has nothing to check.
    void decimalSeparatorFollowsTheLocale()
    {
        const QByteArray expected = qgetenv("KALDORA_EXPECTED_SEPARATOR");
        if (expected.isEmpty()) {
            QSKIP("no separator expected in this run");
        }
        QCOMPARE(systemDecimalSeparator(), expected.at(0));
    }
};

KALDORA_TEST_MAIN(PlatformTest)

#include "tst_platform.moc"
