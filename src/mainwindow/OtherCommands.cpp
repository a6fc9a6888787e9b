// Fixed cards, secure dealing, the secret of the last secure run, and help.
#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

#include "dialogs/FixedCardsWindow.h"
#include "mainwindow/CommandHost.h"
#include "mainwindow/CommandJobs.h"
#include "mainwindow/HelpWindow.h"
#include "mainwindow/PlatformServices.h"

void FixedCardsCommand(TCommandHost& host, const TCommandRow&, bool) {
    if (!host.Idle()) return;
    TFixedCardsWindow dialog(host.Parent());
    if (const std::optional<TFixedCards> cards = dialog.Execute(host.FixedCards()))
        host.SetFixedCards(*cards);
}

void SecureDealingCommand(TCommandHost& host, const TCommandRow&, bool checked) {
    host.SetSecureDealing(checked);
}

void ShowSecretCommand(TCommandHost& host, const TCommandRow&, bool) {
    const std::optional<TSecret>& secret = host.LastSecret();
    if (!secret) return;
    const QString text = QString::fromStdString(SecretText(*secret));
    QGuiApplication::clipboard()->setText(text);
    host.Platform().ShowMessage(
        host.Parent(),
        QStringLiteral("Секрет последней надёжной раздачи (скопирован "
                       "в буфер обмена):\n%1\n\nОн повторяет раздачи: "
                       "не показывайте его игрокам.\n\nCommitment "
                       "(SHA-256 секрета; его можно опубликовать "
                       "до турнира):\n%2")
            .arg(text, QString::fromStdString(SecretText(SecretCommitment(*secret)))));
}

// The help window, kept once opened: a click on an example puts its condition
// into the editor, to go on writing there.
void HelpCommand(TCommandHost& host, const TCommandRow&, bool) {
    QWidget* parent = host.Parent();
    auto* help = parent->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (help == nullptr)
        help = new THelpWindow(
            [&host](const QString& condition) { host.InsertCondition(condition); }, parent);
    help->show();
    help->raise();
    help->activateWindow();
}
