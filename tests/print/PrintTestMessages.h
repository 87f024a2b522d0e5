#pragma once

#include "model/GWMessage.h"
#include "support/PmlWriter.h"

#include <memory>

namespace tarvin::printtest {

inline std::unique_ptr<TGWMessage> Load(const PmlWriter &writer) {
    auto message = std::make_unique<TGWMessage>();
    message->LoadFromXml(writer.ToXml());
    return message;
}

// A message of each type with recipients, a plain body and one attachment.
inline PmlWriter Sample(TGWMessageType type) {
    PmlWriter writer(type);
    writer.SetCore("from", "Ann Lee").SetCore("subject", "Audit file 7");
    writer.AddRecipient("Bob Stone", "bob@example.org", "0");
    writer.AddRecipient("", "carl@example.org", "1");
    writer.SetPlainText("First line\nsecond  line\n indented");
    writer.AddAttachment(PmlAttachment::File("report.txt", "figures\n"));
    return writer;
}

} // namespace tarvin::printtest
