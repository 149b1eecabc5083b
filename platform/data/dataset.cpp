#include "dataset.h"

#include "errors.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {

const char *fieldTypeName(FieldType type)
{
    switch (type) {
    case FieldType::String:
        return "String";
    case FieldType::Integer:
        return "Integer";
    case FieldType::LargeInt:
        return "LargeInt";
    case FieldType::Float:
        return "Float";
    case FieldType::Currency:
        return "Currency";
    case FieldType::Boolean:
        return "Boolean";
    case FieldType::DateTime:
        return "DateTime";
    case FieldType::Memo:
        return "Memo";
    case FieldType::Blob:
        return "Blob";
    }
    return "Unknown";
}

namespace {

bool isText(FieldType t)
{
    return t == FieldType::String || t == FieldType::Memo || t == FieldType::Blob;
}

bool isDouble(FieldType t)
{
    return t == FieldType::Float || t == FieldType::Currency || t == FieldType::DateTime;
}

[[noreturn]] void cannotConvert(const QVariant &v, FieldType target)
{
    QString shown = v.toString();
    if (shown.size() > 40)
        shown = shown.left(40) + QStringLiteral("...");
    throw Error(QStringLiteral("Cannot convert '%1' to %2")
                    .arg(shown, QLatin1String(fieldTypeName(target))));
}

std::int64_t doubleToInt64(double d, const QVariant &v, FieldType target)
{
    // Whole numbers that arrive as doubles (2.0) are common; fractions round.
    const double r = std::round(d);
    if (!std::isfinite(r) || r < -9.2233720368547758e18 || r >= 9.2233720368547758e18)
        cannotConvert(v, target);
    return std::int64_t(r);
}

std::int64_t variantToInt64(const QVariant &v, FieldType target)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::SChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return v.toLongLong();
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong u = v.toULongLong();
        if (u > qulonglong(std::numeric_limits<std::int64_t>::max()))
            cannotConvert(v, target);
        return std::int64_t(u);
    }
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::Double:
    case QMetaType::Float:
        return doubleToInt64(v.toDouble(), v, target);
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = v.toString().trimmed();
        bool ok = false;
        const qlonglong n = s.toLongLong(&ok);
        if (ok)
            return n;
        const double d = s.toDouble(&ok);
        if (ok)
            return doubleToInt64(d, v, target);
        break;
    }
    default:
        break;
    }
    cannotConvert(v, target);
}

double variantToDouble(const QVariant &v, FieldType target)
{
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return toDayNumber(v.toDateTime());
    case QMetaType::QDate:
        return toDayNumber(v.toDate().startOfDay());
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (ok)
            return d;
        break;
    }
    default: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok)
            return d;
        break;
    }
    }
    cannotConvert(v, target);
}

bool variantToBool(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = v.toString().trimmed();
        if (s.compare(u"true", Qt::CaseInsensitive) == 0 || s == u"1")
            return true;
        if (s.compare(u"false", Qt::CaseInsensitive) == 0 || s == u"0")
            return false;
        break;
    }
    default: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (ok)
            return d != 0;
        break;
    }
    }
    cannotConvert(v, FieldType::Boolean);
}

std::int32_t checkedInt32(std::int64_t n, const QVariant &v)
{
    if (n < std::numeric_limits<std::int32_t>::min()
        || n > std::numeric_limits<std::int32_t>::max())
        cannotConvert(v, FieldType::Integer);
    return std::int32_t(n);
}

QByteArray variantBytes(const QVariant &v, FieldType target)
{
    switch (v.typeId()) {
    case QMetaType::QByteArray:
        return v.toByteArray();
    case QMetaType::QString:
        return v.toString().toUtf8();
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest).toUtf8();
    default:
        if (v.canConvert<QString>())
            return v.toString().toUtf8();
        break;
    }
    cannotConvert(v, target);
}

template<typename T>
std::size_t vectorBytes(const std::vector<T> &v)
{
    return v.capacity() * sizeof(T);
}

} // namespace

// --- Column ----------------------------------------------------------------

Column::Column(FieldType type)
    : m_type(type)
{}

void Column::reserve(std::size_t n)
{
    m_nulls.reserve(n);
    switch (m_type) {
    case FieldType::Integer:
        m_i32.reserve(n);
        break;
    case FieldType::LargeInt:
        m_i64.reserve(n);
        break;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        m_f64.reserve(n);
        break;
    case FieldType::Boolean:
        m_b.reserve(n);
        break;
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        m_off.reserve(n);
        m_len.reserve(n);
        break;
    }
}

