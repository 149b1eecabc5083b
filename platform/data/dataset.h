#pragma once

// The in-memory dataset behind every page and window.
//
// Rows are kept column by column in typed vectors (strings as UTF-8 in one
// arena per column), never as one QVariant per cell: a stock search can bring
// 100,000 rows of 34 columns and must stay small and quick to fill.

#include <QAbstractTableModel>
#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class FieldType : std::uint8_t {
    String,   // size = maximum characters (0 = unlimited)
    Integer,  // 32-bit signed
    LargeInt, // 64-bit signed
    Float,    // the plain floating-point type: the only one FormatFloatFields touches
    Currency, // stored as double, never gets the money format automatically
    Boolean,
    DateTime, // day number (days since 1899-12-30, fraction = time of day)
    Memo,     // long text
    Blob,     // bytes
};

const char *fieldTypeName(FieldType type);

struct FieldDef
{
    QString name;
    FieldType type = FieldType::String;
    int size = 0;
    bool operator==(const FieldDef &) const = default;
};

// One typed column. Exactly one of the vectors is used, chosen by the type.
class Column
{
public:
    explicit Column(FieldType type = FieldType::String);

    FieldType type() const { return m_type; }
    std::size_t size() const { return m_nulls.size(); }
    void reserve(std::size_t n);
    void clear();

    void appendNull();
    void appendInt(std::int32_t v);
    void appendInt64(std::int64_t v);
    void appendDouble(double v);
    void appendBool(bool v);
    void appendString(std::string_view utf8); // also Memo and Blob bytes
    // Appends a value converted to the column's type (used by slow paths).
    void appendVariant(const QVariant &v);
    // Appends rows [from, to) of a column of the same type.
    void appendRange(const Column &src, std::size_t from, std::size_t to);
    // Room for this many string bytes, so that a decoder fills the arena once.
    void reserveBytes(std::size_t bytes);

    bool isNull(std::size_t row) const { return m_nulls[row] != 0; }
    std::int32_t intAt(std::size_t row) const;
    std::int64_t int64At(std::size_t row) const;
    double doubleAt(std::size_t row) const;
    bool boolAt(std::size_t row) const;
    std::string_view stringAt(std::size_t row) const; // Memo and Blob too
    QVariant variantAt(std::size_t row) const;        // invalid QVariant for null

    void setNull(std::size_t row);
    void setVariant(std::size_t row, const QVariant &v);

    std::size_t memoryBytes() const;

private:
    FieldType m_type;
    std::vector<std::uint8_t> m_nulls;
    std::vector<std::int32_t> m_i32;
    std::vector<std::int64_t> m_i64; // LargeInt
    std::vector<double> m_f64;       // Float, Currency, DateTime
    std::vector<std::uint8_t> m_b;   // Boolean
    std::string m_arena;             // String, Memo, Blob
    std::vector<std::uint32_t> m_off;
    std::vector<std::uint32_t> m_len;
};

// A whole table: structure and rows. This is what a data packet or a table
// reader carries, and what a Dataset holds.
class TableData
{
public:
    int fieldCount() const { return int(m_fields.size()); }
    const FieldDef &fieldDef(int col) const { return m_fields[std::size_t(col)]; }
    const std::vector<FieldDef> &fieldDefs() const { return m_fields; }
    int indexOf(QStringView name) const; // -1 when absent; exact, case-sensitive
    void addField(const FieldDef &def);  // only while the table has no rows
    void reset();                        // drops structure and rows
    void clearRows();

    std::size_t rowCount() const { return m_rows; }
    void reserve(std::size_t rows);
    Column &column(int col) { return m_cols[std::size_t(col)]; }
    const Column &column(int col) const { return m_cols[std::size_t(col)]; }

    // After filling columns one by one: checks that every column has the same
    // length and makes that the row count. Throws qv::Error otherwise.
    void finishColumns();
    // Row-wise filling: append one value to each column, then commit the row.
    void appendRow(const std::vector<QVariant> &values);

    QVariant value(std::size_t row, int col) const { return column(col).variantAt(row); }
    std::size_t memoryBytes() const;

private:
    std::vector<FieldDef> m_fields;
    std::vector<Column> m_cols;
    std::size_t m_rows = 0;
};

// Forward-only cursor over a table result, typed named columns.
class TableReader
{
public:
    explicit TableReader(std::shared_ptr<const TableData> table);

    int columnCount() const;
    QString columnName(int col) const;
    FieldType columnType(int col) const;
    int columnSize(int col) const;

    bool next(); // true while positioned on a row
    bool isNull(int col) const;
    std::int32_t intValue(int col) const;
    std::int64_t int64Value(int col) const;
    double doubleValue(int col) const;
    bool boolValue(int col) const;
    QString stringValue(int col) const;
    QVariant value(int col) const;

    const TableData &table() const { return *m_table; }
    std::size_t position() const { return m_row; }

private:
    std::shared_ptr<const TableData> m_table;
    std::size_t m_row = std::size_t(-1);
};

