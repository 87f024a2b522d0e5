#include "model/MessageItems.h"

#include "base/Error.h"
#include "model/GWMessage.h"

namespace tarvin {

void TCategory::ReadNode() {
    Primary = StrToBool(GetAttributeValue("primary"));
    CategoryName = NodeText(Node);
}

void TMessageItem::ReadCommonTail() {
    Categories.clear();
    ForEachNode(Node, "categories/category", [this](XmlNode node) {
        auto category = std::make_unique<TCategory>();
        category->SetNode(node);
        Categories.push_back(std::move(category));
    });
    QString value;
    FindElementValue("personal-subject", PersonalSubject);
    DateDelivered = FindElementValue("date-delivered", value) ? IsoDateTimeToDateTime(value) : 0;
    Forwarded = FindElementValue("forwarded", value) ? StrToBool(value) : false;
    Replied = FindElementValue("replied", value) ? StrToBool(value) : false;
}

void TEmail::ReadNode() {
    Completed = StrToBool(GetElementValue("completed"));
    Delegated = StrToBool(GetElementValue("delegated"));
    NotifyCompleted = StrToBool(GetElementValue("notify-completed"));
    ReadCommonTail();
}

void TAppointment::ReadNode() {
    Accepted = StrToBool(GetElementValue("accepted"));
    Autodate = StrToBool(GetElementValue("autodate"));
    Delegated = StrToBool(GetElementValue("delegated"));
    OnCalendar = StrToBool(GetElementValue("on-calendar"));
    Personal = StrToBool(GetElementValue("personal"));
    StartDate = IsoDateTimeToDateTime(GetElementValue("start-date"));
    EndDate = IsoDateTimeToDateTime(GetElementValue("end-date"));
    Place = GetElementValue("place");
    Duration = StrToFloat(GetElementValue("duration"));
    AlarmTime = IsoDateTimeToDateTime(GetElementValue("alarm-time"));
    AlarmProgram = GetElementValue("alarm-program");
    NotifyAccepted = uint8_t(StrToInt(GetElementValue("notify-accepted")));
    NotifyDeclined = uint8_t(StrToInt(GetElementValue("notify-declined")));
    Busytype = uint8_t(StrToInt(GetElementValue("busytype")));
    ReadCommonTail();
}

void TTask::ReadNode() {
    Category = GetElementValue("category");
    Accepted = StrToBool(GetElementValue("accepted"));
    Autodate = StrToBool(GetElementValue("autodate"));
    Completed = StrToBool(GetElementValue("completed"));
    Delegated = StrToBool(GetElementValue("delegated"));
    Personal = StrToBool(GetElementValue("personal"));
    OnCalendar = StrToBool(GetElementValue("on-calendar"));
    NotifyAccepted = uint8_t(StrToInt(GetElementValue("notify-accepted")));
    NotifyCompleted = uint8_t(StrToInt(GetElementValue("notify-completed")));
    NotifyDeclined = uint8_t(StrToInt(GetElementValue("notify-declined")));
    Priority = GetElementValue("priority");
    if (Priority == QLatin1String("0"))
        Priority.clear();
    AssignedDate = IsoDateTimeToDateTime(GetElementValue("assigned-date"));
    DueDate = IsoDateTimeToDateTime(GetElementValue("due-date"));
    StartDate = IsoDateTimeToDateTime(GetElementValue("start-date"));
    ReadCommonTail();
}

void TNote::ReadNode() {
    Accepted = StrToBool(GetElementValue("accepted"));
    Autodate = StrToBool(GetElementValue("autodate"));
    Completed = StrToBool(GetElementValue("completed"));
    Delegated = StrToBool(GetElementValue("delegated"));
    OnCalendar = StrToBool(GetElementValue("on-calendar"));
    Personal = StrToBool(GetElementValue("personal"));
    NotifyAccepted = uint8_t(StrToInt(GetElementValue("notify-accepted")));
    NotifyCompleted = uint8_t(StrToInt(GetElementValue("notify-completed")));
    NotifyDeclined = uint8_t(StrToInt(GetElementValue("notify-declined")));
    StartDate = IsoDateTimeToDateTime(GetElementValue("start-date"));
    ReadCommonTail();
}

void TPhone::ReadNode() {
    CameToSee = StrToBool(GetElementValue("came-to-see"));
    PleaseCall = StrToBool(GetElementValue("please-call"));
    ReturnedCall = StrToBool(GetElementValue("returned-call"));
    Telephoned = StrToBool(GetElementValue("telephoned"));
    Urgent = StrToBool(GetElementValue("urgent"));
    WantsSee = StrToBool(GetElementValue("wants-see"));
    WillCall = StrToBool(GetElementValue("will-call"));
    PhoneNumber = GetElementValue("phone-number");
    CallerName = GetElementValue("caller-name");
    CallerCompany = GetElementValue("caller-company");
    ReadCommonTail();
}

void TDocumentReference::ReadNode() {
    ReadCommonTail();
}

TDateTime GetMessageDate(const TGWMessage *AMsg) {
    if (!AMsg)
        throw Error(QStringLiteral("GetMessageDate: parameter AMsg has not been assigned"));
    const TCoreProperties &core = AMsg->CoreProperties;
    const TMessageItem *item = AMsg->Item.get();
    switch (AMsg->MessageType) {
    case mtMail:
    case mtPhone:
        if (item && item->DateDelivered != 0 && core.Boxtype == 1)
            return item->DateDelivered;
        return core.DateCreate;
    case mtAppointment: {
        const auto *appointment = AMsg->ItemAs<TAppointment>();
        return appointment ? appointment->StartDate : 0;
    }
    case mtTask: {
        const auto *task = AMsg->ItemAs<TTask>();
        return task ? task->StartDate : 0;
    }
    case mtNote: {
        const auto *note = AMsg->ItemAs<TNote>();
        return note ? note->StartDate : 0;
    }
    case mtDocumentReference:
        return core.DateCreate;
    }
    return 0;
}

} // namespace tarvin
