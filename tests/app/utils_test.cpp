#include "utils.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace {

class FedFacts : public MachineFacts
{
public:
    std::optional<QString> serial; // nullopt: reading throws
    QList<AdapterStatus> nics;
    QString computer;
    QString user;
    QString host = QStringLiteral("pc1");
    QList<QHostAddress> addresses;
    QString appDataRoot;
    QString documents;
    mutable QStringList made;

    QString diskSerialRaw() const override
    {
        if (!serial)
            throw std::runtime_error("access denied");
        return *serial;
    }
    QList<AdapterStatus> adapters() const override { return nics; }
    QString computerNameRaw() const override { return computer; }
    QString userNameRaw() const override { return user; }
    QString localHostName() const override { return host; }
    QList<QHostAddress> resolve(const QString &) const override { return addresses; }
    QString roamingAppDataRoot() const override { return appDataRoot; }
    QString documentsRoot() const override { return documents; }
    bool makeFolder(const QString &path) const override
    {
        made.append(path);
        return QDir().mkdir(path);
    }
    bool folderExists(const QString &path) const override { return QDir(path).exists(); }
};

MachineFacts::AdapterStatus nic(const char *hex)
{
    return {true, QByteArray::fromHex(hex)};
}
const MachineFacts::AdapterStatus kSilent{false, {}};

} // namespace

TEST(MachineId, RulesWithFedFacts)
{
    struct Case
    {
        const char *name;
        std::optional<QString> serial;
        QList<MachineFacts::AdapterStatus> nics;
        const char *expected;
    };
    const QString alias0 = QString::fromLatin1(MachineIdAliases.serials[0]);
    const QString alias1 = QString::fromLatin1(MachineIdAliases.serials[1]);
    const Case cases[] = {
        {"serial upper-cased",
         QStringLiteral("wd-wcc4n1234567"),
         {nic("001122334455")},
         "WD-WCC4N1234567"},
        {"spaces inside and around", QStringLiteral("  S2 R6NX0 J 123  "), {}, "S2R6NX0J123"},
        {"empty serial falls back to the MAC",
         QStringLiteral("   "),
         {nic("0a1b2c3d4e5f")},
         "0A-1B-2C-3D-4E-5F"},
        {"unreadable serial falls back to the MAC",
         std::nullopt,
         {nic("a0b1c2d3e4f5")},
         "A0-B1-C2-D3-E4-F5"},
        {"only a zero adapter keeps the zero identity",
         std::nullopt,
         {nic("000000000000")},
         "00-00-00-00-00-00"},
        {"a zero adapter goes on to the next",
         std::nullopt,
         {nic("000000000000"), nic("112233445566"), nic("AABBCCDDEEFF")},
         "11-22-33-44-55-66"},
        {"a silent adapter after zeros keeps the zeros",
         std::nullopt,
         {nic("000000000000"), kSilent},
         "00-00-00-00-00-00"},
        {"a silent first adapter stops the search",
         std::nullopt,
         {kSilent, nic("112233445566")},
         ""},
        {"a real address stops the search",
         std::nullopt,
         {nic("112233445566"), nic("000000000000")},
         "11-22-33-44-55-66"},
        {"nothing at all", std::nullopt, {}, ""},
        {"first alias", alias0, {}, MachineIdAliases.identity},
        {"second alias, lower case and spaced",
         QStringLiteral(" ") + alias1.toLower() + " ",
         {},
         MachineIdAliases.identity},
        {"alias text with an inner space still matches",
         alias0.left(5) + " " + alias0.mid(5),
         {},
         MachineIdAliases.identity},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FedFacts facts;
        facts.serial = c.serial;
        facts.nics = c.nics;
        EXPECT_EQ(MachineId(facts), QString::fromLatin1(c.expected));
    }
}

TEST(MachineId, AliasTableShape)
{
    for (const char *serial : MachineIdAliases.serials) {
        const QString s = QString::fromLatin1(serial);
        EXPECT_EQ(s.size(), 15);
        for (QChar ch : s)
            EXPECT_TRUE(ch.isDigit() || (ch >= u'A' && ch <= u'Z')) << serial;
    }
    const QString id = QString::fromLatin1(MachineIdAliases.identity);
    EXPECT_EQ(id.size(), 12);
    for (QChar ch : id)
        EXPECT_TRUE(ch.isDigit());
}

