#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace tarvin {

// The one error type of the program. It carries the exact message text that the user
// sees; windows and the console catch it at their boundary and show message().
class Error : public std::exception {
public:
    explicit Error(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// Raised by the strict value conversions ("'%s' is not a valid integer value" and the like).
class ConvertError : public Error {
public:
    using Error::Error;
};

// Raised when zlib reports an error; the message is zlib's own text for the code.
class DecompressionError : public Error {
public:
    using Error::Error;
};

} // namespace tarvin
