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

namespace {
// Known to unmarshal as soon as this unit is linked in.
[[maybe_unused]] const bool registered = (TSonucBilgisi::staticClass(), true);
} // namespace
