// The login record of a computer.
#include "database.h"

#include "errors.h"
#include "seed.h"
#include "sqlutil.h"

namespace qv {

namespace {

const QString kLoginSql = QStringLiteral(
    "SELECT k.SIRANO, k.ADI, k.SIFRE, k.MUSTERITIPI, k.AKTIF, k.EMAIL, "
    "       COALESCE(c.CARINO, 0), COALESCE(c.CARIKOD, ''), COALESCE(c.CARIADI, ''), "
    "       COALESCE(c.AKTIF, 1), "
    "       COALESCE(s.SATICINO, 0), COALESCE(s.ADI, ''), COALESCE(s.TELEFON, ''), "
    "       COALESCE(s.MAIL, ''), k.BILGISAYARADI "
    "FROM KULLANICI k "
    "LEFT JOIN CARI c ON c.CARINO = k.CARINO "
    // a dealer's salesperson is the account's; a salesperson's user is the salesperson
    "LEFT JOIN SATICI s ON s.SATICINO = COALESCE(k.SATICINO, c.SATICINO) "
    "WHERE k.BILGISAYARID = ?");

} // namespace

DevLoginRecord DevDatabase::loginRecord(const QString &machineId, bool autoRegister)
{
    const QSqlDatabase db = connection();
    DevLoginRecord rec;
    rec.BILGISAYARID = machineId;
    rec.Version = currentProgramVersion();

    DevQuery q(db, kLoginSql);
    q.bind(0, machineId).exec();
    bool found = q.next();
    if (!found && autoRegister && !machineId.isEmpty()) {
        // Copy the demo dealer's user onto this computer. The NOT EXISTS keeps
        // two simultaneous first logins of one computer from clashing.
        DevQuery reg(
            db,
            QStringLiteral(
                "INSERT INTO KULLANICI (BILGISAYARID, ADI, SIFRE, MUSTERITIPI, AKTIF, EMAIL, "
                "CARINO, "
                "                       SATICINO, BILGISAYARADI, KAYITTARIHI) "
                "SELECT ?, ADI, SIFRE, MUSTERITIPI, 1, EMAIL, CARINO, SATICINO, '', KAYITTARIHI "
                "FROM KULLANICI WHERE BILGISAYARID = ? "
                "AND NOT EXISTS (SELECT 1 FROM KULLANICI WHERE BILGISAYARID = ?)"));
        try {
            reg.execWith({machineId, QString::fromLatin1(DevDemoDealerMachineId), machineId});
        } catch (const Error &) {
            // Lost the race to another thread: its row is what we read below.
        }
        DevQuery again(db, kLoginSql);
        again.bind(0, machineId).exec();
        found = again.next();
        if (found)
            q = std::move(again);
    }
    if (!found)
        return rec; // Varmi false: the client shows the request form

    rec.Varmi = true;
    rec.Sirano = q.value(0).toInt();
    rec.ADI = q.value(1).toString();
    rec.SIFRE = q.value(2).toString();
    rec.MusteriTipi = q.value(3).toInt();
    rec.AKTIF = (q.value(4).toInt() == 1 && q.value(9).toInt() == 1) ? 1 : 0;
    rec.Kullanicimail = q.value(5).toString();
    rec.CARINO = q.value(6).toInt();
    rec.carikod = q.value(7).toString();
    rec.CariAdi = q.value(8).toString();
    rec.SaticiNo = q.value(10).toInt();
    rec.SaticiAdi = q.value(11).toString();
    rec.SaticiTelefon = q.value(12).toString();
    rec.SaticiMail = q.value(13).toString();
    rec.BilgiSayarAdi = q.value(14).toString();
    return rec;
}

} // namespace qv
