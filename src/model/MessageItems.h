#pragma once

#include "model/AbstractMessageItem.h"

#include <memory>
#include <vector>

namespace tarvin {

class TGWMessage;

// One "categories/category" element.
class TCategory : public TAbstractMessageItem {
public:
    bool Primary = false; // attribute "primary", strict boolean (required)
    QString CategoryName; // element text

    void ReadNode() override;
    const char *ClassName() const override { return "TCategory"; }
};

// The fields every item type shares, read after each type's own elements: categories,
// "personal-subject", "date-delivered", "forwarded", "replied".
class TMessageItem : public TAbstractMessageItem {
public:
    std::vector<std::unique_ptr<TCategory>> Categories;
    QString PersonalSubject;
    TDateTime DateDelivered = 0;
    bool Forwarded = false;
    bool Replied = false;

protected:
    void ReadCommonTail();
};

// "props/email": a mail.
class TEmail : public TMessageItem {
public:
    bool Completed = false;
    bool Delegated = false;
    bool NotifyCompleted = false; // a flag for mail (a number for notes and tasks)

    void ReadNode() override;
    const char *ClassName() const override { return "TEmail"; }
};

// "props/appointment".
class TAppointment : public TMessageItem {
public:
    QString AlarmProgram;
    TDateTime AlarmTime = 0;
    uint8_t Busytype = 0;
    TDateTime EndDate = 0;
    TDateTime StartDate = 0;
    double Duration = 0;
    bool Accepted = false;
    bool Autodate = false;
    bool Delegated = false;
    bool OnCalendar = false;
    bool Personal = false;
    uint8_t NotifyAccepted = 0;
    uint8_t NotifyDeclined = 0;
    QString Place;

    void ReadNode() override;
    const char *ClassName() const override { return "TAppointment"; }
};

// "props/task".
class TTask : public TMessageItem {
public:
    QString Category; // the single "category" text, apart from Categories
    TDateTime AssignedDate = 0;
    TDateTime DueDate = 0;
    TDateTime StartDate = 0;
    bool Accepted = false;
    bool Autodate = false;
    bool Completed = false;
    bool Delegated = false;
    bool OnCalendar = false;
    bool Personal = false;
    uint8_t NotifyAccepted = 0;
    uint8_t NotifyCompleted = 0;
    uint8_t NotifyDeclined = 0;
    QString Priority; // "0" is stored as empty text

    void ReadNode() override;
    const char *ClassName() const override { return "TTask"; }
};

// "props/note": a reminder note.
class TNote : public TMessageItem {
public:
    TDateTime StartDate = 0;
    bool Accepted = false;
    bool Autodate = false;
    bool Completed = false;
    bool Delegated = false;
    bool OnCalendar = false;
    bool Personal = false;
    uint8_t NotifyAccepted = 0;
    uint8_t NotifyCompleted = 0;
    uint8_t NotifyDeclined = 0;

    void ReadNode() override;
    const char *ClassName() const override { return "TNote"; }
};

// "props/phone": a phone message.
class TPhone : public TMessageItem {
public:
    QString CallerName;
    QString CallerCompany;
    bool PleaseCall = false;
    bool WantsSee = false;
    bool Telephoned = false;
    bool WillCall = false;
    bool CameToSee = false;
    bool Urgent = false;
    bool ReturnedCall = false;
    QString PhoneNumber;

    void ReadNode() override;
    const char *ClassName() const override { return "TPhone"; }
};

// "props/document-reference": only the shared fields.
class TDocumentReference : public TMessageItem {
public:
    void ReadNode() override;
    const char *ClassName() const override { return "TDocumentReference"; }
};

// The one date of a message: mail and phone messages the delivery date when set and the box
// type is 1 (received), else the creation date; appointments, tasks and notes their start
// date; document references the creation date. Raises
// "GetMessageDate: parameter AMsg has not been assigned" for null.
TDateTime GetMessageDate(const TGWMessage *AMsg);

} // namespace tarvin
