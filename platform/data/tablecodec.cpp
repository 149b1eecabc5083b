#include "tablecodec.h"

#include "errors.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace qv {

int fieldTypeCode(FieldType type)
{
    switch (type) {
    case FieldType::String:
        return 1;
    case FieldType::Integer:
        return 2;
    case FieldType::LargeInt:
        return 3;
    case FieldType::Float:
        return 4;
    case FieldType::Currency:
        return 5;
    case FieldType::Boolean:
        return 6;
    case FieldType::DateTime:
        return 7;
    case FieldType::Memo:
        return 8;
    case FieldType::Blob:
        return 9;
    }
    return -1;
}

FieldType fieldTypeFromCode(std::int64_t code)
{
    switch (code) {
    case 1:
        return FieldType::String;
    case 2:
        return FieldType::Integer;
    case 3:
        return FieldType::LargeInt;
    case 4:
        return FieldType::Float;
    case 5:
        return FieldType::Currency;
    case 6:
        return FieldType::Boolean;
    case 7:
        return FieldType::DateTime;
    case 8:
        return FieldType::Memo;
    case 9:
        return FieldType::Blob;
    default:
        break;
    }
    throw Error(QStringLiteral("Unknown field type code %1").arg(code));
}

// --- Encoding --------------------------------------------------------------


namespace {

constexpr std::array<std::uint8_t, 256> makeEscapeTable()
{
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 0x20; ++c)
        t[std::size_t(c)] = 1;
    t[std::size_t('"')] = 1;
    t[std::size_t('\\')] = 1;
    return t;
}

constexpr std::array<std::uint8_t, 256> kNeedsEscape = makeEscapeTable();

void appendEscaped(std::string &out, std::string_view s)
{
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t run = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (!kNeedsEscape[c])
            continue;
        out.append(s.data() + run, i - run);
        run = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default: {
            const char u[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            out.append(u, 6);
            break;
        }
        }
    }
    out.append(s.data() + run, s.size() - run);
    out += '"';
}

void appendInteger(std::string &out, std::int64_t v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void appendDouble(std::string &out, double v)
{
    if (!std::isfinite(v)) {
        out += "null"; // JSON has no infinities
        return;
    }
    if (v == 0 && std::signbit(v)) {
        out += "-0.0"; // "-0" would read back as the integer 0
        return;
    }
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v); // shortest text that reads back exactly
    const std::string_view text(buf, std::size_t(r.ptr - buf));
    if (text.size() > 16 && text.find_first_of(".e") == std::string_view::npos) {
        // A long whole number could exceed 64-bit integers when read back.
        r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    }
    out.append(buf, r.ptr);
}

std::size_t estimateBytes(const TableData &table)
{
    std::size_t n = 64;
    for (int col = 0; col < table.fieldCount(); ++col) {
        const Column &c = table.column(col);
        n += std::size_t(table.fieldDef(col).name.size()) * 2 + 32;
        switch (c.type()) {
        case FieldType::String:
        case FieldType::Memo:
        case FieldType::Blob:
            n += c.memoryBytes() / 2 + c.size() * 3;
            break;
        default:
            n += c.size() * 12;
            break;
        }
    }
    return n;
}

} // namespace

void appendJsonString(std::string &out, std::string_view s)
{
    if (simdjson::validate_utf8(s.data(), s.size())) {
        appendEscaped(out, s);
        return;
    }
    // Broken bytes would make the whole message unreadable; send U+FFFD instead.
    const QByteArray fixed = QString::fromUtf8(s.data(), qsizetype(s.size())).toUtf8();
    appendEscaped(out, std::string_view(fixed.constData(), std::size_t(fixed.size())));
}

