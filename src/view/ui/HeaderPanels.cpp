#include "view/ui/HeaderPanels.h"

#include "model/GWMessage.h"
#include "model/MessageItems.h"
#include "view/HeaderText.h"

#include <QCheckBox>

namespace tarvin {

namespace {

const QString kSubject = QStringLiteral("LblSubject");

} // namespace

// Values every panel shows: sender, date and the three recipient rows.
void TFrmHeader::FillCommonValues() {
    const TGWMessage &msg = *Message();
    SetValueText(ValueLabel(QStringLiteral("LblFromValue")), msg.CoreProperties.From);
    SetValueText(DateLabel(), HeaderDateText(GetMessageDate(&msg)));
    FillRecipients(rtTo, ValueLabel(QStringLiteral("LblToValue")));
    FillRecipients(rtCC, ValueLabel(QStringLiteral("LblCCValue")));
    FillRecipients(rtBC, ValueLabel(QStringLiteral("LblBCValue")));
}

// ---------------------------------------------------------------------------------------------

TFrmMailHeader::TFrmMailHeader(QWidget *parent) : TFrmHeader(parent) {
    setObjectName(QStringLiteral("FrmMailHeader"));
    AddCommonRows();
    AddCaption(kSubject, QStringLiteral("Subject:"), 104);
    AddValue(kSubject + QStringLiteral("Value"), 104);
    SetDesignHeight(137);
}

void TFrmMailHeader::UpdateValues() {
    FillCommonValues();
    SetValueText(ValueLabel(QStringLiteral("LblSubjectValue")), Message()->CoreProperties.Subject);
}

// ---------------------------------------------------------------------------------------------

TFrmApptHeader::TFrmApptHeader(QWidget *parent) : TFrmHeader(parent) {
    setObjectName(QStringLiteral("FrmApptHeader"));
    AddCommonRows();
    AddCaption(QStringLiteral("LblWhen"), QStringLiteral("When:"), 104);
    AddValue(QStringLiteral("LblWhenValue"), 104);
    AddCaption(QStringLiteral("LblWhere"), QStringLiteral("Where:"), 128);
    AddValue(QStringLiteral("LblWhereValue"), 128);
    AddCaption(kSubject, QStringLiteral("Subject:"), 152);
    AddValue(kSubject + QStringLiteral("Value"), 152);
    SetDesignHeight(173);
}

void TFrmApptHeader::UpdateValues() {
    FillCommonValues();
    if (const auto *appt = Message()->ItemAs<TAppointment>()) {
        SetValueText(ValueLabel(QStringLiteral("LblWhenValue")),
                     WhenText(appt->StartDate, appt->EndDate));
        SetValueText(ValueLabel(QStringLiteral("LblWhereValue")), appt->Place);
    }
    SetValueText(ValueLabel(QStringLiteral("LblSubjectValue")), Message()->CoreProperties.Subject);
}

// ---------------------------------------------------------------------------------------------

TFrmTaskHeader::TFrmTaskHeader(QWidget *parent) : TFrmHeader(parent) {
    setObjectName(QStringLiteral("FrmTaskHeader"));
    AddCommonRows();
    AddCaption(QStringLiteral("LblStarts"), QStringLiteral("Starts:"), 104);
    AddValue(QStringLiteral("LblStartsValue"), 104);
    AddCaption(QStringLiteral("LblDueOn"), QStringLiteral("Due on:"), 104, 196);
    AddValue(QStringLiteral("LblDueOnValue"), 104, 200);
    AddCaption(QStringLiteral("LblPriority"), QStringLiteral("Priority:"), 104, 316);
    AddValue(QStringLiteral("LblPriorityValue"), 104, 320);
    AddCaption(kSubject, QStringLiteral("Subject:"), 128);
    AddValue(kSubject + QStringLiteral("Value"), 128);

    m_chkCompleted = new QCheckBox(QStringLiteral("Completed"), this);
    m_chkCompleted->setObjectName(QStringLiteral("ChkCompleted"));
    m_chkCompleted->setEnabled(false);
    m_chkCompleted->adjustSize();
    m_chkCompleted->move(width() - m_chkCompleted->width() - 6, 24);
    AddControl(m_chkCompleted, 24);
    SetDesignHeight(145);
}

void TFrmTaskHeader::UpdateValues() {
    FillCommonValues();
    const auto *task = Message()->ItemAs<TTask>();
    if (task) {
        SetValueText(ValueLabel(QStringLiteral("LblStartsValue")),
                     HeaderShortDateText(task->StartDate));
        SetValueText(ValueLabel(QStringLiteral("LblDueOnValue")),
                     HeaderShortDateText(task->DueDate));
        SetValueText(ValueLabel(QStringLiteral("LblPriorityValue")), task->Priority);
    }
    m_chkCompleted->setChecked(task && task->Completed);
    SetValueText(ValueLabel(QStringLiteral("LblSubjectValue")), Message()->CoreProperties.Subject);
}

void TFrmTaskHeader::ArrangeRows() {
    TFrmHeader::ArrangeRows();
    // The check box sits at the right, under the date.
    m_chkCompleted->move(width() - m_chkCompleted->width() - 6,
                         DateLabel()->y() + DateLabel()->height() + 2);
}

// ---------------------------------------------------------------------------------------------

TFrmNoteHeader::TFrmNoteHeader(QWidget *parent) : TFrmHeader(parent) {
    setObjectName(QStringLiteral("FrmNoteHeader"));
    AddCommonRows();
    AddCaption(kSubject, QStringLiteral("Subject:"), 104);
    AddValue(kSubject + QStringLiteral("Value"), 104);
    SetDesignHeight(126);
}

void TFrmNoteHeader::UpdateValues() {
    FillCommonValues();
    SetValueText(ValueLabel(QStringLiteral("LblSubjectValue")), Message()->CoreProperties.Subject);
}

// ---------------------------------------------------------------------------------------------

TFrmPhoneHeader::TFrmPhoneHeader(QWidget *parent) : TFrmHeader(parent) {
    setObjectName(QStringLiteral("FrmPhoneHeader"));
    SetValueColumn(64);
    AddCommonRows();
    AddCaption(QStringLiteral("LblCaller"), QStringLiteral("Caller:"), 104);
    AddValue(QStringLiteral("LblCallerValue"), 104);
    AddCaption(QStringLiteral("LblCompany"), QStringLiteral("Company:"), 104, 236);
    AddValue(QStringLiteral("LblCompanyValue"), 104, 240);
    AddCaption(QStringLiteral("LblPhone"), QStringLiteral("Phone:"), 128);
    AddValue(QStringLiteral("LblPhoneValue"), 128);
    AddValue(QStringLiteral("LblAttrsValue"), 128, 240);
    SetDesignHeight(144);
}

void TFrmPhoneHeader::UpdateValues() {
    FillCommonValues();
    if (const auto *phone = Message()->ItemAs<TPhone>()) {
        SetValueText(ValueLabel(QStringLiteral("LblCallerValue")), phone->CallerName);
        SetValueText(ValueLabel(QStringLiteral("LblCompanyValue")), phone->CallerCompany);
        SetValueText(ValueLabel(QStringLiteral("LblPhoneValue")), phone->PhoneNumber);
        TPhoneAttributes attributes;
        attributes.Telephoned = phone->Telephoned;
        attributes.PleaseCall = phone->PleaseCall;
        attributes.WillCall = phone->WillCall;
        attributes.ReturnedCall = phone->ReturnedCall;
        attributes.WantsSee = phone->WantsSee;
        attributes.CameToSee = phone->CameToSee;
        attributes.Urgent = phone->Urgent;
        SetValueText(ValueLabel(QStringLiteral("LblAttrsValue")), PhoneAttributesText(attributes));
    }
}

void TFrmPhoneHeader::ArrangeRows() {
    TFrmHeader::ArrangeRows();
    if (!Message())
        return;
    QWidget *caller = Control(QStringLiteral("LblCaller"));
    QWidget *company = Control(QStringLiteral("LblCompany"));
    QWidget *companyValue = Control(QStringLiteral("LblCompanyValue"));
    if (caller->isHidden()) {
        // The company takes the caller's place, right edges aligned.
        company->move(caller->x() + caller->width() - company->width(), company->y());
        companyValue->move(company->x() + company->width() + 4, companyValue->y());
    }
    if (Control(QStringLiteral("LblPhone"))->isHidden()) {
        QWidget *attributes = Control(QStringLiteral("LblAttrsValue"));
        attributes->move(8, attributes->y());
    }
}

// ---------------------------------------------------------------------------------------------

TFrmDocRefHeader::TFrmDocRefHeader(QWidget *parent) : TFrmHeader(parent) {
    setObjectName(QStringLiteral("FrmDocRefHeader"));
    AddCommonRows();
    AddCaption(kSubject, QStringLiteral("Subject:"), 104);
    AddValue(kSubject + QStringLiteral("Value"), 104);
    SetDesignHeight(137);
}

void TFrmDocRefHeader::UpdateValues() {
    FillCommonValues();
    SetValueText(ValueLabel(QStringLiteral("LblSubjectValue")), Message()->CoreProperties.Subject);
}

// ---------------------------------------------------------------------------------------------

std::unique_ptr<TFrmHeader> CreateHeaderPanel(TGWMessageType type, QWidget *parent) {
    switch (type) {
    case mtMail:
        return std::make_unique<TFrmMailHeader>(parent);
    case mtAppointment:
        return std::make_unique<TFrmApptHeader>(parent);
    case mtTask:
        return std::make_unique<TFrmTaskHeader>(parent);
    case mtNote:
        return std::make_unique<TFrmNoteHeader>(parent);
    case mtPhone:
        return std::make_unique<TFrmPhoneHeader>(parent);
    case mtDocumentReference:
        return std::make_unique<TFrmDocRefHeader>(parent);
    }
    return nullptr;
}

} // namespace tarvin
