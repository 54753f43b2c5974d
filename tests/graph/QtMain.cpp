#include <QGuiApplication>
#include <gtest/gtest.h>

// Text drawing needs a GUI application; the tests never need a real display, also not when
// CTest lists them.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
