#pragma once

// Data layer of the ticker, banners, opening screens and balloon counters.

#include "accountqueries.h"
#include "database.h"

#include "mobilstokunit.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace qv {

// The ticker text in the ticker's markup; empty when none is set.
QString tickerText(DevDatabase &db);
// Banner 1 and 2 are GIF, 3 BMP; empty when missing.
QByteArray bannerPicture(DevDatabase &db, int number);

// Opening screens are the announcements marked for start-up.
int openingScreenCount(DevDatabase &db);
// The sira-th opening screen counting from 0; null past the end.
std::unique_ptr<TAcilisEkran> openingScreen(DevDatabase &db, int sira);
// Every announcement in display order.
std::unique_ptr<TAcilisEkranlariki> announcementScreens(DevDatabase &db);

// Upper-case hexadecimal text of bytes, two digits per byte.
QString hexText(const QByteArray &bytes);

// One row: basket lines, new items, campaign items, announcements (all
// integers) and open order lines (float) of the account in use.
TableData balloonCounters(DevDatabase &db, const DevViewer &v, int carino);

} // namespace qv
