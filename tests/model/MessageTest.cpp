#include "TestHelpers.h"

#include "model/GWMessage.h"
#include "model/MessageItems.h"
#include "support/PmlWriter.h"
#include "util/NumberFormat.h"

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

using namespace tarvin;

namespace {

std::unique_ptr<TGWMessage> FromWriter(const PmlWriter &writer) {
    auto msg = std::make_unique<TGWMessage>();
    msg->LoadFromXml(QString::fromUtf8(writer.ToXml()));
    return msg;
}

QString WriterError(const PmlWriter &writer) {
    return LoadXmlError(writer.ToXml());
}

} // namespace

TEST(MessageRoot, FullMailReadsEveryPart) {
    auto msg = LoadData("mail_full.pml");
    EXPECT_EQ(msg->MessageType, mtMail);
    EXPECT_EQ(msg->ID.Account, "Robin Ashdown");
    EXPECT_EQ(msg->ID.Mapi, "4A1B2C3D.dom1.po1.100.1.1.1@1");
    EXPECT_EQ(msg->ID.MessageClass, "GW.MESSAGE.MAIL");

    const TCoreProperties &core = msg->CoreProperties;
    EXPECT_FALSE(core.Archived);
    EXPECT_TRUE(core.Read);
    EXPECT_FALSE(core.Private);
    EXPECT_TRUE(core.NotifyOpen);
    EXPECT_TRUE(core.Opened);
    EXPECT_FALSE(core.Deleted);
    EXPECT_EQ(core.RevNo, 3);
    EXPECT_EQ(core.ReplyDaysReq, -2);
    EXPECT_EQ(core.From, "Ellis Fenwick");
    EXPECT_EQ(core.Subject, "Quarterly figures & plans");
    EXPECT_EQ(core.View, "mail");
    EXPECT_DOUBLE_EQ(core.DateCreate, EncodeDateTime(2024, 3, 12, 9, 15, 0));
    EXPECT_DOUBLE_EQ(core.DateModified, EncodeDateTime(2024, 3, 12, 9, 17, 0));
    EXPECT_EQ(core.Boxtype, 1);
    EXPECT_EQ(core.Priority, 1);

    EXPECT_EQ(core.Sharer.DisplayName, "Pat Greer");
    EXPECT_EQ(core.Sharer.EmailAddress, "pat.greer@example.org");
    EXPECT_EQ(core.Sharer.EmailType, "NGW");
    EXPECT_EQ(core.Sharer.AddressType, 2);
    EXPECT_EQ(core.Sender.DisplayName, "Ellis Fenwick");
    EXPECT_EQ(core.Sender.EmailType, "SMTP");
    EXPECT_EQ(core.Sender.AddressType, 0); // "x" is not a number: the default

    ASSERT_EQ(core.EncFolders.size(), 2u);
    EXPECT_EQ(core.EncFolders[0]->FolderID, "F1");
    EXPECT_EQ(core.EncFolders[0]->FolderName, "Mailbox");
    EXPECT_EQ(core.EncFolders[1]->FolderID, "");

    ASSERT_EQ(core.Recipients.size(), 4u);
    EXPECT_EQ(core.Recipients[0]->DisplayName, "Robin Ashdown");
    EXPECT_EQ(core.Recipients[0]->Address, "robin.ashdown@example.org");
    EXPECT_EQ(core.Recipients[0]->EmailType, "NGW");
    EXPECT_EQ(core.Recipients[0]->TargetType, rtTo);
    EXPECT_EQ(core.Recipients[1]->TargetType, rtCC);
    EXPECT_EQ(core.Recipients[2]->TargetType, rtBC);
    EXPECT_EQ(core.Recipients[2]->EmailType, "");
    EXPECT_EQ(core.Recipients[3]->TargetType, rtTo); // no target-type: To

    ASSERT_EQ(msg->Fields.size(), 4u);
    EXPECT_EQ(msg->Fields[0]->FieldName, "Project");
    EXPECT_EQ(msg->Fields[0]->FieldType, 1);
    EXPECT_EQ(msg->Fields[0]->Value(), "Northwind");
    EXPECT_EQ(msg->Fields[1]->FieldType, 4);
    EXPECT_EQ(msg->Fields[1]->Value(), "Agenda: budget review, hiring plan.");
    // A field without content stays empty, attributes included.
    EXPECT_EQ(msg->Fields[2]->FieldName, "");
    EXPECT_EQ(msg->Fields[2]->FieldType, 0);
    EXPECT_EQ(msg->Fields[3]->FieldType, 1); // type absent: 1
    EXPECT_EQ(msg->Fields[3]->Value(), "42");

    EXPECT_EQ(msg->Body.PlainText,
              "Hello Robin,\n\nthe figures are attached. A marker: ]]> stays]]>]]> here.\n"
              "<Not a tag> & no entity.\n");
    EXPECT_EQ(msg->BodyProperties(), "Mail properties text");

    EXPECT_DOUBLE_EQ(msg->SaveLog.DateSaved, EncodeDateTime(2024, 4, 1, 12, 0, 0));
    EXPECT_EQ(msg->SaveLog.Status, 2);
    ASSERT_EQ(msg->SaveLog.Items.size(), 2u);
    EXPECT_EQ(msg->SaveLog.Items[0]->Text, "Saved by the archiver");
    EXPECT_EQ(msg->SaveLog.Items[0]->ItemType, 1);
    EXPECT_EQ(msg->SaveLog.Items[1]->ItemType, 0);

    const TEmail *mail = msg->ItemAs<TEmail>();
    ASSERT_NE(mail, nullptr);
    EXPECT_FALSE(mail->Completed);
    EXPECT_TRUE(mail->Delegated);
    EXPECT_FALSE(mail->NotifyCompleted);
    ASSERT_EQ(mail->Categories.size(), 2u);
    EXPECT_TRUE(mail->Categories[0]->Primary);
    EXPECT_EQ(mail->Categories[0]->CategoryName, "Finance");
    EXPECT_FALSE(mail->Categories[1]->Primary);
    EXPECT_EQ(mail->PersonalSubject, "Q1 numbers");
    EXPECT_DOUBLE_EQ(mail->DateDelivered, EncodeDateTime(2024, 3, 12, 9, 16, 0));
    EXPECT_FALSE(mail->Forwarded);
    EXPECT_TRUE(mail->Replied);
    // Received (boxtype 1) with a delivery date: that date.
    EXPECT_DOUBLE_EQ(GetMessageDate(msg.get()), mail->DateDelivered);
}

