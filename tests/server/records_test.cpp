// Records in their JSON object form: exact bytes out, strict checks in.
#include "baglantiu.h"
#include "errors.h"
#include "marshal.h"
#include "mobilstokunit.h"

#include <gtest/gtest.h>

#include <functional>

using qv::wire::marshal;
using qv::wire::unmarshal;
using qv::wire::unmarshalAs;

namespace {

// A record with an array-of-records field, shaped like the opening-screen list.
class TEkran : public qv::wire::Record
{
public:
    std::int32_t FSiraNo = 0;
    QString FBaslik;
    double FOran = 0;

    static const qv::wire::RecordClass &staticClass()
    {
        using qv::wire::field;
        static const qv::wire::RecordClass cls("deneme",
                                               "TEkran",
                                               [] { return std::make_unique<TEkran>(); },
                                               {field("FSiraNo", &TEkran::FSiraNo),
                                                field("FBaslik", &TEkran::FBaslik),
                                                field("FOran", &TEkran::FOran)});
        return cls;
    }
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }
};

class TListe : public qv::wire::Record
{
public:
    QString FAdi;
    qv::wire::RecordList<TEkran> FEkranlar;
    std::int32_t FSon = 0;

    static const qv::wire::RecordClass &staticClass()
    {
        using qv::wire::field;
        static const qv::wire::RecordClass cls("deneme",
                                               "TListe",
                                               [] { return std::make_unique<TListe>(); },
                                               {field("FAdi", &TListe::FAdi),
                                                field("FEkranlar", &TListe::FEkranlar),
                                                field("FSon", &TListe::FSon)});
        return cls;
    }
    const qv::wire::RecordClass &recordClass() const override { return staticClass(); }
};

TSonucBilgisi filledRecord()
{
    TSonucBilgisi b;
    b.setSirano(12);
    b.setBILGISAYARID(QStringLiteral("ABC-123"));
    b.setADI(QStringLiteral("ayşe"));
    b.setSIFRE(QStringLiteral("p\"w\\d"));
    b.setCARINO(4711);
    b.setAKTIF(1);
    b.setKullanicimail(QStringLiteral("a@b.tr"));
    b.setcarikod(QStringLiteral("120.01"));
    b.setCariAdi(QStringLiteral("ÇAĞDAŞ OTO İŞ"));
    b.setSaticiNo(-3);
    b.setSaticiTelefon(QStringLiteral("0212 555"));
    b.setSaticiMail(QStringLiteral("s@b.tr"));
    b.setVarmi(true);
    b.setSaticiAdi(QStringLiteral("Ünal"));
    b.setBilgiSayarAdi(QStringLiteral("PC1"));
    b.setDisip(QStringLiteral("1.2.3.4"));
    b.setIcip(QStringLiteral("10.0.0.5"));
    b.setBilgisayarKullanici(QStringLiteral("kullanıcı"));
    b.setMusteriTipi(2);
    b.setVersion(4);
    return b;
}

const std::string kFilledJson
    = R"({"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FBILGISAYARID":"ABC-123",)"
      R"("FSaticiMail":"s@b.tr","FSirano":12,"FCariAdi":"ÇAĞDAŞ OTO İŞ","FSIFRE":"p\"w\\d",)"
      R"("FSaticiNo":-3,"FCARINO":4711,"FAKTIF":1,"FKullanicimail":"a@b.tr","FADI":"ayşe",)"
      R"("FSaticiTelefon":"0212 555","Fcarikod":"120.01","FVarmi":true,"FSaticiAdi":"Ünal",)"
      R"("FBilgiSayarAdi":"PC1","FDisip":"1.2.3.4","FIcip":"10.0.0.5",)"
      R"("FBilgisayarKullanici":"kullanıcı","FMusteriTipi":2,"FVersion":4}})";

