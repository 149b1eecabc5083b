#include "mobilstokunit.h"

using qv::wire::field;

void TMobilCariBilgisi::Kopyala(const TMobilCariBilgisi &source)
{
    *this = source;
}

const qv::wire::RecordClass &TMobilCariBilgisi::staticClass()
{
    using C = TMobilCariBilgisi;
    static const qv::wire::RecordClass cls("mobilstokunit",
                                           "TMobilCariBilgisi",
                                           [] { return std::make_unique<C>(); },
                                           {
                                               field("FBILGISAYARID", &C::FBILGISAYARID),
                                               field("FSEHIR", &C::FSEHIR),
                                               field("FFAX1", &C::FFAX1),
                                               field("FSATICIMAIL", &C::FSATICIMAIL),
                                               field("FSATICIADI", &C::FSATICIADI),
                                               field("FCARIADI", &C::FCARIADI),
                                               field("FEMAIL", &C::FEMAIL),
                                               field("FVERGIDAIRESI", &C::FVERGIDAIRESI),
                                               field("FYETKILI", &C::FYETKILI),
                                               field("FAltGrup", &C::FAltGrup),
                                               field("FTEL2", &C::FTEL2),
                                               field("FSIFRE", &C::FSIFRE),
                                               field("FGSM", &C::FGSM),
                                               field("FTEL1", &C::FTEL1),
                                               field("FADRES2", &C::FADRES2),
                                               field("FTLBORC", &C::FTLBORC),
                                               field("FTLALACAK", &C::FTLALACAK),
                                               field("FADRES1", &C::FADRES1),
                                               field("FULKE", &C::FULKE),
                                               field("FAnaGrup", &C::FAnaGrup),
                                               field("FCARINO", &C::FCARINO),
                                               field("FTLBAKIYE", &C::FTLBAKIYE),
                                               field("FVERGINO", &C::FVERGINO),
                                               field("FMAIL", &C::FMAIL),
                                               field("FOzelKod", &C::FOzelKod),
                                               field("FKULLANICIADI", &C::FKULLANICIADI),
                                               field("FSATICITELEFON", &C::FSATICITELEFON),
                                               field("FCARIKOD", &C::FCARIKOD),
                                               field("FFAX2", &C::FFAX2),
                                               field("FILCE", &C::FILCE),
                                           });
    return cls;
}

const qv::wire::RecordClass &TAcilisEkran::staticClass()
{
    using C = TAcilisEkran;
    static const qv::wire::RecordClass cls("mobilstokunit",
                                           "TAcilisEkran",
                                           [] { return std::make_unique<C>(); },
                                           {
                                               field("FSiraNo", &C::FSiraNo),
                                               field("FResim", &C::FResim),
                                               field("FBaslik", &C::FBaslik),
                                               field("FArama", &C::FArama),
                                           });
    return cls;
}

const qv::wire::RecordClass &TAcilisEkranlariki::staticClass()
{
    using C = TAcilisEkranlariki;
    static const qv::wire::RecordClass cls("mobilstokunit",
                                           "TAcilisEkranlariki",
                                           [] { return std::make_unique<C>(); },
                                           {field("FEkranlar", &C::FEkranlar)});
    return cls;
}

namespace {
// Known to unmarshal as soon as this unit is linked in.
[[maybe_unused]] const bool registered = (TMobilCariBilgisi::staticClass(),
                                          TAcilisEkran::staticClass(),
                                          TAcilisEkranlariki::staticClass(),
                                          true);
} // namespace
