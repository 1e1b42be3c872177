#include "group_state.h"

namespace config {

void GroupState::forgetAll()
{
    read_ = 0;
    setEdited(0);
}

void GroupState::markRead(Group group) { read_ |= bit(group); }

bool GroupState::isRead(Group group) const { return read_ & bit(group); }

void GroupState::markEdited(Group group) { setEdited(edited_ | bit(group)); }

void GroupState::markSent(Group group) { setEdited(edited_ & ~bit(group)); }

bool GroupState::isEdited(Group group) const { return edited_ & bit(group); }

void GroupState::setEdited(quint32 edited)
{
    const bool wasWaiting = editsWaiting();
    edited_ = edited;
    if (wasWaiting != editsWaiting())
        emit editsWaitingChanged(editsWaiting());
}

GroupState &groupState()
{
    static GroupState instance;
    return instance;
}

void noteEdits(Group group, const ConfigurationStore &before, const ConfigurationStore &after)
{
    if (!sameGroup(group, before, after))
        groupState().markEdited(group);
}

}  // namespace config
