#pragma once

#include "explorer/ui/MessageListStandIn.h"

namespace tarvin {

// The message list the explorer embeds, and the one place that makes it.
using TExplorerMessageList = TMessageListStandIn;

inline TExplorerMessageList *CreateMessageList(QWidget *parent) {
    return new TExplorerMessageList(parent);
}

} // namespace tarvin
