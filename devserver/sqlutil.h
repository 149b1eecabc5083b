#pragma once

// Small helpers over QtSql that turn every failure into a qv::Error carrying
// the statement and the driver's text.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <initializer_list>

namespace qv {

// A prepared statement; throws on prepare and exec failures.
class DevQuery
{
public:
    DevQuery(const QSqlDatabase &db, const QString &sql);

    // An invalid QVariant binds NULL; a null QString binds ''.
    DevQuery &bind(int pos, const QVariant &value);
    DevQuery &bindAll(std::initializer_list<QVariant> values);
    void exec();
    // Runs again with new values in order (prepared once, executed many times).
    void execWith(std::initializer_list<QVariant> values);

    bool next() { return m_query.next(); }
    QVariant value(int col) const { return m_query.value(col); }
    QSqlQuery &query() { return m_query; }

private:
    QSqlQuery m_query;
    QString m_sql;
};

// Runs one statement without parameters.
void devExec(const QSqlDatabase &db, const QString &sql);

// The first column of the first row, or an invalid QVariant when no row.
QVariant devScalar(const QSqlDatabase &db,
                   const QString &sql,
                   std::initializer_list<QVariant> values = {});

// Commits on commit(); rolls back when left any other way.
class DevTransaction
{
public:
    explicit DevTransaction(QSqlDatabase db);
    ~DevTransaction();
    DevTransaction(const DevTransaction &) = delete;
    DevTransaction &operator=(const DevTransaction &) = delete;
    void commit();

private:
    QSqlDatabase m_db;
    bool m_open = false;
};

} // namespace qv
