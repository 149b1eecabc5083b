#pragma once

// Data layer of the catalogue lists, the basket, the orders and the open
// balances. Every write runs in one transaction and touches only the rows of
// the account the caller may act for.

#include "database.h"

#include <QString>

#include <array>
#include <optional>

namespace qv::orders {

// Who calls, as the login record tells it. The user is looked up by Sirano
// and computer; an unknown or inactive user may change nothing.
struct Caller
{
    int sirano = 0;
    QString machineId;
    int carino = 0; // the account chosen (salespeople) or the user's own
};

// --- catalogue lists -------------------------------------------------------

TableData newItems(DevDatabase &db, int carino);
// User type 4 sees no campaigns: an empty list.
TableData campaignItems(DevDatabase &db, int carino, int musteriTipi);
TableData stockMovements(DevDatabase &db, int carino, int stokno);

// --- basket ----------------------------------------------------------------

struct BasketLine
{
    int carino = 0;
    int stokno = 0; // ignored by updates: the line keeps its item
    double miktar = 0;
    double fiyat = 0;
    std::array<double, 4> rates = {};
};

// 1 when the basket changed, 0 when the call was refused (unknown user,
// another account, unknown item or line, quantity not above 0, bad price).
// Dealers always get the account's price; only salespeople's price and
// rates are taken as sent.
int addBasketLine(DevDatabase &db, const Caller &caller, const BasketLine &line);
int updateBasketLine(DevDatabase &db, const Caller &caller, int sirano, const BasketLine &line);
// The number of lines removed.
int deleteBasketLine(DevDatabase &db, const Caller &caller, int sirano);
int clearBasket(DevDatabase &db, const Caller &caller);
// Any value but 0 marks the line.
void setLineSelection(DevDatabase &db, int sirano, int secim);
TableData basket(DevDatabase &db, int carino);

// Empty when the account owes nothing past its due dates.
QString overdueWarning(DevDatabase &db, int carino);

// --- order confirmation and submission -------------------------------------

TableData deliveryKinds(DevDatabase &db);
TableData cargoKinds(DevDatabase &db);
TableData carriers(DevDatabase &db, int kargoid);

struct OrderHeader
{
    int carino = 0;
    int teslimid = 0;
    int kargoid = 0;
    int kargoFirma = 0;
    QString aciklama;
};

// Forms one order of the account's marked basket lines. Returns its IDNO,
// or nothing when there is nothing marked or the header is not valid.
std::optional<int> placeOrder(DevDatabase &db, const Caller &caller, const OrderHeader &header);

// --- previous orders, balances ----------------------------------------------

TableData previousOrders(DevDatabase &db, int carino);
// carino 0 looks the order up by its number alone.
TableData orderLines(DevDatabase &db, int carino, int idno);
TableData openBalances(DevDatabase &db, int carino);
// stokno 0: every item.
TableData allOrderLines(DevDatabase &db, int carino, int stokno);

struct OrderFooter
{
    QString sizinMesaj, durumu, veren, kargo, bizimMesaj, teslimCinsi, kargoCinsi, saticiNotu;
};
// carino 0 looks the order up by its number alone.
std::optional<OrderFooter> orderFooter(DevDatabase &db, int carino, int idno);

// The order line is STOKHAR_NO; stokno, when not 0, must be its item.
// Each returns 1 when the line changed, 0 otherwise.
int deleteBalance(DevDatabase &db, const Caller &caller, int stokno, int stokharNo);
int changeBalance(DevDatabase &db, const Caller &caller, int stokno, int stokharNo, double kalan);
// User type 2 only; the discount replaces the line's rates.
int changeBalancePrice(
    DevDatabase &db, const Caller &caller, int stokno, int stokharNo, double fiyat, double ind);

} // namespace qv::orders
