#include "reply.h"

#include "request_engine.h"

namespace snmp {

Reply::Reply(RequestEngine *engine, const Request &request, qint32 requestId)
    : QObject(engine), engine_(engine), request_(request), requestId_(requestId)
{
}

Reply::~Reply()
{
    // Deleted before it finished: the engine must not match or time it any more.
    if (engine_ && !finished_)
        engine_->forget(this);
}

void Reply::abort()
{
    if (finished_)
        return;
    if (engine_) {
        engine_->complete(this, Aborted, QStringLiteral("The request was aborted."));
        return;
    }
    setOutcome(Aborted, QStringLiteral("The request was aborted."));
    emit finished();
}

void Reply::setOutcome(Error error, const QString &text)
{
    finished_ = true;
    error_ = error;
    errorString_ = text;
}

QString Reply::errorStatusName(int status)
{
    switch (status) {
    case error_status::NoError: return QStringLiteral("noError");
    case error_status::TooBig: return QStringLiteral("tooBig");
    case error_status::NoSuchName: return QStringLiteral("noSuchName");
    case error_status::BadValue: return QStringLiteral("badValue");
    case error_status::ReadOnly: return QStringLiteral("readOnly");
    case error_status::GenErr: return QStringLiteral("genErr");
    default: return QStringLiteral("error %1").arg(status);
    }
}

}  // namespace snmp
