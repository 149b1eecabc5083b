#pragma once

// Search keys of the stock catalogue. The client sends Turkish letters as
// plain Latin capitals (İ and ı both as I), so stored names and typed texts
// are folded the same way before they are compared.

#include <QString>
#include <QStringList>

namespace qv {

// Upper case by Turkish rules: i becomes İ, ı becomes I.
QString turkishUpper(QStringView text);

// Turkish upper case folded to plain Latin capitals, digits kept and every
// other character dropped: "Fi̇ltre 1.3" gives "FILTRE13", "W 712/75" "W71275".
QString searchKey(QStringView text);

// The blank-separated words of a text, each made a search key; empty keys
// are left out.
QStringList searchWords(QStringView text);

} // namespace qv
