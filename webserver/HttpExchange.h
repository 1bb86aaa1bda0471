#pragma once

class CHttpServiceBase;

// Runs the steps of one request and its response on the service: Reset, then ReadRequest,
// PrepareResponse, Handle, WriteHead and WriteBody until one returns false, then Finish.
// Returns 0, or -1 when a step threw. The connection is left open.
int RunHttpExchange(CHttpServiceBase& service);
