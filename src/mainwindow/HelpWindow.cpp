#include "mainwindow/HelpWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "widgets/ScreenFit.h"

THelpWindow::THelpWindow(TInsert insert, QWidget* parent)
    : QDialog(parent), insert_(std::move(insert)) {
    setWindowTitle(QStringLiteral("Справка"));
    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(browser_);

    // Each example is a link numbered by its place among the examples.
    std::vector<THelpBlock> blocks = HelpBlocks();
    std::string html = HelpHtml(blocks);
    for (const THelpBlock& block : blocks)
        if (block.Kind == THelpBlockKind::Example) conditions_.push_back(block.Code);
    browser_->setHtml(QString::fromStdString(html));
    connect(browser_, &QTextBrowser::anchorClicked, this, &THelpWindow::OpenLink);

    // Opened within the screen's free area, whatever its size and scale.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    resize(QSize(640, 560).boundedTo(area.size() * 9 / 10));
    FitIntoScreen(this);
}

void THelpWindow::OpenLink(const QUrl& link) {
    if (link.scheme() != QStringLiteral("insert")) return;
    bool ok = false;
    const int index = link.path().toInt(&ok);
    if (!ok || index < 0 || index >= static_cast<int>(conditions_.size())) return;
    insert_(QString::fromStdString(conditions_[static_cast<std::size_t>(index)]));
}
