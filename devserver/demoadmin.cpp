#include "demoadmin.h"

#include "errors.h"
#include "sqlutil.h"

#include <QSqlQuery>

namespace qv {

void setProgramVersion(DevDatabase &db, int version)
{
    DevQuery q(db.connection(),
               QStringLiteral("INSERT INTO AYAR (ANAHTAR, DEGER) VALUES ('SURUM', ?) "
                              "ON CONFLICT (ANAHTAR) DO UPDATE SET DEGER = excluded.DEGER"));
    q.execWith({QString::number(version)});
}

void registerMachineAs(DevDatabase &db, const QString &machineId, const QString &userName)
{
    const QSqlDatabase c = db.connection();
    const QVariant source = devScalar(c,
                                      QStringLiteral("SELECT SIRANO FROM KULLANICI WHERE ADI = ? "
                                                     "ORDER BY SIRANO LIMIT 1"),
                                      {userName});
    if (!source.isValid())
        throw Error(QStringLiteral("No demo user named %1").arg(userName));
    if (machineId.trimmed().isEmpty())
        throw Error(QStringLiteral("Empty machine identity"));

    QSqlDatabase tx = c;
    tx.transaction();
    try {
        const QVariant existing = devScalar(c,
                                            QStringLiteral("SELECT SIRANO FROM KULLANICI "
                                                           "WHERE BILGISAYARID = ?"),
                                            {machineId});
        if (existing.isValid()) {
            // Keep the row (orders may point at it); take the user's account and rights.
            DevQuery u(c,
                       QStringLiteral(
                           "UPDATE KULLANICI SET (ADI, SIFRE, MUSTERITIPI, AKTIF, EMAIL, CARINO, "
                           "SATICINO) = (SELECT ADI, SIFRE, MUSTERITIPI, AKTIF, EMAIL, CARINO, "
                           "SATICINO FROM KULLANICI WHERE SIRANO = ?) WHERE SIRANO = ?"));
            u.execWith({source, existing});
        } else {
            DevQuery i(c,
                       QStringLiteral(
                           "INSERT INTO KULLANICI (BILGISAYARID, ADI, SIFRE, MUSTERITIPI, AKTIF, "
                           "EMAIL, CARINO, SATICINO, BILGISAYARADI, KAYITTARIHI) "
                           "SELECT ?, ADI, SIFRE, MUSTERITIPI, AKTIF, EMAIL, CARINO, SATICINO, '', "
                           "KAYITTARIHI FROM KULLANICI WHERE SIRANO = ?"));
            i.execWith({machineId, source});
        }
        tx.commit();
    } catch (...) {
        tx.rollback();
        throw;
    }
}

} // namespace qv
