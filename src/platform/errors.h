// The exceptions a user action can end with: file, conversion and store errors.
// One place in the UI layer catches them and shows the standard error box.
#pragma once

#include <QString>
#include <stdexcept>

namespace clinora {

class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A data file that is missing, unreadable or unwritable.
class FileError : public Error
{
public:
    using Error::Error;
};

// A data file whose contents are not what the system writes (binary garbage, values
// out of their range). It is never written back.
class DamagedFileError : public FileError
{
public:
    using FileError::FileError;
};

// A text that should be a number or a date and is not.
class ConversionError : public Error
{
public:
    using Error::Error;
};

// The appointment store refused an operation.
class StoreError : public Error
{
public:
    using Error::Error;
};

// A post whose key (Data, Hora, Medico) is already taken.
class KeyViolation : public StoreError
{
public:
    using StoreError::StoreError;
};

} // namespace clinora
