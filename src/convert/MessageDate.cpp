#include "convert/MessageConverter.h"

#include "model/GWMessage.h"
#include "model/MessageItems.h"

#include <memory>

namespace tarvin {

TDateTime ReadMessageFileDate(const QString &path) {
    auto message = std::make_unique<TGWMessage>();
    message->LoadFromFile(path);
    return GetMessageDate(message.get());
}

} // namespace tarvin
