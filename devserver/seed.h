#pragma once

// Deterministic demo data of a Turkish automotive spare-parts distributor.

#include <QDate>
#include <QSqlDatabase>

#include <cstdint>
#include <span>

namespace qv {

struct DevSeedOptions
{
    int stockCount = 5000;
    std::uint32_t randomSeed = 20250630;
    QDate today = QDate(2025, 6, 30); // "now" of the order history; fixed for repeatable data
};

// The demo computers (docs/devserver.md lists them).
struct DevDemoLogin
{
    const char *machineId;
    const char *userName;
    const char *password;
    int musteriTipi;
    bool active;
    int carino;   // 0 for salespeople
    int saticino; // the salesperson of a salesperson's user
};
std::span<const DevDemoLogin> devDemoLogins();

// The account an unknown computer is registered to by auto-register.
inline constexpr const char *DevDemoDealerMachineId = "DEMO-BAYI-0001";
inline constexpr int DevDemoDealerCarino = 1001;
inline constexpr int DevProgramVersion = 4;
inline constexpr int DevCustomerCount = 60;
inline constexpr int DevSalespersonCount = 8;

// Fills an empty database (schema already made) inside one transaction.
void seedDevDatabase(const QSqlDatabase &db, const DevSeedOptions &options);

} // namespace qv
