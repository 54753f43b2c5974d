// The main of the tests that need a Qt application: the richest one the test links. The tests
// never need a real display, also not when CTest lists them outside its environment.

#include <gtest/gtest.h>

#if __has_include(<QApplication>)
#include <QApplication>
using TestApplication = QApplication;
#elif __has_include(<QGuiApplication>)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
