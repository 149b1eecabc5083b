#pragma once

namespace qv {

class SQLConnection;

// Opens the connection, retrying: up to 11 attempts, 500 ms apart, every
// failure's text shown in the plain message box (on the UI thread, also from
// a background task). When every attempt failed and reportFailure is true,
// the error dialog "Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!" follows;
// the silent form leaves that to its caller. Returns whether it is open.
//
// Between attempts a background thread sleeps; the UI thread runs a local
// event loop that excludes user input, so windows repaint but no click can
// start a second action on the same connection meanwhile.
bool CheckConnection(SQLConnection &connection, bool reportFailure);

} // namespace qv
