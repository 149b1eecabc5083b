#include "proxim.h"

#include "marshal.h"

using WT = qv::wire::WireType;

namespace {

// Sends the object in its JSON form and releases it: the proxy owns object
// parameters once they are handed over.
void setObject(qv::DBXParameter &p, std::unique_ptr<qv::wire::Record> object)
{
    p.SetJSONValue(qv::wire::marshal(object.get()));
}

// The object result at ordinal, handed to the command so that it lives as
// long as the command's results.
template<class T>
T *objectResult(qv::DBXCommand &cmd, int ordinal)
{
    const qv::DBXParameter &p = cmd.Parameter(ordinal);
    if (p.IsNull())
        return nullptr;
    std::unique_ptr<T> object = qv::wire::unmarshalAs<T>(p.GetJSONValue());
    T *raw = object.get();
    cmd.ownObject(std::move(object));
    return raw;
}

// Sets string inputs from ordinal 0 on, in wire order.
void setStrings(qv::DBXCommand &cmd, std::initializer_list<QString> values)
{
    int ordinal = 0;
    for (const QString &v : values)
        cmd.Parameter(ordinal++).SetWideString(v);
}

} // namespace

TServerMethods1Client::TServerMethods1Client(qv::DBXConnection *ADBXConnection)
    : qv::DSAdminClient(ADBXConnection)
{}

TServerMethods1Client::~TServerMethods1Client() = default;

TSonucBilgisi *TServerMethods1Client::BuyukGetir(const QString &idsi)
{
    auto &cmd = command(FBuyukGetirCommand, "BuyukGetir", {WT::String}, {}, WT::Object);
    cmd.Parameter(0).SetWideString(idsi);
    cmd.ExecuteUpdate();
    return objectResult<TSonucBilgisi>(cmd, 1);
}

std::shared_ptr<qv::TableData> TServerMethods1Client::StokAraGetir(
    const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi)
{
    auto &cmd = command(
        FStokAraGetirCommand, "StokAraGetir", {WT::String, WT::Object}, {}, WT::DataPacket);
    cmd.Parameter(0).SetWideString(kod);
    setObject(cmd.Parameter(1), std::move(bilgi));
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDataPacket();
}

std::shared_ptr<qv::TableData> TServerMethods1Client::YenilerVer2(std::int32_t carino)
{
    auto &cmd = command(FYenilerVer2Command, "YenilerVer2", {WT::Integer}, {}, WT::DataPacket);
    cmd.Parameter(0).SetInt32(carino);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDataPacket();
}

std::shared_ptr<qv::TableData> TServerMethods1Client::KampanyaliVer2(std::int32_t cario,
                                                                     std::int32_t satici)
{
    auto &cmd = command(
        FKampanyaliVer2Command, "KampanyaliVer2", {WT::Integer, WT::Integer}, {}, WT::DataPacket);
    cmd.Parameter(0).SetInt32(cario);
    cmd.Parameter(1).SetInt32(satici);
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDataPacket();
}

std::shared_ptr<qv::TableData> TServerMethods1Client::StokHareketVer(std::int32_t carino,
                                                                     std::int32_t stokno)
{
    auto &cmd = command(
        FStokHareketVerCommand, "StokHareketVer", {WT::Integer, WT::Integer}, {}, WT::DataPacket);
    cmd.Parameter(0).SetInt32(carino);
    cmd.Parameter(1).SetInt32(stokno);
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDataPacket();
}

