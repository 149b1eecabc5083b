// The web-site stand-in over real sockets: pictures, payment page, request
// form, installer, and what bad input does to it.

#include "database.h"
#include "devserverfixture.h"
#include "webpages.h"
#include "website.h"

#include <QSqlQuery>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>

namespace {

struct RawReply
{
    int status = 0;
    QByteArray headers;
    QByteArray body;
};

// Sends the bytes as they are and reads until the server closes.
RawReply rawRequest(std::uint16_t port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(5000))
        return {};
    socket.write(request);
    socket.waitForBytesWritten(5000);
    QByteArray all;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(10000))
        all += socket.readAll();
    all += socket.readAll();
    RawReply r;
    const qsizetype end = all.indexOf("\r\n\r\n");
    if (!all.startsWith("HTTP/1.1 ") || end < 0)
        return r;
    r.status = all.mid(9, 3).toInt();
    r.headers = all.left(end);
    r.body = all.mid(end + 4);
    return r;
}

RawReply get(std::uint16_t port, const QByteArray &target)
{
    return rawRequest(
        port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
}

RawReply postForm(std::uint16_t port, const QByteArray &target, const QByteArray &body)
{
    return rawRequest(port,
                      "POST " + target
                          + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
                          + QByteArray::number(body.size()) + "\r\n\r\n" + body);
}

QByteArray header(const RawReply &r, const QByteArray &name)
{
    for (const QByteArray &line : r.headers.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

class WebSiteTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        qv::DevDatabaseOptions o;
        o.path = dir->filePath(QStringLiteral("web.sqlite"));
        o.stockCount = 120;
        db = new qv::DevDatabase(o);
        site = new qv::WebSite(*db);
        site->setLogger([](const std::string &line) {
            std::lock_guard lock(logMutex);
            logLines.push_back(line);
        });
        site->start("127.0.0.1", 0);
    }
    static void TearDownTestSuite()
    {
        delete site;
        delete db;
        delete dir;
    }

    static int itemWhere(const QString &condition)
    {
        QSqlQuery q(db->connection());
        q.exec(QStringLiteral("SELECT MIN(STOKNO) FROM STOK WHERE ") + condition);
        return q.next() && !q.value(0).isNull() ? q.value(0).toInt() : -1;
    }

    static int mailCount()
    {
        QSqlQuery q(db->connection());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM GELEN_MAIL"));
        return q.next() ? q.value(0).toInt() : -1;
    }

    static std::uint16_t port() { return site->port(); }

    static QTemporaryDir *dir;
    static qv::DevDatabase *db;
    static qv::WebSite *site;
    static std::mutex logMutex;
    static std::vector<std::string> logLines;
};

QTemporaryDir *WebSiteTest::dir = nullptr;
qv::DevDatabase *WebSiteTest::db = nullptr;
qv::WebSite *WebSiteTest::site = nullptr;
std::mutex WebSiteTest::logMutex;
std::vector<std::string> WebSiteTest::logLines;

TEST_F(WebSiteTest, PictureKindFollowsTheItem)
{
    const int pngItem = itemWhere(QStringLiteral("RESIM = 1 AND STOKNO % 2 = 0"));
    const int jpegItem = itemWhere(QStringLiteral("RESIM = 1 AND STOKNO % 2 = 1"));
    const int noPicture = itemWhere(QStringLiteral("RESIM = 0"));
    ASSERT_GT(pngItem, 0);
    ASSERT_GT(jpegItem, 0);
    ASSERT_GT(noPicture, 0);

    struct Case
    {
        int stokno;
        int status;
        QByteArray contentType;
        QByteArray magic;
    };
    const Case cases[] = {
        {pngItem, 200, "image/png", QByteArray("\x89PNG\r\n\x1a\n", 8)},
        {jpegItem, 200, "image/jpeg", QByteArray("\xff\xd8\xff", 3)},
        {noPicture, 404, {}, {}},
        {99999999, 404, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stokno);
        const RawReply r = get(port(), "/resimgoster.ashx?id=" + QByteArray::number(c.stokno));
        EXPECT_EQ(r.status, c.status);
        if (c.status != 200)
            continue;
        EXPECT_EQ(header(r, "Content-Type"), c.contentType);
        EXPECT_TRUE(r.body.startsWith(c.magic));
        EXPECT_EQ(header(r, "Content-Length").toLongLong(), r.body.size());
        // The same item always gives the same bytes.
        EXPECT_EQ(get(port(), "/resimgoster.ashx?id=" + QByteArray::number(c.stokno)).body, r.body);
    }
}

TEST_F(WebSiteTest, PaymentPageShowsTheValuesAsText)
{
    const RawReply r = get(port(),
                           "/brevakart.html?carino=1001&sube=MERKEZ&firmasi="
                           "%3Cscript%3Ealert(1)%3C%2Fscript%3E%20%C3%96Z%20%26%20O%C4%9EUL"
                           "&bakiye=1.234,56");
    ASSERT_EQ(r.status, 200);
    const QString page = QString::fromUtf8(r.body);
    EXPECT_FALSE(page.contains(QStringLiteral("<script>")));
    EXPECT_TRUE(
        page.contains(QStringLiteral("&lt;script&gt;alert(1)&lt;/script&gt; ÖZ &amp; OĞUL")))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral(">1001<")));
    EXPECT_TRUE(page.contains(QStringLiteral(">MERKEZ<")));
    EXPECT_TRUE(page.contains(QStringLiteral(">1.234,56<")));
}