TEST(MessageRoot, EveryItemTypeReadsItsElementAndDate) {
    {
        auto msg = LoadData("appointment.pml");
        EXPECT_EQ(msg->MessageType, mtAppointment);
        const auto *a = msg->ItemAs<TAppointment>();
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->Accepted);
        EXPECT_TRUE(a->OnCalendar);
        EXPECT_DOUBLE_EQ(a->StartDate, EncodeDateTime(2024, 3, 20, 14, 0, 0));
        EXPECT_DOUBLE_EQ(a->EndDate, EncodeDateTime(2024, 3, 20, 15, 30, 0));
        EXPECT_DOUBLE_EQ(a->AlarmTime, EncodeDateTime(2024, 3, 20, 13, 45, 0));
        EXPECT_EQ(a->Place, "Room 4");
        EXPECT_DOUBLE_EQ(a->Duration, 0.0625);
        EXPECT_EQ(a->AlarmProgram, "");
        EXPECT_EQ(a->NotifyAccepted, 0); // 256 in a byte
        EXPECT_EQ(a->NotifyDeclined, 1);
        EXPECT_EQ(a->Busytype, 2);
        // The start date, even with a delivery date present.
        EXPECT_DOUBLE_EQ(GetMessageDate(msg.get()), a->StartDate);
        EXPECT_TRUE(msg->Attachments.empty());
        EXPECT_EQ(msg->SaveLog.Status, -1);
        EXPECT_TRUE(msg->SaveLog.Items.empty());
        EXPECT_EQ(msg->BodyProperties(), "none");
    }
    {
        auto msg = LoadData("task.pml");
        EXPECT_EQ(msg->MessageType, mtTask);
        const auto *t = msg->ItemAs<TTask>();
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Category, "Reports");
        EXPECT_TRUE(t->Completed);
        EXPECT_EQ(t->NotifyCompleted, 2);
        EXPECT_EQ(t->Priority, ""); // "0" is stored empty
        EXPECT_DOUBLE_EQ(t->AssignedDate, EncodeDateTime(2024, 3, 1, 0, 0, 0));
        EXPECT_DOUBLE_EQ(t->DueDate, EncodeDateTime(2024, 3, 15, 17, 0, 0));
        EXPECT_TRUE(t->Categories.empty());
        EXPECT_TRUE(t->Forwarded);
        EXPECT_FALSE(t->Replied);
        EXPECT_EQ(t->DateDelivered, 0);
        EXPECT_DOUBLE_EQ(GetMessageDate(msg.get()), EncodeDateTime(2024, 3, 4, 9, 0, 0));
        // No save log: all empty.
        EXPECT_EQ(msg->SaveLog.DateSaved, 0);
        EXPECT_EQ(msg->SaveLog.Status, 0);
    }
    {
        auto msg = LoadData("note.pml");
        EXPECT_EQ(msg->MessageType, mtNote);
        const auto *n = msg->ItemAs<TNote>();
        ASSERT_NE(n, nullptr);
        EXPECT_TRUE(n->Autodate);
        EXPECT_TRUE(n->Personal);
        EXPECT_EQ(n->NotifyCompleted, 1);
        ASSERT_EQ(n->Categories.size(), 1u);
        EXPECT_EQ(n->Categories[0]->CategoryName, "Personal");
        EXPECT_DOUBLE_EQ(GetMessageDate(msg.get()), EncodeDateTime(2024, 3, 22, 0, 0, 0));
    }
    {
        auto msg = LoadData("phone.pml");
        EXPECT_EQ(msg->MessageType, mtPhone);
        const auto *p = msg->ItemAs<TPhone>();
        ASSERT_NE(p, nullptr);
        EXPECT_TRUE(p->PleaseCall);
        EXPECT_TRUE(p->Telephoned);
        EXPECT_TRUE(p->Urgent);
        EXPECT_FALSE(p->CameToSee);
        EXPECT_EQ(p->PhoneNumber, "+44 20 7946 0018");
        EXPECT_EQ(p->CallerName, "Dana Whitlock");
        EXPECT_EQ(p->CallerCompany, "Brantford Ltd");
        EXPECT_DOUBLE_EQ(GetMessageDate(msg.get()), EncodeDateTime(2024, 3, 5, 10, 10, 0));
    }
    {
        auto msg = LoadData("docref.pml");
        EXPECT_EQ(msg->MessageType, mtDocumentReference);
        const auto *d = msg->ItemAs<TDocumentReference>();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->PersonalSubject, "Contract v2");
        // Creation date, whatever the delivery date.
        EXPECT_DOUBLE_EQ(GetMessageDate(msg.get()), EncodeDateTime(2024, 3, 5, 8, 30, 0));
    }
}

