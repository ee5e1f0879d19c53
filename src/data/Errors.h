#pragma once

#include <QString>

#include <stdexcept>

namespace corvadel::data {

class Field;

// A silent abort: the operation stops, the dataset keeps the state it had and
// nothing more is shown. Record rules throw it after telling the user
// themselves.
class Abort : public std::exception
{
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

// A dataset error other than one from the server, with the text the user sees.
class DataSetError : public std::runtime_error
{
public:
    explicit DataSetError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A required field was empty when the row was posted.
class FieldRequiredError : public DataSetError
{
public:
    FieldRequiredError(const QString &message, Field *field)
        : DataSetError(message), m_field(field) {}
    Field *field() const { return m_field; }

private:
    Field *m_field;
};

// The text to show for any error that reaches the user.
QString errorMessage(const std::exception &error);

} // namespace corvadel::data