void encodeTable(const TableData &table, std::string &out)
{
    out.reserve(out.size() + estimateBytes(table));
    std::vector<QByteArray> names;
    names.reserve(std::size_t(table.fieldCount()));
    out += "{\"table\":[";
    for (int col = 0; col < table.fieldCount(); ++col) {
        const FieldDef &def = table.fieldDef(col);
        names.push_back(def.name.toUtf8());
        if (col > 0)
            out += ',';
        out += '[';
        appendJsonString(
            out, std::string_view(names.back().constData(), std::size_t(names.back().size())));
        out += ',';
        appendInteger(out, fieldTypeCode(def.type));
        out += ',';
        appendInteger(out, def.size);
        out += ']';
    }
    out += ']';

    const std::size_t rows = table.rowCount();
    for (int col = 0; col < table.fieldCount(); ++col) {
        const Column &c = table.column(col);
        const QByteArray &name = names[std::size_t(col)];
        out += ',';
        appendJsonString(out, std::string_view(name.constData(), std::size_t(name.size())));
        out += ":[";
        for (std::size_t r = 0; r < rows; ++r) {
            if (r > 0)
                out += ',';
            if (c.isNull(r)) {
                out += "null";
                continue;
            }
            switch (c.type()) {
            case FieldType::String:
            case FieldType::Memo:
                appendJsonString(out, c.stringAt(r));
                break;
            case FieldType::Blob: {
                const std::string_view b = c.stringAt(r);
                const QByteArray b64
                    = QByteArray::fromRawData(b.data(), qsizetype(b.size())).toBase64();
                out += '"';
                out.append(b64.constData(), std::size_t(b64.size()));
                out += '"';
                break;
            }
            case FieldType::Integer:
                appendInteger(out, c.intAt(r));
                break;
            case FieldType::LargeInt:
                appendInteger(out, c.int64At(r));
                break;
            case FieldType::Float:
            case FieldType::Currency:
            case FieldType::DateTime:
                appendDouble(out, c.doubleAt(r));
                break;
            case FieldType::Boolean:
                out += c.boolAt(r) ? "true" : "false";
                break;
            }
        }
        out += ']';
    }
    out += '}';
}

// --- Decoding --------------------------------------------------------------

