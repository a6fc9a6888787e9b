#pragma once
// Platform services answered by the test: recorded messages and scripted
// file choices, so that no window waits for a person.
#include <QStringList>

#include <deque>

#include "mainwindow/PlatformServices.h"

class TFakeServices : public TPlatformServices {
public:
    void ShowMessage(QWidget*, const QString& text) override { messages.append(text); }
    QString ChooseFileToOpen(QWidget*, const TFileChooser& chooser) override {
        return Next(chooser, openedIn);
    }
    QString ChooseFileToSave(QWidget*, const TFileChooser& chooser) override {
        return Next(chooser, savedIn);
    }

    QStringList messages;
    std::deque<QString> answers;  // the next file names to choose; none left: cancel
    QStringList openedIn;         // the starting folder of every open chooser shown
    QStringList savedIn;          // the same for save choosers

private:
    QString Next(const TFileChooser& chooser, QStringList& shownIn) {
        shownIn.append(chooser.Folder);
        if (answers.empty()) return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
