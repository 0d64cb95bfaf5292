#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace vtl::platform {
namespace {

TEST(Paths, ExecutableIsThisTestProgram) {
    const QString path = executablePath();
    const QFileInfo info(path);
    EXPECT_TRUE(info.isAbsolute());
    EXPECT_TRUE(info.isFile());
    EXPECT_FALSE(info.isSymLink());
    EXPECT_EQ(path, info.canonicalFilePath()) << "no symbolic links or dot parts left";
    EXPECT_EQ(path, QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
}

} // namespace
} // namespace vtl::platform