TEST_F(WebSiteTest, RequestFormIsStored)
{
    const RawReply form = get(port(), "/formmailgonder.aspx?carino=0&kullanici=%20&id=PC-%22X%22");
    ASSERT_EQ(form.status, 200);
    const QString page = QString::fromUtf8(form.body);
    EXPECT_TRUE(page.contains(QStringLiteral("<form")));
    EXPECT_TRUE(page.contains(QStringLiteral("name=\"id\" value=\"PC-&quot;X&quot;\"")));

    const int before = mailCount();
    const RawReply done = postForm(port(),
                                   "/formmailgonder.aspx",
                                   "id=YENI-PC-77&FIRMAADI=%C3%96Z+T%C4%B0CARET&TELEFON=0212+555"
                                   "&YETKILI=Ali+Veli&MAIL=a%40b.com.tr&KONU=sat%C4%B1r1%0D%0Asat"
                                   "%C4%B1r2");
    ASSERT_EQ(done.status, 200);
    EXPECT_TRUE(QString::fromUtf8(done.body).contains(QStringLiteral("Teşekkür")));
    EXPECT_EQ(mailCount(), before + 1);

    QSqlQuery q(db->connection());
    q.exec(QStringLiteral("SELECT BILGISAYARID, FIRMAADI, TELEFON, YETKILI, MAIL, KONU, ADRES1 "
                          "FROM GELEN_MAIL ORDER BY SIRANO DESC LIMIT 1"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("YENI-PC-77"));
    EXPECT_EQ(q.value(1).toString(), QStringLiteral("ÖZ TİCARET"));
    EXPECT_EQ(q.value(2).toString(), QStringLiteral("0212 555"));
    EXPECT_EQ(q.value(3).toString(), QStringLiteral("Ali Veli"));
    EXPECT_EQ(q.value(4).toString(), QStringLiteral("a@b.com.tr"));
    EXPECT_EQ(q.value(5).toString(), QStringLiteral("satır1\r\nsatır2"));
    EXPECT_EQ(q.value(6).toString(), QString());
}

TEST_F(WebSiteTest, IncompleteOrForeignPostsAreNotStored)
{
    const int before = mailCount();
    struct Case
    {
        const char *name;
        QByteArray request;
        int status;
    };
    const Case cases[] = {
        {"no firm name",
         "POST /formmailgonder.aspx HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Type: "
         "application/x-www-form-urlencoded\r\nContent-Length: 33\r\n\r\n"
         "id=PC-1&TELEFON=1&YETKILI=A&X=123",
         400},
        {"no machine id",
         "POST /formmailgonder.aspx HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Type: "
         "application/x-www-form-urlencoded\r\nContent-Length: 30\r\n\r\n"
         "FIRMAADI=F&TELEFON=1&YETKILI=A",
         400},
        {"not a form",
         "POST /formmailgonder.aspx HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Type: "
         "application/json\r\nContent-Length: 2\r\n\r\n{}",
         415},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rawRequest(port(), c.request).status, c.status);
    }
    EXPECT_EQ(mailCount(), before);
}

TEST_F(WebSiteTest, InstallerIsAFixedShellScript)
{
    for (const char *target : {"/QuorvelSetup.exe", "/exe/QuorvelSetup.exe"}) {
        SCOPED_TRACE(target);
        const RawReply r = get(port(), target);
        ASSERT_EQ(r.status, 200);
        EXPECT_EQ(header(r, "Content-Length"), "327680");
        EXPECT_EQ(r.body.size(), 327680);
        EXPECT_TRUE(r.body.startsWith("#!/bin/sh\n"));
        EXPECT_EQ(r.body.toStdString(), qv::installerBytes());
    }
}

