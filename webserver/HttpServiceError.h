#pragma once

// Thrown by the request reader for a malformed, over-long or late request and by a connection
// channel that fails; every step of an exchange catches it, so the connection closes without a
// response.
class CHttpServiceError
{
};
