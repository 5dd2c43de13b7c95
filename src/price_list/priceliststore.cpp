#include "price_list/priceliststore.h"

#include "price_list/pricelistfile.h"
#include "price_list/sqlconnection.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>

namespace kaldora::price_list {

namespace {

// A save that finds the file locked by another program waits this long for
// it before it gives up and says so.
constexpr int kBusyTimeoutMs = 2000;
const QString kConnectOptions =
    QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1;QSQLITE_OPEN_URI").arg(kBusyTimeoutMs);

// The table's key. Every SQLite table that is not WITHOUT ROWID has it, and
// an INTEGER PRIMARY KEY column is another name for it.
const QString kKey = QStringLiteral("rowid");

const QString kOpenProblem = QStringLiteral("CENOVNIK NIJE MOGUCE OTVORITI: %1 (%2)");
const QString kMissingColumns = QStringLiteral("CENOVNIK NIJE POTPUN: %1 (NEDOSTAJE KOLONA: %2)");
const QString kRefusedPrice = QStringLiteral("CENA %1 NIJE SACUVANA: %2.");
const QString kOldValuesKept = QStringLiteral("U CENOVNIKU OSTAJE STARA VREDNOST TE CENE.");
const QString kNothingToSaveInto =
    QStringLiteral("IZMENE NISU SACUVANE: CENOVNIK %1 NIJE OTVOREN.");
const QString kWriteFailed =
    QStringLiteral("CENOVNIK NIJE SACUVAN: %1 (%2). NIJEDNA IZMENA NIJE UPISANA.");

QString quoted(const QString& identifier)
{
    return QStringLiteral("\"%1\"").arg(identifier);
}

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// How SQLite writes a number as text: a period, an exponent with 'e'.
const billing::NumberText kStoredNumbers('.');

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

} // namespace

PriceListStore::PriceListStore(char decimalSeparator)
    : m_numbers(decimalSeparator)
{
}

PriceListStore::~PriceListStore() = default;

bool PriceListStore::open(const QString& path, MissingFile missing)
{
    close();
    m_path = path;
    m_problem.clear();
    QString reason;
    if (!openFile(missing, reason) || !readTable(reason)) {
        m_problem = kOpenProblem.arg(shownPath(m_path), reason);
        close();
        return false;
    }
    QStringList absent;
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        if (!m_hasColumn[row]) {
            absent << columnName(row).toUpper();
        }
    }
    if (!absent.isEmpty()) {
        m_problem = kMissingColumns.arg(shownPath(m_path), absent.join(QStringLiteral(", ")));
    }
    m_current = 0;
    showCurrent();
    return true;
}

bool PriceListStore::openFile(MissingFile missing, QString& reason)
{
    if (m_path.isEmpty()) {
        reason = QStringLiteral("MESTO CENOVNIKA NIJE POZNATO");
        return false;
    }
    // Only where the program makes the file itself can its leftovers be;
    // a file the user names stays in a folder the program leaves alone.
    if (missing == MissingFile::Create) {
        PriceListFile::removeLeftovers(m_path);
    }
    const QFileInfo info(m_path);
    if (!info.exists()) {
        if (missing == MissingFile::Report) {
            reason = QStringLiteral("DATOTEKA NE POSTOJI");
            return false;
        }
        if (!PriceListFile::createWithDefaults(m_path, reason)) {
            return false;
        }
    } else if (!info.isFile()) {
        reason = QStringLiteral("TO NIJE DATOTEKA");
        return false;
    }
    if (!connect()) {
        reason = PriceListFile::reason(m_connection->lastError());
        return false;
    }
    return true;
}

bool PriceListStore::connect()
{
    m_connection = std::make_unique<SqlConnection>();
    return m_connection->open(PriceListFile::existingFileUri(m_path), kConnectOptions);
}

bool PriceListStore::readTable(QString& reason)
{
    const QString table = QLatin1String(kTableName);
    // Which of the six columns the table has. This is also the first read
    // of the file, so a file that is no database fails here.
    {
        QSqlQuery columns(m_connection->database());
        columns.setForwardOnly(true);
        if (!columns.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
            reason = PriceListFile::reason(columns.lastError());
            return false;
        }
        bool tableFound = false;
        while (columns.next()) {
            tableFound = true;
            const QString name = columns.value(1).toString();
            for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
                if (name.compare(columnName(row), Qt::CaseInsensitive) == 0) {
                    m_hasColumn[row] = true;
                }
            }
        }
        if (columns.lastError().isValid()) {
            reason = PriceListFile::reason(columns.lastError());
            return false;
        }
        if (!tableFound) {
            reason = QStringLiteral("NEMA TABELE %1").arg(table.toUpper());
            return false;
        }
    }

    QStringList selected{kKey};
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        if (m_hasColumn[row]) {
            selected << quoted(columnName(row));
        }
    }
    QSqlQuery records(m_connection->database());
    records.setForwardOnly(true);
    records.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!records.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                          .arg(selected.join(QStringLiteral(", ")), table, kKey))) {
        reason = PriceListFile::reason(records.lastError());
        return false;
    }
    while (records.next()) {
        Record record;
        record.key = records.value(0).toLongLong();
        int field = 1;
        for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
            if (m_hasColumn[row]) {
                record.values[row] = records.value(field++);
            }
        }
        m_records.push_back(std::move(record));
    }
    if (records.lastError().isValid()) {
        reason = PriceListFile::reason(records.lastError());
        m_records.clear();
        return false;
    }
    if (m_records.empty()) {
        reason = QStringLiteral("TABELA %1 NEMA NIJEDAN ZAPIS").arg(table.toUpper());
        return false;
    }
    return true;
}

