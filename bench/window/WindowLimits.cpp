// Times the main window's start and close with the setup file of a folder,
// and a run of many deals with no condition: how long the GUI thread went
// without serving its events, and the memory resident at the end of the run.
// Run by bench/window_limits.sh, offscreen.
//
//   WindowLimits start-close FOLDER   start with FOLDER/generate.stp, then close
//   WindowLimits run FOLDER COUNT     a run keeping COUNT deals, then close
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "deals/DealCollection.h"
#include "mainwindow/MainWindow.h"
#include "widgets/NumberField.h"

namespace {

// A field of /proc/self/status ("VmRSS", "VmHWM") in megabytes of 10^6 bytes.
double StatusMegabytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1)) * 1024.0 / 1e6;
    return 0;
}

double Seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

std::unique_ptr<TMainWindow> StartWindow(const QString& folder, double& seconds) {
    QElapsedTimer timer;
    timer.start();
    auto window = std::make_unique<TMainWindow>(folder);
    window->show();
    QApplication::processEvents();
    seconds = Seconds(timer);
    return window;
}

double CloseWindow(std::unique_ptr<TMainWindow> window) {
    QElapsedTimer timer;
    timer.start();
    window->close();
    window.reset();  // writes the setup file
    return Seconds(timer);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("start-close")) {
        double start = 0;
        auto window = StartWindow(args[2], start);
        const int deals = window->Deals().Count();
        std::printf("deals %d\nstart_seconds %.3f\nresident_mb %.0f\n", deals, start,
                    StatusMegabytes("VmRSS"));
        std::printf("close_seconds %.3f\n", CloseWindow(std::move(window)));
        return 0;
    }
    if (args.size() == 4 && args[1] == QStringLiteral("run")) {
        double start = 0;
        auto window = StartWindow(args[2], start);
        window->Controls().seTotal->SetValue(args[3].toInt());
        // A timer every 10 ms: the longest gap between its calls is the
        // longest the window went without answering.
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        QElapsedTimer run;
        run.start();
        window->itmGenerateClick();
        sinceTick.start();
        ticker.start();
        while (window->State() != TMainWindow::TState::Idle)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ticker.stop();
        std::printf(
            "deals %d\nrun_seconds %.3f\nlongest_gap_ms %lld\nresident_mb %.0f\npeak_resident_mb "
            "%.0f\n",
            window->Deals().Count(), Seconds(run), static_cast<long long>(longestGap),
            StatusMegabytes("VmRSS"), StatusMegabytes("VmHWM"));
        std::printf("close_seconds %.3f\n", CloseWindow(std::move(window)));
        return 0;
    }
    std::fprintf(stderr, "usage: WindowLimits start-close FOLDER | run FOLDER COUNT\n");
    return 2;
}