void Column::reserveBytes(std::size_t bytes)
{
    if (isText(m_type))
        m_arena.reserve(m_arena.size() + bytes);
}

void Column::clear()
{
    // Give the memory back: a page's last big result should not stay resident.
    *this = Column(m_type);
}

void Column::appendNull()
{
    m_nulls.push_back(1);
    switch (m_type) {
    case FieldType::Integer:
        m_i32.push_back(0);
        break;
    case FieldType::LargeInt:
        m_i64.push_back(0);
        break;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        m_f64.push_back(0);
        break;
    case FieldType::Boolean:
        m_b.push_back(0);
        break;
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        m_off.push_back(std::uint32_t(m_arena.size()));
        m_len.push_back(0);
        break;
    }
}

void Column::appendInt(std::int32_t v)
{
    if (m_type == FieldType::Integer) {
        m_nulls.push_back(0);
        m_i32.push_back(v);
    } else {
        appendInt64(v);
    }
}

void Column::appendInt64(std::int64_t v)
{
    switch (m_type) {
    case FieldType::LargeInt:
        m_nulls.push_back(0);
        m_i64.push_back(v);
        return;
    case FieldType::Integer:
        m_i32.push_back(checkedInt32(v, QVariant::fromValue(qlonglong(v))));
        m_nulls.push_back(0);
        return;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        appendDouble(double(v));
        return;
    case FieldType::Boolean:
        appendBool(v != 0);
        return;
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob:
        appendString(std::to_string(v));
        return;
    }
}

void Column::appendDouble(double v)
{
    if (isDouble(m_type)) {
        m_nulls.push_back(0);
        m_f64.push_back(v);
    } else {
        appendVariant(v);
    }
}

void Column::appendBool(bool v)
{
    if (m_type == FieldType::Boolean) {
        m_nulls.push_back(0);
        m_b.push_back(v ? 1 : 0);
    } else {
        appendVariant(v);
    }
}

void Column::appendString(std::string_view utf8)
{
    if (!isText(m_type)) {
        appendVariant(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
        return;
    }
    if (m_arena.size() + utf8.size() > std::numeric_limits<std::uint32_t>::max())
        throw Error("A text column holds more than 4 GB");
    m_off.push_back(std::uint32_t(m_arena.size()));
    m_len.push_back(std::uint32_t(utf8.size()));
    m_arena.append(utf8);
    m_nulls.push_back(0);
}

void Column::appendVariant(const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        appendNull();
        return;
    }
    switch (m_type) {
    case FieldType::Integer:
        appendInt(checkedInt32(variantToInt64(v, m_type), v));
        return;
    case FieldType::LargeInt:
        appendInt64(variantToInt64(v, m_type));
        return;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        appendDouble(variantToDouble(v, m_type));
        return;
    case FieldType::Boolean:
        appendBool(variantToBool(v));
        return;
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        const QByteArray bytes = variantBytes(v, m_type);
        appendString(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        return;
    }
    }
}

void Column::appendRange(const Column &src, std::size_t from, std::size_t to)
{
    if (src.m_type != m_type)
        throw Error("Columns of different types cannot be copied by range");
    to = std::min(to, src.size());
    if (from >= to)
        return;
    m_nulls.insert(m_nulls.end(),
                   src.m_nulls.begin() + std::ptrdiff_t(from),
                   src.m_nulls.begin() + std::ptrdiff_t(to));
    auto copy = [from, to](auto &dst, const auto &s) {
        dst.insert(dst.end(), s.begin() + std::ptrdiff_t(from), s.begin() + std::ptrdiff_t(to));
    };
    switch (m_type) {
    case FieldType::Integer:
        copy(m_i32, src.m_i32);
        break;
    case FieldType::LargeInt:
        copy(m_i64, src.m_i64);
        break;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        copy(m_f64, src.m_f64);
        break;
    case FieldType::Boolean:
        copy(m_b, src.m_b);
        break;
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        // Cells of a range lie in order in the source arena, edits aside: copy
        // the span once and shift the offsets.
        const std::size_t first = src.m_off[from];
        std::size_t last = first;
        bool contiguous = true;
        for (std::size_t r = from; r < to; ++r) {
            if (src.m_off[r] != last) {
                contiguous = false;
                break;
            }
            last += src.m_len[r];
        }
        if (!contiguous) {
            for (std::size_t r = from; r < to; ++r) {
                m_off.push_back(std::uint32_t(m_arena.size()));
                m_len.push_back(src.m_len[r]);
                m_arena.append(src.stringAt(r));
            }
            break;
        }
        if (m_arena.size() + (last - first) > std::numeric_limits<std::uint32_t>::max())
            throw Error("A text column holds more than 4 GB");
        const auto shift = std::int64_t(m_arena.size()) - std::int64_t(first);
        m_arena.append(src.m_arena, first, last - first);
        for (std::size_t r = from; r < to; ++r) {
            m_off.push_back(std::uint32_t(std::int64_t(src.m_off[r]) + shift));
            m_len.push_back(src.m_len[r]);
        }
        break;
    }
    }
}

