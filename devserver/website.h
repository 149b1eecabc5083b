#pragma once

// A small stand-in for the distributor's web site, over HTTP on its own port:
// stock pictures, the online payment page, the request form page and the
// installer download.

#include "database.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace qv {

class WebSite
{
public:
    explicit WebSite(DevDatabase &db);
    ~WebSite();
    WebSite(const WebSite &) = delete;
    WebSite &operator=(const WebSite &) = delete;

    // Port 0 picks a free one. Throws qv::Error when it cannot listen.
    void start(const std::string &address, std::uint16_t port);
    std::uint16_t port() const;
    void stop();
    void setLogger(std::function<void(const std::string &)> logger);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace qv
