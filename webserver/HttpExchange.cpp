#include "webserver/HttpExchange.h"

#include "webserver/HttpServiceBase.h"

int RunHttpExchange(CHttpServiceBase& service)
{
    try
    {
        service.Reset();
        // A HEAD response carries the head of the GET response and no body.
        if (service.ReadRequest() && service.PrepareResponse() && service.Handle() && service.WriteHead() &&
            (service.Method() == HttpHead || service.WriteBody()))
        {
            // Every connection carries one request, whatever the response says about keep-alive.
            service.Finish();
        }
        return 0;
    }
    catch (...)
    {
        return -1;
    }
}
