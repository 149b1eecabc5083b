#include "pricing.h"

#include "sqlutil.h"

#include <cmath>

namespace qv {

QString discountText(const std::array<double, 4> &rates)
{
    int last = -1;
    for (int i = 0; i < 4; ++i) {
        if (rates[std::size_t(i)] != 0)
            last = i;
    }
    QString text;
    for (int i = 0; i <= last; ++i) {
        if (i > 0)
            text += u'+';
        // Turkish decimal comma: "%12,5"
        text += u'%' + QString::number(rates[std::size_t(i)], 'g', 6).replace(u'.', u',');
    }
    return text;
}

double netPrice(const DevPrice &price)
{
    double net = price.fiyat;
    for (double r : price.rates)
        net *= 1.0 - r / 100.0;
    return RoundTo2Decimals(net);
}

double withVat(double net, double vatPercent)
{
    return RoundTo2Decimals(net * (1.0 + vatPercent / 100.0));
}

void DevPriceRules::add(const DevPriceRule &rule)
{
    if (rule.stokno != 0)
        m_byStock[rule.stokno] = rule;
    else
        m_general.push_back(rule);
}

DevPrice DevPriceRules::priceFor(int stokno,
                                 const QString &marka,
                                 const QString &anagrup,
                                 double listPrice) const
{
    const DevPriceRule *best = nullptr;
    if (auto it = m_byStock.find(stokno); it != m_byStock.end()) {
        best = &it->second;
    } else {
        int bestRank = -1;
        for (const DevPriceRule &r : m_general) {
            if (!r.marka.isEmpty() && r.marka != marka)
                continue;
            if (!r.anagrup.isEmpty() && r.anagrup != anagrup)
                continue;
            const int rank = (r.marka.isEmpty() ? 0 : 2) + (r.anagrup.isEmpty() ? 0 : 1);
            if (rank > bestRank) {
                best = &r;
                bestRank = rank;
            }
        }
    }
    DevPrice price;
    price.fiyat = listPrice;
    if (best) {
        if (best->fiyat)
            price.fiyat = *best->fiyat;
        price.rates = best->rates;
    }
    return price;
}

DevPriceRules loadPriceRules(const QSqlDatabase &db, int carino)
{
    DevPriceRules rules;
    DevQuery q(db,
               QStringLiteral("SELECT STOKNO, MARKA, ANAGRUP, FIYAT, IND1, IND2, IND3, IND4 "
                              "FROM FIYAT_KURAL WHERE CARINO = ?"));
    q.bind(0, carino).exec();
    while (q.next()) {
        DevPriceRule r;
        r.stokno = q.value(0).isNull() ? 0 : q.value(0).toInt();
        r.marka = q.value(1).toString();
        r.anagrup = q.value(2).toString();
        if (!q.value(3).isNull())
            r.fiyat = q.value(3).toDouble();
        for (int i = 0; i < 4; ++i)
            r.rates[std::size_t(i)] = q.value(4 + i).toDouble();
        rules.add(r);
    }
    return rules;
}

} // namespace qv
