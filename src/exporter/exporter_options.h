#pragma once
// The exporter's command line and environment, parsed into its settings.
// Kept apart from main() so tests can parse.
//
// The community never comes from the command line (where every user of
// the machine could read it in the process list): from --community-file,
// or else from the environment variable CORVANE_COMMUNITY.

#include "exporter_server.h"

#include <QHostAddress>
#include <QProcessEnvironment>
#include <QStringList>

namespace exporter {

inline constexpr quint16 kDefaultListenPort = 9723;

struct ExporterOptions {
    QHostAddress listenAddress = QHostAddress(QHostAddress::LocalHost);
    quint16 listenPort = kDefaultListenPort;  // 0: a free port
    ExporterServer::Settings server;
    bool verbose = false;
};

struct ExporterCommandLine {
    enum class Outcome { Run, ShowHelp, ShowVersion, Error };
    Outcome outcome = Outcome::Error;
    ExporterOptions options;
    QString error;     // Outcome::Error: one line
    QString helpText;  // always filled
};

// `arguments` includes the program name first, as QCoreApplication gives it.
ExporterCommandLine parseExporterCommandLine(const QStringList &arguments, const QProcessEnvironment &environment);

}  // namespace exporter
