#include "settings/settings_logging.h"

Q_LOGGING_CATEGORY(lcSettings, "corvane.settings")
