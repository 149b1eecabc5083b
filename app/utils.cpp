#include "utils.h"

#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QStandardPaths>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

QString ServerHostName;
QString PictureUrlBase;
QString WebSiteBase;

namespace {

const QString kZeroMac = QStringLiteral("00-00-00-00-00-00");

QString readTrimmedFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

// Block devices that are not physical disks of the machine.
bool isVirtualBlockDevice(const QString &name)
{
    static const char *const prefixes[]
        = {"loop", "ram", "zram", "dm-", "md", "sr", "fd", "nbd", "mtd"};
    for (const char *prefix : prefixes)
        if (name.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

// Linux: the first non-removable disk in /sys/block stands for physical disk
// 0. Its serial comes from sysfs (NVMe, virtio) or from udev's database; both
// are readable without root, unlike the SCSI inquiry pages.
class LinuxMachineFacts final : public MachineFacts
{
public:
    QString diskSerialRaw() const override
    {
        const QDir block(QStringLiteral("/sys/block"));
        const QStringList names = block.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &name : names) {
            const QString dir = block.filePath(name);
            if (isVirtualBlockDevice(name) || !QFileInfo::exists(dir + QStringLiteral("/device"))
                || readTrimmedFile(dir + QStringLiteral("/removable")) == QLatin1String("1"))
                continue;
            for (const char *file : {"/device/serial", "/serial"}) {
                const QString serial = readTrimmedFile(dir + QLatin1String(file));
                if (!serial.isEmpty())
                    return serial;
            }
            const QString dev = readTrimmedFile(dir + QStringLiteral("/dev"));
            QFile udev(QStringLiteral("/run/udev/data/b") + dev);
            if (!dev.isEmpty() && udev.open(QIODevice::ReadOnly)) {
                const QStringList lines = QString::fromUtf8(udev.readAll()).split(u'\n');
                for (const char *key : {"E:ID_SERIAL_SHORT=", "E:ID_SERIAL="}) {
                    for (const QString &line : lines)
                        if (line.startsWith(QLatin1String(key)))
                            return line.mid(int(qstrlen(key)));
                }
            }
            return {}; // the first disk only
        }
        return {};
    }

    QList<AdapterStatus> adapters() const override
    {
        QList<AdapterStatus> result;
        const auto interfaces = QNetworkInterface::allInterfaces();
        for (const QNetworkInterface &nic : interfaces) {
            if (nic.flags().testFlag(QNetworkInterface::IsLoopBack))
                continue;
            QString hex = nic.hardwareAddress();
            hex.remove(u':');
            if (hex.isEmpty())
                continue; // tunnels and the like are no LAN adapters
            result.append({true, QByteArray::fromHex(hex.toLatin1())});
        }
        return result;
    }

    QString computerNameRaw() const override { return QSysInfo::machineHostName(); }

    QString userNameRaw() const override
    {
        if (const passwd *pw = getpwuid(geteuid()); pw && pw->pw_name)
            return QString::fromLocal8Bit(pw->pw_name);
        return QString::fromLocal8Bit(qgetenv("USER"));
    }

    QString localHostName() const override { return QHostInfo::localHostName(); }

    QList<QHostAddress> resolve(const QString &hostName) const override
    {
        const QHostInfo info = QHostInfo::fromName(hostName);
        if (info.error() != QHostInfo::NoError)
            return {};
        return info.addresses();
    }

    QString roamingAppDataRoot() const override
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }

    QString documentsRoot() const override
    {
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }

    // Unlike the Windows roaming folder, ~/.config may not exist yet on a
    // fresh account; settings written there must not be lost.
    bool makeFolder(const QString &path) const override { return QDir().mkpath(path); }
    bool folderExists(const QString &path) const override { return QDir(path).exists(); }
};

} // namespace

const MachineFacts &systemMachineFacts()
{
    static const LinuxMachineFacts facts;
    return facts;
}

QString DiskSerialNumber(const MachineFacts &facts)
{
    return facts.diskSerialRaw().toUpper();
}

QString MacAddress(const MachineFacts &facts)
{
    QString text;
    const auto adapters = facts.adapters();
    for (const MachineFacts::AdapterStatus &adapter : adapters) {
        if (adapter.answered) {
            QStringList parts;
            for (int i = 0; i < 6; ++i) {
                const auto byte
                    = i < adapter.address.size() ? quint8(adapter.address.at(i)) : quint8(0);
                parts.append(QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper());
            }
            text = parts.join(u'-');
        }
        // An all-zero address may be a virtual adapter; a later one may be real.
        if (text != kZeroMac)
            break;
    }
    return text;
}

QString MachineId(const MachineFacts &facts)
{
    QString id;
    try {
        id = DiskSerialNumber(facts).trimmed();
    } catch (...) {
        id.clear();
    }
    if (id.isEmpty()) {
        try {
            id = MacAddress(facts).trimmed();
        } catch (...) {
            id.clear();
        }
    }
    id.remove(u' ');
    for (const char *serial : MachineIdAliases.serials)
        if (id == QLatin1String(serial))
            return QString::fromLatin1(MachineIdAliases.identity);
    return id;
}

QString ComputerName(const MachineFacts &facts)
{
    // NetBIOS names have at most 15 characters.
    return facts.computerNameRaw().left(15);
}

QString WindowsUserName(const MachineFacts &facts)
{
    // The query's buffer holds 256 characters with the terminator; a longer
    // name makes the query fail.
    const QString name = facts.userNameRaw();
    return name.size() > 255 ? QString() : name;
}

QString LocalIpAddress(const MachineFacts &facts)
{
    const QString fallback = QStringLiteral("127.0.0.1");
    const QString host = facts.localHostName();
    if (host.isEmpty())
        return fallback;
    const auto addresses = facts.resolve(host);
    for (const QHostAddress &address : addresses)
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            return address.toString();
    return fallback;
}

QString AppDataFolder(const MachineFacts &facts)
{
    // An unknown root leaves the folder at the root of the file system.
    const QString path = facts.roamingAppDataRoot() + QStringLiteral("/quorvelb2b");
    if (!facts.folderExists(path))
        facts.makeFolder(path);
    return path;
}

QString DocumentsFolder(const MachineFacts &facts)
{
    return facts.documentsRoot();
}

int ShowMessageDialog(
    const QString &text, int kind, qv::DialogButtons buttons, int defaultButton, QWidget *owner)
{
    return qv::MessageSeam::messageDialog(
        text, static_cast<qv::DialogKind>(kind), buttons, defaultButton, owner);
}
