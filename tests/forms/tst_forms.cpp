// The layout engine's conversion of twips to pixels. The widgets it builds
// are checked through the windows' own tables, which use every kind of
// control.

#include "forms/formlayout.h"

#include <QTest>

using namespace kaldora::forms;

class FormsTest : public QObject {
    Q_OBJECT

private slots:
    void twipsToPixels_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("under half a pixel") << 7 << 0;
        QTest::newRow("half a pixel and more") << 8 << 1;
        QTest::newRow("one pixel") << 15 << 1;
        QTest::newRow("client width") << 15675 << 1045;
        QTest::newRow("client height") << 10515 << 701;
        QTest::newRow("negative, under half") << -7 << 0;
        QTest::newRow("negative, half and more") << -8 << -1;
    }
    void twipsToPixels()
    {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(toPixels(twips), pixels);
    }
};

QTEST_GUILESS_MAIN(FormsTest)

#include "tst_forms.moc"
