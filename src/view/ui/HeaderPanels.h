#pragma once

#include "view/ui/HeaderBase.h"

#include <cstdint>
#include <memory>

class QCheckBox;

namespace tarvin {

enum class TGWMessageType : uint8_t;

// Mail: common rows and the subject.
class TFrmMailHeader : public TFrmHeader {
    Q_OBJECT
public:
    explicit TFrmMailHeader(QWidget *parent = nullptr);

protected:
    void UpdateValues() override;
};

// Appointment: common rows, when (with the duration), where and subject.
class TFrmApptHeader : public TFrmHeader {
    Q_OBJECT
public:
    explicit TFrmApptHeader(QWidget *parent = nullptr);

protected:
    void UpdateValues() override;
};

// Task: common rows, start and due dates with the priority on one row, the subject, and a
// read-only "Completed" check box under the date.
class TFrmTaskHeader : public TFrmHeader {
    Q_OBJECT
public:
    explicit TFrmTaskHeader(QWidget *parent = nullptr);
    QCheckBox *CompletedBox() const { return m_chkCompleted; }

protected:
    void UpdateValues() override;
    void ArrangeRows() override;

private:
    QCheckBox *m_chkCompleted;
};

// Reminder note: common rows and the subject.
class TFrmNoteHeader : public TFrmHeader {
    Q_OBJECT
public:
    explicit TFrmNoteHeader(QWidget *parent = nullptr);

protected:
    void UpdateValues() override;
};

// Phone message: common rows, caller and company, phone number and the attributes.
class TFrmPhoneHeader : public TFrmHeader {
    Q_OBJECT
public:
    explicit TFrmPhoneHeader(QWidget *parent = nullptr);

protected:
    void UpdateValues() override;
    void ArrangeRows() override;
};

// Document reference: common rows and the subject.
class TFrmDocRefHeader : public TFrmHeader {
    Q_OBJECT
public:
    explicit TFrmDocRefHeader(QWidget *parent = nullptr);

protected:
    void UpdateValues() override;
};

// The header panel class for a message type; nullptr for a type outside the six.
std::unique_ptr<TFrmHeader> CreateHeaderPanel(TGWMessageType type, QWidget *parent);

} // namespace tarvin
