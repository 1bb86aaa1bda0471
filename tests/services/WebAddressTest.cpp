#include "services/WebAddress.h"

#include <gtest/gtest.h>

TEST(WebAddress, SplitsHttpAndHttpsAddressesWithoutDecoding)
{
    const struct
    {
        const char* address;
        bool secure;
        const char* host;
        int port;
        const char* path;
    } cases[] = {
        {"http://www.example.com", false, "www.example.com", 0, "/"},
        {"https://www.example.com:8443/news/2008/?a=%2F&b=1#top", true, "www.example.com", 8443,
         "/news/2008/?a=%2F&b=1"},
        {"HTTP://Example.COM?x=1", false, "Example.COM", 0, "/?x=1"},
        {"  http://127.0.0.1:8080/admin/qorx.php  ", false, "127.0.0.1", 8080, "/admin/qorx.php"},
        {"http://[::1]:81/x", false, "::1", 81, "/x"},
        {"http://host/a b/%zz", false, "host", 0, "/a b/%zz"},
    };
    for (const auto& c : cases)
    {
        CWebAddress address;
        ASSERT_TRUE(CWebAddress::Crack(c.address, address)) << c.address;
        EXPECT_EQ(address.IsSecure(), c.secure) << c.address;
        EXPECT_EQ(address.GetHost(), c.host) << c.address;
        EXPECT_EQ(address.GetPort(), c.port) << c.address;
        EXPECT_EQ(address.GetPathWithQuery(), c.path) << c.address;
    }
}

TEST(WebAddress, RefusesWhatIsNoWebAddress)
{
    for (const char* text : {"", "www.example.com/x", "ftp://host/x", "file:///etc/passwd", "http://",
                             "http:///x", "http://:80/", "http://host:0/", "http://host:65536/",
                             "http://host:8o/", "http://user:pw@host/", "http://@host/", "http://ho st/",
                             "http://host\\x/", "http://[::1/", "http://[::1]x/", "javascript://alert(1)"})
    {
        CWebAddress address;
        EXPECT_FALSE(CWebAddress::Crack(QString::fromUtf8(text), address)) << text;
    }
}
