#include "view/ui/HeaderPanels.h"

#include "model/GWMessage.h"
#include "support/PmlWriter.h"
#include "util/DateTime.h"
#include "view/HeaderText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

std::string S(const QString &s) {
    return s.toStdString();
}

std::unique_ptr<TGWMessage> Load(const PmlWriter &writer) {
    auto msg = std::make_unique<TGWMessage>();
    msg->LoadFromXml(writer.ToXml());
    return msg;
}

// A mail with one To recipient, no CC or BC.
PmlWriter SimpleMail() {
    PmlWriter w(mtMail);
    w.SetCore(QStringLiteral("from"), QStringLiteral("Ellis Fenwick"));
    w.SetCore(QStringLiteral("subject"), QStringLiteral("Quarterly figures"));
    w.AddRecipient(QStringLiteral("Robin Ashdown"), QStringLiteral("robin@x"), QStringLiteral("0"));
    return w;
}

// A shown panel of the message's type, `width` pixels wide.
struct Shown {
    std::unique_ptr<TGWMessage> msg;
    std::unique_ptr<TFrmHeader> panel;

    Shown(const PmlWriter &writer, int width = 443) : msg(Load(writer)) {
        panel = CreateHeaderPanel(msg->MessageType, nullptr);
        panel->resize(width, panel->height());
        panel->show();
        panel->SetMessage(msg.get());
    }
    QWidget *operator[](const char *name) const {
        QWidget *w = panel->Control(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString Text(const char *name) const { return static_cast<QLabel *>((*this)[name])->text(); }
    QComboBox *List(const char *name) const {
        return panel->findChild<QComboBox *>(QString::fromLatin1(name));
    }
};

int LineHeight(const QWidget *label) {
    return QFontMetrics(label->font()).height();
}

} // namespace

TEST(HeaderPanels, FactoryCreatesThePanelOfEachType) {
    EXPECT_NE(dynamic_cast<TFrmMailHeader *>(CreateHeaderPanel(mtMail, nullptr).get()), nullptr);
    EXPECT_NE(dynamic_cast<TFrmApptHeader *>(CreateHeaderPanel(mtAppointment, nullptr).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TFrmTaskHeader *>(CreateHeaderPanel(mtTask, nullptr).get()), nullptr);
    EXPECT_NE(dynamic_cast<TFrmNoteHeader *>(CreateHeaderPanel(mtNote, nullptr).get()), nullptr);
    EXPECT_NE(dynamic_cast<TFrmPhoneHeader *>(CreateHeaderPanel(mtPhone, nullptr).get()), nullptr);
    EXPECT_NE(
        dynamic_cast<TFrmDocRefHeader *>(CreateHeaderPanel(mtDocumentReference, nullptr).get()),
        nullptr);
    EXPECT_EQ(CreateHeaderPanel(static_cast<TGWMessageType>(6), nullptr), nullptr);
    EXPECT_EQ(CreateHeaderPanel(mtAppointment, nullptr)->DesignHeight(), 173);
    EXPECT_EQ(CreateHeaderPanel(mtTask, nullptr)->DesignHeight(), 145);
    EXPECT_EQ(CreateHeaderPanel(mtPhone, nullptr)->DesignHeight(), 144);
}

TEST(HeaderPanels, ControlOrderPairsCaptionsWithValues) {
    auto panel = CreateHeaderPanel(mtPhone, nullptr);
    QStringList names;
    for (QWidget *w : panel->Controls())
        names << w->objectName();
    EXPECT_EQ(S(names.join(QLatin1Char(' '))),
              "LblFrom LblFromValue LblDate LblTo LblToValue LblCC LblCCValue LblBC LblBCValue "
              "LblCaller LblCallerValue LblCompany LblCompanyValue LblPhone LblPhoneValue "
              "LblAttrsValue");
}

TEST(HeaderPanels, MailShowsItsValuesWithCaptionsEndingAtTheValueColumn) {
    Shown s(SimpleMail());
    EXPECT_EQ(S(s.Text("LblFromValue")), "Ellis Fenwick");
    EXPECT_EQ(S(s.Text("LblToValue")), "Robin Ashdown");
    EXPECT_EQ(S(s.Text("LblSubjectValue")), "Quarterly figures");
    QWidget *from = s["LblFrom"];
    EXPECT_EQ(from->x() + from->width(), 56);
    EXPECT_EQ(s["LblFromValue"]->x(), 60);
    EXPECT_TRUE(static_cast<QLabel *>(from)->font().bold());
    EXPECT_FALSE(static_cast<QLabel *>(s["LblDate"])->font().bold());
    // First row at y = 4; the date label at the top right, 6 px from the edge.
    EXPECT_EQ(s["LblFromValue"]->y(), 4);
    QWidget *date = s["LblDate"];
    EXPECT_EQ(date->y(), 4);
    EXPECT_EQ(date->x() + date->width(), s.panel->width() - 6);

    // A sender too long for the row stops short of the date, also after the panel narrows,
    // and gets its whole width back when there is room again.
    PmlWriter longFrom = SimpleMail();
    longFrom.SetCore("from", QString(12, 'W') + " from the regional office of the north");
    Shown l(longFrom, 600);
    EXPECT_LT(l["LblFromValue"]->geometry().right(), l["LblDate"]->x());
    l.panel->resize(443, l.panel->height());
    EXPECT_LT(l["LblFromValue"]->geometry().right(), l["LblDate"]->x());
    EXPECT_EQ(l.Text("LblFromValue"), QString(12, 'W') + " from the regional office of the north");
    l.panel->resize(2000, l.panel->height());
    EXPECT_EQ(l["LblFromValue"]->width(),
              QFontMetrics(l["LblFromValue"]->font()).horizontalAdvance(l.Text("LblFromValue")));
}

TEST(HeaderPanels, EmptyRowsHideAndRowsBelowMoveUp) {
    PmlWriter withCC = SimpleMail();
    withCC.AddRecipient(QStringLiteral("Carl"), QStringLiteral("carl@x"), QStringLiteral("1"));
    withCC.AddRecipient(QStringLiteral("Bea"), QStringLiteral("bea@x"), QStringLiteral("2"));
    PmlWriter withoutCC = SimpleMail();
    withoutCC.AddRecipient(QStringLiteral("Bea"), QStringLiteral("bea@x"), QStringLiteral("2"));

    Shown full(withCC);
    Shown missing(withoutCC);
    EXPECT_FALSE(full["LblCC"]->isHidden());
    EXPECT_TRUE(missing["LblCC"]->isHidden());
    EXPECT_TRUE(missing["LblCCValue"]->isHidden());
    const int row = LineHeight(full["LblToValue"]) + 4;
    EXPECT_EQ(missing["LblBCValue"]->y(), full["LblBCValue"]->y() - row);
    EXPECT_EQ(missing["LblBC"]->y(), missing["LblBCValue"]->y());
    EXPECT_EQ(missing["LblSubjectValue"]->y(), full["LblSubjectValue"]->y() - row);
    EXPECT_EQ(missing.panel->height(), full.panel->height() - row);
    // Rows follow each other at label height + 4 from y = 4; the panel ends 6 px under the
    // last row.
    EXPECT_EQ(full["LblSubjectValue"]->y(), 4 + 4 * row);
    EXPECT_EQ(full.panel->height(), 4 + 4 * row + LineHeight(full["LblToValue"]) + 6);
}

TEST(HeaderPanels, RecipientWithoutNameOrAddressIsNotAvailable) {
    PmlWriter w = SimpleMail();
    w.AddRecipient(QString(), QString(), QStringLiteral("0"));
    Shown s(w);
    EXPECT_EQ(S(s.Text("LblToValue")), "Robin Ashdown; Not available");
    QComboBox *list = s.List("CboToValue");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(S(list->itemText(1)), "Not available");
    EXPECT_TRUE(list->isHidden());
}

TEST(HeaderPanels, WideToLineBecomesAListAndComesBackWhenItFits) {
    PmlWriter w = SimpleMail();
    for (int i = 0; i < 12; ++i)
        w.AddRecipient(QStringLiteral("Recipient Number %1").arg(i), QStringLiteral("r%1@x").arg(i),
                       QStringLiteral("0"));
    w.AddRecipient(QStringLiteral("Carl"), QStringLiteral("carl@x"), QStringLiteral("1"));
    Shown s(w, 600);
    auto *label = static_cast<QLabel *>(s["LblToValue"]);
    ASSERT_GT(label->width(), 450);
    QComboBox *list = s.List("CboToValue");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(label->isHidden());
    EXPECT_FALSE(list->isHidden());
    EXPECT_EQ(list->width(), 280);
    EXPECT_EQ(list->x(), label->x());
    EXPECT_EQ(list->y(), label->y() - 3);
    EXPECT_EQ(list->count(), 13);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(S(list->currentText()), "Robin Ashdown");
    EXPECT_FALSE(list->isEditable());
    EXPECT_EQ(s.panel->RowSpacing(), 5);
    // Every row uses the wider spacing.
    EXPECT_EQ(s["LblCCValue"]->y() - s["LblToValue"]->y(), LineHeight(label) + 5);
    // The caption stays.
    EXPECT_FALSE(s["LblTo"]->isHidden());

    // Widening the panel until the line fits brings the label back.
    s.panel->resize(label->width() * 4 / 3 + 8, s.panel->height());
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(list->isHidden());
    EXPECT_EQ(s.panel->RowSpacing(), 4);
    EXPECT_EQ(s["LblCCValue"]->y() - s["LblToValue"]->y(), LineHeight(label) + 4);

    // Narrowing again: the list is narrower than 280 when the limit is.
    s.panel->resize(300, s.panel->height());
    EXPECT_FALSE(list->isHidden());
    EXPECT_EQ(list->width(), 225);
}

TEST(HeaderPanels, SettingTheSameMessageAgainChangesNothing) {
    Shown s(SimpleMail());
    auto *label = static_cast<TUnicodeLabel *>(s["LblSubjectValue"]);
    label->SetCaption(QStringLiteral("changed"));
    s.panel->SetMessage(s.msg.get());
    EXPECT_EQ(S(label->text()), "changed");
    s.panel->RefreshPanel();
    EXPECT_EQ(S(label->text()), "Quarterly figures");
}

TEST(HeaderPanels, ValueTextIsPlainAndBreaksLines) {
    PmlWriter w = SimpleMail();
    w.SetCore(QStringLiteral("subject"), QStringLiteral("<b>bold</b>\u2028second line"));
    Shown s(w);
    auto *label = static_cast<TUnicodeLabel *>(s["LblSubjectValue"]);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->Caption(), QStringLiteral("<b>bold</b>\u2028second line"));
    EXPECT_EQ(S(label->text()), "<b>bold</b>\nsecond line");
    EXPECT_EQ(label->height(), 2 * LineHeight(label));
    EXPECT_EQ(s.panel->height(), label->y() + label->height() + 6);
    label->SetCaption(QStringLiteral("one\r\ntwo\rthree"));
    EXPECT_EQ(S(label->text()), "one\ntwo\nthree");
}

TEST(HeaderPanels, MidnightDateShowsWithoutTime) {
    PmlWriter w = SimpleMail();
    w.SetCore(QStringLiteral("boxtype"), QStringLiteral("2"));
    w.SetCore(QStringLiteral("date-create"), QStringLiteral("20260504T000000"));
    Shown s(w);
    EXPECT_EQ(S(s.Text("LblDate")), S(FormatShortDate(EncodeDateTime(2026, 5, 4, 0, 0, 0))));
}

TEST(HeaderPanels, ReceivedMailShowsTheDeliveryDate) {
    PmlWriter w = SimpleMail();
    w.SetCore(QStringLiteral("boxtype"), QStringLiteral("1"));
    w.SetCore(QStringLiteral("date-create"), QStringLiteral("20260504T000000"));
    w.SetItem(QStringLiteral("date-delivered"), QStringLiteral("20260505T081500"));
    Shown s(w);
    EXPECT_EQ(S(s.Text("LblDate")), S(HeaderDateText(EncodeDateTime(2026, 5, 5, 8, 15, 0))));
}

TEST(HeaderPanels, AppointmentShowsWhenWithDurationAndWhere) {
    PmlWriter w(mtAppointment);
    w.SetItem(QStringLiteral("start-date"), QStringLiteral("20260310T100000"));
    w.SetItem(QStringLiteral("end-date"), QStringLiteral("20260310T113000"));
    w.SetItem(QStringLiteral("duration"), QStringLiteral("5"));
    w.SetItem(QStringLiteral("place"), QString());
    Shown s(w);
    EXPECT_TRUE(s.Text("LblWhenValue").endsWith(QStringLiteral(" (1 Hour 30 Minutes)")));
    // An empty place hides the row; the subject moves up under "When:".
    EXPECT_TRUE(s["LblWhere"]->isHidden());
    const int row = LineHeight(s["LblWhenValue"]) + 4;
    EXPECT_EQ(s["LblSubjectValue"]->y(), s["LblWhenValue"]->y() + row);
    // The date label shows the start date.
    EXPECT_EQ(S(s.Text("LblDate")), S(HeaderDateText(EncodeDateTime(2026, 3, 10, 10, 0, 0))));
}

TEST(HeaderPanels, TaskRowHoldsStartsDueOnAndPriority) {
    PmlWriter w(mtTask);
    w.SetItem(QStringLiteral("priority"), QStringLiteral("A1"));
    w.SetItem(QStringLiteral("completed"), QStringLiteral("true"));
    Shown s(w);
    EXPECT_EQ(S(s.Text("LblStartsValue")), S(FormatShortDate(EncodeDateTime(2024, 3, 4, 0, 0, 0))));
    EXPECT_EQ(S(s.Text("LblDueOnValue")), S(FormatShortDate(EncodeDateTime(2024, 3, 15, 0, 0, 0))));
    EXPECT_EQ(S(s.Text("LblPriorityValue")), "A1");
    QWidget *starts = s["LblStartsValue"];
    QWidget *dueOn = s["LblDueOn"];
    QWidget *dueOnValue = s["LblDueOnValue"];
    QWidget *priority = s["LblPriority"];
    EXPECT_EQ(dueOn->y(), starts->y());
    EXPECT_EQ(priority->y(), starts->y());
    EXPECT_EQ(dueOn->x(), starts->x() + starts->width() + 8);
    EXPECT_EQ(dueOnValue->x(), dueOn->x() + dueOn->width() + 4);
    EXPECT_EQ(priority->x(), dueOnValue->x() + dueOnValue->width() + 8);
    EXPECT_EQ(s["LblPriorityValue"]->x(), priority->x() + priority->width() + 4);

    auto *check = static_cast<QCheckBox *>(s["ChkCompleted"]);
    EXPECT_TRUE(check->isChecked());
    EXPECT_FALSE(check->isEnabled());
    EXPECT_EQ(check->y(), s["LblDate"]->y() + s["LblDate"]->height() + 2);
    EXPECT_EQ(check->x() + check->width(), s.panel->width() - 6);
}

TEST(HeaderPanels, TaskWithPriorityZeroHidesPriorityOnly) {
    PmlWriter w(mtTask);
    w.SetItem(QStringLiteral("priority"), QStringLiteral("0"));
    Shown s(w);
    EXPECT_TRUE(s["LblPriority"]->isHidden());
    EXPECT_TRUE(s["LblPriorityValue"]->isHidden());
    EXPECT_FALSE(s["LblStarts"]->isHidden());
    EXPECT_FALSE(s["LblDueOnValue"]->isHidden());
    EXPECT_EQ(s["LblDueOnValue"]->y(), s["LblStartsValue"]->y());
    auto *check = static_cast<QCheckBox *>(s["ChkCompleted"]);
    EXPECT_FALSE(check->isChecked());
}

TEST(HeaderPanels, PhoneShowsCallerCompanyNumberAndAttributes) {
    PmlWriter w(mtPhone);
    w.SetItem(QStringLiteral("urgent"), QStringLiteral("true"));
    Shown s(w);
    EXPECT_EQ(S(s.Text("LblCallerValue")), "Dana Whitlock");
    EXPECT_EQ(S(s.Text("LblCompanyValue")), "Brantford Ltd");
    EXPECT_EQ(S(s.Text("LblAttrsValue")), "Telephoned, Please call, Urgent");
    EXPECT_EQ(s["LblCaller"]->x() + s["LblCaller"]->width(), 60);
    EXPECT_EQ(s["LblCallerValue"]->x(), 64);
    // The attributes follow the number on its row, 8 px after it.
    QWidget *number = s["LblPhoneValue"];
    EXPECT_EQ(s["LblAttrsValue"]->y(), number->y());
    EXPECT_EQ(s["LblAttrsValue"]->x(), number->x() + number->width() + 8);
    EXPECT_EQ(s.panel->Control(QStringLiteral("LblSubjectValue")), nullptr);
}

TEST(HeaderPanels, PhoneWithoutAttributesShowsTheNumberAlone) {
    PmlWriter w(mtPhone);
    w.SetItem(QStringLiteral("telephoned"), QStringLiteral("false"));
    w.SetItem(QStringLiteral("please-call"), QStringLiteral("false"));
    Shown s(w);
    EXPECT_FALSE(s["LblPhone"]->isHidden());
    EXPECT_EQ(S(s.Text("LblPhoneValue")), "+44 20 7946 0018");
    EXPECT_TRUE(s["LblAttrsValue"]->isHidden());
}

TEST(HeaderPanels, PhoneWithoutCallerPutsCompanyInItsPlace) {
    PmlWriter w(mtPhone);
    w.SetItem(QStringLiteral("caller-name"), QString());
    Shown s(w);
    QWidget *caller = s["LblCaller"];
    QWidget *company = s["LblCompany"];
    EXPECT_TRUE(caller->isHidden());
    EXPECT_EQ(company->x() + company->width(), caller->x() + caller->width());
    EXPECT_EQ(s["LblCompanyValue"]->x(), company->x() + company->width() + 4);
}

TEST(HeaderPanels, PhoneWithoutNumberMovesTheAttributesLeft) {
    PmlWriter w(mtPhone);
    w.SetItem(QStringLiteral("phone-number"), QString());
    Shown s(w);
    EXPECT_TRUE(s["LblPhone"]->isHidden());
    EXPECT_FALSE(s["LblAttrsValue"]->isHidden());
    EXPECT_EQ(s["LblAttrsValue"]->x(), 8);
    EXPECT_EQ(s["LblAttrsValue"]->y(),
              s["LblCallerValue"]->y() + LineHeight(s["LblCallerValue"]) + 4);
}

TEST(HeaderPanels, NoteAndDocumentReferenceShowSubject) {
    PmlWriter note(mtNote);
    note.SetCore(QStringLiteral("subject"), QStringLiteral("Renew the permit"));
    Shown n(note);
    EXPECT_EQ(S(n.Text("LblSubjectValue")), "Renew the permit");
    EXPECT_EQ(S(n.Text("LblDate")), S(HeaderDateText(EncodeDateTime(2024, 3, 22, 0, 0, 0))));
    PmlWriter doc(mtDocumentReference);
    doc.SetCore(QStringLiteral("date-create"), QStringLiteral("20240312T091500"));
    Shown d(doc);
    EXPECT_EQ(S(d.Text("LblDate")), S(HeaderDateText(EncodeDateTime(2024, 3, 12, 9, 15, 0))));
    EXPECT_TRUE(d["LblToValue"]->isHidden());
}

TEST(HeaderPanels, PanelWithoutMessageStaysAsDesigned) {
    auto panel = CreateHeaderPanel(mtMail, nullptr);
    panel->resize(500, panel->height());
    panel->show();
    EXPECT_EQ(panel->height(), 137);
    panel->RefreshPanel();
    EXPECT_EQ(panel->height(), 137);
    EXPECT_FALSE(panel->Updating());
}

TEST(HeaderPanels, HostResizeSwitchesRecipientRowsAndPanelKeepsItsFittedHeight) {
    PmlWriter w = SimpleMail();
    for (int i = 0; i < 8; ++i)
        w.AddRecipient(QStringLiteral("Recipient Number %1").arg(i), QStringLiteral("r%1@x").arg(i),
                       QStringLiteral("0"));
    auto msg = Load(w);
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    auto panel = CreateHeaderPanel(msg->MessageType, &host);
    layout->addWidget(panel.get());
    layout->addStretch();
    panel->SetMessage(msg.get());
    auto *label = static_cast<QLabel *>(panel->Control(QStringLiteral("LblToValue")));
    const int wide = label->width() * 4 / 3 + 20;
    host.resize(wide, 400);
    host.show();
    QApplication::processEvents();
    EXPECT_EQ(panel->width(), wide);
    EXPECT_FALSE(label->isHidden());
    const int fitted = panel->height();
    EXPECT_LT(fitted, panel->DesignHeight());

    host.resize(label->width(), 400);
    QApplication::processEvents();
    EXPECT_TRUE(label->isHidden());
    EXPECT_FALSE(panel->findChild<QComboBox *>(QStringLiteral("CboToValue"))->isHidden());
    // From, To and Subject: two gaps between rows, one pixel wider each with a list shown.
    EXPECT_EQ(panel->height(), fitted + 2);

    host.resize(wide, 400);
    QApplication::processEvents();
    EXPECT_FALSE(label->isHidden());
    EXPECT_EQ(panel->height(), fitted);
    panel.reset();
}

TEST(HeaderPanels, TextStaysDarkOnTheGreyUnderADarkTheme) {
    const QPalette saved = QApplication::palette();
    QPalette dark = saved;
    dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
    QApplication::setPalette(dark);
    auto panel = CreateHeaderPanel(mtMail, nullptr);
    QApplication::setPalette(saved);
    EXPECT_EQ(panel->palette().color(QPalette::Window), QColor(220, 220, 220));
    EXPECT_EQ(panel->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(panel->Control(QStringLiteral("LblFrom"))->palette().color(QPalette::WindowText),
              QColor(Qt::black));
}
