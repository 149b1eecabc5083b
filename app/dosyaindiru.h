#pragma once

// The update window: downloads the installer of the new version, starts it
// silently and ends the program so that the installer can replace it.

#include <QDialog>
#include <QLocale>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QLabel;
class QFrame;
class QProgressBar;
class QNetworkAccessManager;
class QNetworkReply;

namespace qv {
class SQLConnection;
}

class Tdosyaindir : public QDialog
{
    Q_OBJECT

public:
    // version: the server's version number.
    static Tdosyaindir *Yeni(QWidget *owner, int version);
    ~Tdosyaindir() override;

    qv::SQLConnection *bag = nullptr; // borrowed from the login; no call is made on it
    int exec() override;

    QLabel *sLabel1 = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *bilgi = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    // The request address; Yeni sets the configured installer address.
    QString Url;

    // The configured installer address.
    static QString InstallerUrl();
    // Where the installer is saved: the per-user local data folder.
    static QString InstallerPath();
    // The progress text for bytes read out of the announced length.
    static QString ProgressText(qint64 readCount,
                                qint64 contentLength,
                                const QLocale &locale = QLocale());

    // --- for tests ---
    static int createdCount();
    // Replaces the start of the installer; nullptr restores the real one.
    static void setStarter(std::function<bool(const QString &, const QStringList &)> starter);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    explicit Tdosyaindir(QWidget *owner);

    void FormActivate();
    void Download();
    void NetHTTPClient1ReceiveData(qint64 contentLength, qint64 readCount);
    void NetHTTPClient1RequestError(const QString &error);
    void Downloaded();
    void RunInstaller(const QString &path);
    void finish();

    bool basladi = false;
    QNetworkAccessManager *m_http = nullptr;
    QPointer<QNetworkReply> m_reply;
    bool m_finished = false;
};
