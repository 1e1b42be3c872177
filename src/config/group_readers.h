#pragma once
// Reading the device's configuration one group of objects at a time: one
// GET of the group's objects, the answer checked and stored as the object
// description says, and the text a failure shows.

#include "config/configuration_store.h"
#include "config/device_link.h"
#include "config/device_objects.h"

#include <QString>

namespace config {

// How often a full read sends a GET that goes unanswered within its
// time-out: the same request again (same request id), so that an answer to
// any of the tries counts. A lossy link loses a request now and then; a
// pass of nine exchanges would rarely get through without this.
constexpr int kReadTries = 3;

// One GET of the group's objects to `host` (sent up to `tries` times while
// unanswered), then the group decoded into a scratch copy of `target`. The
// group goes into `target` whole when every value passed its checks; a
// rejected or missing value leaves `target` as it was.
StoreVerdict readGroup(DeviceLink &link, const QString &host, Group group, ConfigurationStore &target,
                       int tries = 1);

// What the status line shows when the group fails on the last attempt;
// empty for the groups that show nothing.
QString readFailureText(Group group, StoreVerdict verdict);

}  // namespace config
