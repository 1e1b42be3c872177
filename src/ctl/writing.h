#pragma once
// Sending settings the way the window does, for set and restore: the
// device was read (every group a download writes), its store now holds the
// new values; the trap switch goes at once when it changed, the other
// groups in one download that ends with the reset. Or, for --dry-run,
// what would be sent, and nothing sent.

#include "fleet.h"
#include "host_session.h"

#include "config/configuration_store.h"

namespace ctl {

// The groups a settings file holds, with the identity: what backup and
// restore read, in the full read's order.
const QVector<config::Group> &settingsGroups();

// "essid: lab -> office" for each setting that differs.
QStringList differences(const config::ConfigurationStore &before, const config::ConfigurationStore &after);

// Sends what differs between `before` and the session's store; `done`
// gets the device's outcome (its lines already prefixed with the host).
void sendChanges(HostSession &session, const config::ConfigurationStore &before, bool dryRun, Fleet::Done done);

}  // namespace ctl
