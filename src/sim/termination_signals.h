#pragma once
// Ends the event loop cleanly on SIGINT and SIGTERM: the handler only
// writes a byte to a socket pair, and the event loop reads it and quits.

// Installs the handlers once; false when the socket pair or a handler
// could not be set up. Needs a QCoreApplication.
bool quitOnTerminationSignals();
