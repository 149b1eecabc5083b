#include "rpcserver.h"

#include "errors.h"
#include "httplistener.h"
#include "wirejson.h"

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <simdjson.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>

namespace qv::rpc {

namespace beast = boost::beast;
namespace http = beast::http;

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

    // Last, so it stops before the state its request loops use goes away.
    HttpListener listener{listenerOptions()};

    HttpListener::Options listenerOptions()
    {
        const std::string body = errorBody("The server is busy; try again later");
        HttpListener::Options o;
        o.maxConnections = kMaxConnections;
        o.busyReply = "HTTP/1.1 503 Service Unavailable\r\nContent-Type: "
                      "application/json\r\nConnection: close\r\nContent-Length: "
                      + std::to_string(body.size()) + "\r\n\r\n" + body;
        o.onBusy = [this](const std::string &peer) {
            log("- " + peer + " refused: too many connections");
        };
        o.serve = [this](HttpConnection &c) {
            serve(c);
        };
        return o;
    }

    void log(const std::string &line)
    {
        std::lock_guard lock(logMutex);
        if (logger)
            logger(line);
    }

    void serve(HttpConnection &s);
    http::response<http::string_body> answer(HttpConnection &s,
                                             simdjson::dom::parser &json,
                                             const http::request<http::string_body> &req);
    void closeAfterError(HttpConnection &s,
                         http::status status,
                         const std::string &text,
                         unsigned version);
};

void RpcServer::Impl::closeAfterError(HttpConnection &s,
                                      http::status status,
                                      const std::string &text,
                                      unsigned version)
{
    http::response<http::string_body> res{status, version};
    res.set(http::field::content_type, "application/json");
    res.keep_alive(false);
    res.body() = errorBody(text);
    res.prepare_payload();
    if (s.write(res, kWriteTimeout))
        return;
    s.lingerBeforeClose(64 * 1024 * 1024, listener.stopping());
}

void RpcServer::Impl::serve(HttpConnection &s)
{
    const std::atomic<bool> &stopping = listener.stopping();
    simdjson::dom::parser json;
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
        auto res = answer(s, json, req);
        const bool keep = req.keep_alive() && res.keep_alive();
        res.keep_alive(keep);
        ec = s.write(res, kWriteTimeout);
        if (ec) {
            log("- " + s.peer + " dropped while answering: " + ec.message());
            return;
        }
        if (!keep)
            return;
    }
}

http::response<http::string_body> RpcServer::Impl::answer(
    HttpConnection &s, simdjson::dom::parser &json, const http::request<http::string_body> &req)
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
    if (auto err = json.parse(req.body()).get(doc))
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
    if (d->listener.isStarted())
        throw Error("The server is already started");
    d->listener.start(address, port);
}

std::uint16_t RpcServer::port() const
{
    return d->listener.port();
}

void RpcServer::stop()
{
    d->listener.stop();
}

void RpcServer::setLogger(std::function<void(const std::string &)> logger)
{
    std::lock_guard lock(d->logMutex);
    d->logger = std::move(logger);
}

} // namespace qv::rpc
