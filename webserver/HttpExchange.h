#pragma once

class CHttpServiceBase;

// How an exchange left its connection: open for the next request, to be closed, or to be
// closed because a step threw.
enum class ExchangeEnd
{
    KeepAlive,
    Close,
    Threw,
};

// Runs the steps of one request and its response on the service: Reset, then ReadRequest,
// PrepareResponse, Handle, WriteHead and WriteBody until one returns false; when all succeed,
// sends what the connection still holds of the response and calls Finish, whose result says
// whether the connection carries the next request. The connection is left open either way.
ExchangeEnd RunHttpExchange(CHttpServiceBase& service);
