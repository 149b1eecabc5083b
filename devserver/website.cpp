#include "website.h"

#include "errors.h"
#include "httplistener.h"
#include "webpages.h"

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <atomic>
#include <chrono>
#include <mutex>

namespace qv {

namespace beast = boost::beast;
namespace http = beast::http;

namespace {

constexpr std::uint32_t kHeaderLimit = 16 * 1024;
constexpr std::uint64_t kBodyLimit = 64 * 1024; // the request form is far smaller
constexpr std::size_t kMaxConnections = 64;
constexpr std::chrono::seconds kIdleTimeout{30};
constexpr std::chrono::seconds kWriteTimeout{60};

// Targets go into the log; keep a line a line.
std::string printable(std::string_view text)
{
    std::string out;
    for (char c : text.substr(0, 200))
        out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
    if (text.size() > 200)
        out += "...";
    return out;
}

} // namespace

struct WebSite::Impl
{
    explicit Impl(DevDatabase &db_)
        : db(db_)
    {}
    DevDatabase &db;

    std::mutex logMutex;
    std::function<void(const std::string &)> logger;

    // Last, so it stops before the state its request loops use goes away.
    HttpListener listener{listenerOptions()};

    HttpListener::Options listenerOptions()
    {
        HttpListener::Options o;
        o.maxConnections = kMaxConnections;
        o.busyReply = "HTTP/1.1 503 Service Unavailable\r\nContent-Type: "
                      "text/plain\r\nConnection: close\r\nContent-Length: "
                      "5\r\n\r\nbusy\n";
        o.onBusy = [this](const std::string &peer) {
            log("web - " + peer + " 503 too many connections");
        };
        // The thread's database connection goes with the thread.
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
                                             const http::request<http::string_body> &req);
    void refuse(HttpConnection &s, http::status status, const std::string &why);
};

void WebSite::Impl::refuse(HttpConnection &s, http::status status, const std::string &why)
{
    http::response<http::string_body> res{status, 11};
    res.set(http::field::content_type, "text/plain; charset=utf-8");
    res.keep_alive(false);
    res.body() = why + "\n";
    res.prepare_payload();
    log("web - " + s.peer + " " + std::to_string(int(status)) + " " + why);
    if (s.write(res, kWriteTimeout))
        return;
    s.lingerBeforeClose(4 * 1024 * 1024, listener.stopping());
}

void WebSite::Impl::serve(HttpConnection &s)
{
    const std::atomic<bool> &stopping = listener.stopping();
    beast::error_code ec;
    while (!stopping) {
        http::request_parser<http::string_body> parser;
        parser.header_limit(kHeaderLimit);
        parser.body_limit(kBodyLimit);
        s.stream->expires_after(kIdleTimeout);
        http::async_read(
            *s.stream, s.buffer, parser, [&](beast::error_code e, std::size_t) { ec = e; });
        s.run();
        if (ec) {
            if (ec == http::error::end_of_stream || stopping)
                return;
            if (ec == http::error::body_limit)
                refuse(s, http::status::payload_too_large, "request body too large");
            else if (ec == http::error::header_limit)
                refuse(
                    s, http::status::request_header_fields_too_large, "request header too large");
            else if (ec.category() == beast::error_code(http::error::bad_method).category()
                     && ec != http::error::partial_message)
                refuse(s, http::status::bad_request, "invalid request: " + ec.message());
            else
                log("web - " + s.peer + " dropped: " + ec.message());
            return;
        }
        const auto req = parser.release();
        auto res = answer(s, req);
        ec = s.write(res, kWriteTimeout);
        if (ec) {
            log("web - " + s.peer + " dropped while answering: " + ec.message());
            return;
        }
        if (!res.keep_alive())
            return;
    }
}

http::response<http::string_body> WebSite::Impl::answer(HttpConnection &s,
                                                        const http::request<http::string_body> &req)
{
    const auto t0 = std::chrono::steady_clock::now();
    const std::string_view method(req.method_string().data(), req.method_string().size());
    const std::string_view target(req.target().data(), req.target().size());
    const auto ct = req[http::field::content_type];

    WebReply reply;
    try {
        reply = answerWebRequest(
            db, method, target, std::string_view(ct.data(), ct.size()), req.body());
    } catch (const std::exception &e) {
        reply = {
            500, "text/plain; charset=utf-8", "server error\n", std::string("error: ") + e.what()};
    } catch (...) {
        reply = {500, "text/plain; charset=utf-8", "server error\n", "error: unknown"};
    }

    http::response<http::string_body> res{http::status(reply.status), req.version()};
    res.set(http::field::server, "quorvel-devserver");
    res.set(http::field::content_type, reply.contentType);
    res.set(http::field::cache_control, "no-store");
    res.keep_alive(req.keep_alive());
    res.body() = std::move(reply.body);
    res.prepare_payload();

    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - t0)
                        .count();
    log("web " + printable(method) + " " + printable(target) + " " + s.peer + " "
        + std::to_string(reply.status) + " " + std::to_string(res.body().size()) + " bytes "
        + std::to_string(ms) + " ms" + (reply.note.empty() ? "" : " " + printable(reply.note)));
    return res;
}

WebSite::WebSite(DevDatabase &db)
    : d(std::make_unique<Impl>(db))
{}

WebSite::~WebSite()
{
    stop();
}

void WebSite::start(const std::string &address, std::uint16_t port)
{
    if (d->listener.isStarted())
        throw Error("The web site is already started");
    d->listener.start(address, port);
}

std::uint16_t WebSite::port() const
{
    return d->listener.port();
}

void WebSite::stop()
{
    d->listener.stop();
}

void WebSite::setLogger(std::function<void(const std::string &)> logger)
{
    std::lock_guard lock(d->logMutex);
    d->logger = std::move(logger);
}

} // namespace qv
