#include <gtest/gtest.h>

#if defined(MINDLARK_TEST_WIDGET_APPLICATION)
#include <QApplication>
#elif defined(MINDLARK_TEST_CORE_APPLICATION)
#include <QCoreApplication>
#endif
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

int main(int argc, char** argv) {
    // Tests never need a display; a developer may still override the platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps per-session files in the runtime directory; each test program
    // gets a private one that goes away with it, and Qt has no cause to warn.
    const QTemporaryDir runtime;
    if (runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
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
    // Widget tests need a QApplication; tests that run programs or timers, the event loop
    // of a QCoreApplication; the others, which link no widgets, start neither.
#if defined(MINDLARK_TEST_WIDGET_APPLICATION)
    QApplication app(count, kept.data());
#elif defined(MINDLARK_TEST_CORE_APPLICATION)
    QCoreApplication app(count, kept.data());
#endif
    ::testing::InitGoogleTest(&count, kept.data());
    return RUN_ALL_TESTS();
}
