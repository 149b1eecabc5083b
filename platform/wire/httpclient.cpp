#include "httpclient.h"

#include "errors.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include <simdjson.h>

#include <optional>

namespace qv::wire {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

constexpr std::uint32_t kHeaderLimit = 64 * 1024;

// Async operations on a private io_context give us timeouts while the caller
// still sees one blocking call.
class HttpConnection final : public DBXConnection
{
public:
    explicit HttpConnection(HttpEndpoint endpoint)
        : m_ep(std::move(endpoint))
        , m_stream(m_ioc)
    {
        if (m_ep.context.empty() || m_ep.context.front() != '/')
            m_ep.context.insert(m_ep.context.begin(), '/');
        if (m_ep.context.back() != '/')
            m_ep.context.push_back('/');
        connect();
    }

    ~HttpConnection() override
    {
        beast::error_code ec;
        m_stream.socket().shutdown(tcp::socket::shutdown_both, ec);
        m_stream.close();
    }

    QString context() const override { return QString::fromStdString(m_ep.context.substr(1)); }

    std::string post(const std::string &path, const std::string &body) override
    {
        // The server may have asked to close after its last reply.
        if (!m_stream.socket().is_open())
            connect();

        http::request<http::string_body> req{http::verb::post, m_ep.context + "rest/" + path, 11};
        req.set(http::field::host, m_ep.host + ":" + m_ep.port);
        req.set(http::field::content_type, "application/json");
        req.set(http::field::accept, "application/json");
        req.keep_alive(true);
        req.body() = body;
        req.prepare_payload();

        beast::error_code ec;
        // One deadline for the whole exchange: a server that accepts and then
        // never answers must not freeze the caller.
        m_stream.expires_after(m_ep.callTimeout);
        http::async_write(m_stream, req, [&](beast::error_code e, std::size_t) { ec = e; });
        run();
        if (ec)
            fail(ec, "sending the call");

        http::response_parser<http::string_body> parser;
        parser.header_limit(kHeaderLimit);
        parser.body_limit(kMaxReplyBytes);
        http::async_read_header(
            m_stream, m_buffer, parser, [&](beast::error_code e, std::size_t) { ec = e; });
        run();
        if (ec)
            fail(ec, "reading the reply");
        // Room for the parser's padding, so the body is parsed in place.
        if (auto len = parser.content_length())
            parser.get().body().reserve(std::size_t(*len) + simdjson::SIMDJSON_PADDING);
        http::async_read(
            m_stream, m_buffer, parser, [&](beast::error_code e, std::size_t) { ec = e; });
        run();
        if (ec)
            fail(ec, "reading the reply");
        m_stream.expires_never();

        auto res = parser.release();
        if (!res.keep_alive())
            closeSocket();
        if (res.result() != http::status::ok)
            throw qv::Error(errorFromReply(res));
        return std::move(res.body());
    }

private:
    void run()
    {
        m_ioc.restart();
        m_ioc.run();
    }

    void closeSocket()
    {
        beast::error_code ignored;
        m_stream.socket().shutdown(tcp::socket::shutdown_both, ignored);
        m_stream.close();
        m_buffer.clear();
    }

    [[noreturn]] void fail(beast::error_code ec, const char *during)
    {
        closeSocket();
        std::string text;
        if (ec == beast::error::timeout)
            text = "No reply from the server within " + std::to_string(m_ep.callTimeout.count())
                   + " ms";
        else if (ec == http::error::end_of_stream || ec == http::error::partial_message
                 || ec == asio::error::eof || ec == asio::error::connection_reset)
            text = "The server closed the connection while " + std::string(during) + " ("
                   + ec.message() + ")";
        else if (ec == http::error::body_limit)
            text = "The server's reply is larger than " + std::to_string(kMaxReplyBytes) + " bytes";
        else
            text = ec.message() + " (while " + during + ")";
        throw qv::Error(text + " [" + m_ep.host + ":" + m_ep.port + "]");
    }

    void connect()
    {
        m_buffer.clear();
        beast::error_code ec;
        tcp::resolver resolver(m_ioc);
        tcp::resolver::results_type results;
        asio::steady_timer timer(m_ioc);
        bool resolved = false;
        timer.expires_after(m_ep.connectTimeout);
        timer.async_wait([&](beast::error_code e) {
            if (!e && !resolved)
                resolver.cancel();
        });
        resolver.async_resolve(
            m_ep.host, m_ep.port, [&](beast::error_code e, tcp::resolver::results_type r) {
                resolved = true;
                ec = e;
                results = std::move(r);
                timer.cancel();
            });
        run();
        if (ec == asio::error::operation_aborted)
            throw qv::Error("Timed out resolving " + m_ep.host);
        if (ec)
            throw qv::Error(ec.message() + " [" + m_ep.host + ":" + m_ep.port + "]");

        m_stream.expires_after(m_ep.connectTimeout);
        m_stream.async_connect(results,
                               [&](beast::error_code e, const tcp::endpoint &) { ec = e; });
        run();
        m_stream.expires_never();
        if (ec) {
            m_stream.close();
            const std::string text = ec == beast::error::timeout
                                         ? "Connection timed out after "
                                               + std::to_string(m_ep.connectTimeout.count()) + " ms"
                                         : ec.message();
            throw qv::Error(text + " [" + m_ep.host + ":" + m_ep.port + "]");
        }
        m_stream.socket().set_option(tcp::no_delay(true), ec);
    }

    static std::string errorFromReply(const http::response<http::string_body> &res)
    {
        // Our server puts its text into {"error":...}; anything else is shown
        // with the HTTP status so that the user still sees what happened.
        simdjson::dom::parser p;
        std::string_view text;
        auto doc = p.parse(res.body());
        if (!doc.error() && doc.value().is_object() && !doc.value()["error"].get_string().get(text))
            return std::string(text);
        return "The server answered HTTP " + std::to_string(res.result_int()) + " "
               + std::string(res.reason());
    }

    HttpEndpoint m_ep;
    asio::io_context m_ioc;
    beast::tcp_stream m_stream;
    beast::flat_buffer m_buffer;
};

} // namespace

std::unique_ptr<DBXConnection> connectHttp(const HttpEndpoint &endpoint)
{
    return std::make_unique<HttpConnection>(endpoint);
}

} // namespace qv::wire
