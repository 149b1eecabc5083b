#pragma once

// JSON text of wire values, shared by the client and the server side so that
// both write and accept exactly the same forms.

#include "wirevalue.h"

#include <simdjson.h>

#include <string>
#include <string_view>

namespace qv::wire {

// Appends s as a JSON string literal. UTF-8 passes through unescaped; quote,
// backslash and control characters are escaped.
void appendJsonString(std::string &out, std::string_view utf8);
void appendJsonString(std::string &out, const QString &s);

// Shortest text that reads back to the same double. Throws qv::Error for NaN
// and infinities, which JSON cannot carry.
void appendJsonDouble(std::string &out, double v);
void appendJsonInt(std::string &out, std::int64_t v);

// Appends v in the JSON form of the given declared type.
void appendValue(std::string &out, const Value &v, WireType declared);

// Reads a JSON value as the declared type. Throws qv::Error with a text like
// "expected Integer, got string" that callers prefix with where it happened.
Value decodeValue(simdjson::dom::element e, WireType declared);

// "string", "number", "object"... for error texts.
const char *jsonTypeName(simdjson::dom::element e);

} // namespace qv::wire
