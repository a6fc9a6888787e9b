// korvana-handout.so: the handout painter behind one plain entry, with the
// Gui application that Qt's painter needs.
#include "printing/HandoutModule.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <span>
#include <type_traits>

#include "printing/HandoutPainter.h"

namespace {

// Qt's notes (a missing runtime folder, a font substituted) are not the
// command's to print; its own failures are told by the command.
void DropQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg)
        std::fprintf(stderr, "korvana-cli: %s\n", message.toLocal8Bit().constData());
}

// Qt's painter needs a Gui application; without a display it draws offscreen.
void StartGuiApplication(std::unique_ptr<QGuiApplication>& application) {
    if (QGuiApplication::instance() != nullptr) return;
    qInstallMessageHandler(DropQtNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    static int argc = 1;
    static char name[] = "korvana-cli";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) bool KorvanaWriteHandoutPdf(
    const std::string& fileName, const TBoard* boards, std::size_t count,
    const THandoutOptions& options, std::string& failure) {
    static_assert(std::is_same_v<decltype(&KorvanaWriteHandoutPdf), THandoutPdfWriter>);
    std::unique_ptr<QGuiApplication> application;
    StartGuiApplication(application);
    failure = WriteHandoutPdf(QString::fromStdString(fileName), std::span(boards, count), options)
                  .toStdString();
    return failure.empty();
}
