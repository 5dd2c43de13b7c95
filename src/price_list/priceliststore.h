#pragma once

#include "billing/numbertext.h"
#include "price_list/pricetable.h"

#include <QString>
#include <QVariant>

#include <array>
#include <memory>
#include <vector>

namespace kaldora::price_list {

class SqlConnection;

// The price-list store: the table cenovnik of one SQLite file, read whole
// in the order of its integer key, with one record current. It offers the
// six operations the price-list window needs: open, show, take an edit,
// save, move and close. The records are held in memory after opening, so
// the file is locked only while a save writes it.
//
// The store never overwrites, repairs or deletes an existing file. What it
// cannot read stays empty, and problem() tells the user what and why.
class PriceListStore {
public:
    enum class MissingFile {
        Create, // a missing file is made with the default price list
        Report, // a missing file is a problem; nothing is created
    };
    enum class Move { First, Previous, Next, Last };

    // The outcome of a save: `complete` when every edit was written (or
    // there was none), otherwise `message` says what was refused or failed.
    struct SaveOutcome {
        bool complete = true;
        QString message;
    };

    // The first record's texts, as the price-list window shows them, and
    // the problem met on the way (empty when there was none).
    struct FirstRecord {
        PriceTexts texts;
        QString problem;
    };

    explicit PriceListStore(char decimalSeparator);
    ~PriceListStore();
    PriceListStore(const PriceListStore&) = delete;
    PriceListStore& operator=(const PriceListStore&) = delete;

    // Opens the file and makes the first record current. Returns false when
    // no record is current; a missing column leaves a record current but
    // sets problem() as well. The message names the file and the cause.
    bool open(const QString& path, MissingFile missing = MissingFile::Create);
    const QString& problem() const { return m_problem; }

    int recordCount() const { return static_cast<int>(m_records.size()); }

    // The current record as the six fields show it: general number text in
    // the locale, empty for NULL, for a missing column and without record.
    const PriceTexts& currentTexts() const { return m_shown; }

    // Takes the edits and saves them in one transaction: a field whose text
    // differs from what was shown is an edit. An empty field stores NULL; a
    // text that is not a number in the locale, or whose column is missing,
    // is refused and its column keeps its old value. The other edits are
    // written all together or, when the write fails, not at all.
    SaveOutcome save(const PriceTexts& fieldTexts);

    // Moves the current record, staying on the first or last one at the
    // ends, and shows it afresh.
    void move(Move step);

    // Closes the file; the store can be opened again.
    void close();

    // Opens `path`, reads the first record's texts and closes it again.
    static FirstRecord readFirstRecord(const QString& path, char decimalSeparator,
                                       MissingFile missing);

private:
    struct Record {
        qlonglong key = 0;
        std::array<QVariant, billing::kPriceRowCount> values;
    };

    bool openFile(MissingFile missing, QString& reason);
    bool connect();
    bool readTable(QString& reason);
    void showCurrent();
    QString textOf(const QVariant& value) const;
    bool write(const std::array<bool, billing::kPriceRowCount>& edited,
               const std::array<QVariant, billing::kPriceRowCount>& values, QString& reason);

    billing::NumberText m_numbers;
    std::unique_ptr<SqlConnection> m_connection;
    QString m_path;
    QString m_problem;
    std::vector<Record> m_records;
    int m_current = -1;
    std::array<bool, billing::kPriceRowCount> m_hasColumn{};
    PriceTexts m_shown;
};

} // namespace kaldora::price_list
