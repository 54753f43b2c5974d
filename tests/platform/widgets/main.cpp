#include <QApplication>
#include <gtest/gtest.h>

// Message boxes need a widget application; the offscreen platform shows them nowhere.
int main(int argc, char** argv)
{
    // Listing the tests also creates the application, outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
