#include "devserver.h"

#include "baglantiu.h"
#include "errors.h"
#include "marshal.h"

#include <QDir>
#include <QStandardPaths>

namespace qv {

using wire::Value;
using wire::WireType;

namespace {

TSonucBilgisi toRecord(const DevLoginRecord &r)
{
    TSonucBilgisi b;
    b.setBILGISAYARID(r.BILGISAYARID);
    b.setSaticiMail(r.SaticiMail);
    b.setSirano(r.Sirano);
    b.setCariAdi(r.CariAdi);
    b.setSIFRE(r.SIFRE);
    b.setSaticiNo(r.SaticiNo);
    b.setCARINO(r.CARINO);
    b.setAKTIF(r.AKTIF);
    b.setKullanicimail(r.Kullanicimail);
    b.setADI(r.ADI);
    b.setSaticiTelefon(r.SaticiTelefon);
    b.setcarikod(r.carikod);
    b.setVarmi(r.Varmi);
    b.setSaticiAdi(r.SaticiAdi);
    b.setBilgiSayarAdi(r.BilgiSayarAdi);
    b.setDisip(r.Disip);
    b.setIcip(r.Icip);
    b.setBilgisayarKullanici(r.BilgisayarKullanici);
    b.setMusteriTipi(r.MusteriTipi);
    b.setVersion(r.Version);
    return b;
}

// The login record a call carries; a call without one acts for nobody.
std::unique_ptr<TSonucBilgisi> loginOf(const Value &v)
{
    if (v.isNullObject())
        throw Error(QStringLiteral("Oturum bilgisi eksik."));
    return wire::unmarshalAs<TSonucBilgisi>(v.json);
}

} // namespace

DevServer::DevServer(DevServerOptions options)
    : m_options(std::move(options))
{}

DevServer::~DevServer()
{
    stop();
}

void DevServer::start()
{
    if (!m_db)
        m_db = std::make_unique<DevDatabase>(m_options.database);
    registerMethods();
    m_rpc.start(m_options.address, m_options.port);
}

void DevServer::stop()
{
    m_rpc.stop();
}

std::uint16_t DevServer::port() const
{
    return m_rpc.port();
}

void DevServer::setLogger(std::function<void(const std::string &)> logger)
{
    m_logger = logger;
    m_rpc.setLogger(std::move(logger));
}

void DevServer::registerMethods()
{
    m_rpc.registerMethod({QStringLiteral("BuyukGetir"), {WireType::String}, {}, WireType::Object},
                         [this](rpc::CallContext &c) {
                             const DevLoginRecord r
                                 = m_db->loginRecord(c.in(0).s, m_options.autoRegister);
                             const TSonucBilgisi b = toRecord(r);
                             c.setResult(Value::object(wire::marshal(&b)));
                         });

    m_rpc.registerMethod({QStringLiteral("StokAraGetir"),
                          {WireType::String, WireType::Object},
                          {},
                          WireType::DataPacket},
                         [this](rpc::CallContext &c) {
                             const auto bilgi = loginOf(c.in(1));
                             auto table = std::make_shared<TableData>(
                                 m_db->searchStock(c.in(0).s, bilgi->CARINO(), bilgi->MusteriTipi()));
                             c.setResult(Value::dataPacket(std::move(table)));
                         });

    m_rpc.registerMethod({QStringLiteral("ResimVer5"),
                          {WireType::Integer},
                          {WireType::Int64},
                          WireType::Stream},
                         [this](rpc::CallContext &c) {
                             QByteArray jpeg = m_db->stockPicture(std::int32_t(c.in(0).i));
                             c.setOut(0, Value::int64(jpeg.size()));
                             c.setResult(Value::stream(std::move(jpeg)));
                         });
}

QString defaultDatabasePath()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    const QString dir = base + QStringLiteral("/quorvelb2b-devserver");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/devserver.sqlite");
}

} // namespace qv
