#pragma once

// The server methods, registered by area. Each area lives in its own
// methods_<area>.cpp with its queries beside it.

#include "database.h"
#include "devserver.h"
#include "rpcserver.h"

#include "baglantiu.h"

#include <memory>

namespace qv::devmethods {

// The login record a call carries; a call without one acts for nobody.
std::unique_ptr<TSonucBilgisi> loginOf(const wire::Value &v);

// BuyukGetir, StokAraGetir, ResimVer5.
void registerLoginAndStockMethods(rpc::RpcServer &rpc, DevDatabase &db, const DevServerOptions &o);
// New and campaign items, stock movements, basket, order confirmation and
// submission, previous orders and their detail, open balances, all orders.
void registerCatalogueAndOrderMethods(rpc::RpcServer &rpc,
                                      DevDatabase &db,
                                      const DevServerOptions &o);
// Statement, invoices, collections, payment, customer selection, reports,
// ticker, banners, opening screens, balloon counters, mails.
void registerAccountAndPromotionMethods(rpc::RpcServer &rpc,
                                        DevDatabase &db,
                                        const DevServerOptions &o);

} // namespace qv::devmethods