QString PriceListStore::textOf(const QVariant& value) const
{
    if (value.isNull()) {
        return {};
    }
    const auto numberText = [this](double number) {
        const billing::NumberBuffer text = m_numbers.general(number);
        return QString::fromLatin1(text.view().data(), static_cast<qsizetype>(text.view().size()));
    };
    if (isNumber(value)) {
        return numberText(value.toDouble());
    }
    // A column declared TEXT (a file made by another program) turns every
    // price written into it into SQLite's text of the number, "3.5"; read
    // back, that is the number again, shown in the user's locale.
    const QString text = value.toString();
    if (const auto number = kStoredNumbers.parse(text.toStdString())) {
        return numberText(*number);
    }
    // Any other text that another program put into a price column is shown
    // as it is, and the calculation then finds that it is not a number.
    return text;
}

void PriceListStore::showCurrent()
{
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        const bool shown = m_current >= 0 && m_hasColumn[row];
        m_shown[row] = shown ? textOf(m_records[m_current].values[row]) : QString();
    }
}

PriceListStore::SaveOutcome PriceListStore::save(const PriceTexts& fieldTexts)
{
    SaveOutcome outcome;
    QStringList lines;
    std::array<bool, billing::kPriceRowCount> edited{};
    std::array<QVariant, billing::kPriceRowCount> values;
    if (m_current < 0) {
        if (fieldTexts != m_shown) {
            outcome.complete = false;
            outcome.message = kNothingToSaveInto.arg(shownPath(m_path));
        }
        return outcome;
    }
    for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
        const QString& text = fieldTexts[row];
        if (text == m_shown[row]) {
            continue;
        }
        const QString name = rowName(row);
        if (!m_hasColumn[row]) {
            lines << kRefusedPrice.arg(
                name, QStringLiteral("U CENOVNIKU NEMA KOLONE %1").arg(columnName(row).toUpper()));
            continue;
        }
        if (text.trimmed().isEmpty()) {
            values[row] = QVariant(QMetaType::fromType<double>());
        } else if (const auto number = m_numbers.parse(text.toUtf8().toStdString())) {
            values[row] = *number;
        } else {
            lines << kRefusedPrice.arg(name, QStringLiteral("\"%1\" NIJE BROJ").arg(text));
            continue;
        }
        edited[row] = true;
    }
    if (!lines.isEmpty()) {
        outcome.complete = false;
        lines << kOldValuesKept;
    }

    if (std::any_of(edited.begin(), edited.end(), [](bool e) { return e; })) {
        QString reason;
        if (write(edited, values, reason)) {
            for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
                if (edited[row]) {
                    m_records[m_current].values[row] = values[row];
                    m_shown[row] = fieldTexts[row];
                }
            }
        } else {
            outcome.complete = false;
            lines.prepend(kWriteFailed.arg(shownPath(m_path), reason));
        }
    }
    outcome.message = lines.join(QLatin1Char('\n'));
    return outcome;
}

bool PriceListStore::write(const std::array<bool, billing::kPriceRowCount>& edited,
                           const std::array<QVariant, billing::kPriceRowCount>& values,
                           QString& reason)
{
    // IMMEDIATE takes the write lock at once, so a file that another program
    // holds is found busy before anything is written.
    if (!m_connection->exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        reason = PriceListFile::reason(m_connection->lastError());
        return false;
    }
    bool ok = false;
    {
        QStringList assignments;
        for (std::size_t row = 0; row < billing::kPriceRowCount; ++row) {
            if (edited[row]) {
                assignments << QStringLiteral("%1 = ?").arg(quoted(columnName(row)));
            }
        }
        QSqlQuery update(m_connection->database());
        ok = update.prepare(
            QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                .arg(QLatin1String(kTableName), assignments.join(QStringLiteral(", ")), kKey));
        for (std::size_t row = 0; ok && row < billing::kPriceRowCount; ++row) {
            if (edited[row]) {
                update.addBindValue(values[row]);
            }
        }
        update.addBindValue(m_records[m_current].key);
        ok = ok && update.exec();
        if (!ok) {
            reason = PriceListFile::reason(update.lastError());
        } else if (update.numRowsAffected() != 1) {
            ok = false;
            reason = QStringLiteral("ZAPIS VISE NE POSTOJI U DATOTECI");
        }
    }
    if (ok && !m_connection->exec(QStringLiteral("COMMIT"))) {
        ok = false;
        reason = PriceListFile::reason(m_connection->lastError());
    }
    if (!ok && !m_connection->exec(QStringLiteral("ROLLBACK"))) {
        // Closing a connection discards a transaction left open, so the
        // next save does not find one still running. Should the new
        // connection fail to open, the next save fails and says why.
        const bool connected = connect();
        Q_UNUSED(connected)
    }
    return ok;
}

void PriceListStore::move(Move step)
{
    if (m_records.empty()) {
        return;
    }
    const int last = recordCount() - 1;
    switch (step) {
    case Move::First:
        m_current = 0;
        break;
    case Move::Previous:
        m_current = std::max(m_current - 1, 0);
        break;
    case Move::Next:
        m_current = std::min(m_current + 1, last);
        break;
    case Move::Last:
        m_current = last;
        break;
    }
    showCurrent();
}

void PriceListStore::close()
{
    m_connection.reset();
    m_records.clear();
    m_current = -1;
    m_hasColumn.fill(false);
    m_shown.fill(QString());
}

PriceListStore::FirstRecord
PriceListStore::readFirstRecord(const QString& path, char decimalSeparator, MissingFile missing)
{
    PriceListStore store(decimalSeparator);
    store.open(path, missing);
    return {store.currentTexts(), store.problem()};
}

} // namespace kaldora::price_list
