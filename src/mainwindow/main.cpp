#include <QApplication>

#include "mainwindow/MainWindow.h"
#include "widgets/QtTranslations.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Without Qt's translations installed its dialogs stay in English.
    InstallQtTranslations(application);
    TMainWindow window;
    window.show();
    return application.exec();
}
