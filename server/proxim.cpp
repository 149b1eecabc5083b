#include "proxim.h"

#include "marshal.h"

using WT = qv::wire::WireType;

namespace {

// Sends the object in its JSON form and releases it: the proxy owns object
// parameters once they are handed over.
void setObject(qv::DBXParameter &p, std::unique_ptr<qv::wire::Record> object)
{
    p.SetJSONValue(qv::wire::marshal(object.get()));
}

// The object result at ordinal, handed to the command so that it lives as
// long as the command's results.
template<class T>
T *objectResult(qv::DBXCommand &cmd, int ordinal)
{
    const qv::DBXParameter &p = cmd.Parameter(ordinal);
    if (p.IsNull())
        return nullptr;
    std::unique_ptr<T> object = qv::wire::unmarshalAs<T>(p.GetJSONValue());
    T *raw = object.get();
    cmd.ownObject(std::move(object));
    return raw;
}

} // namespace

TServerMethods1Client::TServerMethods1Client(qv::DBXConnection *ADBXConnection)
    : qv::DSAdminClient(ADBXConnection)
{}

TServerMethods1Client::~TServerMethods1Client() = default;

TSonucBilgisi *TServerMethods1Client::BuyukGetir(const QString &idsi)
{
    auto &cmd = command(FBuyukGetirCommand, "BuyukGetir", {WT::String}, {}, WT::Object);
    cmd.Parameter(0).SetWideString(idsi);
    cmd.ExecuteUpdate();
    return objectResult<TSonucBilgisi>(cmd, 1);
}

std::shared_ptr<qv::TableData> TServerMethods1Client::StokAraGetir(
    const QString &kod, std::unique_ptr<TSonucBilgisi> bilgi)
{
    auto &cmd = command(
        FStokAraGetirCommand, "StokAraGetir", {WT::String, WT::Object}, {}, WT::DataPacket);
    cmd.Parameter(0).SetWideString(kod);
    setObject(cmd.Parameter(1), std::move(bilgi));
    cmd.ExecuteUpdate();
    return cmd.Parameter(2).GetDataPacket();
}

QIODevice *TServerMethods1Client::ResimVer5(std::int32_t stokno, std::int64_t &boy)
{
    auto &cmd = command(FResimVer5Command, "ResimVer5", {WT::Integer}, {WT::Int64}, WT::Stream);
    cmd.Parameter(0).SetInt32(stokno);
    cmd.ExecuteUpdate();
    boy = cmd.Parameter(1).GetInt64();
    return cmd.Parameter(2).GetStream();
}
