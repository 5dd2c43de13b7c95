#include "price_list/pricelistfile.h"
#include "price_list/priceliststore.h"
#include "support/pricelistfolder.h"
#include "support/privatehome.h"
#include "support/testdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace kaldora::price_list {
namespace {

using Store = PriceListStore;
const PriceTexts kDefaultTexts = {"3,1", "1,55", "4,65", "2,33", "9,3", "4,65"};

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString file() const { return m_folder.filePath(); }
    QString file(const char* name) const { return m_folder.filePath(QLatin1String(name)); }

    tests::PriceListFolder m_folder;
};

TEST_F(StoreTest, MissingFileIsCreatedWithTheDefaultPriceList)
{
    const QString path = PriceListFile::defaultPath();
    if (!path.startsWith(m_folder.path())) {
        GTEST_SKIP() << "built with a fixed KALDORA_PRICE_LIST_DIR";
    }
#ifdef _WIN32
    // In %APPDATA%, where a Windows user's data roams with their profile.
    EXPECT_EQ(path, m_folder.dataHome() + QStringLiteral("/KALDORA/cenovnik.db"));
#else
    EXPECT_EQ(path, m_folder.dataHome() + QStringLiteral("/kaldora/cenovnik.db"));
#endif
    Store store(',');
    ASSERT_TRUE(store.open(path));
    EXPECT_EQ(store.problem(), QString());
    EXPECT_EQ(store.currentTexts(), kDefaultTexts);
    store.close();
    TestDatabase db(path);
    EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM cenovnik")).toInt(), 1);
    EXPECT_EQ(db.value(QStringLiteral("SELECT typeof(plavamt) FROM cenovnik")), "real");
    EXPECT_EQ(db.price("plavamt").toDouble(), 2.33);
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), QStringList{"cenovnik.db"});
}

// A file that exists but cannot serve as the price list: the fields stay
// empty (all of them, or the missing column's), the user is told the file
// and the cause, and the file is left exactly as it was.
struct BadFile {
    const char* name;
    QByteArray bytes;  // the raw content, when `sql` is empty
    QStringList sql;   // statements that make the file
    const char* cause; // part of the message
    PriceTexts shown;
};

void PrintTo(const BadFile& c, std::ostream* os)
{
    *os << c.name;
}

