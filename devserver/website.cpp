#include "website.h"

#include "errors.h"
#include "webpages.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <array>
#include <atomic>
#include <chrono>
#include <list>
#include <mutex>
#include <optional>
#include <thread>

namespace qv {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

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

struct Session
{
    asio::io_context ioc;
    std::optional<beast::tcp_stream> stream;
    beast::flat_buffer buffer;
    std::string peer;
    std::thread thread;
    std::atomic<bool> done{false};

    void run()
    {
        ioc.restart();
        ioc.run();
    }
};

} // namespace

struct WebSite::Impl
{
    explicit Impl(DevDatabase &db_)
        : db(db_)
    {}
    DevDatabase &db;

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
    void refuse(Session &s, http::status status, const std::string &why);
};

void WebSite::Impl::reapFinished()
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

void WebSite::Impl::accept()
{
    auto session = std::make_shared<Session>();
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
            static const std::string reply = "HTTP/1.1 503 Service Unavailable\r\nContent-Type: "
                                             "text/plain\r\nConnection: close\r\nContent-Length: "
                                             "5\r\n\r\nbusy\n";
            asio::write(socket, asio::buffer(reply), ignored);
            socket.shutdown(tcp::socket::shutdown_both, ignored);
            socket.close(ignored);
            log("web - " + session->peer + " 503 too many connections");
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
            // The thread's database connection goes with the thread.
            serve(*session);
            beast::error_code e;
            session->stream->socket().shutdown(tcp::socket::shutdown_both, e);
            session->stream->close();
            session->done = true;
        });
        accept();
    });
}

void WebSite::Impl::refuse(Session &s, http::status status, const std::string &why)
{
    http::response<http::string_body> res{status, 11};
    res.set(http::field::content_type, "text/plain; charset=utf-8");
    res.keep_alive(false);
    res.body() = why + "\n";
    res.prepare_payload();
    log("web - " + s.peer + " " + std::to_string(int(status)) + " " + why);
    beast::error_code ec;
    s.stream->expires_after(kWriteTimeout);
    http::async_write(*s.stream, res, [&](beast::error_code e, std::size_t) { ec = e; });
    s.run();
    if (ec)
        return;
    // Closing with unread input would reset the connection and could lose
    // the reply on the peer's side: stop sending and swallow a little first.
    s.stream->socket().shutdown(tcp::socket::shutdown_send, ec);
    s.stream->expires_after(std::chrono::seconds(2));
    std::array<char, 16 * 1024> scratch;
    std::size_t drained = 0;
    std::function<void()> drain = [&] {
        s.stream->async_read_some(asio::buffer(scratch), [&](beast::error_code e, std::size_t n) {
            drained += n;
            if (!e && drained < 4 * 1024 * 1024 && !stopping)
                drain();
        });
    };
    drain();
    s.run();
}

void WebSite::Impl::serve(Session &s)
{
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
        s.stream->expires_after(kWriteTimeout);
        http::async_write(*s.stream, res, [&](beast::error_code e, std::size_t) { ec = e; });
        s.run();
        if (ec) {
            log("web - " + s.peer + " dropped while answering: " + ec.message());
            return;
        }
        if (!res.keep_alive())
            return;
    }
}

http::response<http::string_body> WebSite::Impl::answer(Session &s,
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
    if (d->started)
        throw Error("The web site is already started");
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

std::uint16_t WebSite::port() const
{
    return d->port;
}

void WebSite::stop()
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
        // Posted into the session's own context: only its thread touches the socket.
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

void WebSite::setLogger(std::function<void(const std::string &)> logger)
{
    std::lock_guard lock(d->logMutex);
    d->logger = std::move(logger);
}

} // namespace qv
