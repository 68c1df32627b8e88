#include <QApplication>
#include <gtest/gtest.h>

namespace {

QtMessageHandler default_handler = nullptr;

// The offscreen platform says so whenever a window is raised, masked or grabs the pointer;
// everything else Qt has to say is kept.
void quiet_offscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (default_handler) default_handler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The same platform everywhere, with or without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    default_handler = qInstallMessageHandler(quiet_offscreen);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VIVADO"));
    QApplication::setApplicationDisplayName(QStringLiteral("VIVADO"));
    return RUN_ALL_TESTS();
}
