#include "webserver/HttpExchange.h"

#include "webserver/HttpServiceBase.h"

ExchangeEnd RunHttpExchange(CHttpServiceBase& service)
{
    try
    {
        service.Reset();
        // A HEAD response carries the head of the GET response and no body.
        if (service.ReadRequest() && service.PrepareResponse() && service.Handle() && service.WriteHead() &&
            (service.Method() == HttpHead || service.WriteBody()) && service.FlushResponse())
            return service.Finish() ? ExchangeEnd::KeepAlive : ExchangeEnd::Close;
        return ExchangeEnd::Close;
    }
    catch (...)
    {
        return ExchangeEnd::Threw;
    }
}
