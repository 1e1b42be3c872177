#pragma once
#include <QLoggingCategory>

namespace exporter {
Q_DECLARE_LOGGING_CATEGORY(lcExporter)
}
