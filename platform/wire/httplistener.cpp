#include "httplistener.h"

#include "errors.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <array>
#include <list>
#include <mutex>
#include <thread>

namespace qv {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

beast::error_code HttpConnection::write(http::response<http::string_body> &res,
                                        std::chrono::seconds timeout)
{
    beast::error_code ec;
    stream->expires_after(timeout);
    http::async_write(*stream, res, [&](beast::error_code e, std::size_t) { ec = e; });
    run();
    return ec;
}

void HttpConnection::lingerBeforeClose(std::size_t maxBytes, const std::atomic<bool> &stopping)
{
    beast::error_code ec;
    stream->socket().shutdown(tcp::socket::shutdown_send, ec);
    stream->expires_after(std::chrono::seconds(2));
    std::array<char, 16 * 1024> scratch;
    std::size_t drained = 0;
    std::function<void()> drain = [&] {
        stream->async_read_some(asio::buffer(scratch), [&](beast::error_code e, std::size_t n) {
            drained += n;
            if (!e && drained < maxBytes && !stopping)
                drain();
        });
    };
    drain();
    run();
}

namespace {

struct Session
{
    HttpConnection connection;
    std::thread thread;
    std::atomic<bool> done{false};
};

} // namespace

struct HttpListener::Impl
{
    explicit Impl(Options options_)
        : options(std::move(options_))
    {}
    Options options;

    asio::io_context acceptIoc;
    std::optional<tcp::acceptor> acceptor;
    std::thread acceptThread;
    std::uint16_t port = 0;
    std::atomic<bool> stopping{false};
    bool started = false;

    std::mutex sessionsMutex;
    std::list<std::shared_ptr<Session>> sessions;

    void accept();
    void reapFinished();
};

void HttpListener::Impl::reapFinished()
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

void HttpListener::Impl::accept()
{
    auto session = std::make_shared<Session>();
    acceptor->async_accept(
        session->connection.ioc, [this, session](beast::error_code ec, tcp::socket socket) {
            if (ec || stopping) {
                if (!stopping && ec != asio::error::operation_aborted)
                    accept();
                return;
            }
            reapFinished();
            HttpConnection &c = session->connection;
            beast::error_code ignored;
            const auto remote = socket.remote_endpoint(ignored);
            c.peer = remote.address().to_string() + ":" + std::to_string(remote.port());
            std::size_t active = 0;
            {
                std::lock_guard lock(sessionsMutex);
                active = sessions.size();
            }
            if (active >= options.maxConnections) {
                // The reply fits the socket's send buffer, so this never blocks.
                asio::write(socket, asio::buffer(options.busyReply), ignored);
                socket.shutdown(tcp::socket::shutdown_both, ignored);
                socket.close(ignored);
                if (options.onBusy)
                    options.onBusy(c.peer);
                accept();
                return;
            }
            socket.set_option(tcp::no_delay(true), ignored);
            c.stream.emplace(std::move(socket));
            {
                std::lock_guard lock(sessionsMutex);
                sessions.push_back(session);
            }
            session->thread = std::thread([this, session] {
                HttpConnection &conn = session->connection;
                options.serve(conn);
                beast::error_code e;
                conn.stream->socket().shutdown(tcp::socket::shutdown_both, e);
                conn.stream->close();
                session->done = true;
            });
            accept();
        });
}

HttpListener::HttpListener(Options options)
    : d(std::make_unique<Impl>(std::move(options)))
{}

HttpListener::~HttpListener()
{
    stop();
}

void HttpListener::start(const std::string &address, std::uint16_t port)
{
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

std::uint16_t HttpListener::port() const
{
    return d->port;
}

bool HttpListener::isStarted() const
{
    return d->started;
}

const std::atomic<bool> &HttpListener::stopping() const
{
    return d->stopping;
}

void HttpListener::stop()
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
        asio::post(s->connection.ioc, [s] {
            beast::error_code ignored;
            s->connection.stream->socket().shutdown(tcp::socket::shutdown_both, ignored);
            s->connection.stream->socket().close(ignored);
        });
    }
    for (auto &s : sessions)
        if (s->thread.joinable())
            s->thread.join();
    d->acceptIoc.restart();
    d->started = false;
}

} // namespace qv
