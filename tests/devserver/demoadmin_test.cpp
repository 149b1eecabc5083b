// The command-line settings of the dev server: reported version and which
// demo user a computer signs in as.

#include "database.h"
#include "demoadmin.h"
#include "errors.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Db
{
    QTemporaryDir dir;
    std::unique_ptr<qv::DevDatabase> db;
    Db()
    {
        qv::DevDatabaseOptions o;
        o.path = dir.filePath(QStringLiteral("d.sqlite"));
        o.stockCount = 50;
        db = std::make_unique<qv::DevDatabase>(o);
    }
};

TEST(DemoAdmin, ProgramVersionIsWhatTheLoginRecordReports)
{
    Db d;
    for (int v : {5, 3, 4}) {
        qv::setProgramVersion(*d.db, v);
        EXPECT_EQ(d.db->loginRecord(QStringLiteral("DEMO-BAYI-0001"), false).Version, v);
        EXPECT_EQ(d.db->loginRecord(QStringLiteral("UNKNOWN"), false).Version, v);
    }
}

TEST(DemoAdmin, RegisteringAComputerAndMovingItToAnotherUser)
{
    Db d;
    const QString pc = QStringLiteral("MY-PC-SERIAL");
    EXPECT_FALSE(d.db->loginRecord(pc, false).Varmi);

    qv::registerMachineAs(*d.db, pc, QStringLiteral("BAYI1"));
    auto r = d.db->loginRecord(pc, false);
    EXPECT_TRUE(r.Varmi);
    EXPECT_EQ(r.ADI, QStringLiteral("BAYI1"));
    EXPECT_EQ(r.CARINO, 1001);
    EXPECT_EQ(r.MusteriTipi, 0);

    qv::registerMachineAs(*d.db, pc, QStringLiteral("SATICI1"));
    r = d.db->loginRecord(pc, false);
    EXPECT_EQ(r.ADI, QStringLiteral("SATICI1"));
    EXPECT_EQ(r.MusteriTipi, 1);
    EXPECT_EQ(r.CARINO, 0);
    // The demo computer the copy came from is unchanged.
    EXPECT_EQ(d.db->loginRecord(QStringLiteral("DEMO-SATICI-0001"), false).ADI,
              QStringLiteral("SATICI1"));
    EXPECT_EQ(d.db->loginRecord(QStringLiteral("DEMO-BAYI-0001"), false).ADI,
              QStringLiteral("BAYI1"));
}

TEST(DemoAdmin, UnknownUserOrEmptyIdIsRefused)
{
    Db d;
    EXPECT_THROW(qv::registerMachineAs(*d.db, QStringLiteral("PC"), QStringLiteral("NOBODY")),
                 qv::Error);
    EXPECT_THROW(qv::registerMachineAs(*d.db, QStringLiteral("  "), QStringLiteral("BAYI1")),
                 qv::Error);
}

} // namespace