std::int32_t Column::intAt(std::size_t row) const
{
    if (m_type == FieldType::Integer)
        return m_i32[row];
    if (isNull(row))
        return 0;
    const std::int64_t n = int64At(row);
    return checkedInt32(n, QVariant::fromValue(qlonglong(n)));
}

std::int64_t Column::int64At(std::size_t row) const
{
    switch (m_type) {
    case FieldType::Integer:
        return m_i32[row];
    case FieldType::LargeInt:
        return m_i64[row];
    case FieldType::Boolean:
        return m_b[row];
    default:
        if (isNull(row))
            return 0;
        return variantToInt64(variantAt(row), FieldType::LargeInt);
    }
}

double Column::doubleAt(std::size_t row) const
{
    switch (m_type) {
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        return m_f64[row];
    case FieldType::Integer:
        return m_i32[row];
    case FieldType::LargeInt:
        return double(m_i64[row]);
    case FieldType::Boolean:
        return m_b[row];
    default:
        if (isNull(row))
            return 0;
        return variantToDouble(variantAt(row), FieldType::Float);
    }
}

bool Column::boolAt(std::size_t row) const
{
    switch (m_type) {
    case FieldType::Boolean:
        return m_b[row] != 0;
    case FieldType::Integer:
        return m_i32[row] != 0;
    case FieldType::LargeInt:
        return m_i64[row] != 0;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        return m_f64[row] != 0;
    default:
        if (isNull(row))
            return false;
        return variantToBool(variantAt(row));
    }
}

std::string_view Column::stringAt(std::size_t row) const
{
    if (!isText(m_type))
        return {};
    return std::string_view(m_arena.data() + m_off[row], m_len[row]);
}

QVariant Column::variantAt(std::size_t row) const
{
    if (isNull(row))
        return {};
    switch (m_type) {
    case FieldType::Integer:
        return m_i32[row];
    case FieldType::LargeInt:
        return qlonglong(m_i64[row]);
    case FieldType::Float:
    case FieldType::Currency:
        return m_f64[row];
    case FieldType::DateTime:
        return fromDayNumber(m_f64[row]);
    case FieldType::Boolean:
        return m_b[row] != 0;
    case FieldType::String:
    case FieldType::Memo: {
        const std::string_view s = stringAt(row);
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    case FieldType::Blob: {
        const std::string_view s = stringAt(row);
        return QByteArray(s.data(), qsizetype(s.size()));
    }
    }
    return {};
}

void Column::setNull(std::size_t row)
{
    m_nulls[row] = 1;
    if (isText(m_type))
        m_len[row] = 0;
}

void Column::setVariant(std::size_t row, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        setNull(row);
        return;
    }
    switch (m_type) {
    case FieldType::Integer:
        m_i32[row] = checkedInt32(variantToInt64(v, m_type), v);
        break;
    case FieldType::LargeInt:
        m_i64[row] = variantToInt64(v, m_type);
        break;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        m_f64[row] = variantToDouble(v, m_type);
        break;
    case FieldType::Boolean:
        m_b[row] = variantToBool(v) ? 1 : 0;
        break;
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        const QByteArray bytes = variantBytes(v, m_type);
        const auto len = std::size_t(bytes.size());
        if (len <= m_len[row]) {
            std::copy(bytes.begin(), bytes.end(), m_arena.begin() + std::ptrdiff_t(m_off[row]));
        } else {
            // Longer texts go to the end; edits are rare, the gap is left.
            if (m_arena.size() + len > std::numeric_limits<std::uint32_t>::max())
                throw Error("A text column holds more than 4 GB");
            m_off[row] = std::uint32_t(m_arena.size());
            m_arena.append(bytes.constData(), len);
        }
        m_len[row] = std::uint32_t(len);
        break;
    }
    }
    m_nulls[row] = 0;
}

