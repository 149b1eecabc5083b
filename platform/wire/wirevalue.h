#pragma once

// One parameter or result value as it crosses the wire.

#include "dataset.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

namespace qv::wire {

enum class WireType : std::uint8_t {
    None,       // a method without a return value
    Integer,    // 32-bit signed
    Int64,      // 64-bit signed (out: byte count of a stream)
    Double,
    Boolean,
    String,
    Object,     // a record in its JSON object form, or JSON null
    DataPacket, // a whole table, assigned to a dataset's data
    Reader,     // a whole table, read forward-only
    Stream,     // bytes, base64 on the wire
};

const char *wireTypeName(WireType t);

struct Value
{
    WireType type = WireType::None;
    std::int64_t i = 0;   // Integer, Int64
    double d = 0;         // Double
    bool b = false;       // Boolean
    QString s;            // String
    std::string json;     // Object: minified JSON text; "null" or empty = absent
    std::shared_ptr<TableData> table; // DataPacket, Reader
    QByteArray bytes;     // Stream

    static Value integer(std::int32_t v) { Value x; x.type = WireType::Integer; x.i = v; return x; }
    static Value int64(std::int64_t v) { Value x; x.type = WireType::Int64; x.i = v; return x; }
    static Value dbl(double v) { Value x; x.type = WireType::Double; x.d = v; return x; }
    static Value boolean(bool v) { Value x; x.type = WireType::Boolean; x.b = v; return x; }
    static Value string(const QString &v) { Value x; x.type = WireType::String; x.s = v; return x; }
    static Value object(std::string jsonText) { Value x; x.type = WireType::Object; x.json = std::move(jsonText); return x; }
    static Value nullObject() { return object("null"); }
    static Value dataPacket(std::shared_ptr<TableData> t) { Value x; x.type = WireType::DataPacket; x.table = std::move(t); return x; }
    static Value reader(std::shared_ptr<TableData> t) { Value x; x.type = WireType::Reader; x.table = std::move(t); return x; }
    static Value stream(QByteArray b) { Value x; x.type = WireType::Stream; x.bytes = std::move(b); return x; }

    bool isNullObject() const { return type == WireType::Object && (json.empty() || json == "null"); }
};

// Size limits, enforced before any body is allocated.
constexpr std::size_t kMaxRequestBytes = 16u * 1024u * 1024u;  // 16 MiB
constexpr std::size_t kMaxReplyBytes = 256u * 1024u * 1024u;   // 256 MiB

} // namespace qv::wire
