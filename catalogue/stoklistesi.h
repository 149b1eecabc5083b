#pragma once

// Pure pieces of the stock list: the key folding of the search box and the
// price summary text of the narrow layout.

#include <QChar>
#include <QLocale>
#include <QString>

// A typed character with the Turkish letters folded to plain Latin ones, so
// the search reaches the server as plain capitals; others pass unchanged.
QChar FoldSearchKey(QChar key);

// The price summary cell: "Liste Fiyatı", the campaign price only when there
// is one, "NetFiyat" and "KDV li Fiyat", each line ending with a line break.
QString PriceSummaryText(double listeFiyat,
                         double kampFiyat,
                         double netFiyat,
                         double kdvDahil,
                         const QLocale &locale = QLocale());