TEST(MessageRoot, MessageTypeComesFromTheClassPrefix) {
    EXPECT_EQ(MessageTypeOfClass("GW.MESSAGE.MAIL.Forwarded", mtTask), mtMail);
    EXPECT_EQ(MessageTypeOfClass("GW.MESSAGE.DOCUMENTREFERENCE", mtMail), mtDocumentReference);
    EXPECT_EQ(MessageTypeOfClass("gw.message.task", mtNote), mtNote); // case matters
    EXPECT_EQ(MessageTypeOfClass("", mtPhone), mtPhone);

    // A task class with its item read from "props/task".
    auto task = FromWriter(PmlWriter(mtTask).SetMessageClass("GW.MESSAGE.TASK"));
    EXPECT_EQ(task->MessageType, mtTask);
    ASSERT_NE(task->ItemAs<TTask>(), nullptr);
    EXPECT_EQ(task->ItemAs<TTask>()->Priority, "A1");

    // Unknown class: mail, reading "props/email".
    auto unknown = FromWriter(PmlWriter(mtMail).SetMessageClass("IPM.Note"));
    EXPECT_EQ(unknown->MessageType, mtMail);
    ASSERT_NE(unknown->ItemAs<TEmail>(), nullptr);
}

TEST(MessageRoot, MissingOptionalPartsLoadEmpty) {
    // No id and no email element: an empty mail.
    auto msg = LoadData("no_id.pml");
    EXPECT_EQ(msg->MessageType, mtMail);
    ASSERT_NE(msg->ItemAs<TEmail>(), nullptr);
    EXPECT_TRUE(msg->ItemAs<TEmail>()->Categories.empty());
    EXPECT_EQ(msg->ID.Mapi, "");
    // No core: all empty, zero or false.
    EXPECT_EQ(msg->CoreProperties.Subject, "");
    EXPECT_EQ(msg->CoreProperties.DateCreate, 0);
    EXPECT_FALSE(msg->CoreProperties.Read);
    EXPECT_EQ(msg->CoreProperties.Sender.DisplayName, "");
    EXPECT_TRUE(msg->CoreProperties.Recipients.empty());
    EXPECT_EQ(msg->Body.PlainText, "");
    EXPECT_EQ(GetMessageDate(msg.get()), 0);
    EXPECT_EQ(msg->BodyProperties(), "none");

    // Optional tail elements of an item: defaults.
    auto mail = FromWriter(PmlWriter(mtMail).RemoveItem("date-delivered"));
    const TEmail *e = mail->ItemAs<TEmail>();
    EXPECT_EQ(e->DateDelivered, 0);
    EXPECT_FALSE(e->Forwarded);
    EXPECT_EQ(e->PersonalSubject, "");
    // Without a delivery date the creation date counts, whatever the box type.
    EXPECT_DOUBLE_EQ(GetMessageDate(mail.get()), mail->CoreProperties.DateCreate);
}