class BadFileTest : public StoreTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFileTest, LeavesFieldsEmptyReportsAndChangesNothing)
{
    const BadFile& c = GetParam();
    if (c.sql.isEmpty()) {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(c.bytes), c.bytes.size());
    } else {
        ASSERT_TRUE(TestDatabase(file()).exec(c.sql));
    }
    const QByteArray before = fileBytes(file());

    Store store(',');
    store.open(file());
    EXPECT_EQ(store.currentTexts(), c.shown);
    EXPECT_TRUE(store.problem().contains(QDir::toNativeSeparators(file())));
    EXPECT_TRUE(store.problem().contains(QLatin1String(c.cause))) << store.problem().toStdString();
    EXPECT_TRUE(store.save(store.currentTexts()).complete);
    store.close();
    EXPECT_EQ(fileBytes(file()), before);
    EXPECT_EQ(Store::readFirstRecord(file(), ',', Store::MissingFile::Create).texts, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(
        BadFile{"NotADatabase",
                QByteArray("Dies ist keine Datenbank.\n").repeated(200),
                {},
                "NIJE ISPRAVNA BAZA PODATAKA",
                {}},
        BadFile{"EmptyFile", QByteArray(), {}, "NEMA TABELE CENOVNIK", {}},
        BadFile{"NoTable", {}, {"CREATE TABLE cene (a REAL)"}, "NEMA TABELE CENOVNIK", {}},
        BadFile{"NoRecord", {}, {kPriceTable}, "NEMA NIJEDAN ZAPIS", {}},
        BadFile{"MissingColumns",
                {},
                {"CREATE TABLE cenovnik (k INTEGER PRIMARY KEY, crvenamt REAL, zelenavt REAL, "
                 "PLAVAMT REAL, crvenavt REAL)",
                 "INSERT INTO cenovnik VALUES (1, 6, 1, 4, 5)"},
                "NEDOSTAJE KOLONA: ZELENAMT, PLAVAVT",
                {"1", "", "", "4", "5", "6"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, ValuesOfEveryKindAreShownAndOnlyEditsAreWritten)
{
    ASSERT_TRUE(makePriceFile(file(), {"1, NULL, 3, 'abc', 0.30000000000000004, 1.2e-5, -2.5e20"}));
    Store store(',');
    ASSERT_TRUE(store.open(file()));
    PriceTexts texts = store.currentTexts();
    EXPECT_EQ(texts, (PriceTexts{"", "3", "abc", "0,3", "1,2E-05", "-2,5E+20"}));
    texts[0] = QStringLiteral("1");
    EXPECT_TRUE(store.save(texts).complete);
    // A value shown shorter than it is stored is not rounded by a save.
    TestDatabase db(file());
    EXPECT_EQ(db.price("zelenavt").toDouble(), 1.0);
    EXPECT_EQ(db.price("plavamt").toDouble(), 0.30000000000000004);
    EXPECT_EQ(db.price("plavavt"), QStringLiteral("abc"));
}

TEST_F(StoreTest, UnreachableLocationsLeaveFieldsEmptyAndCreateNothing)
{
    QFile plain(file("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ASSERT_TRUE(QDir().mkdir(file("folder")));
    const struct {
        QString path;
        Store::MissingFile missing;
        const char* cause;
    } cases[] = {
        // Root may write anywhere, so a folder below a plain file stands in
        // for a folder the user may not write to.
        {file("plain") + "/kaldora/cenovnik.db", Store::MissingFile::Create,
         "FASCIKLU NIJE MOGUCE NAPRAVITI"},
        {file("folder"), Store::MissingFile::Create, "TO NIJE DATOTEKA"},
        {file("none/cenovnik.db"), Store::MissingFile::Report, "DATOTEKA NE POSTOJI"},
        {QString(), Store::MissingFile::Create, "MESTO CENOVNIKA NIJE POZNATO"},
    };
    for (const auto& c : cases) {
        const Store::FirstRecord first = Store::readFirstRecord(c.path, ',', c.missing);
        EXPECT_EQ(first.texts, PriceTexts{});
        EXPECT_EQ(first.problem, QStringLiteral("CENOVNIK NIJE MOGUCE OTVORITI: %1 (%2)")
                                     .arg(QDir::toNativeSeparators(c.path), c.cause));
    }
    EXPECT_FALSE(QFileInfo::exists(file("none")));
}

// A typed price is taken with the locale's rules; the stored value is read
// back through a connection of its own.
struct Typed {
    const char* name;
    char separator;
    const char* text;
    std::optional<double> stored; // nullopt: NULL
    bool accepted;
};

void PrintTo(const Typed& t, std::ostream* os)
{
    *os << t.name;
}

class TypedPriceTest : public StoreTest, public ::testing::WithParamInterface<Typed> {};

TEST_P(TypedPriceTest, IsStoredOrRefusedKeepingTheOldValue)
{
    const Typed& t = GetParam();
    ASSERT_TRUE(makePriceFile(file(), {"1, 3.1, 1.55, 4.65, 2.33, 9.3, 4.65"}));
    Store store(t.separator);
    ASSERT_TRUE(store.open(file()));
    PriceTexts texts = store.currentTexts();
    texts[2] = QString::fromUtf8(t.text);
    texts[4] = QStringLiteral("7");
    const Store::SaveOutcome outcome = store.save(texts);
    EXPECT_EQ(outcome.complete, t.accepted);
    EXPECT_EQ(outcome.message.contains(QStringLiteral("PLAVA ZONA V.T.")), !t.accepted)
        << outcome.message.toStdString();

    TestDatabase db(file());
    const QVariant stored = db.price("plavavt");
    EXPECT_EQ(stored.isNull(), !t.stored.has_value());
    EXPECT_EQ(stored.toDouble(), t.stored.value_or(0.0));
    // The valid edit of the same save is written all the same.
    EXPECT_EQ(db.price("crvenavt").toDouble(), 7.0);
}

INSTANTIATE_TEST_SUITE_P(Texts, TypedPriceTest,
                         ::testing::Values(Typed{"Decimal", ',', "2,5", 2.5, true},
                                           Typed{"ExponentWithBlanks", ',', " 1E3 ", 1000.0, true},
                                           Typed{"Empty", ',', "", std::nullopt, true},
                                           Typed{"Blanks", ',', "  ", std::nullopt, true},
                                           Typed{"Letters", ',', "abc", 4.65, false},
                                           Typed{"OtherSeparator", ',', "2.5", 4.65, false},
                                           Typed{"Grouping", ',', "1.234,5", 4.65, false},
                                           Typed{"PeriodLocale", '.', "2.5", 2.5, true},
                                           Typed{"PeriodLocaleComma", '.', "2,5", 4.65, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, AWriteTheFileRefusesChangesNothing)
{
    ASSERT_TRUE(
        makePriceFile(file(), {"1, 3.1, 1.55, 4.65, 2.33, 9.3, 4.65", "2, 1, 1, 1, 1, 1, 1"}));
    TestDatabase other(file());
    ASSERT_TRUE(other.exec({"CREATE TRIGGER guard BEFORE UPDATE OF crvenamt ON cenovnik "
                            "WHEN NEW.crvenamt < 0 BEGIN SELECT RAISE(ABORT, 'negativno'); END"}));
    Store store(',');
    ASSERT_TRUE(store.open(file()));
    PriceTexts texts = store.currentTexts();
    texts[0] = QStringLiteral("5");
    texts[5] = QStringLiteral("-1");
    EXPECT_FALSE(store.save(texts).complete);
    EXPECT_EQ(other.price("zelenavt").toDouble(), 3.1);

    // A record removed by another program is not made anew.
    ASSERT_TRUE(other.exec({"DELETE FROM cenovnik WHERE id = 1"}));
    texts[5] = QStringLiteral("8");
    const Store::SaveOutcome gone = store.save(texts);
    EXPECT_FALSE(gone.complete);
    EXPECT_TRUE(gone.message.contains("ZAPIS VISE NE POSTOJI")) << gone.message.toStdString();
    EXPECT_EQ(other.value("SELECT count(*) FROM cenovnik").toInt(), 1);
}

// The file URI SQLite opens: never a host (SQLite refuses one), so a
// Windows server path keeps its two leading slashes in the path; the
// characters a URI reserves are escaped, letters beyond ASCII as UTF-8.
TEST(FileUri, EveryKindOfAbsolutePathGivesAUriSqliteOpens)
{
    const std::pair<QString, QString> cases[] = {
        {"/home/ana/.local/share/kaldora/cenovnik.db",
         "file:///home/ana/.local/share/kaldora/cenovnik.db"},
        {"/tmp/a b/?#%/cenovnik.db", "file:///tmp/a%20b/%3F%23%25/cenovnik.db"},
        {"C:/Users/\u0110or\u0111e/AppData/Roaming/KALDORA/cenovnik.db",
         "file:///C:/Users/%C4%90or%C4%91e/AppData/Roaming/KALDORA/cenovnik.db"},
        {"C:\\Users\\ana\\cenovnik.db", "file:///C:/Users/ana/cenovnik.db"},
        {"\\\\server\\profili\\ana\\KALDORA\\cenovnik.db",
         "file:////server/profili/ana/KALDORA/cenovnik.db"},
        {"//server/profili/ana/KALDORA/cenovnik.db",
         "file:////server/profili/ana/KALDORA/cenovnik.db"},
    };
    for (const auto& [path, uri] : cases) {
#ifndef _WIN32
        // Backslashes are letters of a file name outside Windows.
        if (path.contains(QLatin1Char('\\'))) {
            continue;
        }
#endif
        EXPECT_EQ(PriceListFile::fileUri(path), uri) << path.toStdString();
    }
}

} // namespace
} // namespace kaldora::price_list

int main(int argc, char** argv)
{
    const kaldora::tests::PrivateHome home;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