TEST(TSonucBilgisi, DefaultRecordJsonByteForByte)
{
    const TSonucBilgisi b;
    EXPECT_EQ(marshal(&b),
              R"({"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FBILGISAYARID":"",)"
              R"("FSaticiMail":"","FSirano":0,"FCariAdi":"","FSIFRE":"","FSaticiNo":0,)"
              R"("FCARINO":0,"FAKTIF":0,"FKullanicimail":"","FADI":"","FSaticiTelefon":"",)"
              R"("Fcarikod":"","FVarmi":false,"FSaticiAdi":"","FBilgiSayarAdi":"","FDisip":"",)"
              R"("FIcip":"","FBilgisayarKullanici":"","FMusteriTipi":1,"FVersion":1}})");
}

TEST(TSonucBilgisi, FilledRecordJsonByteForByteAndBack)
{
    const TSonucBilgisi b = filledRecord();
    EXPECT_EQ(marshal(&b), kFilledJson);
    auto back = unmarshalAs<TSonucBilgisi>(kFilledJson);
    ASSERT_TRUE(back);
    EXPECT_EQ(marshal(back.get()), kFilledJson);
}

TEST(TSonucBilgisi, KopyalaCopiesEveryField)
{
    const TSonucBilgisi source = filledRecord();
    TSonucBilgisi copy;
    copy.Kopyala(source);
    EXPECT_EQ(marshal(&copy), kFilledJson);
    EXPECT_EQ(copy.CARINO(), 4711);
    EXPECT_EQ(copy.SIFRE(), QStringLiteral("p\"w\\d"));

    // And back to the defaults from a fresh record.
    copy.Kopyala(TSonucBilgisi());
    EXPECT_EQ(copy.MusteriTipi(), 1);
    EXPECT_EQ(copy.Version(), 1);
    EXPECT_FALSE(copy.Varmi());
    EXPECT_TRUE(copy.ADI().isEmpty());
}

TEST(Unmarshal, NullGivesNoRecord)
{
    EXPECT_EQ(unmarshal("null"), nullptr);
    EXPECT_EQ(unmarshalAs<TSonucBilgisi>(" null "), nullptr);
    EXPECT_EQ(marshal(nullptr), "null");
}

TEST(Unmarshal, MissingFieldsKeepDefaultsAndOrderDoesNotMatter)
{
    auto b = unmarshalAs<TSonucBilgisi>(
        R"({"fields":{"FVersion":7,"FCARINO":5},"id":9,"type":"baglantiu.TSonucBilgisi"})");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->CARINO(), 5);
    EXPECT_EQ(b->Version(), 7);
    EXPECT_EQ(b->MusteriTipi(), 1);
    EXPECT_FALSE(b->Varmi());
}

