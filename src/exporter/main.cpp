// corvane-exporter: a Prometheus exporter for Corvane access points. Each
// scrape reads the device's counters over SNMPv1 at that moment; see
// docs/exporter.md for running it beside Prometheus.

#include "exporter_logging.h"
#include "exporter_options.h"
#include "exporter_server.h"

#include "settings/app_version.h"
#include "snmp/loopback_guard.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("corvane-exporter"));
    QCoreApplication::setApplicationVersion(QLatin1String(settings::kProgramVersion));
    QTextStream out(stdout);
    QTextStream err(stderr);

    const exporter::ExporterCommandLine commandLine =
        exporter::parseExporterCommandLine(QCoreApplication::arguments(), QProcessEnvironment::systemEnvironment());
    switch (commandLine.outcome) {
    case exporter::ExporterCommandLine::Outcome::ShowHelp: out << commandLine.helpText; return 0;
    case exporter::ExporterCommandLine::Outcome::ShowVersion:
        out << "corvane-exporter " << settings::kProgramVersion << '\n';
        return 0;
    case exporter::ExporterCommandLine::Outcome::Error:
        err << "corvane-exporter: " << commandLine.error << "\nTry corvane-exporter --help.\n";
        return 2;
    case exporter::ExporterCommandLine::Outcome::Run: break;
    }
    const exporter::ExporterOptions &options = commandLine.options;
    if (!options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("corvane.*.debug=false"));

    exporter::ExporterServer server(options.server);
    QString error;
    const quint16 port = server.start(options.listenAddress, options.listenPort, &error);
    if (port == 0) {
        err << "corvane-exporter: " << error << '\n';
        return 1;
    }
    const QString host = options.listenAddress.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(options.listenAddress.toString())
                             : options.listenAddress.toString();
    // Scripts and tests read the port from this line.
    out << "corvane-exporter listening on http://" << host << ':' << port << "/\n";
    out.flush();
    if (!options.listenAddress.isLoopback())
        qCWarning(exporter::lcExporter).noquote()
            << "listening beyond this machine: whoever reaches" << host
            << "can have the exporter ask the devices of" << options.server.limits.allowed.texts().join(QLatin1String(", "));
    if (snmp::loopback_guard::isOn())
        qCInfo(exporter::lcExporter) << "CORVANE_LOOPBACK_ONLY: only devices in 127.0.0.0/8 are asked";
    return app.exec();
}
