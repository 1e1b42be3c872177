#pragma once
// Ends the event loop cleanly on SIGINT, SIGTERM and SIGHUP (a closed
// terminal), so that what the program cleans up on its way out (temporary
// files, sockets) is cleaned up: the handler only writes a byte to a socket
// pair, and the event loop reads it and quits. A second signal of the same
// kind ends the program at once, as if no handler were there.

// Installs the handlers once; false when the socket pair or a handler
// could not be set up. Needs a QCoreApplication.
bool quitOnTerminationSignals();

// One of those signals has arrived and the event loop has been told to quit.
bool terminationRequested();
