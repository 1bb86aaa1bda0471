#pragma once

#include <QString>

// Where an address the editor's page wants to go is opened.
enum class NavigationDecision
{
    LoadInside,    // a page of the running local server, or about:blank
    OpenOnDesktop, // http, https or mailto: the user's own programs
    Cancel,        // anything else, and the placeholder links the page generator replaces
};

// The running server answers on both names of the loopback address at its port; the placeholder
// is the address prefix of web-view and unsubscribe links, compared without regard to case.
NavigationDecision DecideNavigation(const QString& address, int serverPort, const QString& placeholderPrefix);
