#pragma once

// The listening half shared by the two HTTP servers (the remote-method
// server and the development web site): accepts connections and serves each
// on its own thread with its own io_context. Only those servers include it,
// so the HTTP library stays out of everyone else's headers.

#include <boost/asio/io_context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/string_body.hpp>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace qv {

// One accepted connection; touched only by its own thread.
struct HttpConnection
{
    boost::asio::io_context ioc;
    std::optional<boost::beast::tcp_stream> stream;
    boost::beast::flat_buffer buffer;
    std::string peer; // "address:port"

    // Runs the pending asynchronous operations to completion.
    void run()
    {
        ioc.restart();
        ioc.run();
    }

    boost::beast::error_code write(
        boost::beast::http::response<boost::beast::http::string_body> &res,
        std::chrono::seconds timeout);

    // Call after the last reply: stops sending, then swallows up to maxBytes
    // of what the peer still sends before closing, because closing with
    // unread input resets the connection and can lose the reply.
    void lingerBeforeClose(std::size_t maxBytes, const std::atomic<bool> &stopping);
};

class HttpListener
{
public:
    struct Options
    {
        std::size_t maxConnections = 0;
        std::string busyReply; // the whole HTTP answer to a connection over the cap
        std::function<void(const std::string &peer)> onBusy;
        // The server's request loop; runs on the connection's own thread.
        std::function<void(HttpConnection &)> serve;
    };

    explicit HttpListener(Options options);
    ~HttpListener();
    HttpListener(const HttpListener &) = delete;
    HttpListener &operator=(const HttpListener &) = delete;

    // Port 0 picks a free one. Throws qv::Error when the address cannot be bound.
    void start(const std::string &address, std::uint16_t port);
    std::uint16_t port() const;
    bool isStarted() const;
    // Set from stop() on; request loops end when they see it.
    const std::atomic<bool> &stopping() const;
    void stop(); // closes the listener and every open connection, joins threads

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace qv
