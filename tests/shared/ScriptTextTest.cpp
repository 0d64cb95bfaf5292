#include "shared/ScriptText.h"

#include "shared/FileUrl.h"

#include <gtest/gtest.h>

using namespace vtl;

TEST(ScriptStringEscape, NothingCanEndTheLiteralOrTheScript) {
    struct Case {
        QString in;
        QString out;
    } const cases[] = {
        {QStringLiteral("plain/path.png"), QStringLiteral("plain/path.png")},
        {QStringLiteral("a\"b"), QStringLiteral("a\\\"b")},
        {QStringLiteral("a\\b"), QStringLiteral("a\\\\b")},
        {QStringLiteral("it's"), QStringLiteral("it\\'s")},
        {QStringLiteral("two\r\nlines"), QStringLiteral("two\\r\\nlines")},
        {QStringLiteral("</script>"), QStringLiteral("\\x3C/script>")},
        {QString(QChar(0x2028)), QStringLiteral("\\u2028")},
        {QString(QChar(0x01)), QStringLiteral("\\x01")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(escapeForScriptString(c.in), c.out) << c.in.toStdString();
    }
}

TEST(FileAddress, EncodesWhatWouldCutTheAddress) {
    struct Case {
        QString path;
        QString url;
    } const cases[] = {
        {QStringLiteral("/x/map.html"), QStringLiteral("file://localhost/x/map.html")},
        {QStringLiteral("/my charts #1/a?b.jpg"),
         QStringLiteral("file://localhost/my%20charts%20%231/a%3Fb.jpg")},
        {QStringLiteral("/100%/\"q\".jpg"), QStringLiteral("file://localhost/100%25/%22q%22.jpg")},
        {QStringLiteral("/Zürich/ä.jpg"), QStringLiteral("file://localhost/Zürich/ä.jpg")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileToUrl(c.path), c.url);
    }
}
