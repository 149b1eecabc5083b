#include "application.h"

#include "messageseam.h"

#include <exception>

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        qv::showDefaultError(e);
    } catch (...) {
        qv::showDefaultError(std::current_exception());
    }
    return false;
}
