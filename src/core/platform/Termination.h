#pragma once
// A request to end from outside the program (the desktop's log-out, `kill`,
// Ctrl+C in a terminal: SIGTERM, SIGHUP, SIGINT) ends its event loops as
// Esci does, instead of killing it where it stands: the data folder's lock
// and the socket the next start looks for are given back, so that the next
// start neither takes over a stale lock nor waits for an answer.

class QCoreApplication;

namespace platform {

// From now on, for the application `app`. Where the system has no such
// signals, nothing changes.
void quitOnTermination(QCoreApplication *app);

} // namespace platform
