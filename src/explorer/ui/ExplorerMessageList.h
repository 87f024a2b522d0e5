#pragma once

#include "explorer/ui/MessageListView.h"

namespace tarvin {

// The message list the explorer embeds, and the one place that makes it.
using TExplorerMessageList = TMessageListView;

inline TExplorerMessageList *CreateMessageList(QWidget *parent) {
    return new TExplorerMessageList(parent);
}

} // namespace tarvin
