#pragma once

#include <QString>

// One header of a message or body part: its id names it, its value is written as it stands.
class CMailHeader
{
public:
    enum Id
    {
        To = 1,
        From = 2,
        Subject = 3,
        Date = 4,
        Importance = 5,
        MessageId = 6,
        Organization = 7,
        ReplyTo = 8,
        ContentType = 100,
        ContentId = 101,
        ContentDescription = 102,
        ContentLocation = 103,
        ContentDisposition = 104,
        MimeVersion = 200,
        XMailer = 300,
        XKVMessageId = 301,
    };

    CMailHeader(int id, const QString& value) : m_id(id), m_value(value) {}

    int GetId() const { return m_id; }
    const QString& GetValue() const { return m_value; }
    void SetValue(const QString& value) { m_value = value; }
    // Empty for an id outside the table.
    QString GetName() const;

private:
    int m_id;
    QString m_value;
};
