#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <vector>

int main(int argc, char** argv) {
    // Tests never need a display; a developer may still override the platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // "--env=NAME=VALUE" sets a variable before Qt starts. CTest cannot pass more
    // than one variable to a discovered test: gtest_discover_tests splits the
    // ENVIRONMENT list into separate properties and keeps only the first.
    std::vector<char*> kept;
    for (int i = 0; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        const qsizetype equals = arg.indexOf('=', 6);
        if (i > 0 && arg.startsWith("--env=") && equals > 6)
            qputenv(arg.mid(6, equals - 6).constData(), arg.mid(equals + 1));
        else
            kept.push_back(argv[i]);
    }
    int count = static_cast<int>(kept.size());
    kept.push_back(nullptr);
    QApplication app(count, kept.data());
    ::testing::InitGoogleTest(&count, kept.data());
    return RUN_ALL_TESTS();
}