TEST_F(WebSiteTest, BadRequestsAreRefusedAndTheSiteKeepsServing)
{
    struct Case
    {
        const char *name;
        QByteArray request;
        int status;
    };
    const QByteArray bigHeader
        = "GET / HTTP/1.1\r\nHost: x\r\nX-Pad: " + QByteArray(40000, 'a') + "\r\n\r\n";
    const QByteArray bigBody = "POST /formmailgonder.aspx HTTP/1.1\r\nHost: x\r\nContent-Type: "
                               "application/x-www-form-urlencoded\r\nContent-Length: 200000\r\n\r\n"
                               + QByteArray(200000, 'a');
    const Case cases[] = {
        {"garbage", "HELLO THERE\r\n\r\n", 400},
        {"binary", QByteArray("\x00\x01\x02\r\n\r\n", 7), 400},
        {"unknown path", "GET /yok.aspx HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 404},
        {"root", "GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 404},
        {"bad picture id",
         "GET /resimgoster.ashx?id=1%20OR%201 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
         400},
        {"no picture id",
         "GET /resimgoster.ashx HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
         400},
        {"huge picture id",
         "GET /resimgoster.ashx?id=99999999999999999999 HTTP/1.1\r\nHost: x\r\nConnection: "
         "close\r\n\r\n",
         400},
        {"wrong method",
         "DELETE /QuorvelSetup.exe HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
         405},
        {"header too large", bigHeader, 431},
        {"body too large", bigBody, 413},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rawRequest(port(), c.request).status, c.status);
        EXPECT_EQ(get(port(), "/brevakart.html?carino=1").status, 200);
    }
}

TEST_F(WebSiteTest, KeepAliveServesSeveralRequestsOnOneConnection)
{
    const RawReply r = rawRequest(port(),
                                  "GET /brevakart.html?carino=1 HTTP/1.1\r\nHost: x\r\n\r\n"
                                  "GET /brevakart.html?carino=2 HTTP/1.1\r\nHost: x\r\nConnection: "
                                  "close\r\n\r\n");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body.count("HTTP/1.1 200 OK"), 1); // the second reply follows the first
    EXPECT_TRUE(r.body.contains(">2<"));
}

TEST_F(WebSiteTest, OneLogLinePerRequest)
{
    std::size_t before = 0;
    {
        std::lock_guard lock(logMutex);
        before = logLines.size();
    }
    get(port(), "/yok.aspx?a=b");
    std::lock_guard lock(logMutex);
    ASSERT_EQ(logLines.size(), before + 1);
    const std::string &line = logLines.back();
    EXPECT_NE(line.find("GET /yok.aspx?a=b"), std::string::npos) << line;
    EXPECT_NE(line.find(" 404 "), std::string::npos) << line;
}

TEST(WebSiteQuery, Decoding)
{
    struct Case
    {
        const char *query;
        bool plusIsBlank;
        const char *key;
        QString value;
    };
    const Case cases[] = {
        {"a=%C3%96Z%20T", false, "a", QStringLiteral("ÖZ T")},
        {"a=1+2", false, "a", QStringLiteral("1+2")},
        {"a=1+2", true, "a", QStringLiteral("1 2")},
        {"a=%zz%4", false, "a", QStringLiteral("%zz%4")},
        {"a=1&a=2", false, "a", QStringLiteral("1")},
        {"&&a=&b", false, "a", QStringLiteral("")},
        {"kullanici=%20&id=X", false, "kullanici", QStringLiteral(" ")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.query);
        const auto m = qv::decodeQuery(c.query, c.plusIsBlank);
        ASSERT_TRUE(m.contains(QString::fromLatin1(c.key)));
        EXPECT_EQ(m.value(QString::fromLatin1(c.key)), c.value);
    }
}

TEST(WebSiteExecutable, ServesBesideTheApplicationServer)
{
    qvtest::DevServer server;
    ASSERT_NE(server.webPort(), 0);
    const RawReply r = get(server.webPort(), "/QuorvelSetup.exe");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body.size(), 327680);
    EXPECT_TRUE(server.log().contains(QStringLiteral("web GET /QuorvelSetup.exe")));
}

} // namespace
