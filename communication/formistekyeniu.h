#pragma once

// The request form window: the distributor's request form web page in an
// embedded browser, for a computer that is not registered for any account.

#include <QDialog>
#include <QString>

class QFrame;
class QPushButton;
class QWebEngineView;

class Tformistekyeni : public QDialog
{
    Q_OBJECT

public:
    explicit Tformistekyeni(QWidget *owner);

    void Navigate(const QString &url);

    QWebEngineView *sitem = nullptr;
    QFrame *Panel1 = nullptr;
    QPushButton *Button1 = nullptr;

    void Button1Click();
};