TEST(Unmarshal, ErrorsNameTheProblem)
{
    TListe::staticClass();
    const std::string head = R"({"type":"baglantiu.TSonucBilgisi","id":1,"fields":)";
    struct Case
    {
        const char *name;
        std::string json;
        const char *text;
    };
    const Case cases[] = {
        {"unknown type",
         R"({"type":"baglantiu.TYok","id":1,"fields":{}})",
         "Internal: Cannot instantiate type baglantiu.TYok"},
        {"unknown field",
         head + R"({"FCARINO":1,"FYok":2}})",
         "Internal: Field FYok cannot be found in type baglantiu.TSonucBilgisi"},
        {"string for Integer",
         head + R"({"FCARINO":"5"}})",
         "Internal: Field FCARINO of type baglantiu.TSonucBilgisi expects an integer, got string"},
        {"fraction for Integer", head + R"({"FCARINO":1.5}})", "expects an integer"},
        {"Integer out of range", head + R"({"FCARINO":3000000000}})", "out of the 32-bit range"},
        {"number for Boolean",
         head + R"({"FVarmi":1}})",
         "FVarmi of type baglantiu.TSonucBilgisi expects true or false, got integer"},
        {"number for string",
         head + R"({"FADI":3}})",
         "FADI of type baglantiu.TSonucBilgisi expects a string"},
        {"null for string", head + R"({"FADI":null}})", "expects a string, got null"},
        {"no type", R"({"id":1,"fields":{}})", "has no \"type\" string"},
        {"no fields", R"({"type":"baglantiu.TSonucBilgisi","id":1})", "has no \"fields\" object"},
        {"not an object", "[1,2]", "must be a JSON object or null"},
        {"not JSON", "{\"type\":", "not valid JSON"},
        {"other class",
         R"({"type":"deneme.TListe","id":1,"fields":{}})",
         "Internal: Type deneme.TListe is not of type baglantiu.TSonucBilgisi"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        try {
            unmarshalAs<TSonucBilgisi>(c.json);
            ADD_FAILURE() << "no error";
        } catch (const qv::Error &e) {
            EXPECT_NE(std::string(e.what()).find(c.text), std::string::npos) << e.what();
        }
    }
}

TEST(RecordArrays, NestedObjectsAreNumberedInWriteOrder)
{
    TListe l;
    l.FAdi = QStringLiteral("açılış");
    for (int i = 0; i < 2; ++i) {
        TEkran &e = l.FEkranlar.append();
        e.FSiraNo = i + 1;
        e.FBaslik = QStringLiteral("B%1").arg(i);
        e.FOran = i ? 1e-7 : 0.5;
    }
    l.FSon = 3;
    const std::string json = marshal(&l);
    EXPECT_EQ(
        json,
        R"({"type":"deneme.TListe","id":1,"fields":{"FAdi":"açılış","FEkranlar":[)"
        R"({"type":"deneme.TEkran","id":2,"fields":{"FSiraNo":1,"FBaslik":"B0","FOran":0.5}},)"
        R"({"type":"deneme.TEkran","id":3,"fields":{"FSiraNo":2,"FBaslik":"B1","FOran":1e-07}}],)"
        R"("FSon":3}})");

    auto back = unmarshalAs<TListe>(json);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->FEkranlar.size(), 2u);
    EXPECT_EQ(back->FEkranlar[1].FBaslik, QStringLiteral("B1"));
    EXPECT_EQ(back->FEkranlar[1].FOran, 1e-7);
    EXPECT_EQ(marshal(back.get()), json);
}

TEST(RecordArrays, EmptyArrayAndBadElements)
{
    TListe empty;
    EXPECT_EQ(marshal(&empty),
              R"({"type":"deneme.TListe","id":1,"fields":{"FAdi":"","FEkranlar":[],"FSon":0}})");
    auto back = unmarshalAs<TListe>(marshal(&empty));
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->FEkranlar.empty());

    const char *bad[][2] = {
        {R"({"type":"deneme.TListe","id":1,"fields":{"FEkranlar":[null]}})", "holds a null record"},
        {R"({"type":"deneme.TListe","id":1,"fields":{"FEkranlar":[{"type":"deneme.TListe","id":2,"fields":{}}]}})",
         "cannot be an element of an array of deneme.TEkran"},
        {R"({"type":"deneme.TListe","id":1,"fields":{"FEkranlar":{}}})",
         "expects an array of records, got object"},
        {R"({"type":"deneme.TListe","id":1,"fields":{"FEkranlar":[{"type":"deneme.TEkran","id":2,"fields":{"FX":1}}]}})",
         "Field FX cannot be found in type deneme.TEkran"},
    };
    for (const auto &c : bad) {
        SCOPED_TRACE(c[0]);
        try {
            unmarshal(c[0]);
            ADD_FAILURE() << "no error";
        } catch (const qv::Error &e) {
            EXPECT_NE(std::string(e.what()).find(c[1]), std::string::npos) << e.what();
        }
    }
}

// ---- the other records of baglantiu and mobilstokunit ----

TSiparisDipAyrinti filledDip()
{
    TSiparisDipAyrinti d;
    d.setSizinMesaj(QStringLiteral("acil \"lütfen\""));
    d.setDurumu(QStringLiteral("ONAYLANDI"));
    d.setVeren(QStringLiteral("BAYI1"));
    d.setKargo(QStringLiteral("YURTİÇİ"));
    d.setBizimMesaj(QStringLiteral("satır1\r\nsatır2"));
    d.setTeslimCinsi(QStringLiteral("KARGO İLE"));
    d.setKargoCinsi(QStringLiteral("ALICI ÖDEMELİ"));
    d.setSaticiNotu(QStringLiteral("not\\"));
    return d;
}

