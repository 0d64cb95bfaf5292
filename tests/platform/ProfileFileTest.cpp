#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <optional>
#include <sys/syscall.h>
#include <unistd.h>

namespace vtl::platform {
namespace {

class ProfileFileTest : public testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("test.ini")); }

    void writeFile(const QByteArray& bytes) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    std::optional<QByteArray> fileBytes() const {
        QFile file(path());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }

    QTemporaryDir m_dir;
};

// ---- reading ---------------------------------------------------------------

struct ReadCase {
    const char* name;
    QByteArray content;
    const char* section;
    const char* key;
    QString expected;
};

const QByteArray kSample = "; settings of the map\r\n"
                           "[General]\r\n"
                           "Name=Value\r\n"
                           "  Padded \t=  \t spaced out \t \r\n"
                           "Empty=\r\n"
                           "Blank=   \r\n"
                           "Url=http://host/a=b;c\r\n"
                           "Dup=first\r\n"
                           "Dup=second\r\n"
                           ";Hidden=commented\r\n"
                           "NoEquals\r\n"
                           "Quoted=\"  inside  \"\r\n"
                           "Single='x'\r\n"
                           "HalfQuote=\"open\r\n"
                           "LoneQuote=\"\r\n"
                           "EmptyQuotes=\"\"\r\n"
                           "\r\n"
                           "[  Other Section ]\r\n"
                           "Name=other\r\n"
                           "Town=Z\xC3\xBCrich\r\n"
                           "Last=no line end";