// Observers are told about changes only while the controls are enabled.
class DatasetObserver
{
public:
    virtual ~DatasetObserver() = default;
    virtual void datasetReset() = 0;               // structure or all rows changed
    virtual void datasetRowChanged(std::size_t row) = 0;
    virtual void datasetCurrentChanged(std::size_t row) = 0;
    virtual void datasetDestroyed() {} // the dataset is gone: forget it
};

class Dataset
{
public:
    Dataset() = default;
    ~Dataset();
    Dataset(const Dataset &) = delete;
    Dataset &operator=(const Dataset &) = delete;

    // Structure. Fields declared in advance stay the layout that loads must fit.
    void addFieldDef(const FieldDef &def);
    const TableData &data() const { return m_data; }
    int fieldCount() const { return m_data.fieldCount(); }
    int fieldIndex(QStringView name) const { return m_data.indexOf(name); }
    // The field or a qv::Error "Field 'X' not found".
    int fieldIndexOrThrow(QStringView name) const;

    // Assigning a data packet: replaces structure and rows.
    void setData(TableData data);
    void close();          // drops the rows, keeps the field definitions
    void clearRows() { close(); }
    bool isEmpty() const { return m_data.rowCount() == 0; }
    std::size_t recordCount() const { return m_data.rowCount(); }

    // Current record; -1 (npos) when the dataset is empty.
    static constexpr std::size_t npos = std::size_t(-1);
    std::size_t recNo() const { return m_current; }
    void setRecNo(std::size_t row);
    bool first();
    bool next();
    bool eof() const;
    bool locate(QStringView fieldName, const QVariant &value); // moves on success

    // Values of a row; the current record when row is omitted.
    QVariant value(int col) const;
    QVariant value(std::size_t row, int col) const;
    QVariant fieldValue(QStringView name) const;
    QString asString(QStringView name) const;
    std::int32_t asInteger(QStringView name) const;
    double asFloat(QStringView name) const;
    bool asBoolean(QStringView name) const;

    // Edit and post of fields of the current record.
    void edit();
    void setFieldValue(QStringView name, const QVariant &value);
    void setFieldValue(int col, const QVariant &value);
    void post();
    void cancel();
    bool isEditing() const { return m_editing; }
    void append(const std::vector<QVariant> &values); // a new last row, made current

    // Display format per field ("#,###,##0.00" and friends); empty = none.
    void setDisplayFormat(int col, const QString &format);
    QString displayFormat(int col) const;
    QString displayText(std::size_t row, int col, const QLocale &locale = QLocale()) const;

    // While disabled, observers hear nothing; enabling tells them to reset.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }
    void addObserver(DatasetObserver *o);
    void removeObserver(DatasetObserver *o);

    TableData &mutableData() { return m_data; }

private:
    friend void CopyReaderToDataset(TableReader &reader, Dataset &dataset);

    void notifyReset();
    void notifyRow(std::size_t row);
    void notifyCurrent();
    void checkRow(std::size_t row, int col) const;
    void rowsReplaced(); // after a load: current record and formats follow the new rows

    TableData m_data;
    std::vector<QString> m_formats;
    std::size_t m_current = npos;
    bool m_eof = true;
    bool m_editing = false;
    std::vector<std::pair<int, QVariant>> m_pending;
    int m_disableCount = 0;
    std::vector<DatasetObserver *> m_observers;
};

// Copies a reader's rows into a dataset, keeping the dataset's layout of
// earlier loads: a column may only be added after the existing ones, and a
// name that differs at a position fails with
// "Additional columns must be added after the prescribed columns.".
void CopyReaderToDataset(TableReader &reader, Dataset &dataset);

// Gives every plain floating-point field the money format "#,###,##0.00".
void FormatFloatFields(Dataset &dataset);

// The money rounding of the dialogs and all totals.
double RoundTo2Decimals(double value);

// Formats a number by a picture such as "#,###,##0.00" with the locale's
// group and decimal separators (Turkish: 1.234,56).
QString FormatFloat(const QString &pattern, double value, const QLocale &locale = QLocale());

// Day numbers (days since 1899-12-30) to and from Qt date-times.
double toDayNumber(const QDateTime &dt);
QDateTime fromDayNumber(double days);

// A dataset shown by Qt views. Attached to at most one dataset; detached
// (nullptr) while a background load fills it. Lives on the UI thread.
class DatasetModel : public QAbstractTableModel, private DatasetObserver
{
    Q_OBJECT
public:
    explicit DatasetModel(QObject *parent = nullptr);
    ~DatasetModel() override;

    void setDataset(Dataset *dataset); // nullptr detaches
    Dataset *dataset() const { return m_dataset; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;

    static constexpr int RawValueRole = Qt::UserRole + 1; // typed value, for sorting and filters

private:
    void datasetReset() override;
    void datasetRowChanged(std::size_t row) override;
    void datasetCurrentChanged(std::size_t row) override;
    void datasetDestroyed() override;

    Dataset *m_dataset = nullptr;
};

} // namespace qv
