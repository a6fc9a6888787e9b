#include "mainwindow/AboutBox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "mainwindow/ToolbarImages.h"

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("О программе"));
    setFixedSize(262, 196);
    QFont bold;
    bold.setFamilies({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"});
    bold.setPixelSize(13);
    bold.setBold(true);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 241, 137);
    auto* icon = new QLabel(panel);
    icon->setGeometry(24, 21, 65, 57);
    icon->setPixmap(ToolbarImage(TToolbarImage::Generate).pixmap(65, 57));
    icon->setScaledContents(true);
    auto text = [&](const QString& caption, int left, int top, int width = 0) {
        auto* label = new QLabel(caption, panel);
        label->setFont(bold);
        label->move(left, top);
        if (width > 0) {
            label->setWordWrap(true);
            label->setFixedWidth(width);
        }
        label->adjustSize();
        return label;
    };
    text(QStringLiteral("Korvana"), 88, 16);
    text(QStringLiteral("Версия " KORVANA_VERSION), 88, 40);  // the one version of every part
    text(QStringLiteral("Генератор раздач для бриджа"), 8, 80);
    text(QStringLiteral("Исходные тексты и замечания: файл README"), 8, 104, 225);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(95, 156, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
