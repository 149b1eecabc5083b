#include "dosyaindiru.h"

#include "config.h"
#include "exitseam.h"
#include "messageseam.h"
#include "utils.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <climits>

namespace {

constexpr int kTimeoutMs = 60000;
const QString InstallerFileName = QStringLiteral("QuorvelSetup.exe");

int g_created = 0;

std::function<bool(const QString &, const QStringList &)> &starter()
{
    static std::function<bool(const QString &, const QStringList &)> s;
    return s;
}

} // namespace

Tdosyaindir *Tdosyaindir::Yeni(QWidget *owner, int version)
{
    auto *w = new Tdosyaindir(owner);
    w->sLabel1->setText(QStringLiteral("Quorvel Otomotiv B2B Programının\r\nYeni versiyonu "
                                       "indirilecektir\r\nLütfen Bekleyiniz...!\r\nVersion: ")
                        + QString::number(version) + QLatin1Char('-')
                        + QString::number(ClientVersion));
    w->Url = InstallerUrl();
    w->basladi = false;
    return w;
}

Tdosyaindir::Tdosyaindir(QWidget *owner)
    : QDialog(owner)
{
    ++g_created;
    setObjectName(QStringLiteral("dosyaindir"));
    setWindowTitle(QStringLiteral("Dosya İndir"));
    // No close button: the update cannot be skipped from here.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    resize(543, 309);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    sLabel1 = new QLabel(this);
    sLabel1->setObjectName(QStringLiteral("sLabel1"));
    sLabel1->setAlignment(Qt::AlignCenter);
    sLabel1->setWordWrap(true);
    QFont big(QStringLiteral("Tahoma"));
    big.setPixelSize(27);
    sLabel1->setFont(big);
    QPalette pal = sLabel1->palette();
    pal.setColor(QPalette::WindowText, QColor(0x43, 0x4c, 0x58)); // 5786691 as BGR
    sLabel1->setPalette(pal);
    layout->addWidget(sLabel1, 1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(58);
    auto *panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    bilgi = new QLabel(Panel1);
    bilgi->setObjectName(QStringLiteral("bilgi"));
    QFont bold(QStringLiteral("Tahoma"));
    bold.setPixelSize(13);
    bold.setBold(true);
    bilgi->setFont(bold);
    panelLayout->addWidget(bilgi);
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    panelLayout->addWidget(ProgressBar1, 1);
    layout->addWidget(Panel1);

    m_http = new QNetworkAccessManager(this);
    m_http->setCookieJar(nullptr); // cookies are not kept
}

Tdosyaindir::~Tdosyaindir()
{
    if (m_reply) {
        // Leaving early (tests): no error box for our own abort.
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

int Tdosyaindir::exec()
{
    return QDialog::exec();
}

QString Tdosyaindir::InstallerUrl()
{
    const QString configured = QStringLiteral(QV_INSTALLER_URL);
    if (!configured.isEmpty())
        return configured;
    return WebSiteBase + InstallerFileName;
}

QString Tdosyaindir::InstallerPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir::toNativeSeparators(QDir(folder).filePath(InstallerFileName));
}

QString Tdosyaindir::ProgressText(qint64 readCount, qint64 contentLength, const QLocale &locale)
{
    // Plain fixed-point numbers with the locale's decimal separator, no grouping.
    QLocale loc(locale);
    loc.setNumberOptions(loc.numberOptions() | QLocale::OmitGroupSeparator);
    const double percent = double(readCount) / double(contentLength) * 100.0;
    const double mb = 1024.0 * 1024.0;
    return QStringLiteral("Bilgi: %") + loc.toString(percent, 'f', 2)
           + QStringLiteral("  İndirilen: ") + loc.toString(double(readCount) / mb, 'f', 2)
           + QLatin1Char('/') + loc.toString(double(contentLength) / mb, 'f', 2)
           + QStringLiteral(" Mb");
}

int Tdosyaindir::createdCount()
{
    return g_created;
}

void Tdosyaindir::setStarter(std::function<bool(const QString &, const QStringList &)> s)
{
    starter() = std::move(s);
}

void Tdosyaindir::showEvent(QShowEvent *event)
{
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
    // Some platforms never activate a window; start from the event loop anyway.
    QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void Tdosyaindir::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void Tdosyaindir::closeEvent(QCloseEvent *event)
{
    if (m_finished)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void Tdosyaindir::reject()
{
    if (m_finished)
        QDialog::reject();
}

void Tdosyaindir::FormActivate()
{
    Download();
}

void Tdosyaindir::Download()
{
    if (basladi)
        return;
    basladi = true;

    const QString path = InstallerPath();
    if (QFile::exists(path))
        QFile::remove(path);

    QNetworkRequest request{QUrl(Url)};
    request.setRawHeader("Accept",
                         "text/html,application/xhtml+xml,application/xml;q=0.9,image/webp,"
                         "image/apng,*/*;q=0.8");
    // Accept-Encoding is left to Qt: it sends "gzip, deflate" itself and only
    // then inflates the body; setting it here would save a compressed file.
    request.setRawHeader("Accept-Language", "en-US,tr-TR;q=0.8,tr;q=0.6,en;q=0.4");
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Mozilla/5.0 (Windows NT 10.0; Win64; x64) "
                                     "AppleWebKit/537.36 (KHTML, like Gecko) "
                                     "Chrome/60.0.3112.32 Safari/537.36"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    // Runs from the start of the request, so it covers the connect as well.
    request.setTransferTimeout(kTimeoutMs);

    m_reply = m_http->get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64 total) {
        NetHTTPClient1ReceiveData(total, received);
    });
    connect(m_reply, &QNetworkReply::finished, this, &Tdosyaindir::Downloaded);
}

void Tdosyaindir::NetHTTPClient1ReceiveData(qint64 contentLength, qint64 readCount)
{
    if (contentLength <= 0)
        return;
    bilgi->setText(ProgressText(readCount, contentLength));
    // The bar counts in int; very large files are shown in coarser units.
    qint64 unit = 1;
    while (contentLength / unit > INT_MAX)
        unit *= 1024;
    ProgressBar1->setMaximum(int(contentLength / unit));
    ProgressBar1->setValue(int(qMin(readCount, contentLength) / unit));
}

void Tdosyaindir::NetHTTPClient1RequestError(const QString &error)
{
    m_finished = true;
    qv::MessageSeam::showMessage(QStringLiteral("Hata Oluştu !\r\nHata: ") + error);
    finish();
}

void Tdosyaindir::Downloaded()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    if (!reply || m_finished)
        return;
    reply->deleteLater();

    if (reply->error() == QNetworkReply::OperationCanceledError) {
        // Only the transfer time-out cancels this request.
        NetHTTPClient1RequestError(QStringLiteral("The operation timed out"));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        NetHTTPClient1RequestError(reply->errorString());
        return;
    }
    // An error page is not an installer, whatever its status says.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 0 && (status < 200 || status > 299)) {
        NetHTTPClient1RequestError(
            QStringLiteral("HTTP %1 %2")
                .arg(status)
                .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
        return;
    }

    const QByteArray body = reply->readAll();
    const QString path = InstallerPath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(body) != body.size()
        || !file.flush()) {
        NetHTTPClient1RequestError(file.errorString());
        return;
    }
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    RunInstaller(path);
}

void Tdosyaindir::RunInstaller(const QString &path)
{
    m_finished = true;
    const QStringList arguments{QStringLiteral("/silent")};
    // A failed start ends the program all the same.
    if (starter())
        starter()(path, arguments);
    else
        QProcess::startDetached(path, arguments, QFileInfo(path).absolutePath());
    finish();
}

void Tdosyaindir::finish()
{
    qv::terminateProcess(0);
    // Only reached when a test keeps the process alive.
    QDialog::done(0);
}
