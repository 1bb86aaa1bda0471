#pragma once

// Thrown by the request reader for a malformed, over-long or late request and by a connection
// channel that fails; every step of an exchange catches it. A request the reader refuses
// carries the status it is answered with; 0 closes the connection without a response, as
// when the peer has gone or the time ran out.
class CHttpServiceError
{
public:
    explicit CHttpServiceError(int status = 0) : m_status(status) {}

    int Status() const { return m_status; }

private:
    int m_status;
};
