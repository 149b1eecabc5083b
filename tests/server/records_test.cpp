// Records in their JSON object form: exact bytes out, strict checks in.
#include "baglantiu.h"
#include "errors.h"
#include "marshal.h"

#include <gtest/gtest.h>

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

} // namespace
