#pragma once

// Login record and the other records of unit baglantiu that travel as JSON
// objects. Storage fields carry the prefix F; each property is a reader
// named after it and a writer set<Property>.

#include "marshal.h"

#include <QString>

#include <cstdint>

// The reader and writer of the property Name over its storage field FName.
#define QV_PROPERTY(Type, Name)                                                                    \
    Type Name() const                                                                              \
    {                                                                                              \
        return F##Name;                                                                            \
    }                                                                                              \
    void set##Name(const Type &value)                                                              \
    {                                                                                              \
        F##Name = value;                                                                           \
    }

class TSonucBilgisi : public qv::wire::Record
{
public:
    TSonucBilgisi() = default;

    QV_PROPERTY(std::int32_t, Sirano)
    QV_PROPERTY(QString, BILGISAYARID)
    QV_PROPERTY(QString, ADI)
    QV_PROPERTY(QString, SIFRE)
    QV_PROPERTY(std::int32_t, CARINO)
    QV_PROPERTY(std::int32_t, AKTIF)
    QV_PROPERTY(QString, Kullanicimail)
    QV_PROPERTY(QString, carikod)
    QV_PROPERTY(QString, CariAdi)
    QV_PROPERTY(std::int32_t, SaticiNo)
    QV_PROPERTY(QString, SaticiTelefon)
    QV_PROPERTY(QString, SaticiMail)
    QV_PROPERTY(bool, Varmi)
    QV_PROPERTY(QString, SaticiAdi)
    QV_PROPERTY(QString, BilgiSayarAdi)
    QV_PROPERTY(QString, Disip)
    QV_PROPERTY(QString, Icip)
    QV_PROPERTY(QString, BilgisayarKullanici)
    QV_PROPERTY(std::int32_t, MusteriTipi)
    QV_PROPERTY(std::int32_t, Version)

    // Copies every field of source.
    void Kopyala(const TSonucBilgisi &source);

    static const qv::wire::RecordClass &staticClass();
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }

private:
    // Declaration order is the order of the JSON "fields" object.
    QString FBILGISAYARID;
    QString FSaticiMail;
    std::int32_t FSirano = 0;
    QString FCariAdi;
    QString FSIFRE;
    std::int32_t FSaticiNo = 0;
    std::int32_t FCARINO = 0;
    std::int32_t FAKTIF = 0;
    QString FKullanicimail;
    QString FADI;
    QString FSaticiTelefon;
    QString Fcarikod;
    bool FVarmi = false;
    QString FSaticiAdi;
    QString FBilgiSayarAdi;
    QString FDisip;
    QString FIcip;
    QString FBilgisayarKullanici;
    std::int32_t FMusteriTipi = 1;
    std::int32_t FVersion = 1;
};

// Footer details of one order: notes, status and delivery choices.
class TSiparisDipAyrinti : public qv::wire::Record
{
public:
    TSiparisDipAyrinti() = default;

    QV_PROPERTY(QString, SizinMesaj)
    QV_PROPERTY(QString, Durumu)
    QV_PROPERTY(QString, Veren)
    QV_PROPERTY(QString, Kargo)
    QV_PROPERTY(QString, BizimMesaj)
    QV_PROPERTY(QString, TeslimCinsi)
    QV_PROPERTY(QString, KargoCinsi)
    QV_PROPERTY(QString, SaticiNotu)

    void Kopyala(const TSiparisDipAyrinti &source);

    static const qv::wire::RecordClass &staticClass();
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }

private:
    QString FSizinMesaj;
    QString FDurumu;
    QString FVeren;
    QString FKargo;
    QString FBizimMesaj;
    QString FTeslimCinsi;
    QString FKargoCinsi;
    QString FSaticiNotu;
};

// Order counts per status, shown on the customer selection's buttons.
class TTusSonuclari : public qv::wire::Record
{
public:
    TTusSonuclari() = default;

    QV_PROPERTY(std::int32_t, Alindi)
    QV_PROPERTY(std::int32_t, Onaylandi)
    QV_PROPERTY(std::int32_t, ParcaliHazirlandi)
    QV_PROPERTY(std::int32_t, SevkEdildi)
    QV_PROPERTY(std::int32_t, Hazirlandi)
    QV_PROPERTY(std::int32_t, Goruldu)

    void Kopyala(const TTusSonuclari &source);

    static const qv::wire::RecordClass &staticClass();
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }

private:
    std::int32_t FAlindi = 0;
    std::int32_t FOnaylandi = 0;
    std::int32_t FParcaliHazirlandi = 0;
    std::int32_t FSevkEdildi = 0;
    std::int32_t FHazirlandi = 0;
    std::int32_t FGoruldu = 0;
};
