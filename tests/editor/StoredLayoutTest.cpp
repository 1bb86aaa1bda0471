#include "editor/EditedBody.h"
#include "editor/LayoutCommandIds.h"
#include "editor/MergeFields.h"

#include <QList>

#include <algorithm>
#include <gtest/gtest.h>

// What Save Layout stores of the live body: the running server's address goes in both host forms,
// whatever the text, and the markup is the program's own writing of it.
TEST(StoredLayout, DropsTheRunningServersAddressInBothHostForms)
{
    const struct
    {
        const char* body;
        const char* stored;
    } cases[] = {
        {"<p><img src=\"http://localhost:4711/img/a.png\" /></p>", "<p><img src=\"img/a.png\" /></p>"},
        {"<p><img src=\"http://127.0.0.1:4711/img/a.png?pid={P}\" /></p>",
         "<p><img src=\"img/a.png?pid={P}\" /></p>"},
        {"<p>see http://localhost:4711/ and http://127.0.0.1:4711/x</p>", "<p>see  and x</p>"},
        {"<p>http://localhost:4712/img/a.png http://LOCALHOST:4711/</p>",
         "<p>http://localhost:4712/img/a.png http://LOCALHOST:4711/</p>"},
        {"<p>a &amp; b<br>c</p>", "<p>a &amp; b<br />c</p>"},
        {"\n<style type=\"text/css\" id=\"KV_SYSTEM_STYLE_ID\">.h1 { color:red; }</style>\n<p>x</p>\n\n",
         "<p>x</p>"},
        {"<style>p { color:red; }</style><p>x</p>", "<style>p { color:red; }</style><p>x</p>"},
        {"", ""},
    };
    for (const auto& c : cases)
    {
        QString stored;
        ASSERT_TRUE(MakeStoredLayout(QString::fromLatin1(c.body), 4711, stored)) << c.body;
        EXPECT_EQ(stored.toStdString(), c.stored) << c.body;
    }
}

TEST(MergeFields, EachItemInsertsItsFieldWithAnEscapedLabel)
{
    const MergeField* lastName = FindMergeField(ID_MERGE_LAST_NAME);
    ASSERT_NE(lastName, nullptr);
    EXPECT_EQ(lastName->fieldCode, 150);
    EXPECT_EQ(MergeFieldSpan(lastName->fieldCode, QStringLiteral("{Recipient - Last Name}")),
              "<span name=\"fc_150\" atomicselection=\"true\">{Recipient - Last Name}</span>");
    EXPECT_EQ(MergeFieldSpan(170, QStringLiteral("{A<b> & C}")),
              "<span name=\"fc_170\" atomicselection=\"true\">{A&lt;b&gt; &amp; C}</span>");
    EXPECT_EQ(FindMergeField(ID_MERGE_FIELD_FIRST + 13), nullptr)
        << "a gap between the items inserts nothing";
    // The 22 items cover the codes 110 to 320 in steps of 10, each once.
    QList<int> codes;
    for (UINT command = ID_MERGE_FIELD_FIRST; command <= ID_MERGE_FIELD_LAST; ++command)
    {
        if (const MergeField* field = FindMergeField(command))
            codes << field->fieldCode;
    }
    std::sort(codes.begin(), codes.end());
    ASSERT_EQ(codes.size(), 22);
    for (qsizetype i = 0; i < codes.size(); ++i)
        EXPECT_EQ(codes[i], 110 + 10 * int(i));
}
