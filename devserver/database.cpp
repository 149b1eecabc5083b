#include "database.h"
#include "databaseimpl.h"

#include "errors.h"
#include "schema.h"
#include "seed.h"
#include "sqlutil.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QThread>

#include <atomic>
#include <mutex>
#include <set>
#include <vector>

namespace qv {

namespace {

// Connection names alive in QtSql's registry. A thread's connections are
// removed when the thread ends or when their database object goes, whichever
// comes first.
std::mutex &registryMutex()
{
    static std::mutex m;
    return m;
}

std::set<QString> &liveConnections()
{
    static std::set<QString> s;
    return s;
}

void removeConnection(const QString &name)
{
    std::lock_guard lock(registryMutex());
    if (liveConnections().erase(name) > 0)
        QSqlDatabase::removeDatabase(name);
}

struct ThreadConnections
{
    std::vector<std::pair<std::uint64_t, QString>> list; // database serial, name
    ~ThreadConnections()
    {
        for (const auto &entry : list)
            removeConnection(entry.second);
    }
};

thread_local ThreadConnections t_connections;

std::atomic<std::uint64_t> g_serial{0};

} // namespace

DevDatabase::DevDatabase(DevDatabaseOptions options)
    : m_options(std::move(options))
    , m_impl(std::make_unique<Impl>())
{
    m_impl->serial = ++g_serial;
    if (m_options.path.isEmpty())
        throw Error("DevDatabase: no database file given");
    ensureSchema();
}

DevDatabase::~DevDatabase()
{
    std::vector<QString> names;
    {
        std::lock_guard lock(m_impl->mutex);
        names.swap(m_impl->names);
    }
    for (const QString &name : names)
        removeConnection(name);
}

QSqlDatabase DevDatabase::connection() const
{
    for (const auto &entry : t_connections.list) {
        if (entry.first == m_impl->serial)
            return QSqlDatabase::database(entry.second, false);
    }
    const QString name = QStringLiteral("qvdev-%1-%2")
                             .arg(m_impl->serial)
                             .arg(quintptr(QThread::currentThreadId()), 0, 16);
    QSqlDatabase db;
    {
        std::lock_guard lock(registryMutex());
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        liveConnections().insert(name);
    }
    {
        std::lock_guard lock(m_impl->mutex);
        m_impl->names.push_back(name);
    }
    t_connections.list.emplace_back(m_impl->serial, name);

    db.setDatabaseName(m_options.path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_options.busyTimeoutMs));
    if (!db.open())
        throw Error(QStringLiteral("Veritabanı açılamadı: %1 (%2)")
                        .arg(m_options.path, db.lastError().text()));
    devExec(db, QStringLiteral("PRAGMA foreign_keys = ON"));
    // WAL lets the many reading threads run beside one writer.
    devExec(db, QStringLiteral("PRAGMA journal_mode = WAL"));
    devExec(db, QStringLiteral("PRAGMA synchronous = NORMAL"));
    return db;
}

int DevDatabase::schemaVersion() const
{
    const QSqlDatabase db = connection();
    const QVariant v = devScalar(db, QStringLiteral("SELECT MAX(version) FROM schema_version"));
    return v.isNull() ? 0 : v.toInt();
}

void DevDatabase::ensureSchema()
{
    const QSqlDatabase db = connection();
    devExec(db,
            QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"));
    const int version = schemaVersion();
    if (version > DevSchemaVersion)
        throw Error(QStringLiteral("Veritabanı sürümü %1, bu sunucu en çok %2 tanır")
                        .arg(version)
                        .arg(DevSchemaVersion));
    if (version == 0) {
        DevTransaction tx(db);
        for (const QString &sql : devSchemaStatements())
            devExec(db, sql);
        devExec(db,
                QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)")
                    .arg(DevSchemaVersion));
        tx.commit();
    }
    // Later versions add their migration steps here, one per version.

    if (devScalar(db, QStringLiteral("SELECT COUNT(*) FROM AYAR")).toInt() == 0) {
        QElapsedTimer timer;
        timer.start();
        DevSeedOptions seed;
        seed.stockCount = m_options.stockCount;
        seedDevDatabase(db, seed);
        m_seedSeconds = timer.nsecsElapsed() / 1e9;
        m_seeded = true;
        devExec(db, QStringLiteral("ANALYZE"));
    }
}

int DevDatabase::currentProgramVersion()
{
    const QVariant v = devScalar(connection(),
                                 QStringLiteral("SELECT DEGER FROM AYAR WHERE ANAHTAR = ?"),
                                 {QStringLiteral("SURUM")});
    return v.isNull() ? DevProgramVersion : v.toInt();
}

} // namespace qv
