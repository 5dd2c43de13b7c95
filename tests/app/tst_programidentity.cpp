// Who the running program says it is: name, version, desktop entry, and the
// icon, which must be the installed icon files, also in the about dialog.

#include "about/abouticon.h"
#include "about/frmabout.h"
#include "app/programidentity.h"
#include "main_window/windowowner.h"
#include "platform/systemclock.h"
#include "support/pricelistfolder.h"
#include "support/recordingmessagebox.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace {

// The icon files as they are installed, in the source tree.
QString installedIcon(int size)
{
    return QStringLiteral(KALDORA_DIST_DIR "/icons/hicolor/%1x%1/apps/rs.kaldora.Kaldora.png")
        .arg(size);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

} // namespace

class ProgramIdentityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { kaldora::app::applyProgramIdentity(); }

    // Desktops match the running program to its menu entry by this name; the
    // entry and its icon are installed under it.
    void desktopEntryIsInstalledUnderTheProgramsName()
    {
        const QString name = QGuiApplication::desktopFileName();
        const QByteArray entry = contents(QStringLiteral(KALDORA_DIST_DIR "/%1.desktop").arg(name));
        QVERIFY2(!entry.isEmpty(), qPrintable(name));
        QVERIFY(entry.split('\n').contains("Icon=" + name.toUtf8()));
        QVERIFY(entry.split('\n').contains("Exec=" + QCoreApplication::applicationName().toUtf8()));
    }

    void iconSizes_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : kaldora::about::kApplicationIconSizes) {
            QTest::addRow("%dx%d", size, size) << size;
        }
    }

    // Each size the windows can pick is the file the desktop gets.
    void iconSizes()
    {
        QFETCH(int, size);
        const QIcon icon = QGuiApplication::windowIcon();
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        const QImage shown = icon.pixmap(QSize(size, size)).toImage();
        QCOMPARE(shown.size(), QSize(size, size));
        const QByteArray file = contents(installedIcon(size));
        QVERIFY2(!file.isEmpty(), qPrintable(installedIcon(size)));
        // A pixmap holds premultiplied pixels; the file's, premultiplied the
        // same way, must be exactly those.
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 QImage::fromData(file).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }

    // The about dialog, as the program opens it, shows the installed small
    // icon, and nothing speaks on the way.
    void aboutDialogShowsTheInstalledSmallIcon()
    {
        const kaldora::tests::PriceListFolder folder;
        QVERIFY(folder.isValid());
        kaldora::platform::SystemClock clock;
        kaldora::tests::RecordingMessageBox notices;
        kaldora::main_window::WindowOwner windows(
            {clock, notices, ','}, kaldora::platform::systemServices(), folder.filePath());
        auto* about = windows.showAbout();
        const auto* picture = about->findChild<QLabel*>(QStringLiteral("picIcon"));
        QVERIFY(picture != nullptr);
        const int size = kaldora::about::kAboutIconSize;
        QCOMPARE(picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                 QImage(installedIcon(size)).convertToFormat(QImage::Format_ARGB32));
        QVERIFY2(notices.shown().empty(),
                 notices.shown().empty() ? "" : notices.shown().front().text.c_str());
        about->close();
    }
};

int runProgramIdentityTest(int argc, char** argv)
{
    ProgramIdentityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programidentity.moc"