TEST(MachineFacts, NamesAndAddress)
{
    FedFacts facts;
    facts.user = QStringLiteral("abcdefghijklmnopqrst");
    EXPECT_EQ(WindowsUserName(facts), QStringLiteral("abcdefghijklmnopqrst"));
    facts.user = QString(256, u'u');
    EXPECT_EQ(WindowsUserName(facts), QString());

    facts.computer = QStringLiteral("MUHASEBE-BILGISAYARI");
    EXPECT_EQ(ComputerName(facts), QStringLiteral("MUHASEBE-BILGIS"));

    struct Case
    {
        const char *name;
        QString host;
        QList<QHostAddress> addresses;
        const char *expected;
    };
    const Case cases[] = {
        {"first IPv4 of the answer",
         QStringLiteral("pc1"),
         {QHostAddress(QStringLiteral("fe80::1")),
          QHostAddress(QStringLiteral("192.168.1.20")),
          QHostAddress(QStringLiteral("10.0.0.5"))},
         "192.168.1.20"},
        {"unresolvable host", QStringLiteral("pc1"), {}, "127.0.0.1"},
        {"only IPv6", QStringLiteral("pc1"), {QHostAddress(QStringLiteral("::1"))}, "127.0.0.1"},
        {"no host name", QString(), {QHostAddress(QStringLiteral("10.0.0.5"))}, "127.0.0.1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        facts.host = c.host;
        facts.addresses = c.addresses;
        EXPECT_EQ(LocalIpAddress(facts), QString::fromLatin1(c.expected));
    }
}

TEST(MachineFacts, AppDataFolderIsCreatedOneLevelDeep)
{
    QTemporaryDir root;
    FedFacts facts;
    facts.appDataRoot = root.path();
    const QString expected = root.path() + QStringLiteral("/quorvelb2b");
    EXPECT_EQ(AppDataFolder(facts), expected);
    EXPECT_TRUE(QDir(expected).exists());
    EXPECT_EQ(facts.made, QStringList{expected});

    // Existing: nothing made again.
    facts.made.clear();
    EXPECT_EQ(AppDataFolder(facts), expected);
    EXPECT_TRUE(facts.made.isEmpty());

    // One level only: a missing parent is not created.
    facts.appDataRoot = root.path() + QStringLiteral("/missing");
    EXPECT_EQ(AppDataFolder(facts), root.path() + QStringLiteral("/missing/quorvelb2b"));
    EXPECT_FALSE(QDir(root.path() + QStringLiteral("/missing")).exists());
}

TEST(MachineFacts, UnknownFoldersFallBackToTheRoot)
{
    struct NoFolders : FedFacts
    {
        bool makeFolder(const QString &path) const override
        {
            made.append(path);
            return false;
        }
    } facts;
    EXPECT_EQ(AppDataFolder(facts), QStringLiteral("/quorvelb2b"));
    EXPECT_EQ(DocumentsFolder(facts), QString());
    facts.documents = QStringLiteral("/home/u/Documents");
    EXPECT_EQ(DocumentsFolder(facts), QStringLiteral("/home/u/Documents"));
}

TEST(MachineFacts, ThisComputer)
{
    // The real queries answer without throwing and in the promised shapes.
    const QString mac = MacAddress();
    if (!mac.isEmpty()) {
        const QRegularExpression shape(QStringLiteral("^([0-9A-F]{2}-){5}[0-9A-F]{2}$"));
        EXPECT_TRUE(shape.match(mac).hasMatch()) << mac.toStdString();
    }
    EXPECT_FALSE(MachineId().contains(u' '));
    EXPECT_LE(ComputerName().size(), 15);
    EXPECT_FALSE(QHostAddress(LocalIpAddress()).isNull());
}

TEST(SharedSettings, StartEmptyAndVersionIsFour)
{
    EXPECT_TRUE(ServerHostName.isEmpty());
    EXPECT_TRUE(PictureUrlBase.isEmpty());
    EXPECT_TRUE(WebSiteBase.isEmpty());
    EXPECT_EQ(ClientVersion, 4);
}
