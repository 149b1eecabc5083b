#pragma once

// The development server's SQLite database and its data layer: one member
// function per query a server method needs. Safe to use from many threads at
// once; each thread gets its own connection.

#include "dataset.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>

#include <cstdint>
#include <memory>

namespace qv {

struct DevDatabaseOptions
{
    QString path;           // the SQLite file; created when missing
    int stockCount = 5000;  // items seeded into an empty database
    int searchLimit = 2000; // most rows one stock search returns; 0 = all
    int busyTimeoutMs = 10000;
};

// The twenty fields of the login record, named as the record's properties.
struct DevLoginRecord
{
    QString BILGISAYARID;
    QString SaticiMail;
    std::int32_t Sirano = 0;
    QString CariAdi;
    QString SIFRE;
    std::int32_t SaticiNo = 0;
    std::int32_t CARINO = 0;
    std::int32_t AKTIF = 0;
    QString Kullanicimail;
    QString ADI;
    QString SaticiTelefon;
    QString carikod;
    bool Varmi = false;
    QString SaticiAdi;
    QString BilgiSayarAdi;
    QString Disip;
    QString Icip;
    QString BilgisayarKullanici;
    std::int32_t MusteriTipi = 1;
    std::int32_t Version = 1;
};

class DevDatabase
{
public:
    // Opens (creating) the file, brings the schema up to date and seeds an
    // empty database. Throws qv::Error when the database cannot be used.
    explicit DevDatabase(DevDatabaseOptions options);
    ~DevDatabase();
    DevDatabase(const DevDatabase &) = delete;
    DevDatabase &operator=(const DevDatabase &) = delete;

    const DevDatabaseOptions &options() const { return m_options; }

    // Creates missing tables and seeds when the database holds no data yet.
    // Safe to call again.
    void ensureSchema();
    int schemaVersion() const;
    bool seededOnOpen() const { return m_seeded; }
    double seedSeconds() const { return m_seedSeconds; }

    // The calling thread's connection, opened on first use.
    QSqlDatabase connection() const;

    // --- data layer ---------------------------------------------------------

    // The registered user of a computer. An unknown computer gives Varmi
    // false with the defaults, except Version (the current version, so that
    // the client shows the request form rather than the update window).
    // autoRegister registers an unknown computer to the demo dealer account.
    DevLoginRecord loginRecord(const QString &machineId, bool autoRegister);

    // The catalogue rows a search text matches, priced for the account.
    TableData searchStock(const QString &kod, int carino, int musteriTipi);

    // JPEG bytes of the item's picture; empty when it has none.
    QByteArray stockPicture(int stokno);

    int currentProgramVersion();

private:
    struct Impl;
    DevDatabaseOptions m_options;
    std::unique_ptr<Impl> m_impl;
    bool m_seeded = false;
    double m_seedSeconds = 0;
};

} // namespace qv
