#pragma once

// Account prices of the catalogue: a unit price and up to four discount
// rates applied one after another (never summed).

#include "dataset.h" // RoundTo2Decimals, the money rounding of all totals

#include <QSqlDatabase>
#include <QString>

#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qv {

struct DevPrice
{
    double fiyat = 0;                 // unit price before discounts
    std::array<double, 4> rates = {}; // percent
};

// "%10+%5" for rates 10, 5, 0, 0; trailing zero rates are left out, an
// all-zero set gives an empty text.
QString discountText(const std::array<double, 4> &rates);

// The unit price after the rates, rounded to 2 decimals.
double netPrice(const DevPrice &price);

// A net price with VAT, rounded to 2 decimals.
double withVat(double net, double vatPercent);

// One row of an account's price rules (NULL columns are empty/0 here).
struct DevPriceRule
{
    int stokno = 0; // 0: not for one item
    QString marka;
    QString anagrup;
    std::optional<double> fiyat; // replaces the list price
    std::array<double, 4> rates = {};
};

// An account's rules; the most specific one matching an item wins: the item
// itself, then brand and group, brand, group, and the account's general rule.
class DevPriceRules
{
public:
    void add(const DevPriceRule &rule);
    DevPrice priceFor(int stokno,
                      const QString &marka,
                      const QString &anagrup,
                      double listPrice) const;

private:
    std::unordered_map<int, DevPriceRule> m_byStock;
    std::vector<DevPriceRule> m_general; // brand and/or group, or neither
};

// The price rules of an account, as stored.
DevPriceRules loadPriceRules(const QSqlDatabase &db, int carino);

} // namespace qv