TTusSonuclari filledTus()
{
    TTusSonuclari t;
    t.setAlindi(1);
    t.setOnaylandi(2);
    t.setParcaliHazirlandi(3);
    t.setSevkEdildi(-4);
    t.setHazirlandi(2147483647);
    t.setGoruldu(6);
    return t;
}

TMobilCariBilgisi filledCari()
{
    TMobilCariBilgisi c;
    c.setBILGISAYARID(QStringLiteral("bilgisayarid-ş0"));
    c.setSEHIR(QStringLiteral("sehir-ş1"));
    c.setFAX1(QStringLiteral("fax1-ş2"));
    c.setSATICIMAIL(QStringLiteral("saticimail-ş3"));
    c.setSATICIADI(QStringLiteral("saticiadi-ş4"));
    c.setCARIADI(QStringLiteral("cariadi-ş5"));
    c.setEMAIL(QStringLiteral("email-ş6"));
    c.setVERGIDAIRESI(QStringLiteral("vergidairesi-ş7"));
    c.setYETKILI(QStringLiteral("yetkili-ş8"));
    c.setAltGrup(QStringLiteral("altgrup-ş9"));
    c.setTEL2(QStringLiteral("tel2-ş10"));
    c.setSIFRE(QStringLiteral("sifre-ş11"));
    c.setGSM(QStringLiteral("gsm-ş12"));
    c.setTEL1(QStringLiteral("tel1-ş13"));
    c.setADRES2(QStringLiteral("adres2-ş14"));
    c.setTLBORC(1250.75);
    c.setTLALACAK(-0.5);
    c.setADRES1(QStringLiteral("adres1-ş17"));
    c.setULKE(QStringLiteral("ulke-ş18"));
    c.setAnaGrup(QStringLiteral("anagrup-ş19"));
    c.setCARINO(1001);
    c.setTLBAKIYE(1251.25);
    c.setVERGINO(QStringLiteral("vergino-ş22"));
    c.setMAIL(QStringLiteral("mail-ş23"));
    c.setOzelKod(QStringLiteral("ozelkod-ş24"));
    c.setKULLANICIADI(QStringLiteral("kullaniciadi-ş25"));
    c.setSATICITELEFON(QStringLiteral("saticitelefon-ş26"));
    c.setCARIKOD(QStringLiteral("carikod-ş27"));
    c.setFAX2(QStringLiteral("fax2-ş28"));
    c.setILCE(QStringLiteral("ilce-ş29"));
    return c;
}

TAcilisEkran filledEkran(std::int32_t sira)
{
    TAcilisEkran e;
    e.setSiraNo(sira);
    e.setResim(QStringLiteral("FFD8FF%1").arg(sira));
    e.setBaslik(QStringLiteral("Kampanya %1").arg(sira));
    e.setArama(QStringLiteral("FİLTRE"));
    return e;
}

std::unique_ptr<qv::wire::Record> twoScreens()
{
    auto l = std::make_unique<TAcilisEkranlariki>();
    l->Ekranlar().append(std::make_unique<TAcilisEkran>(filledEkran(1)));
    l->Ekranlar().append(std::make_unique<TAcilisEkran>(filledEkran(2)));
    return l;
}

const std::string kDipFilled
    = R"({"type":"baglantiu.TSiparisDipAyrinti","id":1,"fields":{"FSizinMesaj":"acil \"lütfen\"",)"
      R"("FDurumu":"ONAYLANDI","FVeren":"BAYI1","FKargo":"YURTİÇİ",)"
      R"("FBizimMesaj":"satır1\r\nsatır2","FTeslimCinsi":"KARGO İLE",)"
      R"("FKargoCinsi":"ALICI ÖDEMELİ","FSaticiNotu":"not\\"}})";
const std::string kTusFilled
    = R"({"type":"baglantiu.TTusSonuclari","id":1,"fields":{"FAlindi":1,"FOnaylandi":2,)"
      R"("FParcaliHazirlandi":3,"FSevkEdildi":-4,"FHazirlandi":2147483647,"FGoruldu":6}})";
