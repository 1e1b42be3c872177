#include "sim_logging.h"

Q_LOGGING_CATEGORY(lcSim, "corvane.sim")
