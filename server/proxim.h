#pragma once

// The server proxy: one operation per server method of TServerMethods1 that
// this client calls, in wire order. A proxy lives for one call sequence on one
// open connection. What its calls return (objects, readers, streams) belongs
// to it and is released with it or when the same method runs again; callers
// copy out what they need first.

#include "baglantiu.h"
#include "connection.h"
#include "mobilstokunit.h"

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>

class TServerMethods1Client : public qv::DSAdminClient
{
public:
    explicit TServerMethods1Client(qv::DBXConnection *ADBXConnection);
    ~TServerMethods1Client() override;

    // nullptr when the server answers null; owned by the proxy.
    TSonucBilgisi *BuyukGetir(const QString &idsi);
    // Object parameters are released once sent (pass a fresh copy); nullptr sends
    // null.
    std::shared_ptr<qv::TableData> StokAraGetir(const QString &kod,
                                                std::unique_ptr<TSonucBilgisi> bilgi);
    std::shared_ptr<qv::TableData> YenilerVer2(std::int32_t carino);
    std::shared_ptr<qv::TableData> KampanyaliVer2(std::int32_t cario, std::int32_t satici);
    std::shared_ptr<qv::TableData> StokHareketVer(std::int32_t carino, std::int32_t stokno);
    // 1 when the basket changed.
    std::int32_t SepetEkle2(std::unique_ptr<TSonucBilgisi> bilgim,
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
                            double ind4);
    std::shared_ptr<qv::TableData> SepetVer2(std::int32_t carino);
    std::int32_t SepetGuncelle2(std::unique_ptr<TSonucBilgisi> bilgim,
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
                                double ind4);
    std::int32_t SepetSatirSil(std::unique_ptr<TSonucBilgisi> bilgi,
                               std::int32_t satirno,
                               const QString &aciklamam);
    std::int32_t SepetHepsiniSil(std::unique_ptr<TSonucBilgisi> bilgi);
    void SepetSecimGuncelle(std::int32_t sirano, std::int32_t secim);
    QString CariVadeGunGecmismiBul(std::int32_t carino);
    // Readers are owned by the proxy's command and stay readable while other
    // methods of the same proxy run.
    qv::TableReader *TeslimVer();
    qv::TableReader *KargoVer();
    qv::TableReader *KargolarVer(std::int32_t gn);
    bool SiparisKaydet(std::unique_ptr<TSonucBilgisi> BB,
                       std::int32_t _carino,
                       std::int32_t _teslim,
                       std::int32_t _kargo,
                       const QString &_aciklama,
                       std::int32_t _verenid,
                       std::int32_t _kargoyeni);
    qv::TableReader *OncekiSiparisler(std::int32_t carino);
    qv::TableReader *SiparisAyrintisi2(std::int32_t carino, std::int32_t idnosu);
    TSiparisDipAyrinti *SiparisAytintisiDip(std::int32_t carino, std::int32_t siranosu);
    qv::TableReader *BakiyelerVer2(std::int32_t carino);
    std::int32_t BakiyeDuzenle(std::unique_ptr<TSonucBilgisi> k,
                               std::int32_t stokno,
                               std::int32_t sepetsirano,
                               std::int32_t siparissirano,
                               double Adet,
                               double Bakiye,
                               const QString &barkod);
    std::int32_t BakiyeDegistir(std::unique_ptr<TSonucBilgisi> k,
                                std::int32_t stokno,
                                std::int32_t sepetsirano,
                                std::int32_t siparissirano,
                                double Adet,
                                double Bakiye,
                                const QString &barkod);
    std::int32_t BakiyeFiyatDegistir(std::unique_ptr<TSonucBilgisi> k,
                                     std::int32_t stokno,
                                     std::int32_t sepetsirano,
                                     std::int32_t siparissirano,
                                     double Adet,
                                     double Bakiye,
                                     const QString &barkod,
                                     double fiyat,
                                     double ind);
    qv::TableReader *TumSiparislerVer(std::int32_t carino, std::int32_t stokno);
    qv::TableReader *CariEkstreVer(std::int32_t carino);
    qv::TableReader *FaturaGetir(std::int32_t carino, std::int32_t idnosu);
    qv::TableReader *FaturaAltGetir(std::int32_t idnosu);
    qv::TableReader *Tahsilat(std::int32_t idnosu);
    std::int32_t SanalposSiranoVer(std::int32_t idnosu);
    // Stream results are owned by the proxy's command; the out parameter is their
    // announced length.
    QIODevice *SAnalPosPdfVer(std::int32_t sirano, std::int64_t &boy);
    QString CariDurumVer(std::int32_t carino);
    qv::TableReader *CariAra(std::unique_ptr<TSonucBilgisi> bil, const QString &aranan);
    qv::TableReader *CariSepetVer(std::unique_ptr<TSonucBilgisi> bil, std::int32_t n);
    std::int32_t SepetSayisi(std::unique_ptr<TSonucBilgisi> bil);
    TTusSonuclari *TusSonuclariVer(std::unique_ptr<TSonucBilgisi> bil);
    QIODevice *RaporGetir(std::int32_t raporno,
                          std::int32_t bolum,
                          std::int32_t idno,
                          std::int32_t carino,
                          const QString &saticiadi,
                          double tarih1,
                          double tarih2,
                          std::int64_t &size);
    qv::TableReader *RaporAlinanSiparisler(std::unique_ptr<TSonucBilgisi> bilgi,
                                           double tarih1,
                                           double tarih2);
    qv::TableReader *RaporEnCokSatilanStoklar(std::unique_ptr<TSonucBilgisi> bilgi,
                                              double tarih1,
                                              double tarih2);
    QString KayanYaziGetir();
    QIODevice *BannerResimVer(std::int64_t &size);
    QIODevice *BannerResimVer2(std::int64_t &size);
    QIODevice *BannerResimVer3(std::int64_t &size);
    std::int32_t AcilisReklamAdet();
    TAcilisEkran *AcilisREklamVer(std::int32_t sira);
    TAcilisEkranlariki *AcilisEkranlarVer2();
    qv::TableReader *BalonGetir(std::unique_ptr<TSonucBilgisi> bil);
    std::int32_t MailGonserCari(const QString &idsi,
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
                                const QString &kargoambar);
    std::int32_t MailGonserCariNormal(const QString &idsi,
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
                                      const QString &konu);
    TMobilCariBilgisi *MobilCariBilgisiGetir(std::int32_t sirano, const QString &_idsi);
    QIODevice *ResimVer5(std::int32_t stokno, std::int64_t &boy);

private:
    std::unique_ptr<qv::DBXCommand> FBuyukGetirCommand;
    std::unique_ptr<qv::DBXCommand> FStokAraGetirCommand;
    std::unique_ptr<qv::DBXCommand> FYenilerVer2Command;
    std::unique_ptr<qv::DBXCommand> FKampanyaliVer2Command;
    std::unique_ptr<qv::DBXCommand> FStokHareketVerCommand;
    std::unique_ptr<qv::DBXCommand> FSepetEkle2Command;
    std::unique_ptr<qv::DBXCommand> FSepetVer2Command;
    std::unique_ptr<qv::DBXCommand> FSepetGuncelle2Command;
    std::unique_ptr<qv::DBXCommand> FSepetSatirSilCommand;
    std::unique_ptr<qv::DBXCommand> FSepetHepsiniSilCommand;
    std::unique_ptr<qv::DBXCommand> FSepetSecimGuncelleCommand;
    std::unique_ptr<qv::DBXCommand> FCariVadeGunGecmismiBulCommand;
    std::unique_ptr<qv::DBXCommand> FTeslimVerCommand;
    std::unique_ptr<qv::DBXCommand> FKargoVerCommand;
    std::unique_ptr<qv::DBXCommand> FKargolarVerCommand;
    std::unique_ptr<qv::DBXCommand> FSiparisKaydetCommand;
    std::unique_ptr<qv::DBXCommand> FOncekiSiparislerCommand;
    std::unique_ptr<qv::DBXCommand> FSiparisAyrintisi2Command;
    std::unique_ptr<qv::DBXCommand> FSiparisAytintisiDipCommand;
    std::unique_ptr<qv::DBXCommand> FBakiyelerVer2Command;
    std::unique_ptr<qv::DBXCommand> FBakiyeDuzenleCommand;
    std::unique_ptr<qv::DBXCommand> FBakiyeDegistirCommand;
    std::unique_ptr<qv::DBXCommand> FBakiyeFiyatDegistirCommand;
    std::unique_ptr<qv::DBXCommand> FTumSiparislerVerCommand;
    std::unique_ptr<qv::DBXCommand> FCariEkstreVerCommand;
    std::unique_ptr<qv::DBXCommand> FFaturaGetirCommand;
    std::unique_ptr<qv::DBXCommand> FFaturaAltGetirCommand;
    std::unique_ptr<qv::DBXCommand> FTahsilatCommand;
    std::unique_ptr<qv::DBXCommand> FSanalposSiranoVerCommand;
    std::unique_ptr<qv::DBXCommand> FSAnalPosPdfVerCommand;
    std::unique_ptr<qv::DBXCommand> FCariDurumVerCommand;
    std::unique_ptr<qv::DBXCommand> FCariAraCommand;
    std::unique_ptr<qv::DBXCommand> FCariSepetVerCommand;
    std::unique_ptr<qv::DBXCommand> FSepetSayisiCommand;
    std::unique_ptr<qv::DBXCommand> FTusSonuclariVerCommand;
    std::unique_ptr<qv::DBXCommand> FRaporGetirCommand;
    std::unique_ptr<qv::DBXCommand> FRaporAlinanSiparislerCommand;
    std::unique_ptr<qv::DBXCommand> FRaporEnCokSatilanStoklarCommand;
    std::unique_ptr<qv::DBXCommand> FKayanYaziGetirCommand;
    std::unique_ptr<qv::DBXCommand> FBannerResimVerCommand;
    std::unique_ptr<qv::DBXCommand> FBannerResimVer2Command;
    std::unique_ptr<qv::DBXCommand> FBannerResimVer3Command;
    std::unique_ptr<qv::DBXCommand> FAcilisReklamAdetCommand;
    std::unique_ptr<qv::DBXCommand> FAcilisREklamVerCommand;
    std::unique_ptr<qv::DBXCommand> FAcilisEkranlarVer2Command;
    std::unique_ptr<qv::DBXCommand> FBalonGetirCommand;
    std::unique_ptr<qv::DBXCommand> FMailGonserCariCommand;
    std::unique_ptr<qv::DBXCommand> FMailGonserCariNormalCommand;
    std::unique_ptr<qv::DBXCommand> FMobilCariBilgisiGetirCommand;
    std::unique_ptr<qv::DBXCommand> FResimVer5Command;
};