const std::string kCariDefault
    = R"({"type":"mobilstokunit.TMobilCariBilgisi","id":1,"fields":{"FBILGISAYARID":"",)"
      R"("FSEHIR":"","FFAX1":"","FSATICIMAIL":"","FSATICIADI":"","FCARIADI":"","FEMAIL":"",)"
      R"("FVERGIDAIRESI":"","FYETKILI":"","FAltGrup":"","FTEL2":"","FSIFRE":"","FGSM":"",)"
      R"("FTEL1":"","FADRES2":"","FTLBORC":0,"FTLALACAK":0,"FADRES1":"","FULKE":"",)"
      R"("FAnaGrup":"","FCARINO":0,"FTLBAKIYE":0,"FVERGINO":"","FMAIL":"","FOzelKod":"",)"
      R"("FKULLANICIADI":"","FSATICITELEFON":"","FCARIKOD":"","FFAX2":"","FILCE":""}})";
const std::string kCariFilled
    = R"({"type":"mobilstokunit.TMobilCariBilgisi","id":1,"fields":{"FBILGISAYARID":"bilgisayarid-ş0",)"
      R"("FSEHIR":"sehir-ş1","FFAX1":"fax1-ş2","FSATICIMAIL":"saticimail-ş3","FSATICIADI":"saticiadi-ş4",)"
      R"("FCARIADI":"cariadi-ş5","FEMAIL":"email-ş6","FVERGIDAIRESI":"vergidairesi-ş7",)"
      R"("FYETKILI":"yetkili-ş8","FAltGrup":"altgrup-ş9","FTEL2":"tel2-ş10","FSIFRE":"sifre-ş11",)"
      R"("FGSM":"gsm-ş12","FTEL1":"tel1-ş13","FADRES2":"adres2-ş14","FTLBORC":1250.75,)"
      R"("FTLALACAK":-0.5,"FADRES1":"adres1-ş17","FULKE":"ulke-ş18","FAnaGrup":"anagrup-ş19",)"
      R"("FCARINO":1001,"FTLBAKIYE":1251.25,"FVERGINO":"vergino-ş22","FMAIL":"mail-ş23",)"
      R"("FOzelKod":"ozelkod-ş24","FKULLANICIADI":"kullaniciadi-ş25","FSATICITELEFON":"saticitelefon-ş26",)"
      R"("FCARIKOD":"carikod-ş27","FFAX2":"fax2-ş28","FILCE":"ilce-ş29"}})";
const std::string kEkranlarFilled
    = R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[)"
      R"({"type":"mobilstokunit.TAcilisEkran","id":2,"fields":{"FSiraNo":1,)"
      R"("FResim":"FFD8FF1","FBaslik":"Kampanya 1","FArama":"FİLTRE"}},)"
      R"({"type":"mobilstokunit.TAcilisEkran","id":3,"fields":{"FSiraNo":2,)"
      R"("FResim":"FFD8FF2","FBaslik":"Kampanya 2","FArama":"FİLTRE"}}]}})";

struct RecordCase
{
    const char *name;
    std::function<std::unique_ptr<qv::wire::Record>()> fresh;
    std::string defaultJson;
    std::function<std::unique_ptr<qv::wire::Record>()> filled;
    std::string filledJson;
};

template<class T>
std::function<std::unique_ptr<qv::wire::Record>()> make(std::function<T()> f)
{
    return [f] {
        return std::make_unique<T>(f());
    };
}

