#pragma once

// Settings a person changes from the server's command line to try the
// client's branches: the program version the server reports, and which demo
// user a computer signs in as.

#include "database.h"

#include <QString>

namespace qv {

// The version BuyukGetir reports (4 is the client's own; 5 makes it update).
void setProgramVersion(DevDatabase &db, int version);

// Registers the computer (or moves its registration) to a copy of the user
// registered under the name userName, e.g. "BAYI1" or "SATICI1".
// Throws qv::Error when no such user exists.
void registerMachineAs(DevDatabase &db, const QString &machineId, const QString &userName);

} // namespace qv
