// The request form window shows the stand-in's request page in its browser
// offscreen, the form can be sent from it, and "Kapat" closes the window.

#include "devserverfixture.h"
#include "formistekyeniu.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

namespace {

// Waits for the next page load of the view; nullopt when none ended in time.
std::optional<bool> waitForLoad(QWebEngineView *view)
{
    std::optional<bool> result;
    auto c = QObject::connect(view, &QWebEngineView::loadFinished, [&](bool ok) { result = ok; });
    QDeadlineTimer deadline(60000);
    while (!result && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QObject::disconnect(c);
    return result;
}

QVariant runScript(QWebEngineView *view, const QString &script)
{
    std::optional<QVariant> result;
    view->page()->runJavaScript(script, [&](const QVariant &v) { result = v; });
    QDeadlineTimer deadline(30000);
    while (!result && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return result.value_or(QVariant());
}

TEST(Tformistekyeni, ShowsTheRequestFormSendsItAndCloses)
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qvtest::DevServer server;
    ASSERT_NE(server.webPort(), 0);

    Tformistekyeni w(nullptr);
    w.setWindowTitle(QStringLiteral("Quorvel Otomotiv B2B İstek Formu"));
    auto *sitem = w.findChild<QWebEngineView *>(QStringLiteral("sitem"));
    ASSERT_NE(sitem, nullptr);
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(server.webPort());
    w.Navigate(base + QStringLiteral("formmailgonder.aspx?carino=0&kullanici= &id=TEST-PC-1"));
    w.show();

    const auto loaded = waitForLoad(sitem);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_TRUE(*loaded);
    // The blank user name travels encoded, as a browser sends it.
    EXPECT_TRUE(server.log().contains(
        QStringLiteral("GET /formmailgonder.aspx?carino=0&kullanici=%20&id=TEST-PC-1")))
        << server.log().toStdString();
    EXPECT_EQ(runScript(sitem, QStringLiteral("document.forms[0].elements['id'].value")).toString(),
              QStringLiteral("TEST-PC-1"));

    runScript(sitem,
              QStringLiteral("var f = document.forms[0];"
                             "f.elements['FIRMAADI'].value = 'ÖZ TİCARET';"
                             "f.elements['TELEFON'].value = '0212 555';"
                             "f.elements['YETKILI'].value = 'Ali';"
                             "f.submit(); true"));
    const auto sent = waitForLoad(sitem);
    ASSERT_TRUE(sent.has_value());
    EXPECT_TRUE(*sent);
    EXPECT_EQ(runScript(sitem, QStringLiteral("document.getElementById('tesekkur') !== null")),
              QVariant(true));
    EXPECT_TRUE(server.log().contains(QStringLiteral("POST /formmailgonder.aspx")));
    EXPECT_TRUE(server.log().contains(QStringLiteral(" stored")));

    auto *kapat = w.findChild<QPushButton *>(QStringLiteral("Button1"));
    ASSERT_NE(kapat, nullptr);
    EXPECT_EQ(kapat->text(), QStringLiteral("Kapat"));
    kapat->click();
    EXPECT_FALSE(w.isVisible());
}

} // namespace
