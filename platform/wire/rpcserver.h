#pragma once

// Server side of the remote-method wire: HTTP/1.1 with keep-alive,
// POST /<context>rest/<ClassName>/<Method> with {"_parameters":[...]},
// answered by {"result":[outs..., return]} or {"error":"text"}.

#include "wirevalue.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv::rpc {

struct MethodSignature
{
    QString name;                       // e.g. "StokAraGetir"
    std::vector<wire::WireType> inputs; // in wire order
    std::vector<wire::WireType> outs;   // out parameters, in wire order
    wire::WireType result = wire::WireType::None;
};

class CallContext
{
public:
    const wire::Value &in(int i) const { return m_in.at(std::size_t(i)); }
    int inCount() const { return int(m_in.size()); }
    void setOut(int i, wire::Value v) { m_out.at(std::size_t(i)) = std::move(v); }
    void setResult(wire::Value v) { m_result = std::move(v); }
    const std::string &peer() const { return m_peer; }

    // Filled by the server before the handler runs.
    std::vector<wire::Value> m_in;
    std::vector<wire::Value> m_out;
    wire::Value m_result;
    std::string m_peer;
};

// A handler throws (any std::exception) to answer {"error": what()}.
using Handler = std::function<void(CallContext &)>;

class RpcServer
{
public:
    explicit RpcServer(std::string context = "datasnap/",
                       std::string className = "TServerMethods1");
    ~RpcServer();
    RpcServer(const RpcServer &) = delete;
    RpcServer &operator=(const RpcServer &) = delete;

    // May be called while serving; a method registered again replaces the old one.
    void registerMethod(MethodSignature signature, Handler handler);

    // How long a connection may stay silent, between requests or inside one,
    // before it is dropped (default 60 s). Applies to connections accepted later.
    void setIdleTimeout(std::chrono::milliseconds timeout);

    // Binds and starts serving on background threads; port 0 picks a free one.
    // Throws qv::Error when the address cannot be bound.
    void start(const std::string &address, std::uint16_t port);
    std::uint16_t port() const;
    void stop(); // closes the listener and every open connection, joins threads

    // One line per call (method, peer, outcome, duration); default: none.
    void setLogger(std::function<void(const std::string &)> logger);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace qv::rpc
