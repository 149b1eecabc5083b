#include "methods.h"

#include "errors.h"
#include "marshal.h"

namespace qv::devmethods {

using wire::Value;
using wire::WireType;

namespace {

TSonucBilgisi toRecord(const DevLoginRecord &r)
{
    TSonucBilgisi b;
    b.setBILGISAYARID(r.BILGISAYARID);
    b.setSaticiMail(r.SaticiMail);
    b.setSirano(r.Sirano);
    b.setCariAdi(r.CariAdi);
    b.setSIFRE(r.SIFRE);
    b.setSaticiNo(r.SaticiNo);
    b.setCARINO(r.CARINO);
    b.setAKTIF(r.AKTIF);
    b.setKullanicimail(r.Kullanicimail);
    b.setADI(r.ADI);
    b.setSaticiTelefon(r.SaticiTelefon);
    b.setcarikod(r.carikod);
    b.setVarmi(r.Varmi);
    b.setSaticiAdi(r.SaticiAdi);
    b.setBilgiSayarAdi(r.BilgiSayarAdi);
    b.setDisip(r.Disip);
    b.setIcip(r.Icip);
    b.setBilgisayarKullanici(r.BilgisayarKullanici);
    b.setMusteriTipi(r.MusteriTipi);
    b.setVersion(r.Version);
    return b;
}

} // namespace

std::unique_ptr<TSonucBilgisi> loginOf(const Value &v)
{
    if (v.isNullObject())
        throw Error(QStringLiteral("Oturum bilgisi eksik."));
    return wire::unmarshalAs<TSonucBilgisi>(v.json);
}

void registerLoginAndStockMethods(rpc::RpcServer &rpc, DevDatabase &db, const DevServerOptions &o)
{
    const bool autoRegister = o.autoRegister;
    rpc.registerMethod({QStringLiteral("BuyukGetir"), {WireType::String}, {}, WireType::Object},
                       [&db, autoRegister](rpc::CallContext &c) {
                           const TSonucBilgisi b
                               = toRecord(db.loginRecord(c.in(0).s, autoRegister));
                           c.setResult(Value::object(wire::marshal(&b)));
                       });

    rpc.registerMethod({QStringLiteral("StokAraGetir"),
                        {WireType::String, WireType::Object},
                        {},
                        WireType::DataPacket},
                       [&db](rpc::CallContext &c) {
                           const auto bilgi = loginOf(c.in(1));
                           auto table = std::make_shared<TableData>(
                               db.searchStock(c.in(0).s, bilgi->CARINO(), bilgi->MusteriTipi()));
                           c.setResult(Value::dataPacket(std::move(table)));
                       });

    rpc.registerMethod(
        {QStringLiteral("ResimVer5"), {WireType::Integer}, {WireType::Int64}, WireType::Stream},
        [&db](rpc::CallContext &c) {
            QByteArray jpeg = db.stockPicture(std::int32_t(c.in(0).i));
            c.setOut(0, Value::int64(jpeg.size()));
            c.setResult(Value::stream(std::move(jpeg)));
        });
}

} // namespace qv::devmethods
