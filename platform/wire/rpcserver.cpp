#include "rpcserver.h"

#include "errors.h"
#include "wirejson.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <simdjson.h>

#include <atomic>
#include <chrono>
#include <list>
#include <map>
#include <mutex>
#include <thread>

namespace qv::rpc {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

constexpr std::uint32_t kHeaderLimit = 64 * 1024;
constexpr std::size_t kMaxConnections = 128;
constexpr std::chrono::seconds kWriteTimeout{60};

struct Method
{
    MethodSignature signature;
    Handler handler;
};

// A request answered with an error text and an HTTP status.
struct Rejection
{
    http::status status;
    std::string text;
};

std::string errorBody(std::string_view text)
{
    std::string body = "{\"error\":";
    wire::appendJsonString(body, text);
    body += "}";
    return body;
}

} // namespace

struct Session
{
    explicit Session(std::size_t id_)
        : id(id_)
    {}
    std::size_t id;
    asio::io_context ioc;
    std::optional<beast::tcp_stream> stream;
    beast::flat_buffer buffer;
    simdjson::dom::parser json;
    std::string peer;
    std::thread thread;
    std::atomic<bool> done{false};

    void run()
    {
        ioc.restart();
        ioc.run();
    }
};

struct RpcServer::Impl
{
    std::string prefix; // "/datasnap/rest/TServerMethods1/"
    std::string className;
    std::mutex methodsMutex;
    std::map<std::string, std::shared_ptr<const Method>, std::less<>> methods;
    // A peer that sends nothing for this long (between or inside requests)
    // is dropped, so no thread waits on it forever.
    std::atomic<std::int64_t> idleTimeoutMs{60000};

    std::mutex logMutex;
    std::function<void(const std::string &)> logger;

    asio::io_context acceptIoc;
    std::optional<tcp::acceptor> acceptor;
    std::thread acceptThread;
    std::uint16_t port = 0;
    std::atomic<bool> stopping{false};
    bool started = false;

    std::mutex sessionsMutex;
    std::list<std::shared_ptr<Session>> sessions;
    std::size_t nextId = 1;

    void log(const std::string &line)
    {
        std::lock_guard lock(logMutex);
        if (logger)
            logger(line);
    }

    void accept();
    void reapFinished();
    void serve(Session &s);
    http::response<http::string_body> answer(Session &s,
                                             const http::request<http::string_body> &req);
    void closeAfterError(Session &s,
                         http::status status,
                         const std::string &text,
                         unsigned version);
};

