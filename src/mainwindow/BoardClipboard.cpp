#include "mainwindow/BoardClipboard.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "deals/DealsInput.h"
#include "deals/PbnFile.h"
#include "reports/BoardDiagram.h"
#include "text/OutputBuffer.h"

namespace {

// Where PBN text begins: its first line that starts with a tag or an escape.
std::size_t PbnStart(std::string_view text) {
    for (std::size_t line = 0; line < text.size();) {
        const std::size_t first = text.find_first_not_of(" \t", line);
        if (first == std::string_view::npos) break;
        if (text[first] == '[' || text[first] == '%') return first;
        line = text.find('\n', first);
        if (line == std::string_view::npos) break;
        ++line;
    }
    return std::string_view::npos;
}

std::vector<TBoard> PbnGames(std::string_view text) {
    std::vector<TBoard> boards;
    std::string bytes(text);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fmemopen(bytes.data(), bytes.size(), "r"),
                                                         &std::fclose);
    if (!file) return boards;
    TDealsInput in(file.get(), "буфер обмена");
    TDeals deals;
    ReadPbnBoards(in, deals, &boards);
    return boards;
}

// The first "N:" (any seat, any case) not inside a word with four hands after
// it; a hand ends at the first character no hand holds ("?", a quote, ...).
std::optional<TDeal> FirstDealValue(std::string_view text) {
    constexpr std::string_view HandCharacters = "AKQJTakqjt0123456789.-";
    for (std::size_t at = 0; at + 1 < text.size(); ++at) {
        const char seat = static_cast<char>(std::toupper(static_cast<unsigned char>(text[at])));
        if (text[at + 1] != ':' || std::string_view("NESW").find(seat) == std::string_view::npos ||
            (at > 0 && std::isalnum(static_cast<unsigned char>(text[at - 1]))))
            continue;
        std::string value{seat, ':'};
        std::size_t end = at + 2;
        for (int hand = 0; hand < 4; ++hand) {
            const std::size_t start = std::min(text.size(), text.find_first_not_of(" \t", end));
            end = std::min(text.size(), text.find_first_not_of(HandCharacters, start));
            value += (hand > 0 ? " " : "") + std::string(text.substr(start, end - start));
        }
        TDeal deal;
        if (ReadPbnDealValue(value, deal)) return deal;
    }
    return std::nullopt;
}

}  // namespace

std::string BoardPbnText(const TBoard& board) {
    std::string text;
    TOutputBuffer out([&text](std::string_view chunk) { text += chunk; },
                      TOutputBuffer::SmallCapacity);
    WriteBoards(out, PbnFormat(), TBoardList(std::span(&board, 1)));
    return text;
}

QMimeData* NewBoardMimeData(const TBoard& board) {
    auto* data = new QMimeData;
    const std::string pbn = BoardPbnText(board);
    data->setData(QString::fromLatin1(PbnMimeType), QByteArray::fromStdString(pbn));
    // The PBN writer writes ISO-8859-1 with CR LF; plain text has its own line ends.
    QString game = QString::fromLatin1(pbn);
    game.remove(u'\r');
    data->setText(QString::fromStdString(BoardDiagramText(board)) + u'\n' + game);
    return data;
}

std::vector<TBoard> BoardsOfText(std::string_view text) {
    if (const std::size_t start = PbnStart(text); start != std::string_view::npos) {
        std::vector<TBoard> boards = PbnGames(text.substr(start));
        if (!boards.empty()) return boards;
    }
    std::vector<TBoard> boards;
    if (const std::optional<TDeal> deal = FirstDealValue(text)) {
        boards.emplace_back();
        boards.back().Deal = *deal;
        boards.back().SetPosition(1);
    }
    return boards;
}

std::vector<TBoard> BoardsOfMimeData(const QMimeData& data) {
    const QString pbnType = QString::fromLatin1(PbnMimeType);
    if (data.hasFormat(pbnType))
        if (std::vector<TBoard> boards = BoardsOfText(data.data(pbnType).toStdString());
            !boards.empty())
            return boards;
    return data.hasText() ? BoardsOfText(data.text().toStdString()) : std::vector<TBoard>();
}

void InstallBoardMenu(QWidget* owner, const std::vector<QWidget*>& targets, TBoardMenuHooks hooks) {
    auto* menu = new QMenu(owner);
    menu->setObjectName(QStringLiteral("BoardMenu"));
    QAction* copy = menu->addAction(QStringLiteral("Копировать сдачу"));
    QAction* paste = menu->addAction(QStringLiteral("Вставить сдачу"));
    QObject::connect(copy, &QAction::triggered, menu, [hooks] {
        if (const std::optional<TBoard> board = hooks.Current())
            QGuiApplication::clipboard()->setMimeData(NewBoardMimeData(*board));
    });
    QObject::connect(paste, &QAction::triggered, menu, [hooks] {
        if (!hooks.CanPaste()) return;
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        std::vector<TBoard> boards = data ? BoardsOfMimeData(*data) : std::vector<TBoard>();
        if (boards.empty()) {
            hooks.Tell(
                QStringLiteral("В буфере обмена нет раздачи. Вставить можно игру PBN или "
                               "раздачу вида «N:AK5.QJ3.T842.965 …»: четыре руки по "
                               "часовой стрелке от названной."));
            return;
        }
        hooks.Paste(std::move(boards));
    });
    for (QWidget* target : targets) {
        target->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(target, &QWidget::customContextMenuRequested, menu,
                         [menu, copy, paste, target, targets, hooks](const QPoint& at) {
                             // Not over a control of another kind (the editor, the parameters).
                             const QWidget* under = target->childAt(at);
                             if (under && std::ranges::find(targets, under) == targets.end())
                                 return;
                             copy->setEnabled(hooks.Current().has_value());
                             paste->setEnabled(hooks.CanPaste());
                             menu->popup(target->mapToGlobal(at));
                         });
    }
}