std::size_t Column::memoryBytes() const
{
    return sizeof(Column) + vectorBytes(m_nulls) + vectorBytes(m_i32) + vectorBytes(m_i64)
           + vectorBytes(m_f64) + vectorBytes(m_b) + m_arena.capacity() + vectorBytes(m_off)
           + vectorBytes(m_len);
}

// --- TableData -------------------------------------------------------------

int TableData::indexOf(QStringView name) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].name == name)
            return int(i);
    }
    return -1;
}

void TableData::addField(const FieldDef &def)
{
    if (m_rows > 0)
        throw Error("Fields cannot be added to a table that has rows");
    if (def.name.isEmpty())
        throw Error("A field needs a name");
    if (indexOf(def.name) >= 0)
        throw Error(QStringLiteral("Duplicate field name '%1'").arg(def.name));
    m_fields.push_back(def);
    m_cols.emplace_back(def.type);
}

void TableData::reset()
{
    m_fields.clear();
    m_cols.clear();
    m_rows = 0;
}

void TableData::clearRows()
{
    for (Column &c : m_cols)
        c.clear();
    m_rows = 0;
}

void TableData::reserve(std::size_t rows)
{
    for (Column &c : m_cols)
        c.reserve(rows);
}

void TableData::finishColumns()
{
    const std::size_t n = m_cols.empty() ? 0 : m_cols.front().size();
    for (std::size_t i = 0; i < m_cols.size(); ++i) {
        if (m_cols[i].size() != n)
            throw Error(QStringLiteral("Column '%1' has %2 values, expected %3")
                            .arg(m_fields[i].name)
                            .arg(m_cols[i].size())
                            .arg(n));
    }
    m_rows = n;
}

void TableData::appendRow(const std::vector<QVariant> &values)
{
    if (values.size() > m_cols.size())
        throw Error(QStringLiteral("A row of %1 values for %2 fields")
                        .arg(values.size())
                        .arg(m_cols.size()));
    std::size_t i = 0;
    try {
        for (; i < m_cols.size(); ++i) {
            if (i < values.size())
                m_cols[i].appendVariant(values[i]);
            else
                m_cols[i].appendNull();
        }
    } catch (const Error &e) {
        // Keep the columns even: take back what this row already added.
        for (std::size_t j = 0; j < i; ++j) {
            Column shorter(m_cols[j].type());
            shorter.appendRange(m_cols[j], 0, m_rows);
            m_cols[j] = std::move(shorter);
        }
        throw Error(QStringLiteral("%1 (field '%2')").arg(e.message(), m_fields[i].name));
    }
    ++m_rows;
}

std::size_t TableData::memoryBytes() const
{
    std::size_t n = sizeof(TableData) + m_fields.capacity() * sizeof(FieldDef);
    for (const FieldDef &f : m_fields)
        n += std::size_t(f.name.capacity()) * sizeof(QChar);
    for (const Column &c : m_cols)
        n += c.memoryBytes();
    return n;
}

// --- TableReader -----------------------------------------------------------

TableReader::TableReader(std::shared_ptr<const TableData> table)
    : m_table(table ? std::move(table) : std::make_shared<const TableData>())
{}

int TableReader::columnCount() const
{
    return m_table->fieldCount();
}

QString TableReader::columnName(int col) const
{
    return m_table->fieldDef(col).name;
}

FieldType TableReader::columnType(int col) const
{
    return m_table->fieldDef(col).type;
}

int TableReader::columnSize(int col) const
{
    return m_table->fieldDef(col).size;
}

bool TableReader::next()
{
    if (m_row == std::size_t(-1) || m_row < m_table->rowCount())
        ++m_row;
    return m_row < m_table->rowCount();
}

bool TableReader::isNull(int col) const
{
    return m_table->column(col).isNull(m_row);
}

std::int32_t TableReader::intValue(int col) const
{
    return m_table->column(col).intAt(m_row);
}

