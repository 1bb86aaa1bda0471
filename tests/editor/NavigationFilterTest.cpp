#include "editor/NavigationFilter.h"

#include <gtest/gtest.h>

TEST(NavigationFilter, OnlyTheRunningServerLoadsInsideAndOnlyWebAndMailLeave)
{
    constexpr int Port = 4711;
    const QString Placeholder = QStringLiteral("http://placeholder.invalid/");
    const std::pair<const char*, NavigationDecision> cases[] = {
        {"http://localhost:4711/spring.kvnl?kvlettermode=edit", NavigationDecision::LoadInside},
        {"http://127.0.0.1:4711/img/logo.png", NavigationDecision::LoadInside},
        {"HTTP://LOCALHOST:4711/", NavigationDecision::LoadInside},
        {"about:blank", NavigationDecision::LoadInside},
        {"http://localhost:4711/My Newsletter.kvnl", NavigationDecision::LoadInside},
        // Another server on the machine, or the name merely mentioned, is the outside world.
        {"http://localhost:4712/", NavigationDecision::OpenOnDesktop},
        {"https://localhost:4711/", NavigationDecision::OpenOnDesktop},
        {"http://example.org/?next=localhost:4711", NavigationDecision::OpenOnDesktop},
        {"http://example.org/about:blank", NavigationDecision::OpenOnDesktop},
        {"https://example.org/page", NavigationDecision::OpenOnDesktop},
        {"mailto:news@example.org", NavigationDecision::OpenOnDesktop},
        {"http://PLACEHOLDER.invalid/webview", NavigationDecision::Cancel},
        {"about:config", NavigationDecision::Cancel},
        {"file:///etc/passwd", NavigationDecision::Cancel},
        {"javascript:alert(1)", NavigationDecision::Cancel},
        {"ftp://example.org/", NavigationDecision::Cancel},
        {"myapp://do-something", NavigationDecision::Cancel},
        {"mailto:", NavigationDecision::Cancel},
        {"http://", NavigationDecision::Cancel},
    };
    for (const auto& [address, decision] : cases)
        EXPECT_EQ(DecideNavigation(QString::fromLatin1(address), Port, Placeholder), decision) << address;
    EXPECT_EQ(DecideNavigation("http://localhost:0/", 0, Placeholder), NavigationDecision::OpenOnDesktop)
        << "no server runs";
}
