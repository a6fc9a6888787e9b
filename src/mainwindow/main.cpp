#include <QApplication>
#include <QTimer>

#include "mainwindow/MainWindow.h"
#include "mainwindow/SessionEnd.h"
#include "widgets/QtTranslations.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Without Qt's translations installed its dialogs stay in English.
    InstallQtTranslations(application);
    TMainWindow window;
    // Ended from outside, the window closes as on a normal exit and writes its
    // setup file when it is destroyed; every dialog's loop ends too.
    TSessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &TSessionEnd::Ended, &window, [&window](int signal) {
        window.close();
        QApplication::exit(128 + signal);
    });
    window.show();
    // A deals file named on the command line (a file manager's "open with")
    // is opened once the window is up.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString fileName = arguments.at(1);
        QTimer::singleShot(0, &window, [&window, fileName] { window.OpenDealsFile(fileName); });
    }
    return application.exec();
}