void RpcServer::Impl::reapFinished()
{
    std::list<std::shared_ptr<Session>> finished;
    {
        std::lock_guard lock(sessionsMutex);
        for (auto it = sessions.begin(); it != sessions.end();) {
            if ((*it)->done) {
                finished.push_back(*it);
                it = sessions.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto &s : finished)
        if (s->thread.joinable())
            s->thread.join();
}

void RpcServer::Impl::accept()
{
    auto session = std::make_shared<Session>(nextId++);
    acceptor->async_accept(session->ioc, [this, session](beast::error_code ec, tcp::socket socket) {
        if (ec || stopping) {
            if (!stopping && ec != asio::error::operation_aborted)
                accept();
            return;
        }
        reapFinished();
        beast::error_code ignored;
        const auto remote = socket.remote_endpoint(ignored);
        session->peer = remote.address().to_string() + ":" + std::to_string(remote.port());
        std::size_t active = 0;
        {
            std::lock_guard lock(sessionsMutex);
            active = sessions.size();
        }
        if (active >= kMaxConnections) {
            // The reply fits the socket's send buffer, so this never blocks.
            const std::string body = errorBody("The server is busy; try again later");
            const std::string reply = "HTTP/1.1 503 Service Unavailable\r\nContent-Type: "
                                      "application/json\r\nConnection: close\r\nContent-Length: "
                                      + std::to_string(body.size()) + "\r\n\r\n" + body;
            asio::write(socket, asio::buffer(reply), ignored);
            socket.shutdown(tcp::socket::shutdown_both, ignored);
            socket.close(ignored);
            log("- " + session->peer + " refused: too many connections");
            accept();
            return;
        }
        socket.set_option(tcp::no_delay(true), ignored);
        session->stream.emplace(std::move(socket));
        {
            std::lock_guard lock(sessionsMutex);
            sessions.push_back(session);
        }
        session->thread = std::thread([this, session] {
            serve(*session);
            beast::error_code e;
            session->stream->socket().shutdown(tcp::socket::shutdown_both, e);
            session->stream->close();
            session->done = true;
        });
        accept();
    });
}

void RpcServer::Impl::closeAfterError(Session &s,
                                      http::status status,
                                      const std::string &text,
                                      unsigned version)
{
    http::response<http::string_body> res{status, version};
    res.set(http::field::content_type, "application/json");
    res.keep_alive(false);
    res.body() = errorBody(text);
    res.prepare_payload();
    beast::error_code ec;
    s.stream->expires_after(kWriteTimeout);
    http::async_write(*s.stream, res, [&](beast::error_code e, std::size_t) { ec = e; });
    s.run();
    if (ec)
        return;
    // Let the peer read the answer: stop sending, swallow what it still
    // sends for a moment, then close. Closing with unread data would reset
    // the connection and could discard the reply on the peer's side.
    s.stream->socket().shutdown(tcp::socket::shutdown_send, ec);
    s.stream->expires_after(std::chrono::seconds(2));
    std::array<char, 16 * 1024> scratch;
    std::size_t drained = 0;
    std::function<void()> drain = [&] {
        s.stream->async_read_some(asio::buffer(scratch), [&](beast::error_code e, std::size_t n) {
            drained += n;
            if (!e && drained < 64 * 1024 * 1024 && !stopping)
                drain();
        });
    };
    drain();
    s.run();
}

void RpcServer::Impl::serve(Session &s)
{
    beast::error_code ec;
    const auto idleTimeout = std::chrono::milliseconds(idleTimeoutMs.load());
    while (!stopping) {
        http::request_parser<http::string_body> parser;
        parser.header_limit(kHeaderLimit);
        parser.body_limit(wire::kMaxRequestBytes);

        s.stream->expires_after(idleTimeout);
        http::async_read_header(
            *s.stream, s.buffer, parser, [&](beast::error_code e, std::size_t) { ec = e; });
        s.run();
        if (!ec) {
            // Room for the JSON parser's padding, so the body is parsed in place.
            if (auto len = parser.content_length())
                parser.get().body().reserve(std::size_t(*len) + simdjson::SIMDJSON_PADDING);
            s.stream->expires_after(idleTimeout);
            http::async_read(
                *s.stream, s.buffer, parser, [&](beast::error_code e, std::size_t) { ec = e; });
            s.run();
        }
        if (ec) {
            if (ec == http::error::end_of_stream || stopping)
                return;
            if (ec == http::error::body_limit) {
                const std::string text = "The request is larger than "
                                         + std::to_string(wire::kMaxRequestBytes) + " bytes";
                log("- " + s.peer + " rejected: " + text);
                closeAfterError(s, http::status::payload_too_large, text, 11);
            } else if (ec == http::error::header_limit) {
                const std::string text = "The request header is larger than "
                                         + std::to_string(kHeaderLimit) + " bytes";
                log("- " + s.peer + " rejected: " + text);
                closeAfterError(s, http::status::request_header_fields_too_large, text, 11);
            } else if (ec.category() == beast::error_code(http::error::bad_method).category()
                       && ec != http::error::partial_message) {
                const std::string text = "Invalid HTTP request: " + ec.message();
                log("- " + s.peer + " rejected: " + text);
                closeAfterError(s, http::status::bad_request, text, 11);
            } else {
                log("- " + s.peer + " dropped: " + ec.message());
            }
            return;
        }

        const auto req = parser.release();
        auto res = answer(s, req);
        const bool keep = req.keep_alive() && res.keep_alive();
        res.keep_alive(keep);
        s.stream->expires_after(kWriteTimeout);
        http::async_write(*s.stream, res, [&](beast::error_code e, std::size_t) { ec = e; });
        s.run();
        if (ec) {
            log("- " + s.peer + " dropped while answering: " + ec.message());
            return;
        }
        if (!keep)
            return;
    }
}

http::response<http::string_body> RpcServer::Impl::answer(
    Session &s, const http::request<http::string_body> &req)
{
    const auto t0 = std::chrono::steady_clock::now();
    std::string methodName = "-";

    auto reply = [&](http::status status, std::string body, const std::string &outcome) {
        http::response<http::string_body> res{status, req.version()};
        res.set(http::field::content_type, "application/json");
        res.keep_alive(req.keep_alive());
        res.body() = std::move(body);
        res.prepare_payload();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - t0)
                            .count();
        log(methodName + " " + s.peer + " " + outcome + " " + std::to_string(ms) + " ms");
        return res;
    };
    auto reject = [&](http::status status, const std::string &text) {
        return reply(status, errorBody(text), "rejected: " + text);
    };

    if (req.method() != http::verb::post)
        return reject(http::status::method_not_allowed, "Only POST requests are served");
    std::string_view target(req.target().data(), req.target().size());
    if (auto q = target.find('?'); q != std::string_view::npos)
        target = target.substr(0, q);
    if (target.substr(0, prefix.size()) != prefix)
        return reject(http::status::not_found, "Nothing is served at " + std::string(target));
    methodName = className + "." + std::string(target.substr(prefix.size()));
    std::shared_ptr<const Method> found;
    {
        std::lock_guard lock(methodsMutex);
        auto it = methods.find(target.substr(prefix.size()));
        if (it != methods.end())
            found = it->second;
    }
    if (!found)
        return reject(http::status::not_found, "Server method " + methodName + " not found");
    const Method &method = *found;
    const MethodSignature &sig = method.signature;

    simdjson::dom::element doc;
    if (auto err = s.json.parse(req.body()).get(doc))
        return reject(http::status::bad_request,
                      "The request to " + methodName
                          + " is not valid JSON: " + simdjson::error_message(err));
    simdjson::dom::array params;
    if (!doc.is_object() || doc["_parameters"].get_array().get(params))
        return reject(http::status::bad_request,
                      "The request to " + methodName + " has no \"_parameters\" array");
    if (params.size() != sig.inputs.size())
        return reject(http::status::bad_request,
                      methodName + " expects " + std::to_string(sig.inputs.size())
                          + " parameters, got " + std::to_string(params.size()));

    CallContext ctx;
    ctx.m_peer = s.peer;
    ctx.m_in.reserve(sig.inputs.size());
    std::size_t ordinal = 0;
    for (simdjson::dom::element e : params) {
        try {
            ctx.m_in.push_back(wire::decodeValue(e, sig.inputs[ordinal]));
        } catch (const std::exception &ex) {
            return reject(http::status::bad_request,
                          methodName + " parameter " + std::to_string(ordinal) + ": " + ex.what());
        }
        ++ordinal;
    }
    for (auto t : sig.outs) {
        wire::Value v;
        v.type = t;
        ctx.m_out.push_back(std::move(v));
    }
    ctx.m_result.type = sig.result;

    std::string body;
    try {
        method.handler(ctx);
        body = "{\"result\":[";
        for (std::size_t i = 0; i < sig.outs.size(); ++i) {
            if (i)
                body.push_back(',');
            wire::appendValue(body, ctx.m_out[i], sig.outs[i]);
        }
        if (sig.result != wire::WireType::None) {
            if (!sig.outs.empty())
                body.push_back(',');
            wire::appendValue(body, ctx.m_result, sig.result);
        }
        body += "]}";
        if (body.size() > wire::kMaxReplyBytes)
            throw Error("The reply of " + methodName + " is larger than "
                        + std::to_string(wire::kMaxReplyBytes) + " bytes");
    } catch (const std::exception &ex) {
        return reply(http::status::internal_server_error,
                     errorBody(ex.what()),
                     std::string("error: ") + ex.what());
    } catch (...) {
        return reply(http::status::internal_server_error,
                     errorBody("Unknown server error"),
                     "error: unknown");
    }
    return reply(http::status::ok, std::move(body), "ok");
}

RpcServer::RpcServer(std::string context, std::string className)
    : d(std::make_unique<Impl>())
{
    if (context.empty() || context.front() != '/')
        context.insert(context.begin(), '/');
    if (context.back() != '/')
        context.push_back('/');
    d->prefix = context + "rest/" + className + "/";
    d->className = std::move(className);
}

RpcServer::~RpcServer()
{
    stop();
}

void RpcServer::registerMethod(MethodSignature signature, Handler handler)
{
    const std::string name = signature.name.toStdString();
    auto method = std::make_shared<const Method>(Method{std::move(signature), std::move(handler)});
    std::lock_guard lock(d->methodsMutex);
    d->methods[name] = std::move(method);
}

void RpcServer::setIdleTimeout(std::chrono::milliseconds timeout)
{
    d->idleTimeoutMs = timeout.count();
}

void RpcServer::start(const std::string &address, std::uint16_t port)
{
    if (d->started)
        throw Error("The server is already started");
    beast::error_code ec;
    const auto addr = asio::ip::make_address(address, ec);
    if (ec)
        throw Error("Invalid listen address " + address + ": " + ec.message());
    const tcp::endpoint endpoint(addr, port);
    d->acceptor.emplace(d->acceptIoc);
    d->acceptor->open(endpoint.protocol(), ec);
    if (!ec)
        d->acceptor->set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec)
        d->acceptor->bind(endpoint, ec);
    if (!ec)
        d->acceptor->listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        d->acceptor.reset();
        throw Error("Cannot listen on " + address + ":" + std::to_string(port) + ": "
                    + ec.message());
    }
    d->port = d->acceptor->local_endpoint().port();
    d->stopping = false;
    d->started = true;
    d->accept();
    d->acceptThread = std::thread([this] { d->acceptIoc.run(); });
}

std::uint16_t RpcServer::port() const
{
    return d->port;
}

void RpcServer::stop()
{
    if (!d->started)
        return;
    d->stopping = true;
    asio::post(d->acceptIoc, [this] {
        beast::error_code ignored;
        d->acceptor->close(ignored);
    });
    if (d->acceptThread.joinable())
        d->acceptThread.join();
    d->acceptor.reset();

    std::list<std::shared_ptr<Session>> sessions;
    {
        std::lock_guard lock(d->sessionsMutex);
        sessions.swap(d->sessions);
    }
    for (auto &s : sessions) {
        // Runs inside the session's own io_context, so the socket is only
        // ever touched by its thread.
        asio::post(s->ioc, [s] {
            beast::error_code ignored;
            s->stream->socket().shutdown(tcp::socket::shutdown_both, ignored);
            s->stream->socket().close(ignored);
        });
    }
    for (auto &s : sessions)
        if (s->thread.joinable())
            s->thread.join();
    d->acceptIoc.restart();
    d->started = false;
}

void RpcServer::setLogger(std::function<void(const std::string &)> logger)
{
    std::lock_guard lock(d->logMutex);
    d->logger = std::move(logger);
}

} // namespace qv::rpc