std::vector<RecordCase> recordCases()
{
    return {
        {"TSiparisDipAyrinti",
         make<TSiparisDipAyrinti>([] { return TSiparisDipAyrinti(); }),
         R"({"type":"baglantiu.TSiparisDipAyrinti","id":1,"fields":{"FSizinMesaj":"",)"
         R"("FDurumu":"","FVeren":"","FKargo":"","FBizimMesaj":"","FTeslimCinsi":"",)"
         R"("FKargoCinsi":"","FSaticiNotu":""}})",
         make<TSiparisDipAyrinti>(filledDip),
         kDipFilled},
        {"TTusSonuclari",
         make<TTusSonuclari>([] { return TTusSonuclari(); }),
         R"({"type":"baglantiu.TTusSonuclari","id":1,"fields":{"FAlindi":0,"FOnaylandi":0,)"
         R"("FParcaliHazirlandi":0,"FSevkEdildi":0,"FHazirlandi":0,"FGoruldu":0}})",
         make<TTusSonuclari>(filledTus),
         kTusFilled},
        {"TMobilCariBilgisi",
         make<TMobilCariBilgisi>([] { return TMobilCariBilgisi(); }),
         kCariDefault,
         make<TMobilCariBilgisi>(filledCari),
         kCariFilled},
        {"TAcilisEkran",
         make<TAcilisEkran>([] { return TAcilisEkran(); }),
         R"({"type":"mobilstokunit.TAcilisEkran","id":1,"fields":{"FSiraNo":0,"FResim":"",)"
         R"("FBaslik":"","FArama":""}})",
         make<TAcilisEkran>([] { return filledEkran(7); }),
         R"({"type":"mobilstokunit.TAcilisEkran","id":1,"fields":{"FSiraNo":7,)"
         R"("FResim":"FFD8FF7","FBaslik":"Kampanya 7","FArama":"FİLTRE"}})"},
        {"TAcilisEkranlariki",
         []() -> std::unique_ptr<qv::wire::Record> {
             return std::make_unique<TAcilisEkranlariki>();
         },
         R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[]}})",
         twoScreens,
         kEkranlarFilled},
    };
}

TEST(TransferRecords, JsonByteForByteAndBackForDefaultAndFilledValues)
{
    for (const RecordCase &c : recordCases()) {
        SCOPED_TRACE(c.name);
        const auto fresh = c.fresh();
        EXPECT_EQ(marshal(fresh.get()), c.defaultJson);
        const auto filled = c.filled();
        EXPECT_EQ(marshal(filled.get()), c.filledJson);
        for (const std::string *json : {&c.defaultJson, &c.filledJson}) {
            const auto back = unmarshal(*json);
            ASSERT_TRUE(back);
            EXPECT_EQ(&back->recordClass(), &fresh->recordClass());
            EXPECT_EQ(marshal(back.get()), *json);
        }
    }
}

TEST(TransferRecords, PropertiesReadTheFieldsTheServerSends)
{
    const auto cari = unmarshalAs<TMobilCariBilgisi>(kCariFilled);
    ASSERT_TRUE(cari);
    EXPECT_EQ(cari->CARIADI(), QStringLiteral("cariadi-ş5"));
    EXPECT_EQ(cari->AltGrup(), QStringLiteral("altgrup-ş9"));
    EXPECT_EQ(cari->ILCE(), QStringLiteral("ilce-ş29"));
    EXPECT_EQ(cari->CARINO(), 1001);
    EXPECT_EQ(cari->TLBORC(), 1250.75);
    EXPECT_EQ(cari->TLALACAK(), -0.5);
    EXPECT_EQ(cari->TLBAKIYE(), 1251.25);

    const auto dip = unmarshalAs<TSiparisDipAyrinti>(kDipFilled);
    ASSERT_TRUE(dip);
    EXPECT_EQ(dip->BizimMesaj(), QStringLiteral("satır1\r\nsatır2"));
    EXPECT_EQ(dip->SaticiNotu(), QStringLiteral("not\\"));

    const auto tus = unmarshalAs<TTusSonuclari>(kTusFilled);
    ASSERT_TRUE(tus);
    EXPECT_EQ(tus->SevkEdildi(), -4);
    EXPECT_EQ(tus->Hazirlandi(), 2147483647);

    const auto list = unmarshalAs<TAcilisEkranlariki>(kEkranlarFilled);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->Ekranlar().size(), 2u);
    EXPECT_EQ(list->Ekranlar()[0].SiraNo(), 1);
    EXPECT_EQ(list->Ekranlar()[1].Baslik(), QStringLiteral("Kampanya 2"));
    EXPECT_EQ(list->Ekranlar()[1].Arama(), QStringLiteral("FİLTRE"));
}

