// Shared entry point of every test executable: a headless QApplication, and a
// private settings and data home so that no test touches the user's files.
#include "TestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const QTemporaryDir home;
    if (!testsupport::UsePrivateHome(home))
        return 2;

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
