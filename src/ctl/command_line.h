#pragma once
// One subcommand's command line: its own options and the common ones,
// parsed without exiting (a test runs many commands in one process), and
// its --help text made from the same table.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QVector>

namespace ctl {

struct OptionEntry {
    QStringList names;  // "p", "port"
    QString valueName;  // empty: a switch
    QString description;
};

// The options every command that talks to devices takes.
struct CommonOptions {
    QByteArray community;
    QString communitySource;  // where the community came from, for a warning
    quint16 port = 161;
    int timeoutMs = 1000;
    int retries = 2;
    int concurrency = 64;
    bool force = false;
    bool loopbackOnly = false;
};

inline constexpr const char kCommunityVariable[] = "CORVANE_COMMUNITY";

class CommandLine {
public:
    // `usage`: what follows the command's name ("HOST... [--json]").
    CommandLine(const QString &command, const QString &usage, const QString &summary,
                const QVector<OptionEntry> &options, bool deviceOptions = true);

    // Parses the arguments after the command's name. False with `error`
    // (one line) on anything that is not understood.
    bool parse(const QStringList &arguments, QString &error);

    bool helpAsked() const { return parser_.isSet(QStringLiteral("help")); }
    QString helpText() const;

    bool isSet(const QString &name) const { return parser_.isSet(name); }
    QString value(const QString &name) const { return parser_.value(name); }
    QStringList positional() const { return parser_.positionalArguments(); }
    // A whole number from `minimum` to `maximum`; false with `error`.
    bool number(const QString &name, int minimum, int maximum, int &value, QString &error) const;

    // After parse(): the common options. Reading a community file may
    // fail (a file error, not bad input): `fileError` is then set.
    bool commonOptions(CommonOptions &options, QString &error, bool &fileError) const;

    QString command() const { return command_; }

private:
    QString command_;
    QString usage_;
    QString summary_;
    QVector<OptionEntry> entries_;
    bool deviceOptions_;
    QCommandLineParser parser_;
};

// The options of commands that talk to devices, for the overall help.
QVector<OptionEntry> deviceOptionEntries();
QString optionTable(const QVector<OptionEntry> &entries);

}  // namespace ctl
