#pragma once

// Machine identity, the other facts about the computer that travel in the
// login record, the per-user folders and the program's one message dialog.
// Nothing here keeps state between calls.

#include "messageseam.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>

class QWidget;

// What the operating system tells about this computer. The rules built on
// these answers do not depend on the platform; tests feed their own facts.
class MachineFacts
{
public:
    struct AdapterStatus
    {
        bool answered = false; // the adapter reported its status
        QByteArray address;    // its hardware address, first six bytes count
    };

    virtual ~MachineFacts() = default;

    // Serial number of the first physical disk as reported; may throw.
    virtual QString diskSerialRaw() const = 0;
    // Network adapters in the system's enumeration order, loopback excluded.
    virtual QList<AdapterStatus> adapters() const = 0;
    virtual QString computerNameRaw() const = 0;
    virtual QString userNameRaw() const = 0;
    virtual QString localHostName() const = 0;
    // Addresses of a host name; empty when it cannot be resolved.
    virtual QList<QHostAddress> resolve(const QString &hostName) const = 0;
    // The per-user roaming settings folder; empty when the system cannot tell.
    virtual QString roamingAppDataRoot() const = 0;
    // The personal documents folder; empty when the system cannot tell.
    virtual QString documentsRoot() const = 0;
    // Creates one folder level; false when that failed.
    virtual bool makeFolder(const QString &path) const = 0;
    virtual bool folderExists(const QString &path) const = 0;
};

// The facts of the computer the program runs on.
const MachineFacts &systemMachineFacts();

// Two disks of the distributor's own computers that present one identity.
struct MachineIdAliasTable
{
    const char *serials[2];
    const char *identity;
};
inline constexpr MachineIdAliasTable MachineIdAliases{{"WDZ4K7M29XQ31BT", "S3R8N0PLA6C5KJV"},
                                                      "804215396027"};

QString DiskSerialNumber(const MachineFacts &facts = systemMachineFacts());
QString MacAddress(const MachineFacts &facts = systemMachineFacts());
QString MachineId(const MachineFacts &facts = systemMachineFacts());
QString ComputerName(const MachineFacts &facts = systemMachineFacts());
QString WindowsUserName(const MachineFacts &facts = systemMachineFacts());
QString LocalIpAddress(const MachineFacts &facts = systemMachineFacts());
QString AppDataFolder(const MachineFacts &facts = systemMachineFacts());
QString DocumentsFolder(const MachineFacts &facts = systemMachineFacts());

// The one message dialog of the program; gives the modal result.
int ShowMessageDialog(const QString &text,
                      int kind,
                      qv::DialogButtons buttons,
                      int defaultButton,
                      QWidget *owner = nullptr);

// Shared settings, fixed in the program; the login window fills the
// addresses, they are empty until then.
extern QString ServerHostName;
extern QString PictureUrlBase;
extern QString WebSiteBase;
inline constexpr int ClientVersion = 4;