class ProfileFileRead : public ProfileFileTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ProfileFileRead, FollowsTheWindowsRules) {
    const ReadCase& c = GetParam();
    writeFile(c.content);
    EXPECT_EQ(readProfileString(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                QStringLiteral("default")),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileFileRead,
    testing::Values(
        ReadCase{"plain", kSample, "General", "Name", "Value"},
        ReadCase{"caseOfSectionAndKey", kSample, "GENERAL", "name", "Value"},
        ReadCase{"blanksAroundKeyAndValue", kSample, "General", "Padded", "spaced out"},
        ReadCase{"blanksAroundSectionName", kSample, "other section", "name", "other"},
        ReadCase{"blanksAroundRequestedNames", kSample, " General ", " Name ", "Value"},
        ReadCase{"presentButEmpty", kSample, "General", "Empty", ""},
        ReadCase{"onlyBlanks", kSample, "General", "Blank", ""},
        ReadCase{"firstEqualsSplits", kSample, "General", "Url", "http://host/a=b;c"},
        ReadCase{"duplicateKeyFirstWins", kSample, "General", "Dup", "first"},
        ReadCase{"commentIsNoKey", kSample, "General", ";Hidden", "default"},
        ReadCase{"commentedKeyMissing", kSample, "General", "Hidden", "default"},
        ReadCase{"lineWithoutEqualsIsNoKey", kSample, "General", "NoEquals", "default"},
        ReadCase{"doubleQuotesRemoved", kSample, "General", "Quoted", "  inside  "},
        ReadCase{"singleQuotesRemoved", kSample, "General", "Single", "x"},
        ReadCase{"unmatchedQuoteKept", kSample, "General", "HalfQuote", "\"open"},
        ReadCase{"loneQuoteKept", kSample, "General", "LoneQuote", "\""},
        ReadCase{"emptyQuotes", kSample, "General", "EmptyQuotes", ""},
        ReadCase{"missingKey", kSample, "General", "Nope", "default"},
        ReadCase{"keyOfAnotherSection", kSample, "General", "Town", "default"},
        ReadCase{"missingSection", kSample, "Nope", "Name", "default"},
        ReadCase{"utf8", kSample, "Other Section", "Town", QStringLiteral("Z\u00FCrich")},
        ReadCase{"lastLineWithoutLineEnd", kSample, "Other Section", "Last", "no line end"},
        ReadCase{"lfLineEnds", "[A]\nk=v\n[B]\nk=w\n", "B", "k", "w"},
        ReadCase{"byteOrderMark", "\xEF\xBB\xBF[A]\r\nk=v\r\n", "A", "k", "v"},
        ReadCase{"keysBeforeAnySectionIgnored", "k=stray\r\n[A]\r\n", "A", "k", "default"},
        ReadCase{"bracketWithoutCloseIsNoSection", "[A\r\nk=v\r\n", "A", "k", "default"},
        ReadCase{"emptyFile", "", "A", "k", "default"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST_F(ProfileFileTest, MissingFileGivesTheDefault) {
    EXPECT_EQ(readProfileString(path(), QStringLiteral("A"), QStringLiteral("k"),
                                QStringLiteral("fallback")),
              QStringLiteral("fallback"));
}

TEST_F(ProfileFileTest, TrailingBlanksOfTheDefaultAreDropped) {
    EXPECT_EQ(readProfileString(path(), QStringLiteral("A"), QStringLiteral("k"),
                                QStringLiteral(" fall back \t ")),
              QStringLiteral(" fall back"));
}

TEST_F(ProfileFileTest, LongValuesAreCut) {
    const QByteArray longValue(kProfileValueMaxChars + 100, 'x');
    writeFile("[A]\r\nk=" + longValue + "\r\nq=\"" + longValue + "\"\r\n");
    const QString expected(kProfileValueMaxChars, u'x');
    EXPECT_EQ(readProfileString(path(), QStringLiteral("A"), QStringLiteral("k"), {}), expected);
    EXPECT_EQ(readProfileString(path(), QStringLiteral("A"), QStringLiteral("q"), {}), expected);
}

TEST_F(ProfileFileTest, CutNeverSplitsASurrogatePair) {
    // U+1F600 takes two UTF-16 units; the pair would straddle the limit.
    const QByteArray value = QByteArray(kProfileValueMaxChars - 1, 'x') + "\xF0\x9F\x98\x80";
    writeFile("[A]\r\nk=" + value + "\r\n");
    EXPECT_EQ(readProfileString(path(), QStringLiteral("A"), QStringLiteral("k"), {}),
              QString(kProfileValueMaxChars - 1, u'x'));
}

// ---- writing ---------------------------------------------------------------

struct WriteCase {
    const char* name;
    std::optional<QByteArray> before; // nullopt: no file
    const char* section;
    const char* key;
    std::optional<QString> value; // nullopt: delete
    std::optional<QByteArray> after;
};

class ProfileFileWrite : public ProfileFileTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(ProfileFileWrite, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    if (c.before)
        writeFile(*c.before);
    EXPECT_TRUE(writeProfileString(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                   c.value));
    EXPECT_EQ(fileBytes(), c.after);
    if (c.value) {
        EXPECT_EQ(readProfileString(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                    QStringLiteral("missing")),
                  *c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileFileWrite,
    testing::Values(
        WriteCase{"replaceInPlace", "; head\r\n[A]\r\nx = 1 \r\ny=2\r\n\r\n[B]\nz=3\n", "A", "x",
                  "new value", "; head\r\n[A]\r\nx = new value \r\ny=2\r\n\r\n[B]\nz=3\n"},
        WriteCase{"replaceWithoutCase", "[Alpha]\r\nKey=1\r\n", "ALPHA", "key", "2",
                  "[Alpha]\r\nKey=2\r\n"},
        WriteCase{"replaceEmptyValue", "[A]\r\nx=\r\n", "A", "x", "v", "[A]\r\nx=v\r\n"},
        WriteCase{"writeEmptyValue", "[A]\r\nx=1\r\n", "A", "x", "", "[A]\r\nx=\r\n"},
        WriteCase{"replaceOnlyInItsSection", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n", "B", "k", "3",
                  "[A]\r\nk=1\r\n[B]\r\nk=3\r\n"},
        WriteCase{"replaceFirstOfDuplicates", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "3",
                  "[A]\r\nk=3\r\nk=2\r\n"},
        WriteCase{"appendAfterLastKey", "[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n", "A", "new", "v",
                  "[A]\r\nx=1\r\nnew=v\r\n\r\n[B]\r\nz=3\r\n"},
        WriteCase{"appendBeforeCommentOfNextSection", "[A]\r\nx=1\r\n; about B\r\n[B]\r\n", "A",
                  "y", "v", "[A]\r\nx=1\r\ny=v\r\n; about B\r\n[B]\r\n"},
        WriteCase{"appendToEmptySection", "[A]\r\n\r\n[B]\r\n", "A", "k", "v",
                  "[A]\r\nk=v\r\n\r\n[B]\r\n"},
        WriteCase{"appendAfterLastLineWithoutLineEnd", "[A]\r\nx=1", "A", "k", "v",
                  "[A]\r\nx=1\r\nk=v\r\n"},
        WriteCase{"newSectionAtTheEnd", "[A]\r\nx=1\r\n", "New", "k", "v",
                  "[A]\r\nx=1\r\n[New]\r\nk=v\r\n"},
        WriteCase{"newSectionAfterLastLineWithoutLineEnd", "[A]\r\nx=1", "B", "k", "v",
                  "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        WriteCase{"newFile", std::nullopt, "Section", "Key", "value", "[Section]\r\nKey=value\r\n"},
        WriteCase{"utf8Value", std::nullopt, "A", "k", QStringLiteral("Z\u00FCrich"),
                  "[A]\r\nk=Z\xC3\xBCrich\r\n"},
        WriteCase{"otherLinesKeptByteForByte",
                  "\xEF\xBB\xBF[A]\nname=\xE9t\xE9\n  ; note  \nx=1\n\n[B]\r\n", "a", "X", "2",
                  "\xEF\xBB\xBF[A]\nname=\xE9t\xE9\n  ; note  \nx=2\n\n[B]\r\n"},
        WriteCase{"deleteKey", "[A]\r\nx=1\r\ny=2\r\n", "A", "X", std::nullopt, "[A]\r\ny=2\r\n"},
        WriteCase{"deleteLastLineWithoutLineEnd", "[A]\r\nx=1\r\ny=2", "A", "y", std::nullopt,
                  "[A]\r\nx=1\r\n"},
        WriteCase{"deleteMissingKey", "[A]\r\nx=1\r\n", "A", "y", std::nullopt, "[A]\r\nx=1\r\n"},
        WriteCase{"deleteInMissingSection", "[A]\r\nx=1\r\n", "B", "x", std::nullopt,
                  "[A]\r\nx=1\r\n"},
        WriteCase{"deleteInMissingFile", std::nullopt, "A", "x", std::nullopt, std::nullopt}),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

struct RefusedCase {
    const char* name;
    const char* section;
    const char* key;
    QString value;
};

class ProfileFileRefused : public ProfileFileTest,
                           public testing::WithParamInterface<RefusedCase> {};

// Texts that would add lines or keys of their own are refused, file untouched.
TEST_P(ProfileFileRefused, LeavesTheFileAlone) {
    const RefusedCase& c = GetParam();
    const QByteArray before = "[A]\r\nx=1\r\n";
    writeFile(before);
    EXPECT_FALSE(writeProfileString(path(), QString::fromUtf8(c.section), QString::fromUtf8(c.key),
                                    c.value));
    EXPECT_EQ(fileBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileFileRefused,
    testing::Values(RefusedCase{"lineBreakInValue", "A", "x", "1\r\n[B]\r\ny=2"},
                    RefusedCase{"newlineInValue", "A", "x", "1\ny=2"},
                    RefusedCase{"equalsInKey", "A", "x=y", "1"},
                    RefusedCase{"commentKey", "A", ";x", "1"},
                    RefusedCase{"emptyKey", "A", "  ", "1"},
                    RefusedCase{"bracketInSection", "A]x", "x", "1"},
                    RefusedCase{"lineBreakInSection", "A\nB", "x", "1"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return std::string(info.param.name); });

// Root ignores folder permissions; for the lifetime of this object the calling
// thread does without that privilege (capabilities are per thread on Linux).
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        if (syscall(SYS_capget, &m_header, m_saved.data()) != 0)
            return;
        Capabilities reduced = m_saved;
        reduced[0].effective &= ~((1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH));
        m_active = syscall(SYS_capset, &m_header, reduced.data()) == 0;
    }
    ~WithoutPermissionOverride() {
        if (m_active)
            syscall(SYS_capset, &m_header, m_saved.data());
    }
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
    using Capabilities = std::array<__user_cap_data_struct, 2>;

    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    Capabilities m_saved{};
    bool m_active = false;
};

TEST_F(ProfileFileTest, ReadOnlyFolderFailsAndKeepsTheOldFile) {
    const QByteArray before = "[A]\r\nx=1\r\n";
    writeFile(before);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    {
        const WithoutPermissionOverride asOrdinaryUser;
        EXPECT_FALSE(writeProfileString(path(), QStringLiteral("A"), QStringLiteral("x"),
                                        QStringLiteral("2")));
        EXPECT_FALSE(writeProfileString(path(), QStringLiteral("A"), QStringLiteral("y"),
                                        QStringLiteral("3")));
    }
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("test.ini")});
}

TEST_F(ProfileFileTest, ReplacedFileKeepsItsPermissions) {
    writeFile("[A]\r\nx=1\r\n");
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(path(), permissions));
    ASSERT_TRUE(
        writeProfileString(path(), QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("2")));
    EXPECT_EQ(QFile::permissions(path()) & ~(QFile::ReadUser | QFile::WriteUser), permissions);
}

TEST_F(ProfileFileTest, MissingFolderFails) {
    EXPECT_FALSE(writeProfileString(m_dir.filePath(QStringLiteral("no/such/dir.ini")),
                                    QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v")));
}

} // namespace
} // namespace vtl::platform
