#pragma once

#include <cstdlib>
#include <initializer_list>

// Requests to the peers on 127.0.0.1 must not go to a proxy of the developer's environment.
inline void ClearProxyEnvironment()
{
    for (const char* name : {"http_proxy", "https_proxy", "ftp_proxy", "all_proxy", "no_proxy", "HTTP_PROXY",
                             "HTTPS_PROXY", "FTP_PROXY", "ALL_PROXY", "NO_PROXY"})
        unsetenv(name);
}