namespace {

using simdjson::SUCCESS;
namespace dom = simdjson::dom;

QString utf8(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

[[noreturn]] void badValue(std::string_view column, std::size_t row, const char *expected)
{
    throw Error(QStringLiteral("Column '%1', row %2: expected %3")
                    .arg(utf8(column))
                    .arg(row)
                    .arg(QLatin1String(expected)));
}

[[noreturn]] void outOfRange(std::string_view column, std::size_t row)
{
    throw Error(
        QStringLiteral("Column '%1', row %2: integer out of range").arg(utf8(column)).arg(row));
}

void decodeColumn(std::string_view name, dom::array values, Column &out)
{
    const std::size_t n = values.size();
    out.reserve(n);
    std::size_t row = 0;
    switch (out.type()) {
    case FieldType::String:
    case FieldType::Memo: {
        std::size_t bytes = 0;
        for (dom::element v : values) {
            std::string_view s;
            if (v.get_string().get(s) == SUCCESS)
                bytes += s.size();
        }
        out.reserveBytes(bytes);
        for (dom::element v : values) {
            std::string_view s;
            if (v.get_string().get(s) == SUCCESS)
                out.appendString(s);
            else if (v.is_null())
                out.appendNull();
            else
                badValue(name, row, "a string");
            ++row;
        }
        break;
    }
    case FieldType::Blob: {
        std::size_t bytes = 0;
        for (dom::element v : values) {
            std::string_view s;
            if (v.get_string().get(s) == SUCCESS)
                bytes += s.size() / 4 * 3 + 3;
        }
        out.reserveBytes(bytes);
        for (dom::element v : values) {
            std::string_view s;
            if (v.get_string().get(s) == SUCCESS) {
                const auto decoded = QByteArray::fromBase64Encoding(
                    QByteArray::fromRawData(s.data(), qsizetype(s.size())),
                    QByteArray::AbortOnBase64DecodingErrors);
                if (decoded.decodingStatus != QByteArray::Base64DecodingStatus::Ok)
                    throw Error(QStringLiteral("Column '%1', row %2: invalid base64")
                                    .arg(utf8(name))
                                    .arg(row));
                out.appendString(std::string_view(decoded.decoded.constData(),
                                                  std::size_t(decoded.decoded.size())));
            } else if (v.is_null()) {
                out.appendNull();
            } else {
                badValue(name, row, "base64 text");
            }
            ++row;
        }
        break;
    }
    case FieldType::Integer:
        for (dom::element v : values) {
            std::int64_t i = 0;
            const auto err = v.get_int64().get(i);
            if (err == SUCCESS) {
                if (i < std::numeric_limits<std::int32_t>::min()
                    || i > std::numeric_limits<std::int32_t>::max())
                    outOfRange(name, row);
                out.appendInt(std::int32_t(i));
            } else if (err == simdjson::NUMBER_OUT_OF_RANGE) {
                outOfRange(name, row);
            } else if (v.is_null()) {
                out.appendNull();
            } else {
                badValue(name, row, "an integer");
            }
            ++row;
        }
        break;
    case FieldType::LargeInt:
        for (dom::element v : values) {
            std::int64_t i = 0;
            const auto err = v.get_int64().get(i);
            if (err == SUCCESS)
                out.appendInt64(i);
            else if (err == simdjson::NUMBER_OUT_OF_RANGE)
                outOfRange(name, row);
            else if (v.is_null())
                out.appendNull();
            else
                badValue(name, row, "an integer");
            ++row;
        }
        break;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::DateTime:
        for (dom::element v : values) {
            double d = 0;
            if (v.get_double().get(d) == SUCCESS)
                out.appendDouble(d);
            else if (v.is_null())
                out.appendNull();
            else
                badValue(name, row, "a number");
            ++row;
        }
        break;
    case FieldType::Boolean:
        for (dom::element v : values) {
            bool b = false;
            if (v.get_bool().get(b) == SUCCESS)
                out.appendBool(b);
            else if (v.is_null())
                out.appendNull();
            else
                badValue(name, row, "true or false");
            ++row;
        }
        break;
    }
}

} // namespace

void decodeTable(simdjson::dom::element value, TableData &out)
{
    dom::object obj;
    if (value.get_object().get(obj) != SUCCESS)
        throw Error("Table value is not an object");
    dom::array descriptors;
    if (obj.at_key("table").get_array().get(descriptors) != SUCCESS)
        throw Error("Table value has no \"table\" array of column descriptors");

    TableData table;
    std::vector<std::string_view> names;
    names.reserve(descriptors.size());
    std::size_t position = 0;
    for (dom::element d : descriptors) {
        dom::array desc;
        std::string_view name;
        std::int64_t code = 0;
        std::int64_t size = 0;
        if (d.get_array().get(desc) != SUCCESS || desc.size() != 3
            || desc.at(0).get_string().get(name) != SUCCESS || name.empty()
            || desc.at(1).get_int64().get(code) != SUCCESS
            || desc.at(2).get_int64().get(size) != SUCCESS || size < 0
            || size > std::numeric_limits<int>::max()) {
            throw Error(
                QStringLiteral(
                    "Bad column descriptor at position %1: expected [name, type code, size]")
                    .arg(position));
        }
        if (name == "table")
            throw Error("A column cannot be named \"table\"");
        FieldType fieldType;
        try {
            fieldType = fieldTypeFromCode(code);
        } catch (const Error &) {
            throw Error(QStringLiteral("Unknown field type code %1 for column '%2'")
                            .arg(code)
                            .arg(utf8(name)));
        }
        for (std::string_view seen : names) {
            if (seen == name)
                throw Error(QStringLiteral("Duplicate column name '%1'").arg(utf8(name)));
        }
        names.push_back(name);
        table.addField(FieldDef{utf8(name), fieldType, int(size)});
        ++position;
    }

    std::size_t rows = 0;
    for (std::size_t col = 0; col < names.size(); ++col) {
        dom::array values;
        if (obj.at_key(names[col]).get_array().get(values) != SUCCESS)
            throw Error(
                QStringLiteral("Missing value array for column '%1'").arg(utf8(names[col])));
        const std::size_t n = values.size();
        if (col == 0)
            rows = n;
        else if (n != rows)
            throw Error(QStringLiteral("Column '%1' has %2 values, expected %3")
                            .arg(utf8(names[col]))
                            .arg(n)
                            .arg(rows));
        decodeColumn(names[col], values, table.column(int(col)));
    }
    table.finishColumns();
    out = std::move(table);
}

TableData decodeTableJson(std::string_view json)
{
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (const auto err = parser.parse(json.data(), json.size()).get(root); err != SUCCESS)
        throw Error(
            QStringLiteral("Invalid JSON: %1").arg(QLatin1String(simdjson::error_message(err))));
    TableData table;
    decodeTable(root, table);
    return table;
}

} // namespace qv
