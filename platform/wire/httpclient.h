#pragma once

// The HTTP side of a client connection, kept apart so that only one source
// file of the client compiles the HTTP library.

#include "connection.h"

#include <chrono>
#include <memory>
#include <string>

namespace qv::wire {

struct HttpEndpoint
{
    std::string host;
    std::string port;
    std::string context; // "datasnap/"
    std::chrono::milliseconds connectTimeout{10000};
    std::chrono::milliseconds callTimeout{120000};
};

// Connects (TCP) and returns the handle; throws qv::Error with the
// transport's text when the server cannot be reached.
std::unique_ptr<DBXConnection> connectHttp(const HttpEndpoint &endpoint);

} // namespace qv::wire
