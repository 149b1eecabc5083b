#include "wirejson.h"

#include "errors.h"
#include "tablecodec.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qv::wire {

void appendJsonString(std::string &out, std::string_view s)
{
    qv::appendJsonString(out, s); // one escaping rule for tables and values
}

void appendJsonString(std::string &out, const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    appendJsonString(out, std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

void appendJsonDouble(std::string &out, double v)
{
    if (!std::isfinite(v))
        throw qv::Error("A Double value that is not a finite number cannot be sent");
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void appendJsonInt(std::string &out, std::int64_t v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void appendValue(std::string &out, const Value &v, WireType declared)
{
    switch (declared) {
    case WireType::None:
        out += "null";
        break;
    case WireType::Integer:
    case WireType::Int64:
        appendJsonInt(out, v.i);
        break;
    case WireType::Double:
        appendJsonDouble(out, v.d);
        break;
    case WireType::Boolean:
        out += v.b ? "true" : "false";
        break;
    case WireType::String:
        appendJsonString(out, v.s);
        break;
    case WireType::Object:
        // Marshalled text from our own record layer; empty means absent.
        out += v.json.empty() ? std::string_view("null") : std::string_view(v.json);
        break;
    case WireType::DataPacket:
    case WireType::Reader:
        encodeTable(v.table ? *v.table : TableData(), out);
        break;
    case WireType::Stream: {
        const QByteArray b64 = v.bytes.toBase64();
        out.push_back('"');
        out.append(b64.constData(), std::size_t(b64.size()));
        out.push_back('"');
        break;
    }
    }
}

const char *jsonTypeName(simdjson::dom::element e)
{
    using simdjson::dom::element_type;
    switch (e.type()) {
    case element_type::ARRAY:
        return "array";
    case element_type::OBJECT:
        return "object";
    case element_type::INT64:
    case element_type::UINT64:
        return "integer";
    case element_type::DOUBLE:
        return "number with fraction";
    case element_type::STRING:
        return "string";
    case element_type::BOOL:
        return "boolean";
    case element_type::NULL_VALUE:
        return "null";
    }
    return "unknown";
}

namespace {

[[noreturn]] void mismatch(simdjson::dom::element e, const char *expected)
{
    throw qv::Error(std::string("expected ") + expected + ", got " + jsonTypeName(e));
}

std::int64_t integerOf(simdjson::dom::element e, std::int64_t lo, std::int64_t hi, const char *name)
{
    std::int64_t v = 0;
    if (e.is_int64())
        v = e.get_int64().value_unsafe();
    else if (e.is_uint64())
        throw qv::Error(std::string(name) + " value out of range");
    else
        mismatch(e, name);
    if (v < lo || v > hi)
        throw qv::Error(std::string(name) + " value out of range: " + std::to_string(v));
    return v;
}

} // namespace

Value decodeValue(simdjson::dom::element e, WireType declared)
{
    using simdjson::dom::element_type;
    Value v;
    v.type = declared;
    switch (declared) {
    case WireType::None:
        break;
    case WireType::Integer:
        v.i = integerOf(e,
                        std::numeric_limits<std::int32_t>::min(),
                        std::numeric_limits<std::int32_t>::max(),
                        "Integer");
        break;
    case WireType::Int64:
        v.i = integerOf(e,
                        std::numeric_limits<std::int64_t>::min(),
                        std::numeric_limits<std::int64_t>::max(),
                        "Int64");
        break;
    case WireType::Double:
        if (!e.is_number())
            mismatch(e, "Double");
        v.d = e.get_double().value_unsafe();
        break;
    case WireType::Boolean:
        if (!e.is_bool())
            mismatch(e, "Boolean");
        v.b = e.get_bool().value_unsafe();
        break;
    case WireType::String: {
        if (!e.is_string())
            mismatch(e, "string");
        const std::string_view s = e.get_string().value_unsafe();
        v.s = QString::fromUtf8(s.data(), qsizetype(s.size()));
        break;
    }
    case WireType::Object:
        if (e.is_null())
            v.json = "null";
        else if (e.is_object())
            v.json = simdjson::minify(e);
        else
            mismatch(e, "object or null");
        break;
    case WireType::DataPacket:
    case WireType::Reader:
        if (!e.is_object())
            mismatch(e, declared == WireType::Reader ? "reader table" : "data packet table");
        v.table = std::make_shared<TableData>();
        decodeTable(e, *v.table);
        break;
    case WireType::Stream: {
        if (!e.is_string())
            mismatch(e, "stream (base64 string)");
        const std::string_view s = e.get_string().value_unsafe();
        auto r
            = QByteArray::fromBase64Encoding(QByteArray::fromRawData(s.data(), qsizetype(s.size())),
                                             QByteArray::AbortOnBase64DecodingErrors);
        if (!r)
            throw qv::Error("stream is not valid base64 text");
        v.bytes = std::move(*r);
        break;
    }
    }
    return v;
}

} // namespace qv::wire
