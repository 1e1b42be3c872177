#include "exporter_logging.h"

namespace exporter {
Q_LOGGING_CATEGORY(lcExporter, "corvane.exporter")
}
