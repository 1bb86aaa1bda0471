#include "webserver/HttpExchange.h"

#include "webserver/HttpServiceBase.h"

int RunHttpExchange(CHttpServiceBase& service)
{
    try
    {
        service.Reset();
        if (service.ReadRequest() && service.PrepareResponse() && service.Handle() && service.WriteHead() &&
            service.WriteBody())
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
