#include "baglantiu.h"

using qv::wire::field;

void TSonucBilgisi::Kopyala(const TSonucBilgisi &source)
{
    *this = source;
}

const qv::wire::RecordClass &TSonucBilgisi::staticClass()
{
    using C = TSonucBilgisi;
    static const qv::wire::RecordClass cls(
        "baglantiu",
        "TSonucBilgisi",
        [] { return std::make_unique<C>(); },
        {
            field("FBILGISAYARID", &C::FBILGISAYARID),
            field("FSaticiMail", &C::FSaticiMail),
            field("FSirano", &C::FSirano),
            field("FCariAdi", &C::FCariAdi),
            field("FSIFRE", &C::FSIFRE),
            field("FSaticiNo", &C::FSaticiNo),
            field("FCARINO", &C::FCARINO),
            field("FAKTIF", &C::FAKTIF),
            field("FKullanicimail", &C::FKullanicimail),
            field("FADI", &C::FADI),
            field("FSaticiTelefon", &C::FSaticiTelefon),
            field("Fcarikod", &C::Fcarikod),
            field("FVarmi", &C::FVarmi),
            field("FSaticiAdi", &C::FSaticiAdi),
            field("FBilgiSayarAdi", &C::FBilgiSayarAdi),
            field("FDisip", &C::FDisip),
            field("FIcip", &C::FIcip),
            field("FBilgisayarKullanici", &C::FBilgisayarKullanici),
            field("FMusteriTipi", &C::FMusteriTipi),
            field("FVersion", &C::FVersion),
        });
    return cls;
}

void TSiparisDipAyrinti::Kopyala(const TSiparisDipAyrinti &source)
{
    *this = source;
}

const qv::wire::RecordClass &TSiparisDipAyrinti::staticClass()
{
    using C = TSiparisDipAyrinti;
    static const qv::wire::RecordClass cls("baglantiu",
                                           "TSiparisDipAyrinti",
                                           [] { return std::make_unique<C>(); },
                                           {
                                               field("FSizinMesaj", &C::FSizinMesaj),
                                               field("FDurumu", &C::FDurumu),
                                               field("FVeren", &C::FVeren),
                                               field("FKargo", &C::FKargo),
                                               field("FBizimMesaj", &C::FBizimMesaj),
                                               field("FTeslimCinsi", &C::FTeslimCinsi),
                                               field("FKargoCinsi", &C::FKargoCinsi),
                                               field("FSaticiNotu", &C::FSaticiNotu),
                                           });
    return cls;
}

void TTusSonuclari::Kopyala(const TTusSonuclari &source)
{
    *this = source;
}

const qv::wire::RecordClass &TTusSonuclari::staticClass()
{
    using C = TTusSonuclari;
    static const qv::wire::RecordClass cls("baglantiu",
                                           "TTusSonuclari",
                                           [] { return std::make_unique<C>(); },
                                           {
                                               field("FAlindi", &C::FAlindi),
                                               field("FOnaylandi", &C::FOnaylandi),
                                               field("FParcaliHazirlandi", &C::FParcaliHazirlandi),
                                               field("FSevkEdildi", &C::FSevkEdildi),
                                               field("FHazirlandi", &C::FHazirlandi),
                                               field("FGoruldu", &C::FGoruldu),
                                           });
    return cls;
}

namespace {
// Known to unmarshal as soon as this unit is linked in.
[[maybe_unused]] const bool registered = (TSonucBilgisi::staticClass(),
                                          TSiparisDipAyrinti::staticClass(),
                                          TTusSonuclari::staticClass(),
                                          true);
} // namespace
