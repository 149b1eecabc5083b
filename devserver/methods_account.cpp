#include "methods.h"

#include "accountqueries.h"
#include "promotionqueries.h"

#include "marshal.h"

namespace qv::devmethods {

using wire::Value;
using wire::WireType;

namespace {

constexpr WireType kInt = WireType::Integer;
constexpr WireType kStr = WireType::String;
constexpr WireType kObj = WireType::Object;
constexpr WireType kDbl = WireType::Double;

// The caller as registered for the record's computer, not as the record claims.
DevViewer viewerOf(DevDatabase &db, const Value &v)
{
    return viewerByMachine(db, loginOf(v)->BILGISAYARID());
}

std::int32_t intIn(rpc::CallContext &c, int i)
{
    return std::int32_t(c.in(i).i);
}

Value readerOf(TableData t)
{
    return Value::reader(std::make_shared<TableData>(std::move(t)));
}

void setStream(rpc::CallContext &c, QByteArray bytes)
{
    c.setOut(0, Value::int64(bytes.size()));
    c.setResult(Value::stream(std::move(bytes)));
}

Value objectOf(const wire::Record *r)
{
    return Value::object(wire::marshal(r));
}

DevMail mailFrom(rpc::CallContext &c, int tur)
{
    DevMail m;
    m.tur = tur;
    QString *texts[] = {&m.bilgisayarId,
                        &m.baslik,
                        &m.firmaAdi,
                        &m.adres1,
                        &m.adres2,
                        &m.ilce,
                        &m.sehir,
                        &m.telefon,
                        &m.fax,
                        &m.vd,
                        &m.vn,
                        &m.yetkili,
                        &m.kullaniciAdi,
                        &m.sifre,
                        &m.mail,
                        &m.kargoAmbar};
    for (int i = 0; i < 16; ++i)
        *texts[i] = c.in(i).s;
    if (c.inCount() > 16)
        m.konu = c.in(16).s;
    return m;
}

void registerAccountMethods(rpc::RpcServer &rpc, DevDatabase &db)
{
    rpc.registerMethod(
        {QStringLiteral("CariEkstreVer"), {kInt}, {}, WireType::Reader},
        [&db](rpc::CallContext &c) { c.setResult(readerOf(accountStatement(db, intIn(c, 0)))); });
    rpc.registerMethod({QStringLiteral("FaturaGetir"), {kInt, kInt}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) {
                           c.setResult(readerOf(invoiceLines(db, intIn(c, 0), intIn(c, 1))));
                       });
    rpc.registerMethod(
        {QStringLiteral("FaturaAltGetir"), {kInt}, {}, WireType::Reader},
        [&db](rpc::CallContext &c) { c.setResult(readerOf(invoiceTotals(db, intIn(c, 0)))); });
    rpc.registerMethod(
        {QStringLiteral("Tahsilat"), {kInt}, {}, WireType::Reader},
        [&db](rpc::CallContext &c) { c.setResult(readerOf(collectionEntries(db, intIn(c, 0)))); });
    rpc.registerMethod({QStringLiteral("SanalposSiranoVer"), {kInt}, {}, kInt},
                       [&db](rpc::CallContext &c) {
                           c.setResult(Value::integer(collectionReceiptNo(db, intIn(c, 0))));
                       });
    rpc.registerMethod(
        {QStringLiteral("SAnalPosPdfVer"), {kInt}, {WireType::Int64}, WireType::Stream},
        [&db](rpc::CallContext &c) { setStream(c, collectionReceiptPdf(db, intIn(c, 0))); });
    rpc.registerMethod({QStringLiteral("CariDurumVer"), {kInt}, {}, kStr},
                       [&db](rpc::CallContext &c) {
                           c.setResult(Value::string(accountBalanceText(db, intIn(c, 0))));
                       });
}

void registerCustomerMethods(rpc::RpcServer &rpc, DevDatabase &db)
{
    rpc.registerMethod({QStringLiteral("CariAra"), {kObj, kStr}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) {
                           c.setResult(
                               readerOf(searchCustomers(db, viewerOf(db, c.in(0)), c.in(1).s)));
                       });
    rpc.registerMethod({QStringLiteral("CariSepetVer"), {kObj, kInt}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) {
                           c.setResult(
                               readerOf(customersByStatus(db, viewerOf(db, c.in(0)), intIn(c, 1))));
                       });
    rpc.registerMethod(
        {QStringLiteral("SepetSayisi"), {kObj}, {}, kInt}, [&db](rpc::CallContext &c) {
            c.setResult(Value::integer(customersWithBasket(db, viewerOf(db, c.in(0)))));
        });
    rpc.registerMethod({QStringLiteral("TusSonuclariVer"), {kObj}, {}, kObj},
                       [&db](rpc::CallContext &c) {
                           const TTusSonuclari r = orderStatusCounts(db, viewerOf(db, c.in(0)));
                           c.setResult(objectOf(&r));
                       });
    rpc.registerMethod(
        {QStringLiteral("RaporGetir"),
         {kInt, kInt, kInt, kInt, kStr, kDbl, kDbl},
         {WireType::Int64},
         WireType::Stream},
        [&db](rpc::CallContext &c) {
            // bolum repeats the report number; the number decides.
            setStream(
                c,
                accountReportPdf(
                    db, intIn(c, 0), intIn(c, 2), intIn(c, 3), c.in(4).s, c.in(5).d, c.in(6).d));
        });
    rpc.registerMethod(
        {QStringLiteral("RaporAlinanSiparisler"), {kObj, kDbl, kDbl}, {}, WireType::Reader},
        [&db](rpc::CallContext &c) {
            c.setResult(
                readerOf(ordersReceivedReport(db, viewerOf(db, c.in(0)), c.in(1).d, c.in(2).d)));
        });
    rpc.registerMethod(
        {QStringLiteral("RaporEnCokSatilanStoklar"), {kObj, kDbl, kDbl}, {}, WireType::Reader},
        [&db](rpc::CallContext &c) {
            c.setResult(readerOf(stockSoldReport(db, viewerOf(db, c.in(0)), c.in(1).d, c.in(2).d)));
        });
}

void registerPromotionMethods(rpc::RpcServer &rpc, DevDatabase &db)
{
    rpc.registerMethod({QStringLiteral("KayanYaziGetir"), {}, {}, kStr},
                       [&db](rpc::CallContext &c) { c.setResult(Value::string(tickerText(db))); });
    const char *const banners[] = {"BannerResimVer", "BannerResimVer2", "BannerResimVer3"};
    for (int i = 0; i < 3; ++i) {
        rpc.registerMethod(
            {QString::fromLatin1(banners[i]), {}, {WireType::Int64}, WireType::Stream},
            [&db, i](rpc::CallContext &c) { setStream(c, bannerPicture(db, i + 1)); });
    }
    rpc.registerMethod(
        {QStringLiteral("AcilisReklamAdet"), {}, {}, kInt},
        [&db](rpc::CallContext &c) { c.setResult(Value::integer(openingScreenCount(db))); });
    rpc.registerMethod({QStringLiteral("AcilisREklamVer"), {kInt}, {}, kObj},
                       [&db](rpc::CallContext &c) {
                           const auto s = openingScreen(db, intIn(c, 0));
                           c.setResult(objectOf(s.get()));
                       });
    rpc.registerMethod({QStringLiteral("AcilisEkranlarVer2"), {}, {}, kObj},
                       [&db](rpc::CallContext &c) {
                           const auto list = announcementScreens(db);
                           c.setResult(objectOf(list.get()));
                       });
    rpc.registerMethod({QStringLiteral("BalonGetir"), {kObj}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) {
                           const auto bil = loginOf(c.in(0));
                           const DevViewer v = viewerByMachine(db, bil->BILGISAYARID());
                           c.setResult(readerOf(balloonCounters(db, v, bil->CARINO())));
                       });
}

void registerMailMethods(rpc::RpcServer &rpc, DevDatabase &db)
{
    const std::vector<WireType> sixteen(16, kStr);
    rpc.registerMethod(
        {QStringLiteral("MailGonserCari"), sixteen, {}, kInt},
        [&db](rpc::CallContext &c) { c.setResult(Value::integer(storeMail(db, mailFrom(c, 1)))); });
    std::vector<WireType> seventeen = sixteen;
    seventeen.push_back(kStr);
    rpc.registerMethod(
        {QStringLiteral("MailGonserCariNormal"), seventeen, {}, kInt},
        [&db](rpc::CallContext &c) { c.setResult(Value::integer(storeMail(db, mailFrom(c, 0)))); });
    rpc.registerMethod({QStringLiteral("MobilCariBilgisiGetir"), {kInt, kStr}, {}, kObj},
                       [&db](rpc::CallContext &c) {
                           // Both callers pass 0; the computer identifies the account.
                           const auto r = customerDetails(db, c.in(1).s);
                           c.setResult(objectOf(r.get()));
                       });
}

} // namespace

void registerAccountAndPromotionMethods(rpc::RpcServer &rpc,
                                        DevDatabase &db,
                                        const DevServerOptions &)
{
    registerAccountMethods(rpc, db);
    registerCustomerMethods(rpc, db);
    registerPromotionMethods(rpc, db);
    registerMailMethods(rpc, db);
}

} // namespace qv::devmethods
