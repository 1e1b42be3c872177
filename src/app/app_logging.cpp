#include "app_logging.h"

Q_LOGGING_CATEGORY(lcApp, "corvane.app")
