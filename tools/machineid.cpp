// Prints the machine identity the client sends at login, so that the demo
// can register this computer on the development server.
#include "utils.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%s\n", MachineId().toUtf8().constData());
    return 0;
}
