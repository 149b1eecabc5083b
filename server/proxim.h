#pragma once

// The server proxy: one operation per server method of TServerMethods1.
// A proxy lives for one call sequence on one open connection. What its calls
// return (objects, readers, streams) belongs to it and is released with it or
// when the same method runs again; callers copy out what they need first.

#include "baglantiu.h"
#include "connection.h"

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>

class TServerMethods1Client : public qv::DSAdminClient
{
public:
    explicit TServerMethods1Client(qv::DBXConnection *ADBXConnection);
    ~TServerMethods1Client() override;

    // nullptr when the server answers null; owned by the proxy.
    TSonucBilgisi *BuyukGetir(const QString &idsi);
    // bilgi is released once sent (pass a fresh copy); nullptr sends null.
    std::shared_ptr<qv::TableData> StokAraGetir(const QString &kod,
                                                std::unique_ptr<TSonucBilgisi> bilgi);
    // The picture bytes, owned by the proxy's command; boy is their announced length.
    QIODevice *ResimVer5(std::int32_t stokno, std::int64_t &boy);

private:
    std::unique_ptr<qv::DBXCommand> FBuyukGetirCommand;
    std::unique_ptr<qv::DBXCommand> FStokAraGetirCommand;
    std::unique_ptr<qv::DBXCommand> FResimVer5Command;
};
