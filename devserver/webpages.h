#pragma once

// The pages of the web-site stand-in, apart from the HTTP plumbing: one
// request in, one reply out. Also used by the tests directly.

#include <QByteArray>
#include <QMap>
#include <QString>

#include <string>
#include <string_view>

namespace qv {

class DevDatabase;

struct WebReply
{
    int status = 200;
    std::string contentType;
    std::string body;
    std::string note; // extra words for the log line
};

// method is "GET" or "POST"; target is the request target as sent.
WebReply answerWebRequest(DevDatabase &db,
                          std::string_view method,
                          std::string_view target,
                          std::string_view contentType,
                          std::string_view body);

// Whether the item's web picture is served as PNG (the others as JPEG).
bool webPictureIsPng(int stokno);

// The installer the update window downloads: a shell script that only prints
// a line, padded so that a download shows progress. Always the same bytes.
const std::string &installerBytes();

QString htmlEscape(const QString &text);
// Splits "a=1&b=2"; plusIsBlank is the form encoding of browsers. Invalid
// escapes stay as written; the first of repeated keys wins.
QMap<QString, QString> decodeQuery(std::string_view query, bool plusIsBlank);

} // namespace qv