TEST(MessageRoot, MailAndPhoneDatesDependOnTheBoxType) {
    auto received = FromWriter(PmlWriter(mtMail).SetCore("boxtype", "1"));
    EXPECT_DOUBLE_EQ(GetMessageDate(received.get()), EncodeDateTime(2024, 3, 12, 9, 16, 0));
    auto sent = FromWriter(PmlWriter(mtMail).SetCore("boxtype", "2"));
    EXPECT_DOUBLE_EQ(GetMessageDate(sent.get()), EncodeDateTime(2024, 3, 12, 9, 15, 0));
    auto phone = FromWriter(PmlWriter(mtPhone).SetCore("boxtype", "4"));
    EXPECT_DOUBLE_EQ(GetMessageDate(phone.get()), EncodeDateTime(2024, 3, 12, 9, 15, 0));
    EXPECT_EQ(ErrorOf([] { GetMessageDate(nullptr); }),
              "GetMessageDate: parameter AMsg has not been assigned");
}

TEST(MessageRoot, BrokenFilesFailWithTheirMessages) {
    auto expectError = [](const char *file, const QString &expected) {
        EXPECT_EQ(LoadError(DataPath(QStringLiteral("broken/") + QLatin1String(file))), expected)
            << file;
    };
    expectError("missing_boxtype.pml",
                "TCoreProperties.GetElementValue: element 'boxtype' not found");
    expectError("invalid_date.pml",
                "IsoDateTimeToDateTime(20030230T000000): Invalid argument to date encode");
    expectError("empty_boolean.pml", "'' is not a valid boolean value");
    expectError("savelog_without_date.pml",
                "IsoDateTimeToDateTime(): '' is not a valid integer value");
    expectError("category_without_primary.pml", "'' is not a valid boolean value");
    expectError("field_type4_not_zlib.pml", "data error");
    expectError("objtype_not_number.pml", "'file' is not a valid integer value");
    expectError("system_not_boolean.pml", "'maybe' is not a valid boolean value");
    expectError("body_without_plain.pml",
                "TMessageBody.GetElementValue: element 'plain' not found");
    expectError("task_without_category.pml", "TTask.GetElementValue: element 'category' not found");
    expectError("id_without_class.pml", "TID.GetElementValue: element 'class' not found");
    expectError("forwarded_empty.pml", "'' is not a valid boolean value");
    expectError("duration_not_number.pml", "'half' is not a valid floating point value");
    expectError("appointment_without_alarm_time.pml",
                "TAppointment.GetElementValue: element 'alarm-time' not found");
}

TEST(MessageRoot, RequiredElementsAreReportedInReadingOrder) {
    // Several missing: the first in reading order is named.
    EXPECT_EQ(WriterError(PmlWriter().RemoveCore("priority").RemoveCore("archived")),
              "TCoreProperties.GetElementValue: element 'archived' not found");
    EXPECT_EQ(WriterError(PmlWriter().RemoveCore("date-create").RemoveCore("view")),
              "TCoreProperties.GetElementValue: element 'view' not found");
    EXPECT_EQ(WriterError(PmlWriter(mtPhone).RemoveItem("caller-company").RemoveItem("urgent")),
              "TPhone.GetElementValue: element 'urgent' not found");
    EXPECT_EQ(WriterError(PmlWriter(mtNote).RemoveItem("start-date")),
              "TNote.GetElementValue: element 'start-date' not found");
    EXPECT_EQ(WriterError(PmlWriter(mtMail).RemoveItem("notify-completed")),
              "TEmail.GetElementValue: element 'notify-completed' not found");
    EXPECT_EQ(WriterError(PmlWriter(mtTask).SetItem("notify-completed", "x")),
              "'x' is not a valid integer value");
    // The id's children are required once "id" exists.
    EXPECT_EQ(WriterError(PmlWriter().RemoveIdElement("account")),
              "TID.GetElementValue: element 'account' not found");
}

