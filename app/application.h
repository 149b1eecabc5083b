#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler on the
// UI thread reaches the default error display instead of ending the process.
class TApplication : public QApplication
{
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
