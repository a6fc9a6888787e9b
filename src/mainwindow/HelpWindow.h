#pragma once
// The help window: the condition language, example conditions and the
// commands, in Russian. A click on an example hands its condition to the
// window's owner, which puts it into the condition editor.
#include <QDialog>
#include <functional>
#include <vector>

#include "help/Help.h"

class QTextBrowser;

class THelpWindow : public QDialog {
    Q_OBJECT
public:
    using TInsert = std::function<void(const QString& condition)>;
    THelpWindow(TInsert insert, QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return browser_; }
    // Follows a link of the help text: "insert:K" inserts the K-th example of the page.
    void OpenLink(const QUrl& link);

private:
    TInsert insert_;
    std::vector<std::string> conditions_;  // the examples' conditions, by their links' numbers
    QTextBrowser* browser_ = nullptr;
};