TEST(MessageRoot, DecimalDurationFollowsTheProcessSeparator) {
    const QChar saved = DecimalSeparator();
    PmlWriter writer(mtAppointment);
    writer.SetItem("duration", "1.5");
    SetDecimalSeparator(QLatin1Char('.'));
    EXPECT_DOUBLE_EQ(FromWriter(writer)->ItemAs<TAppointment>()->Duration, 1.5);
    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(WriterError(writer), "'1.5' is not a valid floating point value");
    SetDecimalSeparator(saved);
}

TEST(MessageRoot, TaskPriorityKeepsAnyTextButZero) {
    EXPECT_EQ(FromWriter(PmlWriter(mtTask).SetItem("priority", "00"))->ItemAs<TTask>()->Priority,
              "00");
    EXPECT_EQ(FromWriter(PmlWriter(mtTask).SetItem("priority", "0"))->ItemAs<TTask>()->Priority,
              "");
}

TEST(MessageRoot, EachMessageKeepsAndSavesItsOwnTree) {
    QTemporaryDir dir;
    auto first = LoadData("phone.pml");
    // Load others afterwards, in other objects and in a reused one.
    auto second = LoadData("task.pml");
    auto reused = LoadData("note.pml");
    reused->LoadFromFile(DataPath("appointment.pml"));
    EXPECT_EQ(reused->MessageType, mtAppointment);
    ASSERT_NE(reused->ItemAs<TAppointment>(), nullptr);

    const QString path = dir.filePath("saved.pml");
    first->SaveToFile(path);
    TGWMessage copy;
    copy.LoadFromFile(path);
    EXPECT_EQ(copy.MessageType, mtPhone);
    EXPECT_EQ(copy.CoreProperties.Subject, "Call from Dana");
    EXPECT_EQ(copy.ItemAs<TPhone>()->CallerName, "Dana Whitlock");
    EXPECT_DOUBLE_EQ(GetMessageDate(&copy), GetMessageDate(first.get()));

    // The big mail survives a round trip with its payloads intact.
    auto mail = LoadData("mail_full.pml");
    mail->SaveToFile(dir.filePath("mail.pml"));
    TGWMessage mailCopy;
    mailCopy.LoadFromFile(dir.filePath("mail.pml"));
    EXPECT_EQ(mailCopy.Body.PlainText, mail->Body.PlainText);
    ASSERT_EQ(mailCopy.Attachments.size(), mail->Attachments.size());
    EXPECT_EQ(mailCopy.Attachments[5]->DataText(), mail->Attachments[5]->DataText());

    // A failed save reports the file system's complaint.
    EXPECT_TRUE(ErrorOf([&] {
                    first->SaveToFile(dir.filePath("no/such/folder/x.pml"));
                }).startsWith("Cannot create file"));
}

TEST(MessageRoot, FailedParseKeepsTheLoadedMessage) {
    auto msg = LoadData("phone.pml");
    EXPECT_THROW(msg->LoadFromFile(DataPath("broken/not_well_formed.pml")), Error);
    EXPECT_EQ(msg->MessageType, mtPhone);
    EXPECT_EQ(msg->ItemAs<TPhone>()->CallerName, "Dana Whitlock");
    EXPECT_EQ(msg->BodyProperties(), "none");
}

TEST(MessageRoot, ThreadsLoadSideBySide) {
    // The find window loads messages on a worker thread while the viewer loads on its own.
    std::atomic<int> failures{0};
    auto work = [&] {
        for (int i = 0; i < 20; ++i) {
            try {
                auto msg = LoadData("mail_full.pml");
                if (msg->Attachments[5]->DataText().isEmpty() ||
                    GetMessageDate(msg.get()) != EncodeDateTime(2024, 3, 12, 9, 16, 0))
                    ++failures;
            } catch (const Error &) {
                ++failures;
            }
            const QString error = LoadError(DataPath("broken/doctype_entity_loop.pml"));
            if (!error.contains("Document type declarations are not allowed"))
                ++failures;
            if (!LoadError(DataPath("broken/not_well_formed.pml")).contains("line 7"))
                ++failures;
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(work);
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
}
