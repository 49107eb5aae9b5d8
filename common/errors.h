#pragma once
// A failed operation carries a French message that the window shows as it stands.
#include <QString>
#include <stdexcept>

namespace vt {

class Error : public std::runtime_error {
public:
    explicit Error(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// A file could not be opened, read or written; the message names the file.
class FileError : public Error {
public:
    using Error::Error;
};

// A text holds a character that Windows-1252 cannot store.
class EncodingError : public Error {
public:
    using Error::Error;
};

} // namespace vt
