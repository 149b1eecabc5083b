#include "methods.h"

#include "marshal.h"
#include "orderqueries.h"

namespace qv::devmethods {

using wire::Value;
using wire::WireType;

namespace {

std::int32_t int32(const Value &v)
{
    return std::int32_t(v.i);
}

orders::Caller callerOf(const Value &v)
{
    const auto b = loginOf(v);
    return {b->Sirano(), b->BILGISAYARID(), b->CARINO()};
}

Value packet(TableData t)
{
    return Value::dataPacket(std::make_shared<TableData>(std::move(t)));
}

Value reader(TableData t)
{
    return Value::reader(std::make_shared<TableData>(std::move(t)));
}

// SepetEkle2 and SepetGuncelle2 share their wire order except the eleventh
// argument: the campaign flag there (the server decides it), the basket line
// here.
const std::vector<WireType> kBasketLineInputs = {WireType::Object,
                                                 WireType::Integer,
                                                 WireType::Integer,
                                                 WireType::String,
                                                 WireType::String,
                                                 WireType::Double,
                                                 WireType::Double,
                                                 WireType::Double,
                                                 WireType::Double,
                                                 WireType::Integer,
                                                 WireType::Integer,
                                                 WireType::Double,
                                                 WireType::Double,
                                                 WireType::Double};

orders::BasketLine basketLineOf(const rpc::CallContext &c)
{
    orders::BasketLine l;
    l.carino = int32(c.in(1));
    l.stokno = int32(c.in(2));
    l.miktar = c.in(5).d;
    l.fiyat = c.in(7).d;
    l.rates = {c.in(8).d, c.in(11).d, c.in(12).d, c.in(13).d};
    return l;
}

// k, stokno, sepetsirano, siparissirano, Adet, Bakiye, barkod
const std::vector<WireType> kBalanceInputs = {WireType::Object,
                                              WireType::Integer,
                                              WireType::Integer,
                                              WireType::Integer,
                                              WireType::Double,
                                              WireType::Double,
                                              WireType::String};

std::vector<WireType> balancePriceInputs()
{
    std::vector<WireType> v = kBalanceInputs;
    v.push_back(WireType::Double);
    v.push_back(WireType::Double);
    return v;
}

} // namespace

void registerCatalogueAndOrderMethods(rpc::RpcServer &rpc,
                                      DevDatabase &db,
                                      const DevServerOptions &)
{
    const auto I = WireType::Integer;

    rpc.registerMethod(
        {QStringLiteral("YenilerVer2"), {I}, {}, WireType::DataPacket},
        [&db](rpc::CallContext &c) { c.setResult(packet(orders::newItems(db, int32(c.in(0))))); });
    rpc.registerMethod({QStringLiteral("KampanyaliVer2"), {I, I}, {}, WireType::DataPacket},
                       [&db](rpc::CallContext &c) {
                           c.setResult(
                               packet(orders::campaignItems(db, int32(c.in(0)), int32(c.in(1)))));
                       });
    rpc.registerMethod({QStringLiteral("StokHareketVer"), {I, I}, {}, WireType::DataPacket},
                       [&db](rpc::CallContext &c) {
                           c.setResult(
                               packet(orders::stockMovements(db, int32(c.in(0)), int32(c.in(1)))));
                       });

    // The sender's number travels beside the login record; the record's own
    // user, checked against the registered computers, is who sends.
    rpc.registerMethod(
        {QStringLiteral("SepetEkle2"), kBasketLineInputs, {}, I}, [&db](rpc::CallContext &c) {
            c.setResult(
                Value::integer(orders::addBasketLine(db, callerOf(c.in(0)), basketLineOf(c))));
        });
    rpc.registerMethod(
        {QStringLiteral("SepetGuncelle2"), kBasketLineInputs, {}, I}, [&db](rpc::CallContext &c) {
            c.setResult(Value::integer(
                orders::updateBasketLine(db, callerOf(c.in(0)), int32(c.in(10)), basketLineOf(c))));
        });
    rpc.registerMethod(
        {QStringLiteral("SepetVer2"), {I}, {}, WireType::DataPacket},
        [&db](rpc::CallContext &c) { c.setResult(packet(orders::basket(db, int32(c.in(0))))); });
    rpc.registerMethod(
        {QStringLiteral("SepetSatirSil"), {WireType::Object, I, WireType::String}, {}, I},
        [&db](rpc::CallContext &c) {
            c.setResult(
                Value::integer(orders::deleteBasketLine(db, callerOf(c.in(0)), int32(c.in(1)))));
        });
    rpc.registerMethod({QStringLiteral("SepetHepsiniSil"), {WireType::Object}, {}, I},
                       [&db](rpc::CallContext &c) {
                           c.setResult(Value::integer(orders::clearBasket(db, callerOf(c.in(0)))));
                       });
    rpc.registerMethod({QStringLiteral("SepetSecimGuncelle"), {I, I}, {}, WireType::None},
                       [&db](rpc::CallContext &c) {
                           orders::setLineSelection(db, int32(c.in(0)), int32(c.in(1)));
                       });
    rpc.registerMethod({QStringLiteral("CariVadeGunGecmismiBul"), {I}, {}, WireType::String},
                       [&db](rpc::CallContext &c) {
                           c.setResult(Value::string(orders::overdueWarning(db, int32(c.in(0)))));
                       });

    rpc.registerMethod(
        {QStringLiteral("TeslimVer"), {}, {}, WireType::Reader},
        [&db](rpc::CallContext &c) { c.setResult(reader(orders::deliveryKinds(db))); });
    rpc.registerMethod({QStringLiteral("KargoVer"), {}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) { c.setResult(reader(orders::cargoKinds(db))); });
    rpc.registerMethod(
        {QStringLiteral("KargolarVer"), {I}, {}, WireType::Reader},
        [&db](rpc::CallContext &c) { c.setResult(reader(orders::carriers(db, int32(c.in(0))))); });
    rpc.registerMethod(
        {QStringLiteral("SiparisKaydet"),
         {WireType::Object, I, I, I, WireType::String, I, I},
         {},
         WireType::Boolean},
        [&db](rpc::CallContext &c) {
            orders::OrderHeader h;
            h.carino = int32(c.in(1));
            h.teslimid = int32(c.in(2));
            h.kargoid = int32(c.in(3));
            h.aciklama = c.in(4).s;
            h.kargoFirma = int32(c.in(6));
            c.setResult(Value::boolean(orders::placeOrder(db, callerOf(c.in(0)), h).has_value()));
        });

    rpc.registerMethod({QStringLiteral("OncekiSiparisler"), {I}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) {
                           c.setResult(reader(orders::previousOrders(db, int32(c.in(0)))));
                       });
    rpc.registerMethod({QStringLiteral("SiparisAyrintisi2"), {I, I}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) {
                           c.setResult(
                               reader(orders::orderLines(db, int32(c.in(0)), int32(c.in(1)))));
                       });
    rpc.registerMethod({QStringLiteral("SiparisAytintisiDip"), {I, I}, {}, WireType::Object},
                       [&db](rpc::CallContext &c) {
                           const auto f = orders::orderFooter(db, int32(c.in(0)), int32(c.in(1)));
                           if (!f) {
                               c.setResult(Value::nullObject());
                               return;
                           }
                           TSiparisDipAyrinti r;
                           r.setSizinMesaj(f->sizinMesaj);
                           r.setDurumu(f->durumu);
                           r.setVeren(f->veren);
                           r.setKargo(f->kargo);
                           r.setBizimMesaj(f->bizimMesaj);
                           r.setTeslimCinsi(f->teslimCinsi);
                           r.setKargoCinsi(f->kargoCinsi);
                           r.setSaticiNotu(f->saticiNotu);
                           c.setResult(Value::object(wire::marshal(&r)));
                       });
    rpc.registerMethod({QStringLiteral("BakiyelerVer2"), {I}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) {
                           c.setResult(reader(orders::openBalances(db, int32(c.in(0)))));
                       });
    rpc.registerMethod(
        {QStringLiteral("BakiyeDuzenle"), kBalanceInputs, {}, I}, [&db](rpc::CallContext &c) {
            c.setResult(Value::integer(
                orders::deleteBalance(db, callerOf(c.in(0)), int32(c.in(1)), int32(c.in(3)))));
        });
    // Adet and Bakiye both carry the new open quantity.
    rpc.registerMethod({QStringLiteral("BakiyeDegistir"), kBalanceInputs, {}, I},
                       [&db](rpc::CallContext &c) {
                           c.setResult(Value::integer(orders::changeBalance(
                               db, callerOf(c.in(0)), int32(c.in(1)), int32(c.in(3)), c.in(5).d)));
                       });
    rpc.registerMethod(
        {QStringLiteral("BakiyeFiyatDegistir"), balancePriceInputs(), {}, I},
        [&db](rpc::CallContext &c) {
            c.setResult(Value::integer(orders::changeBalancePrice(
                db, callerOf(c.in(0)), int32(c.in(1)), int32(c.in(3)), c.in(7).d, c.in(8).d)));
        });
    rpc.registerMethod({QStringLiteral("TumSiparislerVer"), {I, I}, {}, WireType::Reader},
                       [&db](rpc::CallContext &c) {
                           c.setResult(
                               reader(orders::allOrderLines(db, int32(c.in(0)), int32(c.in(1)))));
                       });
}

} // namespace qv::devmethods
