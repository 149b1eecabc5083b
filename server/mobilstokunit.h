#pragma once

// Records of unit mobilstokunit that this client exchanges: the customer
// details and the opening screens.

#include "baglantiu.h"
#include "marshal.h"

#include <QString>

#include <cstdint>

// Details of one customer account, with its salesperson and money figures.
class TMobilCariBilgisi : public qv::wire::Record
{
public:
    TMobilCariBilgisi() = default;

    QV_PROPERTY(QString, BILGISAYARID)
    QV_PROPERTY(QString, SEHIR)
    QV_PROPERTY(QString, FAX1)
    QV_PROPERTY(QString, SATICIMAIL)
    QV_PROPERTY(QString, SATICIADI)
    QV_PROPERTY(QString, CARIADI)
    QV_PROPERTY(QString, EMAIL)
    QV_PROPERTY(QString, VERGIDAIRESI)
    QV_PROPERTY(QString, YETKILI)
    QV_PROPERTY(QString, AltGrup)
    QV_PROPERTY(QString, TEL2)
    QV_PROPERTY(QString, SIFRE)
    QV_PROPERTY(QString, GSM)
    QV_PROPERTY(QString, TEL1)
    QV_PROPERTY(QString, ADRES2)
    QV_PROPERTY(double, TLBORC)
    QV_PROPERTY(double, TLALACAK)
    QV_PROPERTY(QString, ADRES1)
    QV_PROPERTY(QString, ULKE)
    QV_PROPERTY(QString, AnaGrup)
    QV_PROPERTY(std::int32_t, CARINO)
    QV_PROPERTY(double, TLBAKIYE)
    QV_PROPERTY(QString, VERGINO)
    QV_PROPERTY(QString, MAIL)
    QV_PROPERTY(QString, OzelKod)
    QV_PROPERTY(QString, KULLANICIADI)
    QV_PROPERTY(QString, SATICITELEFON)
    QV_PROPERTY(QString, CARIKOD)
    QV_PROPERTY(QString, FAX2)
    QV_PROPERTY(QString, ILCE)

    void Kopyala(const TMobilCariBilgisi &source);

    static const qv::wire::RecordClass &staticClass();
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }

private:
    // Declaration order is the order of the JSON "fields" object.
    QString FBILGISAYARID;
    QString FSEHIR;
    QString FFAX1;
    QString FSATICIMAIL;
    QString FSATICIADI;
    QString FCARIADI;
    QString FEMAIL;
    QString FVERGIDAIRESI;
    QString FYETKILI;
    QString FAltGrup;
    QString FTEL2;
    QString FSIFRE;
    QString FGSM;
    QString FTEL1;
    QString FADRES2;
    double FTLBORC = 0;
    double FTLALACAK = 0;
    QString FADRES1;
    QString FULKE;
    QString FAnaGrup;
    std::int32_t FCARINO = 0;
    double FTLBAKIYE = 0;
    QString FVERGINO;
    QString FMAIL;
    QString FOzelKod;
    QString FKULLANICIADI;
    QString FSATICITELEFON;
    QString FCARIKOD;
    QString FFAX2;
    QString FILCE;
};

// One opening screen; FResim is a JPEG file as hexadecimal text.
class TAcilisEkran : public qv::wire::Record
{
public:
    TAcilisEkran() = default;

    QV_PROPERTY(std::int32_t, SiraNo)
    QV_PROPERTY(QString, Resim)
    QV_PROPERTY(QString, Baslik)
    QV_PROPERTY(QString, Arama)

    static const qv::wire::RecordClass &staticClass();
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }

private:
    std::int32_t FSiraNo = 0;
    QString FResim;
    QString FBaslik;
    QString FArama;
};

// The opening screens in display order.
class TAcilisEkranlariki : public qv::wire::Record
{
public:
    TAcilisEkranlariki() = default;

    qv::wire::RecordList<TAcilisEkran> &Ekranlar() { return FEkranlar; }
    const qv::wire::RecordList<TAcilisEkran> &Ekranlar() const { return FEkranlar; }

    static const qv::wire::RecordClass &staticClass();
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }

private:
    qv::wire::RecordList<TAcilisEkran> FEkranlar;
};
