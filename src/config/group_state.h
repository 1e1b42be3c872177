#pragma once
// What the console knows about each group of the store, apart from its
// values: whether they came from the device since the last connect, and
// whether they hold edits that have not been downloaded yet.
//
// - A connect starts over: nothing read, nothing waiting (forgetAll).
// - A reader marks its group read only when every value passed its checks
//   (the values went into the store whole, never in part).
// - A window notes its edits after it stored them (noteEdits): a group
//   whose values it changed waits to be downloaded.
// - A download that went through marks what it sent (markSent).
//
// One instance beside the store; the windows watch editsWaitingChanged.

#include "config/store_groups.h"

#include <QObject>

namespace config {

class GroupState : public QObject {
    Q_OBJECT
public:
    void forgetAll();

    void markRead(Group group);
    bool isRead(Group group) const;

    void markEdited(Group group);
    void markSent(Group group);
    bool isEdited(Group group) const;
    bool editsWaiting() const { return edited_ != 0; }

signals:
    void editsWaitingChanged(bool waiting);

private:
    void setEdited(quint32 edited);
    static quint32 bit(Group group) { return quint32(1) << int(group); }

    quint32 read_ = 0;
    quint32 edited_ = 0;
};

// The process-wide state, beside store().
GroupState &groupState();

// After a window stored its controls: marks `group` edited when its values
// in `after` (the store) differ from `before` (a copy taken just before).
void noteEdits(Group group, const ConfigurationStore &before, const ConfigurationStore &after = store());

}  // namespace config
