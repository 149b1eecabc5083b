#pragma once

// The JSON table form in which data packets and table readers travel:
//   {"table":[["NAME",<type code>,<size>],...], "NAME":[v0,v1,...], ...}
// one descriptor per column, then one array of values per column, in the
// order of the descriptors. null is a null value.

#include "dataset.h"

#include <simdjson.h>

#include <string>
#include <string_view>

namespace qv {

// Appends the JSON text of the table to out.
void encodeTable(const TableData &table, std::string &out);

// Decodes a table value of a parsed message straight into typed columns.
// Throws qv::Error with a clear text on any malformed input.
void decodeTable(simdjson::dom::element value, TableData &out);

// Parses text holding one table object (tests, tools).
TableData decodeTableJson(std::string_view json);

// Appends utf8 as a JSON string literal: quote, backslash and control
// characters escaped, broken UTF-8 replaced by U+FFFD.
void appendJsonString(std::string &out, std::string_view utf8);

// The wire code of a field type and back (-1 / throws for unknown codes).
int fieldTypeCode(FieldType type);
FieldType fieldTypeFromCode(std::int64_t code);

} // namespace qv
