#include "sqlutil.h"

#include "errors.h"

#include <QSqlError>

namespace qv {

namespace {

[[noreturn]] void fail(const QString &what, const QString &sql, const QSqlError &error)
{
    throw Error(QStringLiteral("%1: %2 [%3]").arg(what, error.text(), sql.simplified()));
}

} // namespace

DevQuery::DevQuery(const QSqlDatabase &db, const QString &sql)
    : m_query(db)
    , m_sql(sql)
{
    m_query.setForwardOnly(true);
    if (!m_query.prepare(sql))
        fail(QStringLiteral("SQL prepare failed"), sql, m_query.lastError());
}

DevQuery &DevQuery::bind(int pos, const QVariant &value)
{
    // QtSql stores a null QString as NULL; an empty text column means ''.
    // Only an invalid QVariant stands for NULL here.
    if (value.metaType().id() == QMetaType::QString && value.toString().isNull())
        m_query.bindValue(pos, QStringLiteral(""));
    else
        m_query.bindValue(pos, value);
    return *this;
}

DevQuery &DevQuery::bindAll(std::initializer_list<QVariant> values)
{
    int pos = 0;
    for (const QVariant &v : values)
        bind(pos++, v);
    return *this;
}

void DevQuery::exec()
{
    if (!m_query.exec())
        fail(QStringLiteral("SQL failed"), m_sql, m_query.lastError());
}

void DevQuery::execWith(std::initializer_list<QVariant> values)
{
    bindAll(values);
    exec();
}

void devExec(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        fail(QStringLiteral("SQL failed"), sql, q.lastError());
}

QVariant devScalar(const QSqlDatabase &db,
                   const QString &sql,
                   std::initializer_list<QVariant> values)
{
    DevQuery q(db, sql);
    q.bindAll(values);
    q.exec();
    return q.next() ? q.value(0) : QVariant();
}

DevTransaction::DevTransaction(QSqlDatabase db)
    : m_db(std::move(db))
{
    if (!m_db.transaction())
        throw Error(QStringLiteral("SQL transaction failed: ") + m_db.lastError().text());
    m_open = true;
}

DevTransaction::~DevTransaction()
{
    if (m_open)
        m_db.rollback();
}

void DevTransaction::commit()
{
    if (!m_db.commit())
        throw Error(QStringLiteral("SQL commit failed: ") + m_db.lastError().text());
    m_open = false;
}

} // namespace qv
