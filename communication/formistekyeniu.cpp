#include "formistekyeniu.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <unistd.h>

namespace {

// Chromium's sandbox refuses to start for root and the browser process
// exits; it must be off before the first browser object exists.
void allowBrowserAsRoot()
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace

Tformistekyeni::Tformistekyeni(QWidget *owner)
    : QDialog(owner)
{
    allowBrowserAsRoot();
    setObjectName(QStringLiteral("formistekyeni"));
    resize(780, 555);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    sitem = new QWebEngineView(this);
    sitem->setObjectName(QStringLiteral("sitem"));
    layout->addWidget(sitem, 1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *panelLayout = new QHBoxLayout(Panel1);
    Button1 = new QPushButton(QStringLiteral("Kapat"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    panelLayout->addWidget(Button1);
    panelLayout->addStretch(1);
    layout->addWidget(Panel1);
    connect(Button1, &QPushButton::clicked, this, &Tformistekyeni::Button1Click);

    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void Tformistekyeni::Navigate(const QString &url)
{
    // Tolerant parsing encodes the blank of "kullanici= " as the browser would.
    sitem->setUrl(QUrl(url, QUrl::TolerantMode));
}

void Tformistekyeni::Button1Click()
{
    close();
}