std::int32_t TServerMethods1Client::SepetEkle2(std::unique_ptr<TSonucBilgisi> bilgim,
                                               std::int32_t carino,
                                               std::int32_t stokno,
                                               const QString &barkod,
                                               const QString &stokadi,
                                               double miktar,
                                               double kdv,
                                               double fiyat,
                                               double ind1,
                                               std::int32_t verenid,
                                               std::int32_t k,
                                               double ind2,
                                               double ind3,
                                               double ind4)
{
    auto &cmd = command(FSepetEkle2Command,
                        "SepetEkle2",
                        {WT::Object,
                         WT::Integer,
                         WT::Integer,
                         WT::String,
                         WT::String,
                         WT::Double,
                         WT::Double,
                         WT::Double,
                         WT::Double,
                         WT::Integer,
                         WT::Integer,
                         WT::Double,
                         WT::Double,
                         WT::Double},
                        {},
                        WT::Integer);
    setObject(cmd.Parameter(0), std::move(bilgim));
    cmd.Parameter(1).SetInt32(carino);
    cmd.Parameter(2).SetInt32(stokno);
    cmd.Parameter(3).SetWideString(barkod);
    cmd.Parameter(4).SetWideString(stokadi);
    cmd.Parameter(5).SetDouble(miktar);
    cmd.Parameter(6).SetDouble(kdv);
    cmd.Parameter(7).SetDouble(fiyat);
    cmd.Parameter(8).SetDouble(ind1);
    cmd.Parameter(9).SetInt32(verenid);
    cmd.Parameter(10).SetInt32(k);
    cmd.Parameter(11).SetDouble(ind2);
    cmd.Parameter(12).SetDouble(ind3);
    cmd.Parameter(13).SetDouble(ind4);
    cmd.ExecuteUpdate();
    return cmd.Parameter(14).GetInt32();
}

std::shared_ptr<qv::TableData> TServerMethods1Client::SepetVer2(std::int32_t carino)
{
    auto &cmd = command(FSepetVer2Command, "SepetVer2", {WT::Integer}, {}, WT::DataPacket);
    cmd.Parameter(0).SetInt32(carino);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDataPacket();
}

std::int32_t TServerMethods1Client::SepetGuncelle2(std::unique_ptr<TSonucBilgisi> bilgim,
                                                   std::int32_t carino,
                                                   std::int32_t stokno,
                                                   const QString &barkod,
                                                   const QString &stokadi,
                                                   double miktar,
                                                   double kdv,
                                                   double fiyat,
                                                   double ind1,
                                                   std::int32_t verenid,
                                                   std::int32_t _sepetsirano,
                                                   double ind2,
                                                   double ind3,
                                                   double ind4)
{
    auto &cmd = command(FSepetGuncelle2Command,
                        "SepetGuncelle2",
                        {WT::Object,
                         WT::Integer,
                         WT::Integer,
                         WT::String,
                         WT::String,
                         WT::Double,
                         WT::Double,
                         WT::Double,
                         WT::Double,
                         WT::Integer,
                         WT::Integer,
                         WT::Double,
                         WT::Double,
                         WT::Double},
                        {},
                        WT::Integer);
    setObject(cmd.Parameter(0), std::move(bilgim));
    cmd.Parameter(1).SetInt32(carino);
    cmd.Parameter(2).SetInt32(stokno);
    cmd.Parameter(3).SetWideString(barkod);
    cmd.Parameter(4).SetWideString(stokadi);
    cmd.Parameter(5).SetDouble(miktar);
    cmd.Parameter(6).SetDouble(kdv);
    cmd.Parameter(7).SetDouble(fiyat);
    cmd.Parameter(8).SetDouble(ind1);
    cmd.Parameter(9).SetInt32(verenid);
    cmd.Parameter(10).SetInt32(_sepetsirano);
    cmd.Parameter(11).SetDouble(ind2);
    cmd.Parameter(12).SetDouble(ind3);
    cmd.Parameter(13).SetDouble(ind4);
    cmd.ExecuteUpdate();
    return cmd.Parameter(14).GetInt32();
}

std::int32_t TServerMethods1Client::SepetSatirSil(std::unique_ptr<TSonucBilgisi> bilgi,
                                                  std::int32_t satirno,
                                                  const QString &aciklamam)
{
    auto &cmd = command(FSepetSatirSilCommand,
                        "SepetSatirSil",
                        {WT::Object, WT::Integer, WT::String},
                        {},
                        WT::Integer);
    setObject(cmd.Parameter(0), std::move(bilgi));
    cmd.Parameter(1).SetInt32(satirno);
    cmd.Parameter(2).SetWideString(aciklamam);
    cmd.ExecuteUpdate();
    return cmd.Parameter(3).GetInt32();
}

