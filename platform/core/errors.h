#pragma once

#include <QString>

#include <stdexcept>
#include <string>

namespace qv {

// The one exception type of the platform layer. The message is what the user
// sees (server texts are passed on unchanged), so it is kept as UTF-8.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString())
    {}
    explicit Error(const std::string &message)
        : std::runtime_error(message)
    {}
    explicit Error(const char *message)
        : std::runtime_error(message)
    {}

    QString message() const { return QString::fromUtf8(what()); }
};

// Text of any exception as the user should read it.
inline QString errorText(const std::exception &e)
{
    return QString::fromUtf8(e.what());
}

} // namespace qv
