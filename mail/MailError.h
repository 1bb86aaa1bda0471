#pragma once

// The failure of a mail operation: what failed and the SMTP reply number that caused it (0
// when no reply did).
class CMailError
{
public:
    enum ERRORCODE
    {
        Socket = 10,
        AddPart = 100,
        CreateDownloadFile = 200,
        Download = 201,
        Greeting = 300,
        Ehlo = 301,
        MailFrom = 302,
        RcptTo = 303,
        Data = 304,
        EndOfData = 305,
        Authentication = 306,
    };

    CMailError(ERRORCODE code, int reply) : m_code(code), m_reply(reply) {}

    ERRORCODE GetCode() const { return m_code; }
    int GetReply() const { return m_reply; }
    // A reply in the 400s: the server may take the message later.
    bool IsTemporary() const { return m_reply >= 400 && m_reply <= 499; }

private:
    ERRORCODE m_code;
    int m_reply;
};