TEST(TransferRecords, EmptyScreenListAndNullArriveAsNothingToShow)
{
    const auto empty = unmarshalAs<TAcilisEkranlariki>(
        R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[]}})");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->Ekranlar().empty());

    EXPECT_EQ(unmarshalAs<TAcilisEkranlariki>("null"), nullptr);
    EXPECT_EQ(unmarshalAs<TAcilisEkran>("null"), nullptr);
    EXPECT_EQ(unmarshalAs<TMobilCariBilgisi>("null"), nullptr);
    EXPECT_EQ(unmarshalAs<TSiparisDipAyrinti>("null"), nullptr);
    EXPECT_EQ(unmarshalAs<TTusSonuclari>("null"), nullptr);
}

TEST(TransferRecords, KopyalaCopiesEveryField)
{
    {
        TSiparisDipAyrinti copy;
        copy.Kopyala(filledDip());
        EXPECT_EQ(marshal(&copy), kDipFilled);
    }
    {
        TTusSonuclari copy = filledTus();
        copy.Kopyala(TTusSonuclari());
        for (std::int32_t v : {copy.Alindi(),
                               copy.Onaylandi(),
                               copy.ParcaliHazirlandi(),
                               copy.SevkEdildi(),
                               copy.Hazirlandi(),
                               copy.Goruldu()})
            EXPECT_EQ(v, 0);
        copy.Kopyala(filledTus());
        EXPECT_EQ(marshal(&copy), kTusFilled);
    }
    {
        TMobilCariBilgisi copy;
        copy.Kopyala(filledCari());
        EXPECT_EQ(marshal(&copy), kCariFilled);
        copy.Kopyala(TMobilCariBilgisi());
        EXPECT_EQ(marshal(&copy), kCariDefault);
    }
}

TEST(TransferRecords, UnknownTypeOrFieldFailsForEachUnit)
{
    TMobilCariBilgisi::staticClass();
    TTusSonuclari::staticClass();
    const char *cases[][2] = {
        {R"({"type":"mobilstokunit.TYok","id":1,"fields":{}})",
         "Internal: Cannot instantiate type mobilstokunit.TYok"},
        {R"({"type":"baglantiu.TMobilCariBilgisi","id":1,"fields":{}})",
         "Internal: Cannot instantiate type baglantiu.TMobilCariBilgisi"},
        {R"({"type":"baglantiu.TTusSonuclari","id":1,"fields":{"FAlindi":1,"FYok":2}})",
         "Internal: Field FYok cannot be found in type baglantiu.TTusSonuclari"},
        {R"({"type":"baglantiu.TSiparisDipAyrinti","id":1,"fields":{"FSIZINMESAJ":""}})",
         "Internal: Field FSIZINMESAJ cannot be found in type baglantiu.TSiparisDipAyrinti"},
        {R"({"type":"mobilstokunit.TMobilCariBilgisi","id":1,"fields":{"FAltgrup":""}})",
         "Internal: Field FAltgrup cannot be found in type mobilstokunit.TMobilCariBilgisi"},
        {R"({"type":"mobilstokunit.TAcilisEkran","id":1,"fields":{"FSira":1}})",
         "Internal: Field FSira cannot be found in type mobilstokunit.TAcilisEkran"},
        {R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[)"
         R"({"type":"mobilstokunit.TAcilisEkran","id":2,"fields":{"FYok":1}}]}})",
         "Internal: Field FYok cannot be found in type mobilstokunit.TAcilisEkran"},
        {R"({"type":"mobilstokunit.TAcilisEkranlariki","id":1,"fields":{"FEkranlar":[)"
         R"({"type":"baglantiu.TTusSonuclari","id":2,"fields":{}}]}})",
         "cannot be an element of an array of mobilstokunit.TAcilisEkran"},
        {R"({"type":"mobilstokunit.TMobilCariBilgisi","id":1,"fields":{"FTLBORC":"1,5"}})",
         "FTLBORC of type mobilstokunit.TMobilCariBilgisi expects a number"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c[0]);
        try {
            unmarshal(c[0]);
            ADD_FAILURE() << "no error";
        } catch (const qv::Error &e) {
            EXPECT_NE(std::string(e.what()).find(c[1]), std::string::npos) << e.what();
        }
    }
}

} // namespace