std::int64_t TableReader::int64Value(int col) const
{
    return m_table->column(col).int64At(m_row);
}

double TableReader::doubleValue(int col) const
{
    return m_table->column(col).doubleAt(m_row);
}

bool TableReader::boolValue(int col) const
{
    return m_table->column(col).boolAt(m_row);
}

QString TableReader::stringValue(int col) const
{
    const Column &c = m_table->column(col);
    if (c.isNull(m_row))
        return {};
    if (isText(c.type())) {
        const std::string_view s = c.stringAt(m_row);
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    return c.variantAt(m_row).toString();
}

QVariant TableReader::value(int col) const
{
    return m_table->column(col).variantAt(m_row);
}

// --- Dataset ---------------------------------------------------------------

Dataset::~Dataset()
{
    const std::vector<DatasetObserver *> observers = m_observers;
    m_observers.clear();
    for (DatasetObserver *o : observers)
        o->datasetDestroyed();
}

void Dataset::addFieldDef(const FieldDef &def)
{
    m_data.addField(def);
    m_formats.resize(std::size_t(m_data.fieldCount()));
    notifyReset();
}

int Dataset::fieldIndexOrThrow(QStringView name) const
{
    const int i = m_data.indexOf(name);
    if (i < 0)
        throw Error(QStringLiteral("Field '%1' not found").arg(name));
    return i;
}

void Dataset::rowsReplaced()
{
    m_editing = false;
    m_pending.clear();
    m_formats.resize(std::size_t(m_data.fieldCount()));
    m_current = m_data.rowCount() > 0 ? 0 : npos;
    m_eof = m_data.rowCount() == 0;
    notifyReset();
}

void Dataset::setData(TableData data)
{
    m_data = std::move(data);
    // A new packet brings its own fields; formats of the old ones do not apply.
    m_formats.assign(std::size_t(m_data.fieldCount()), QString());
    rowsReplaced();
}

void Dataset::close()
{
    m_data.clearRows();
    rowsReplaced();
}

void Dataset::setRecNo(std::size_t row)
{
    if (row >= m_data.rowCount())
        throw Error(QStringLiteral("Record %1 out of range").arg(row));
    if (m_editing)
        post();
    m_current = row;
    m_eof = false;
    notifyCurrent();
}

bool Dataset::first()
{
    if (m_editing)
        post();
    if (m_data.rowCount() == 0) {
        m_eof = true;
        return false;
    }
    m_current = 0;
    m_eof = false;
    notifyCurrent();
    return true;
}

bool Dataset::next()
{
    if (m_editing)
        post();
    if (m_current == npos || m_current + 1 >= m_data.rowCount()) {
        m_eof = true;
        return false;
    }
    ++m_current;
    m_eof = false;
    notifyCurrent();
    return true;
}

bool Dataset::eof() const
{
    return m_eof || m_data.rowCount() == 0;
}

bool Dataset::locate(QStringView fieldName, const QVariant &value)
{
    const int col = fieldIndexOrThrow(fieldName);
    if (m_editing)
        post();
    const Column &c = m_data.column(col);
    const std::size_t rows = m_data.rowCount();
    auto found = [this](std::size_t row) {
        m_current = row;
        m_eof = false;
        notifyCurrent();
        return true;
    };
    if (!value.isValid() || value.isNull()) {
        for (std::size_t r = 0; r < rows; ++r) {
            if (c.isNull(r))
                return found(r);
        }
        return false;
    }
    // Convert the key once to the column's type and compare typed cells.
    Column key(c.type());
    try {
        key.appendVariant(value);
    } catch (const Error &) {
        return false; // a key the field cannot hold matches nothing
    }
    switch (c.type()) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Blob: {
        const std::string_view k = key.stringAt(0);
        for (std::size_t r = 0; r < rows; ++r) {
            if (!c.isNull(r) && c.stringAt(r) == k)
                return found(r);
        }
        return false;
    }
    case FieldType::Integer:
    case FieldType::LargeInt:
    case FieldType::Boolean: {
        const std::int64_t k = key.int64At(0);
        for (std::size_t r = 0; r < rows; ++r) {
            if (!c.isNull(r) && c.int64At(r) == k)
                return found(r);
        }
        return false;
    }
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime: {
        const double k = key.doubleAt(0);
        for (std::size_t r = 0; r < rows; ++r) {
            if (!c.isNull(r) && c.doubleAt(r) == k)
                return found(r);
        }
        return false;
    }
    }
    return false;
}

