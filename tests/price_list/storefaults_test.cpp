// The price-list file in situations another program or a crash can bring
// about: columns declared as text, the file taken away while it is open
// (where the system allows it), and the temporary file a killed first run
// leaves behind.

#include "price_list/pricelistfile.h"
#include "price_list/priceliststore.h"
#include "support/pricelistfolder.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/file.h>
#endif

namespace kaldora::price_list {
namespace {

class StoreFaultTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString file(const QString& name = QStringLiteral("cenovnik.db")) const
    {
        return m_folder.filePath(name);
    }

    tests::PriceListFolder m_folder;
};

// Another program made the price columns TEXT: every price written into
// them is stored as SQLite's text of the number. It still reads, shows and
// bills as the number, in the user's locale.
TEST_F(StoreFaultTest, PricesInTextColumnsReadAsNumbers)
{
    ASSERT_TRUE(TestDatabase(file()).exec(
        {"CREATE TABLE cenovnik (id INTEGER PRIMARY KEY, zelenavt TEXT, zelenamt TEXT, "
         "plavavt TEXT, plavamt TEXT, crvenavt TEXT, crvenamt TEXT)",
         "INSERT INTO cenovnik VALUES (1, '3.1', '1.55', '4.65', '2.33', '9.3', 'abc')"}));
    PriceListStore store(',');
    ASSERT_TRUE(store.open(file()));
    EXPECT_EQ(store.currentTexts(), (PriceTexts{"3,1", "1,55", "4,65", "2,33", "9,3", "abc"}));

    PriceTexts edited = store.currentTexts();
    edited[0] = QStringLiteral("3,5");
    ASSERT_TRUE(store.save(edited).complete);
    store.close();
    EXPECT_EQ(TestDatabase(file()).price("zelenavt"), QStringLiteral("3.5"));

    const auto comma =
        PriceListStore::readFirstRecord(file(), ',', PriceListStore::MissingFile::Report);
    EXPECT_EQ(comma.texts[0], QStringLiteral("3,5"));
    const auto period =
        PriceListStore::readFirstRecord(file(), '.', PriceListStore::MissingFile::Report);
    EXPECT_EQ(period.texts[0], QStringLiteral("3.5"));
}

// The file is taken away while the window holds it open: the save is
// refused, nothing is written anywhere, and the message says what happened.
// Windows does not let it happen: SQLite opens the file without
// FILE_SHARE_DELETE, so while the store holds it the file can be neither
// deleted nor renamed, and the edit is saved as any other.
TEST_F(StoreFaultTest, FileTakenAwayWhileOpenIsNamedAsSuch)
{
#ifdef _WIN32
    constexpr bool kOpenFileCanBeTakenAway = false;
#else
    constexpr bool kOpenFileCanBeTakenAway = true;
#endif
    struct Case {
        const char* name;
        bool (*takeAway)(const QString& file, const QString& other);
    };
    const Case cases[] = {
        {"deleted", [](const QString& f, const QString&) { return QFile::remove(f); }},
        {"renamed", [](const QString& f, const QString& o) { return QFile::rename(f, o); }},
        {"replaced", [](const QString& f,
                        const QString& o) { return QFile::rename(f, o) && QFile::copy(o, f); }},
    };
    const QString other = file(QStringLiteral("drugo.db"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file());
        QFile::remove(other);
        ASSERT_TRUE(makePriceFile(file(), {"1, 3.1, 1.55, 4.65, 2.33, 9.3, 4.65"}));
        PriceListStore store(',');
        ASSERT_TRUE(store.open(file()));
        ASSERT_EQ(c.takeAway(file(), other), kOpenFileCanBeTakenAway);

        PriceTexts edited = store.currentTexts();
        edited[2] = QStringLiteral("7");
        const auto outcome = store.save(edited);
        if (!kOpenFileCanBeTakenAway) {
            EXPECT_TRUE(outcome.complete) << outcome.message.toStdString();
            EXPECT_TRUE(outcome.message.isEmpty());
            store.close();
            EXPECT_FALSE(QFileInfo::exists(other));
            EXPECT_EQ(TestDatabase(file()).price("plavavt").toDouble(), 7.0);
            continue;
        }
        EXPECT_FALSE(outcome.complete);
        EXPECT_TRUE(outcome.message.contains(QStringLiteral("OBRISANA, PREMESTENA ILI ZAMENJENA")))
            << outcome.message.toStdString();
        EXPECT_FALSE(outcome.message.contains(QStringLiteral("SAMO ZA CITANJE")));
        store.close();
        for (const QString& f : {file(), other}) {
            if (QFileInfo::exists(f)) {
                EXPECT_EQ(TestDatabase(f).price("plavavt").toDouble(), 4.65);
            }
        }
    }
}

// A first run killed while it made the file leaves its temporary file in
// the program's work folder. The next start of the program removes it, and
// nothing else: not the price list, not a temporary file that a running
// program is still making, not any file the user keeps beside the price
// list, however its name reads. A price list the user names (the batch
// calculator's --cenovnik) is opened without removing anything at all.
TEST_F(StoreFaultTest, NextStartRemovesOnlyWhatAKilledFirstRunLeft)
{
    const QString path = file();
    const QString work = file(QStringLiteral(".kaldora-novi-cenovnik"));
    const QStringList usersFiles = {"cenovnik.db.backup", "cenovnik.db.novi-backup",
                                    "cenovnik.db.novi-januar", "cenovnik.db.novi-a1B2c3"};
    const QString killed = QStringLiteral(".kaldora-novi-cenovnik/cenovnik.db.a1B2c3");
    const QString beingMade = QStringLiteral(".kaldora-novi-cenovnik/cenovnik.db.u2Ruk4");
    for (const auto missing :
         {PriceListStore::MissingFile::Report, PriceListStore::MissingFile::Create}) {
        SCOPED_TRACE(missing == PriceListStore::MissingFile::Create ? "own" : "named");
        ASSERT_TRUE(QDir(m_folder.path()).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(work));
        ASSERT_TRUE(makePriceFile(path, {"1, 3.1, 1.55, 4.65, 2.33, 9.3, 4.65"}));
        const QByteArray before = fileBytes(path);
        for (const QString& name : usersFiles + QStringList{killed, beingMade}) {
            QFile f(file(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("x");
        }
        PriceListStore store(',');
        {
            // Held as another program making the file now holds it: open
            // (Windows cannot delete an open file) and, elsewhere, locked.
            QFile held(file(beingMade));
            ASSERT_TRUE(held.open(QIODevice::ReadOnly));
#ifndef _WIN32
            ASSERT_EQ(::flock(held.handle(), LOCK_EX), 0);
#endif
            ASSERT_TRUE(store.open(path, missing));
            store.close();
        }

        for (const QString& name : usersFiles + QStringList{beingMade}) {
            EXPECT_TRUE(QFileInfo::exists(file(name))) << name.toStdString();
        }
        EXPECT_EQ(QFileInfo::exists(file(killed)), missing == PriceListStore::MissingFile::Report);
        EXPECT_EQ(fileBytes(path), before);
    }
}

// A first run leaves exactly the new file: no temporary one.
TEST_F(StoreFaultTest, FirstRunLeavesOnlyTheNewFile)
{
    const QString path = m_folder.filePath(QStringLiteral("nova/cenovnik.db"));
    QString reason;
    ASSERT_TRUE(PriceListFile::createWithDefaults(path, reason)) << reason.toStdString();
    EXPECT_EQ(QDir(QFileInfo(path).path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"cenovnik.db"});
}

} // namespace
} // namespace kaldora::price_list
