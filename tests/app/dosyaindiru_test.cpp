// The update window: its progress text, a download from the web-site
// stand-in that ends in starting the installer, and failures that end the
// program with the error shown.

#include "devserverfixture.h"
#include "dosyaindiru.h"
#include "exitseam.h"
#include "messageseam.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QLocale Turkish(QLocale::Turkish, QLocale::Turkey);

TEST(TdosyaindirProgress, TextUnderTheLocale)
{
    struct Case
    {
        qint64 read;
        qint64 length;
        QLocale locale;
        QString text;
    };
    const Case cases[] = {
        {1048576, 3145728, Turkish, QStringLiteral("Bilgi: %33,33  İndirilen: 1,00/3,00 Mb")},
        {1048576, 3145728, QLocale::c(), QStringLiteral("Bilgi: %33.33  İndirilen: 1.00/3.00 Mb")},
        {0, 500, Turkish, QStringLiteral("Bilgi: %0,00  İndirilen: 0,00/0,00 Mb")},
        {3145728, 3145728, Turkish, QStringLiteral("Bilgi: %100,00  İndirilen: 3,00/3,00 Mb")},
        // Large files: no thousands separator, as the numbers of a format.
        {2684354560,
         5368709120,
         Turkish,
         QStringLiteral("Bilgi: %50,00  İndirilen: 2560,00/5120,00 Mb")},
        {2684354560,
         5368709120,
         QLocale::c(),
         QStringLiteral("Bilgi: %50.00  İndirilen: 2560.00/5120.00 Mb")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(Tdosyaindir::ProgressText(c.read, c.length, c.locale), c.text);
    }
}

TEST(TdosyaindirText, AnnouncesBothVersions)
{
    for (int version : {5, 3}) {
        std::unique_ptr<Tdosyaindir> w(Tdosyaindir::Yeni(nullptr, version));
        EXPECT_EQ(w->objectName(), QStringLiteral("dosyaindir"));
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Dosya İndir"));
        auto *label = w->findChild<QLabel *>(QStringLiteral("sLabel1"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(),
                  QStringLiteral("Quorvel Otomotiv B2B Programının\r\nYeni versiyonu "
                                 "indirilecektir\r\nLütfen Bekleyiniz...!\r\nVersion: ")
                      + QString::number(version) + QStringLiteral("-4"));
    }
}

class TdosyaindirDownload : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Each test process gets its own data folder: ctest runs the cases of
        // this file in parallel, and they all save the same installer name.
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        qv::MessageSeam::clear();
        qv::MessageSeam::setAutoAnswer(qv::mrOk);
        qv::setTerminateHandler([this](int code) { exits.push_back(code); });
        Tdosyaindir::setStarter([this](const QString &path, const QStringList &args) {
            started.push_back(path);
            startArgs = args;
            // Run it for real, to see that the saved file is a working program.
            QProcess p;
            p.start(path, args);
            if (!p.waitForFinished(10000))
                return false;
            output = QString::fromUtf8(p.readAllStandardOutput());
            return p.exitCode() == 0;
        });
        // A leftover of an earlier update.
        QDir().mkpath(QFileInfo(Tdosyaindir::InstallerPath()).absolutePath());
        QFile old(Tdosyaindir::InstallerPath());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old installer");
    }
    void TearDown() override
    {
        Tdosyaindir::setStarter(nullptr);
        qv::setTerminateHandler(nullptr);
        qv::MessageSeam::setAutoAnswer(qv::mrNone);
        qv::MessageSeam::clear();
        QLocale::setDefault(QLocale::c());
        QFile::remove(Tdosyaindir::InstallerPath());
    }

    void run(const QString &url)
    {
        std::unique_ptr<Tdosyaindir> w(Tdosyaindir::Yeni(nullptr, 5));
        w->Url = url;
        w->exec();
        progress = w->findChild<QLabel *>(QStringLiteral("bilgi"))->text();
        auto *bar = w->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
        barValue = bar->value();
        barMaximum = bar->maximum();
    }

    QTemporaryDir dataHome;
    std::vector<int> exits;
    QStringList started;
    QStringList startArgs;
    QString output;
    QString progress;
    int barValue = -1;
    int barMaximum = -1;
};

TEST_F(TdosyaindirDownload, SavesStartsSilentlyAndEnds)
{
    qvtest::DevServer server;
    ASSERT_NE(server.webPort(), 0);
    QLocale::setDefault(Turkish);
    const int createdBefore = Tdosyaindir::createdCount();

    run(QStringLiteral("http://127.0.0.1:%1/QuorvelSetup.exe").arg(server.webPort()));

    EXPECT_EQ(Tdosyaindir::createdCount(), createdBefore + 1);
    EXPECT_TRUE(qv::MessageSeam::shown().isEmpty());
    ASSERT_EQ(exits, std::vector<int>{0});
    ASSERT_EQ(started, QStringList{Tdosyaindir::InstallerPath()});
    EXPECT_EQ(startArgs, QStringList{QStringLiteral("/silent")});
    EXPECT_TRUE(output.contains(QStringLiteral("/silent"))) << output.toStdString();

    QFile saved(Tdosyaindir::InstallerPath());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_EQ(bytes.size(), 327680);
    EXPECT_TRUE(bytes.startsWith("#!/bin/sh\n"));

    EXPECT_TRUE(progress.startsWith(QStringLiteral("Bilgi: %100,00  İndirilen: ")))
        << progress.toStdString();
    EXPECT_EQ(barMaximum, 327680);
    EXPECT_EQ(barValue, 327680);
    // Showing and activating the window started one download, not two.
    EXPECT_EQ(server.log().count(QStringLiteral("web GET /QuorvelSetup.exe")), 1);
}

TEST_F(TdosyaindirDownload, FailureShowsTheErrorAndEnds)
{
    qvtest::DevServer server;
    struct Case
    {
        const char *name;
        QString url;
        QString errorPart;
    };
    const Case cases[] = {
        {"not found",
         QStringLiteral("http://127.0.0.1:%1/yok/QuorvelSetup.exe").arg(server.webPort()),
         QStringLiteral("Not Found")},
        {"closed port",
         QStringLiteral("http://127.0.0.1:%1/QuorvelSetup.exe").arg(qvtest::closedPort()),
         QStringLiteral("refused")},
        {"not http", QStringLiteral("nothing://x/QuorvelSetup.exe"), QString()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        exits.clear();
        started.clear();
        qv::MessageSeam::clear();
        QFile old(Tdosyaindir::InstallerPath());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old installer");
        old.close();

        run(c.url);

        EXPECT_EQ(exits, std::vector<int>{0});
        EXPECT_TRUE(started.isEmpty());
        const auto shown = qv::MessageSeam::shown();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].plain);
        const QString prefix = QStringLiteral("Hata Oluştu !\r\nHata: ");
        EXPECT_TRUE(shown[0].text.startsWith(prefix)) << shown[0].text.toStdString();
        EXPECT_GT(shown[0].text.size(), prefix.size());
        EXPECT_TRUE(shown[0].text.contains(c.errorPart)) << shown[0].text.toStdString();
        // The old installer was deleted before the download and nothing replaced it.
        EXPECT_FALSE(QFile::exists(Tdosyaindir::InstallerPath()));
    }
}

} // namespace
