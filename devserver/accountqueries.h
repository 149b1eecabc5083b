#pragma once

// Data layer of the account, customer, report and mail methods: free
// functions over DevDatabase.

#include "database.h"

#include "baglantiu.h"
#include "mobilstokunit.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace qv {

// Who asks, as registered (never as the client's record claims).
struct DevViewer
{
    bool known = false;
    int sirano = 0;
    int musteriTipi = 0;
    int saticiNo = 0; // salespeople
    int carino = 0;   // customer users
};

// The active user of a computer, or of a user number; unknown: known false.
DevViewer viewerByMachine(DevDatabase &db, const QString &machineId);
DevViewer viewerBySirano(DevDatabase &db, int sirano);

// Type 2 salespeople see every customer, type 1 only their own, customer
// users only their own account.
bool viewerSeesAccount(DevDatabase &db, const DevViewer &v, int carino);

// The statement in booking order; BAKIYE 0 and D " " are left to the client.
TableData accountStatement(DevDatabase &db, int carino);
// An invoice's lines, only when it belongs to the account.
TableData invoiceLines(DevDatabase &db, int carino, int idno);
TableData invoiceTotals(DevDatabase &db, int idno);
TableData collectionEntries(DevDatabase &db, int idno);
// The card terminal receipt number of a collection; 0 when none.
int collectionReceiptNo(DevDatabase &db, int idno);
// The receipt PDF of a card payment; empty for an unknown number.
QByteArray collectionReceiptPdf(DevDatabase &db, int sirano);
// The balance put into the payment address ("1234.50"); throws for an
// unknown account.
QString accountBalanceText(DevDatabase &db, int carino);

// Customer lists. An empty text lists every visible customer.
TableData searchCustomers(DevDatabase &db, const DevViewer &v, const QString &text);
// 1 customers with a basket, 2..7 customers with orders received, approved,
// seen, prepared in part, prepared, shipped; anything else: no rows.
TableData customersByStatus(DevDatabase &db, const DevViewer &v, int code);
int customersWithBasket(DevDatabase &db, const DevViewer &v);
TTusSonuclari orderStatusCounts(DevDatabase &db, const DevViewer &v);

// Day numbers; both dates count whole days, tarih2 included.
TableData ordersReceivedReport(DevDatabase &db, const DevViewer &v, double tarih1, double tarih2);
TableData stockSoldReport(DevDatabase &db, const DevViewer &v, double tarih1, double tarih2);
// Report 6: account summary at tarih1 (carino 0: receivables of all the
// salesperson's customers, saticiAdi "." for all); 7: purchases and
// payments per month between the dates. Empty for another number or an
// account the user may not see.
QByteArray accountReportPdf(DevDatabase &db,
                            int raporno,
                            int idno,
                            int carino,
                            const QString &saticiAdi,
                            double tarih1,
                            double tarih2);

// The registered details of a computer's account; null when unknown.
std::unique_ptr<TMobilCariBilgisi> customerDetails(DevDatabase &db, const QString &machineId);

// A mail (kind 0) or a password-change request (kind 1) as received.
struct DevMail
{
    int sirano = 0;
    int tur = 0;
    double tarih = 0;
    QString bilgisayarId, baslik, firmaAdi, adres1, adres2, ilce, sehir, telefon, fax, vd, vn,
        yetkili, kullaniciAdi, sifre, mail, kargoAmbar, konu;
    bool operator==(const DevMail &) const = default;
};

// Stores every field as given; returns the new row's number (> 0).
int storeMail(DevDatabase &db, const DevMail &mail);
// Every stored mail, oldest first.
std::vector<DevMail> receivedMails(DevDatabase &db);

} // namespace qv