void Dataset::checkRow(std::size_t row, int col) const
{
    if (row >= m_data.rowCount())
        throw Error(QStringLiteral("Record %1 out of range").arg(row));
    if (col < 0 || col >= m_data.fieldCount())
        throw Error(QStringLiteral("Field index %1 out of range").arg(col));
}

QVariant Dataset::value(int col) const
{
    if (col < 0 || col >= m_data.fieldCount())
        throw Error(QStringLiteral("Field index %1 out of range").arg(col));
    if (m_editing) {
        for (const auto &p : m_pending) {
            if (p.first == col)
                return p.second;
        }
    }
    if (m_current == npos)
        return {};
    return m_data.value(m_current, col);
}

QVariant Dataset::value(std::size_t row, int col) const
{
    checkRow(row, col);
    return m_data.value(row, col);
}

QVariant Dataset::fieldValue(QStringView name) const
{
    return value(fieldIndexOrThrow(name));
}

QString Dataset::asString(QStringView name) const
{
    const QVariant v = fieldValue(name);
    if (!v.isValid())
        return {};
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}

std::int32_t Dataset::asInteger(QStringView name) const
{
    const QVariant v = fieldValue(name);
    if (!v.isValid())
        return 0;
    return checkedInt32(variantToInt64(v, FieldType::Integer), v);
}

double Dataset::asFloat(QStringView name) const
{
    const QVariant v = fieldValue(name);
    if (!v.isValid())
        return 0;
    return variantToDouble(v, FieldType::Float);
}

bool Dataset::asBoolean(QStringView name) const
{
    const QVariant v = fieldValue(name);
    if (!v.isValid())
        return false;
    return variantToBool(v);
}

void Dataset::edit()
{
    if (m_current == npos)
        throw Error("Cannot perform this operation on an empty dataset");
    m_editing = true;
}

void Dataset::setFieldValue(QStringView name, const QVariant &value)
{
    setFieldValue(fieldIndexOrThrow(name), value);
}

void Dataset::setFieldValue(int col, const QVariant &value)
{
    if (!m_editing)
        throw Error("Dataset not in edit or insert mode");
    if (col < 0 || col >= m_data.fieldCount())
        throw Error(QStringLiteral("Field index %1 out of range").arg(col));
    // Check the conversion now, so that post cannot fail half-way.
    Column probe(m_data.fieldDef(col).type);
    try {
        probe.appendVariant(value);
    } catch (const Error &e) {
        throw Error(QStringLiteral("%1 (field '%2')").arg(e.message(), m_data.fieldDef(col).name));
    }
    const QVariant stored = probe.variantAt(0);
    for (auto &p : m_pending) {
        if (p.first == col) {
            p.second = stored;
            return;
        }
    }
    m_pending.emplace_back(col, stored);
}

void Dataset::post()
{
    if (!m_editing)
        return;
    for (const auto &[col, v] : m_pending)
        m_data.column(col).setVariant(m_current, v);
    m_pending.clear();
    m_editing = false;
    notifyRow(m_current);
}

void Dataset::cancel()
{
    m_pending.clear();
    m_editing = false;
}

void Dataset::append(const std::vector<QVariant> &values)
{
    if (m_editing)
        post();
    m_data.appendRow(values);
    m_current = m_data.rowCount() - 1;
    m_eof = false;
    notifyReset();
}

void Dataset::setDisplayFormat(int col, const QString &format)
{
    if (col < 0 || col >= m_data.fieldCount())
        throw Error(QStringLiteral("Field index %1 out of range").arg(col));
    m_formats.resize(std::size_t(m_data.fieldCount()));
    m_formats[std::size_t(col)] = format;
    notifyReset();
}

QString Dataset::displayFormat(int col) const
{
    if (col < 0 || std::size_t(col) >= m_formats.size())
        return {};
    return m_formats[std::size_t(col)];
}

