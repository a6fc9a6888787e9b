#pragma once
// A board copied to the clipboard and boards pasted from it, through the
// context menu of the hands: "Копировать сдачу" and "Вставить сдачу".
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "deals/Board.h"

class QMimeData;
class QWidget;

// The type of the PBN game a copied board carries besides its plain text.
inline constexpr char PbnMimeType[] = "application/x-pbn";

// The board as a PBN file of one game, as the PBN writer writes it.
std::string BoardPbnText(const TBoard& board);
// What a copied board puts on the clipboard: as plain text its readable
// diagram, a blank line and its PBN game; as PbnMimeType the PBN game alone.
// The caller owns the data (the clipboard takes it).
QMimeData* NewBoardMimeData(const TBoard& board);
// The boards a text holds: each game of PBN text with a whole deal (what
// comes before its first tag or "%" line is passed over); else the first deal
// value in it, such as "N:AK5.QJ3.T842.965 ...", as board 1. None when it
// holds no deal.
std::vector<TBoard> BoardsOfText(std::string_view text);
// The boards of clipboard data: its PbnMimeType when it has one, else its plain text.
std::vector<TBoard> BoardsOfMimeData(const QMimeData& data);

struct TBoardMenuHooks {
    std::function<std::optional<TBoard>()> Current;  // the board on display, if any
    std::function<bool()> CanPaste;                  // false while the collection may not grow
    std::function<void(std::vector<TBoard>)> Paste;  // takes the boards pasted, never none
    std::function<void(const QString&)> Tell;        // shows a message
};

// Gives the targets (the hands and the area around them) the context menu
// "Копировать сдачу" / "Вставить сдачу", owned by `owner`; a request that
// reaches a target from a child of another kind (the editor, a group of
// fields) is passed over. The menu has no shortcuts: Ctrl+C and Ctrl+V
// belong to the editor and to "Сохранить".
void InstallBoardMenu(QWidget* owner, const std::vector<QWidget*>& targets, TBoardMenuHooks hooks);
