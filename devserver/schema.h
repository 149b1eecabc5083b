#pragma once

#include <QStringList>

namespace qv {

// The version ensureSchema() brings a database to.
inline constexpr int DevSchemaVersion = 1;

// CREATE statements of the whole schema, tables before their indexes.
// Kept to plain SQL (INTEGER, TEXT, DOUBLE PRECISION, BLOB) so that a move to
// PostgreSQL needs little more than BLOB -> BYTEA and dropping WITHOUT ROWID.
const QStringList &devSchemaStatements();

// Tables in creation order (checksums, clean-up in tests).
const QStringList &devTableNames();

} // namespace qv