QString Dataset::displayText(std::size_t row, int col, const QLocale &locale) const
{
    checkRow(row, col);
    const Column &c = m_data.column(col);
    if (c.isNull(row))
        return {};
    const QString format = displayFormat(col);
    switch (c.type()) {
    case FieldType::String:
    case FieldType::Memo: {
        const std::string_view s = c.stringAt(row);
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    }
    case FieldType::Blob:
        return QStringLiteral("(BLOB)");
    case FieldType::Boolean:
        return c.boolAt(row) ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Integer:
    case FieldType::LargeInt:
        if (!format.isEmpty())
            return FormatFloat(format, double(c.int64At(row)), locale);
        return QString::number(c.int64At(row));
    case FieldType::Float:
        return FormatFloat(format, c.doubleAt(row), locale); // empty: general format
    case FieldType::Currency:
        return FormatFloat(
            format.isEmpty() ? QStringLiteral("#,##0.00") : format, c.doubleAt(row), locale);
    case FieldType::DateTime: {
        const QDateTime dt = fromDayNumber(c.doubleAt(row));
        if (!format.isEmpty())
            return locale.toString(dt, format); // a Qt date-time format
        if (dt.time().msecsSinceStartOfDay() == 0)
            return locale.toString(dt.date(), QLocale::ShortFormat);
        return locale.toString(dt, QLocale::ShortFormat);
    }
    }
    return {};
}

void Dataset::disableControls()
{
    ++m_disableCount;
}

void Dataset::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0)
        notifyReset();
}

void Dataset::addObserver(DatasetObserver *o)
{
    if (o && std::find(m_observers.begin(), m_observers.end(), o) == m_observers.end())
        m_observers.push_back(o);
}

void Dataset::removeObserver(DatasetObserver *o)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), o), m_observers.end());
}

void Dataset::notifyReset()
{
    if (controlsDisabled())
        return;
    const std::vector<DatasetObserver *> observers = m_observers;
    for (DatasetObserver *o : observers)
        o->datasetReset();
}

void Dataset::notifyRow(std::size_t row)
{
    if (controlsDisabled())
        return;
    const std::vector<DatasetObserver *> observers = m_observers;
    for (DatasetObserver *o : observers)
        o->datasetRowChanged(row);
}

void Dataset::notifyCurrent()
{
    if (controlsDisabled())
        return;
    const std::vector<DatasetObserver *> observers = m_observers;
    for (DatasetObserver *o : observers)
        o->datasetCurrentChanged(m_current);
}

// --- Loading ---------------------------------------------------------------

void CopyReaderToDataset(TableReader &reader, Dataset &dataset)
{
    const TableData &src = reader.table();
    TableData &dst = dataset.m_data;

    // Check the whole layout before touching the dataset.
    const int existing = dst.fieldCount();
    for (int col = 0; col < reader.columnCount() && col < existing; ++col) {
        if (dst.fieldDef(col).name != reader.columnName(col))
            throw Error("Additional columns must be added after the prescribed columns.");
    }

    dataset.m_editing = false;
    dataset.m_pending.clear();
    dst.clearRows();
    for (int col = existing; col < reader.columnCount(); ++col)
        dst.addField(
            FieldDef{reader.columnName(col), reader.columnType(col), reader.columnSize(col)});

    // The reader is forward-only: copy what it has left.
    const std::size_t from = reader.position() == std::size_t(-1) ? 0 : reader.position() + 1;
    const std::size_t to = src.rowCount();
    const std::size_t rows = from < to ? to - from : 0;
    try {
        for (int col = 0; col < dst.fieldCount(); ++col) {
            Column &out = dst.column(col);
            out.reserve(rows);
            if (col >= reader.columnCount()) {
                for (std::size_t r = 0; r < rows; ++r)
                    out.appendNull();
                continue;
            }
            const Column &in = src.column(col);
            if (in.type() == out.type()) {
                out.appendRange(in, from, to);
                continue;
            }
            for (std::size_t r = from; r < to; ++r) {
                try {
                    out.appendVariant(in.variantAt(r));
                } catch (const Error &e) {
                    throw Error(
                        QStringLiteral("%1 (field '%2')").arg(e.message(), dst.fieldDef(col).name));
                }
            }
        }
        dst.finishColumns();
    } catch (...) {
        dst.clearRows();
        dataset.rowsReplaced();
        throw;
    }
    while (reader.next()) {
    }
    dataset.rowsReplaced();
}

void FormatFloatFields(Dataset &dataset)
{
    for (int col = 0; col < dataset.fieldCount(); ++col) {
        if (dataset.data().fieldDef(col).type == FieldType::Float)
            dataset.setDisplayFormat(col, QStringLiteral("#,###,##0.00"));
    }
}

} // namespace qv