std::int32_t TServerMethods1Client::SepetHepsiniSil(std::unique_ptr<TSonucBilgisi> bilgi)
{
    auto &cmd = command(FSepetHepsiniSilCommand, "SepetHepsiniSil", {WT::Object}, {}, WT::Integer);
    setObject(cmd.Parameter(0), std::move(bilgi));
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetInt32();
}

void TServerMethods1Client::SepetSecimGuncelle(std::int32_t sirano, std::int32_t secim)
{
    auto &cmd = command(
        FSepetSecimGuncelleCommand, "SepetSecimGuncelle", {WT::Integer, WT::Integer}, {}, WT::None);
    cmd.Parameter(0).SetInt32(sirano);
    cmd.Parameter(1).SetInt32(secim);
    cmd.ExecuteUpdate();
}

QString TServerMethods1Client::CariVadeGunGecmismiBul(std::int32_t carino)
{
    auto &cmd = command(
        FCariVadeGunGecmismiBulCommand, "CariVadeGunGecmismiBul", {WT::Integer}, {}, WT::String);
    cmd.Parameter(0).SetInt32(carino);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetWideString();
}

qv::TableReader *TServerMethods1Client::TeslimVer()
{
    auto &cmd = command(FTeslimVerCommand, "TeslimVer", {}, {}, WT::Reader);
    cmd.ExecuteUpdate();
    return cmd.Parameter(0).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::KargoVer()
{
    auto &cmd = command(FKargoVerCommand, "KargoVer", {}, {}, WT::Reader);
    cmd.ExecuteUpdate();
    return cmd.Parameter(0).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::KargolarVer(std::int32_t gn)
{
    auto &cmd = command(FKargolarVerCommand, "KargolarVer", {WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(gn);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDBXReader();
}

bool TServerMethods1Client::SiparisKaydet(std::unique_ptr<TSonucBilgisi> BB,
                                          std::int32_t _carino,
                                          std::int32_t _teslim,
                                          std::int32_t _kargo,
                                          const QString &_aciklama,
                                          std::int32_t _verenid,
                                          std::int32_t _kargoyeni)
{
    auto &cmd = command(
        FSiparisKaydetCommand,
        "SiparisKaydet",
        {WT::Object, WT::Integer, WT::Integer, WT::Integer, WT::String, WT::Integer, WT::Integer},
        {},
        WT::Boolean);
    setObject(cmd.Parameter(0), std::move(BB));
    cmd.Parameter(1).SetInt32(_carino);
    cmd.Parameter(2).SetInt32(_teslim);
    cmd.Parameter(3).SetInt32(_kargo);
    cmd.Parameter(4).SetWideString(_aciklama);
    cmd.Parameter(5).SetInt32(_verenid);
    cmd.Parameter(6).SetInt32(_kargoyeni);
    cmd.ExecuteUpdate();
    return cmd.Parameter(7).GetBoolean();
}

qv::TableReader *TServerMethods1Client::OncekiSiparisler(std::int32_t carino)
{
    auto &cmd
        = command(FOncekiSiparislerCommand, "OncekiSiparisler", {WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(carino);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::SiparisAyrintisi2(std::int32_t carino, std::int32_t idnosu)
{
    auto &cmd = command(
        FSiparisAyrintisi2Command, "SiparisAyrintisi2", {WT::Integer, WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(carino);
    cmd.Parameter(1).SetInt32(idnosu);
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDBXReader();
}

TSiparisDipAyrinti *TServerMethods1Client::SiparisAytintisiDip(std::int32_t carino,
                                                               std::int32_t siranosu)
{
    auto &cmd = command(FSiparisAytintisiDipCommand,
                        "SiparisAytintisiDip",
                        {WT::Integer, WT::Integer},
                        {},
                        WT::Object);
    cmd.Parameter(0).SetInt32(carino);
    cmd.Parameter(1).SetInt32(siranosu);
    cmd.ExecuteUpdate();
    return objectResult<TSiparisDipAyrinti>(cmd, 2);
}

qv::TableReader *TServerMethods1Client::BakiyelerVer2(std::int32_t carino)
{
    auto &cmd = command(FBakiyelerVer2Command, "BakiyelerVer2", {WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(carino);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDBXReader();
}

std::int32_t TServerMethods1Client::BakiyeDuzenle(std::unique_ptr<TSonucBilgisi> k,
                                                  std::int32_t stokno,
                                                  std::int32_t sepetsirano,
                                                  std::int32_t siparissirano,
                                                  double Adet,
                                                  double Bakiye,
                                                  const QString &barkod)
{
    auto &cmd = command(
        FBakiyeDuzenleCommand,
        "BakiyeDuzenle",
        {WT::Object, WT::Integer, WT::Integer, WT::Integer, WT::Double, WT::Double, WT::String},
        {},
        WT::Integer);
    setObject(cmd.Parameter(0), std::move(k));
    cmd.Parameter(1).SetInt32(stokno);
    cmd.Parameter(2).SetInt32(sepetsirano);
    cmd.Parameter(3).SetInt32(siparissirano);
    cmd.Parameter(4).SetDouble(Adet);
    cmd.Parameter(5).SetDouble(Bakiye);
    cmd.Parameter(6).SetWideString(barkod);
    cmd.ExecuteUpdate();
    return cmd.Parameter(7).GetInt32();
}

std::int32_t TServerMethods1Client::BakiyeDegistir(std::unique_ptr<TSonucBilgisi> k,
                                                   std::int32_t stokno,
                                                   std::int32_t sepetsirano,
                                                   std::int32_t siparissirano,
                                                   double Adet,
                                                   double Bakiye,
                                                   const QString &barkod)
{
    auto &cmd = command(
        FBakiyeDegistirCommand,
        "BakiyeDegistir",
        {WT::Object, WT::Integer, WT::Integer, WT::Integer, WT::Double, WT::Double, WT::String},
        {},
        WT::Integer);
    setObject(cmd.Parameter(0), std::move(k));
    cmd.Parameter(1).SetInt32(stokno);
    cmd.Parameter(2).SetInt32(sepetsirano);
    cmd.Parameter(3).SetInt32(siparissirano);
    cmd.Parameter(4).SetDouble(Adet);
    cmd.Parameter(5).SetDouble(Bakiye);
    cmd.Parameter(6).SetWideString(barkod);
    cmd.ExecuteUpdate();
    return cmd.Parameter(7).GetInt32();
}

std::int32_t TServerMethods1Client::BakiyeFiyatDegistir(std::unique_ptr<TSonucBilgisi> k,
                                                        std::int32_t stokno,
                                                        std::int32_t sepetsirano,
                                                        std::int32_t siparissirano,
                                                        double Adet,
                                                        double Bakiye,
                                                        const QString &barkod,
                                                        double fiyat,
                                                        double ind)
{
    auto &cmd = command(FBakiyeFiyatDegistirCommand,
                        "BakiyeFiyatDegistir",
                        {WT::Object,
                         WT::Integer,
                         WT::Integer,
                         WT::Integer,
                         WT::Double,
                         WT::Double,
                         WT::String,
                         WT::Double,
                         WT::Double},
                        {},
                        WT::Integer);
    setObject(cmd.Parameter(0), std::move(k));
    cmd.Parameter(1).SetInt32(stokno);
    cmd.Parameter(2).SetInt32(sepetsirano);
    cmd.Parameter(3).SetInt32(siparissirano);
    cmd.Parameter(4).SetDouble(Adet);
    cmd.Parameter(5).SetDouble(Bakiye);
    cmd.Parameter(6).SetWideString(barkod);
    cmd.Parameter(7).SetDouble(fiyat);
    cmd.Parameter(8).SetDouble(ind);
    cmd.ExecuteUpdate();
    return cmd.Parameter(9).GetInt32();
}

qv::TableReader *TServerMethods1Client::TumSiparislerVer(std::int32_t carino, std::int32_t stokno)
{
    auto &cmd = command(
        FTumSiparislerVerCommand, "TumSiparislerVer", {WT::Integer, WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(carino);
    cmd.Parameter(1).SetInt32(stokno);
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::CariEkstreVer(std::int32_t carino)
{
    auto &cmd = command(FCariEkstreVerCommand, "CariEkstreVer", {WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(carino);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::FaturaGetir(std::int32_t carino, std::int32_t idnosu)
{
    auto &cmd
        = command(FFaturaGetirCommand, "FaturaGetir", {WT::Integer, WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(carino);
    cmd.Parameter(1).SetInt32(idnosu);
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::FaturaAltGetir(std::int32_t idnosu)
{
    auto &cmd = command(FFaturaAltGetirCommand, "FaturaAltGetir", {WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(idnosu);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::Tahsilat(std::int32_t idnosu)
{
    auto &cmd = command(FTahsilatCommand, "Tahsilat", {WT::Integer}, {}, WT::Reader);
    cmd.Parameter(0).SetInt32(idnosu);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDBXReader();
}

std::int32_t TServerMethods1Client::SanalposSiranoVer(std::int32_t idnosu)
{
    auto &cmd
        = command(FSanalposSiranoVerCommand, "SanalposSiranoVer", {WT::Integer}, {}, WT::Integer);
    cmd.Parameter(0).SetInt32(idnosu);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetInt32();
}

QIODevice *TServerMethods1Client::SAnalPosPdfVer(std::int32_t sirano, std::int64_t &boy)
{
    auto &cmd
        = command(FSAnalPosPdfVerCommand, "SAnalPosPdfVer", {WT::Integer}, {WT::Int64}, WT::Stream);
    cmd.Parameter(0).SetInt32(sirano);
    cmd.ExecuteUpdate();
    boy = cmd.Parameter(1).GetInt64();
    return cmd.Parameter(2).GetStream();
}

QString TServerMethods1Client::CariDurumVer(std::int32_t carino)
{
    auto &cmd = command(FCariDurumVerCommand, "CariDurumVer", {WT::Integer}, {}, WT::String);
    cmd.Parameter(0).SetInt32(carino);
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetWideString();
}

qv::TableReader *TServerMethods1Client::CariAra(std::unique_ptr<TSonucBilgisi> bil,
                                                const QString &aranan)
{
    auto &cmd = command(FCariAraCommand, "CariAra", {WT::Object, WT::String}, {}, WT::Reader);
    setObject(cmd.Parameter(0), std::move(bil));
    cmd.Parameter(1).SetWideString(aranan);
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::CariSepetVer(std::unique_ptr<TSonucBilgisi> bil,
                                                     std::int32_t n)
{
    auto &cmd
        = command(FCariSepetVerCommand, "CariSepetVer", {WT::Object, WT::Integer}, {}, WT::Reader);
    setObject(cmd.Parameter(0), std::move(bil));
    cmd.Parameter(1).SetInt32(n);
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDBXReader();
}

std::int32_t TServerMethods1Client::SepetSayisi(std::unique_ptr<TSonucBilgisi> bil)
{
    auto &cmd = command(FSepetSayisiCommand, "SepetSayisi", {WT::Object}, {}, WT::Integer);
    setObject(cmd.Parameter(0), std::move(bil));
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetInt32();
}

TTusSonuclari *TServerMethods1Client::TusSonuclariVer(std::unique_ptr<TSonucBilgisi> bil)
{
    auto &cmd = command(FTusSonuclariVerCommand, "TusSonuclariVer", {WT::Object}, {}, WT::Object);
    setObject(cmd.Parameter(0), std::move(bil));
    cmd.ExecuteUpdate();
    return objectResult<TTusSonuclari>(cmd, 1);
}

QIODevice *TServerMethods1Client::RaporGetir(std::int32_t raporno,
                                             std::int32_t bolum,
                                             std::int32_t idno,
                                             std::int32_t carino,
                                             const QString &saticiadi,
                                             double tarih1,
                                             double tarih2,
                                             std::int64_t &size)
{
    auto &cmd = command(
        FRaporGetirCommand,
        "RaporGetir",
        {WT::Integer, WT::Integer, WT::Integer, WT::Integer, WT::String, WT::Double, WT::Double},
        {WT::Int64},
        WT::Stream);
    cmd.Parameter(0).SetInt32(raporno);
    cmd.Parameter(1).SetInt32(bolum);
    cmd.Parameter(2).SetInt32(idno);
    cmd.Parameter(3).SetInt32(carino);
    cmd.Parameter(4).SetWideString(saticiadi);
    cmd.Parameter(5).SetDouble(tarih1);
    cmd.Parameter(6).SetDouble(tarih2);
    cmd.ExecuteUpdate();
    size = cmd.Parameter(7).GetInt64();
    return cmd.Parameter(8).GetStream();
}

qv::TableReader *TServerMethods1Client::RaporAlinanSiparisler(std::unique_ptr<TSonucBilgisi> bilgi,
                                                              double tarih1,
                                                              double tarih2)
{
    auto &cmd = command(FRaporAlinanSiparislerCommand,
                        "RaporAlinanSiparisler",
                        {WT::Object, WT::Double, WT::Double},
                        {},
                        WT::Reader);
    setObject(cmd.Parameter(0), std::move(bilgi));
    cmd.Parameter(1).SetDouble(tarih1);
    cmd.Parameter(2).SetDouble(tarih2);
    cmd.ExecuteUpdate();
    return cmd.Parameter(3).GetDBXReader();
}

qv::TableReader *TServerMethods1Client::RaporEnCokSatilanStoklar(
    std::unique_ptr<TSonucBilgisi> bilgi, double tarih1, double tarih2)
{
    auto &cmd = command(FRaporEnCokSatilanStoklarCommand,
                        "RaporEnCokSatilanStoklar",
                        {WT::Object, WT::Double, WT::Double},
                        {},
                        WT::Reader);
    setObject(cmd.Parameter(0), std::move(bilgi));
    cmd.Parameter(1).SetDouble(tarih1);
    cmd.Parameter(2).SetDouble(tarih2);
    cmd.ExecuteUpdate();
    return cmd.Parameter(3).GetDBXReader();
}

QString TServerMethods1Client::KayanYaziGetir()
{
    auto &cmd = command(FKayanYaziGetirCommand, "KayanYaziGetir", {}, {}, WT::String);
    cmd.ExecuteUpdate();
    return cmd.Parameter(0).GetWideString();
}

QIODevice *TServerMethods1Client::BannerResimVer(std::int64_t &size)
{
    auto &cmd = command(FBannerResimVerCommand, "BannerResimVer", {}, {WT::Int64}, WT::Stream);
    cmd.ExecuteUpdate();
    size = cmd.Parameter(0).GetInt64();
    return cmd.Parameter(1).GetStream();
}

QIODevice *TServerMethods1Client::BannerResimVer2(std::int64_t &size)
{
    auto &cmd = command(FBannerResimVer2Command, "BannerResimVer2", {}, {WT::Int64}, WT::Stream);
    cmd.ExecuteUpdate();
    size = cmd.Parameter(0).GetInt64();
    return cmd.Parameter(1).GetStream();
}

QIODevice *TServerMethods1Client::BannerResimVer3(std::int64_t &size)
{
    auto &cmd = command(FBannerResimVer3Command, "BannerResimVer3", {}, {WT::Int64}, WT::Stream);
    cmd.ExecuteUpdate();
    size = cmd.Parameter(0).GetInt64();
    return cmd.Parameter(1).GetStream();
}

std::int32_t TServerMethods1Client::AcilisReklamAdet()
{
    auto &cmd = command(FAcilisReklamAdetCommand, "AcilisReklamAdet", {}, {}, WT::Integer);
    cmd.ExecuteUpdate();
    return cmd.Parameter(0).GetInt32();
}

TAcilisEkran *TServerMethods1Client::AcilisREklamVer(std::int32_t sira)
{
    auto &cmd = command(FAcilisREklamVerCommand, "AcilisREklamVer", {WT::Integer}, {}, WT::Object);
    cmd.Parameter(0).SetInt32(sira);
    cmd.ExecuteUpdate();
    return objectResult<TAcilisEkran>(cmd, 1);
}

TAcilisEkranlariki *TServerMethods1Client::AcilisEkranlarVer2()
{
    auto &cmd = command(FAcilisEkranlarVer2Command, "AcilisEkranlarVer2", {}, {}, WT::Object);
    cmd.ExecuteUpdate();
    return objectResult<TAcilisEkranlariki>(cmd, 0);
}

qv::TableReader *TServerMethods1Client::BalonGetir(std::unique_ptr<TSonucBilgisi> bil)
{
    auto &cmd = command(FBalonGetirCommand, "BalonGetir", {WT::Object}, {}, WT::Reader);
    setObject(cmd.Parameter(0), std::move(bil));
    cmd.ExecuteUpdate();
    return cmd.Parameter(1).GetDBXReader();
}

std::int32_t TServerMethods1Client::MailGonserCari(const QString &idsi,
                                                   const QString &baslik,
                                                   const QString &firmaadi,
                                                   const QString &adres1,
                                                   const QString &adres2,
                                                   const QString &ilce,
                                                   const QString &sehir,
                                                   const QString &telefon,
                                                   const QString &fax,
                                                   const QString &vd,
                                                   const QString &vn,
                                                   const QString &yetkili,
                                                   const QString &kullaniciadi,
                                                   const QString &sifre,
                                                   const QString &mail,
                                                   const QString &kargoambar)
{
    auto &cmd = command(
        FMailGonserCariCommand, "MailGonserCari", std::vector<WT>(16, WT::String), {}, WT::Integer);
    setStrings(cmd,
               {idsi,
                baslik,
                firmaadi,
                adres1,
                adres2,
                ilce,
                sehir,
                telefon,
                fax,
                vd,
                vn,
                yetkili,
                kullaniciadi,
                sifre,
                mail,
                kargoambar});
    cmd.ExecuteUpdate();
    return cmd.Parameter(16).GetInt32();
}

std::int32_t TServerMethods1Client::MailGonserCariNormal(const QString &idsi,
                                                         const QString &baslik,
                                                         const QString &firmaadi,
                                                         const QString &adres1,
                                                         const QString &adres2,
                                                         const QString &ilce,
                                                         const QString &sehir,
                                                         const QString &telefon,
                                                         const QString &fax,
                                                         const QString &vd,
                                                         const QString &vn,
                                                         const QString &yetkili,
                                                         const QString &kullaniciadi,
                                                         const QString &sifre,
                                                         const QString &mail,
                                                         const QString &kargoambar,
                                                         const QString &konu)
{
    auto &cmd = command(FMailGonserCariNormalCommand,
                        "MailGonserCariNormal",
                        std::vector<WT>(17, WT::String),
                        {},
                        WT::Integer);
    setStrings(cmd,
               {idsi,
                baslik,
                firmaadi,
                adres1,
                adres2,
                ilce,
                sehir,
                telefon,
                fax,
                vd,
                vn,
                yetkili,
                kullaniciadi,
                sifre,
                mail,
                kargoambar,
                konu});
    cmd.ExecuteUpdate();
    return cmd.Parameter(17).GetInt32();
}

TMobilCariBilgisi *TServerMethods1Client::MobilCariBilgisiGetir(std::int32_t sirano,
                                                                const QString &_idsi)
{
    auto &cmd = command(FMobilCariBilgisiGetirCommand,
                        "MobilCariBilgisiGetir",
                        {WT::Integer, WT::String},
                        {},
                        WT::Object);
    cmd.Parameter(0).SetInt32(sirano);
    cmd.Parameter(1).SetWideString(_idsi);
    cmd.ExecuteUpdate();
    return objectResult<TMobilCariBilgisi>(cmd, 2);
}

QIODevice *TServerMethods1Client::ResimVer5(std::int32_t stokno, std::int64_t &boy)
{
    auto &cmd = command(FResimVer5Command, "ResimVer5", {WT::Integer}, {WT::Int64}, WT::Stream);
    cmd.Parameter(0).SetInt32(stokno);
    cmd.ExecuteUpdate();
    boy = cmd.Parameter(1).GetInt64();
    return cmd.Parameter(2).GetStream();
}
