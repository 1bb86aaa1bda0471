#pragma once

// The failure of a step of sending or of adding a part, with the SMTP reply number that caused
// it (0 when there was none). Thrown by value.
class CMailError
{
public:
    enum ERRORCODE : int
    {
        SocketFailure = 10,
        PartNotAdded = 100,
        TemporaryFileNotCreated = 200,
        DownloadFailed = 201,
        GreetingRefused = 300,
        EhloRefused = 301,
        SenderRefused = 302,
        RecipientRefused = 303,
        DataRefused = 304,
        EndOfDataRefused = 305,
        AuthenticationFailed = 306,
    };

    CMailError(ERRORCODE code, int reply) : m_code(code), m_reply(reply) {}

    ERRORCODE GetCode() const { return m_code; }
    int GetReply() const { return m_reply; }

private:
    ERRORCODE m_code;
    int m_reply;
};
