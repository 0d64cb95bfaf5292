#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using vtl::platform::NamedInstanceBlock;
using State = NamedInstanceBlock::State;

namespace {

// Each test uses names of its own and removes the block files it leaves behind.
class SingleInstanceTest : public ::testing::Test {
protected:
    void TearDown() override {
        const QString prefix = QStringLiteral("vantrelle-%1-%2").arg(::geteuid()).arg(m_prefix);
        for (const char* folder : {"/dev/shm", "/tmp"}) {
            QDir dir(QString::fromLatin1(folder));
            for (const QString& name : dir.entryList({prefix + QLatin1Char('*')}, QDir::Files)) {
                dir.remove(name);
            }
        }
    }

    QString name(const QString& suffix) const { return m_prefix + suffix; }

    const QString m_prefix = QStringLiteral("bus-test-%1-").arg(::getpid());
};

// The holder program takes the block in another process and reports what it got.
class Holder {
public:
    explicit Holder(const QString& blockName) {
        m_process.start(QStringLiteral(VTL_TOOLS_DIR "/vtl_instance_holder"), {blockName});
        if (m_process.waitForStarted(10'000) && m_process.waitForReadyRead(10'000)) {
            m_reported = QString::fromUtf8(m_process.readLine().trimmed());
        }
    }
    ~Holder() { crash(); }

    QString reported() const { return m_reported; }

    // SIGKILL: the block must go with the process even when it cannot clean up.
    void crash() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10'000);
        }
    }

private:
    QProcess m_process;
    QString m_reported;
};

TEST_F(SingleInstanceTest, SecondBlockOfTheSameNameSeesTheFirstUntilItGoes) {
    auto first = std::make_unique<NamedInstanceBlock>(name("map"));
    EXPECT_EQ(first->state(), State::Created);
    EXPECT_EQ(NamedInstanceBlock(name("map")).state(), State::AlreadyExists);
    EXPECT_EQ(NamedInstanceBlock(name("chart")).state(), State::Created);
    first.reset();
    EXPECT_EQ(NamedInstanceBlock(name("map")).state(), State::Created);
}

// Names are arbitrary text; names that only differ in characters a file name
// cannot hold must still be different blocks.
TEST_F(SingleInstanceTest, NamesWithPathCharactersAreDistinctBlocks) {
    const QString names[] = {
        name("Global\\Vantrelle/Skyplot"), name("Global\\Vantrelle%2FSkyplot"),
        name("Global\\Vantrelle_Skyplot"), name("../Skyplot"),
        name("caf\u00E9 \u2708"),
    };
    std::vector<std::unique_ptr<NamedInstanceBlock>> held;
    for (const QString& blockName : names) {
        SCOPED_TRACE(blockName.toStdString());
        held.push_back(std::make_unique<NamedInstanceBlock>(blockName));
        EXPECT_EQ(held.back()->state(), State::Created);
        EXPECT_EQ(NamedInstanceBlock(blockName).state(), State::AlreadyExists);
    }
}

TEST_F(SingleInstanceTest, NameTooLongForAFileFails) {
    EXPECT_EQ(NamedInstanceBlock(name(QString(300, QLatin1Char('n')))).state(), State::Failed);
}

TEST_F(SingleInstanceTest, BlockHeldByAnotherProcessIsSeenAndGoesWithThatProcess) {
    Holder other(name("map"));
    ASSERT_EQ(other.reported(), QStringLiteral("Created"));
    EXPECT_EQ(NamedInstanceBlock(name("map")).state(), State::AlreadyExists);
    other.crash();
    EXPECT_EQ(NamedInstanceBlock(name("map")).state(), State::Created);
}

TEST_F(SingleInstanceTest, AnotherProcessSeesTheBlockWeHold) {
    const NamedInstanceBlock ours(name("map"));
    ASSERT_EQ(ours.state(), State::Created);
    EXPECT_EQ(Holder(name("map")).reported(), QStringLiteral("AlreadyExists"));
    EXPECT_EQ(Holder(name("other")).reported(), QStringLiteral("Created"));
}

} // namespace
