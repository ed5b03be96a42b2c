// The window tests need an application object; they run without a display, in French, and keep
// whatever the program writes to the user's data folder in a folder of their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir donnees;
    qputenv("XDG_DATA_HOME", donnees.path().toUtf8());
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
