#include "deals/internal/ScorerFormats.h"

#include <string>

#include "deals/Board.h"
#include "deals/CardSets.h"
#include "deals/Deal.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "text/MessageSink.h"

namespace ScorerFormats {

namespace {

// This program's card number (clubs 1..13 .. spades 40..52, the two first) of a place.
constexpr int32_t CardOfPlace(std::size_t place) {
    return static_cast<int32_t>((3 - place / 13) * 13 + 13 - place % 13);
}

// "3, 7, 9" or "3, 7, ... и ещё 5": the first ten numbers of a list.
std::string NumbersText(const std::vector<int64_t>& numbers) {
    constexpr std::size_t MostNamed = 10;
    std::string text;
    for (std::size_t i = 0; i < numbers.size() && i < MostNamed; ++i)
        text += (i > 0 ? ", " : "") + std::to_string(numbers[i]);
    if (numbers.size() > MostNamed) text += " и ещё " + std::to_string(numbers.size() - MostNamed);
    return text;
}

}  // namespace

bool SeatsOfDeal(const TDeal& deal, TSeats& seats) {
    if (!deal.IsWhole()) return false;
    const TCardSets sets = deal.CardSets();
    for (std::size_t place = 0; place < seats.size(); ++place) {
        const uint64_t bit = uint64_t{1} << CardOfPlace(place);
        for (uint8_t seat = 0; seat < 4; ++seat)
            if ((sets.Hands[seat] & bit) != 0) seats[place] = seat;
    }
    return true;
}

bool DealOfSeats(const TSeats& seats, TDeal& deal) {
    TCardSets sets;
    std::array<int32_t, 4> counts{};
    for (std::size_t place = 0; place < seats.size(); ++place) {
        if (seats[place] > 3) return false;
        ++counts[seats[place]];
        sets.Hands[seats[place]] |= uint64_t{1} << CardOfPlace(place);
    }
    for (const int32_t count : counts)
        if (count != 13) return false;
    deal.SetCardSets(sets);
    return true;
}

void WriteRankBytes(const TSeats& seats, int32_t turn, char* out) {
    for (std::size_t rank = 0; rank < 13; ++rank) {
        uint32_t byte = 0;
        for (std::size_t suit = 0; suit < 4; ++suit)
            byte |= ((seats[suit * 13 + rank] + static_cast<uint32_t>(turn)) % 4)
                    << (2 * (3 - suit));
        out[rank] = static_cast<char>(byte);
    }
}

void ReadRankBytes(std::string_view bytes, int32_t turn, TSeats& seats) {
    for (std::size_t rank = 0; rank < 13; ++rank) {
        const auto byte = static_cast<uint32_t>(static_cast<unsigned char>(bytes[rank]));
        for (std::size_t suit = 0; suit < 4; ++suit)
            seats[suit * 13 + rank] = static_cast<uint8_t>(
                (((byte >> (2 * (3 - suit))) & 3) + 4 - static_cast<uint32_t>(turn)) % 4);
    }
}

int64_t CheckBoards(const TBoards& boards, const TLimits& limits) {
    const std::string name(limits.Name);
    int64_t count = 0, first = 0;
    std::vector<int64_t> renumbered, reseated;
    boards.ForEach([&](const TBoard& board) {
        if (++count > limits.MostBoards)
            throw TFormatLimitError("формат " + name + " вмещает не больше " +
                                    std::to_string(limits.MostBoards) + " сдач");
        if (board.Number < 1 || board.Number > limits.HighestNumber)
            throw TFormatLimitError("формат " + name + " вмещает номера сдач от 1 до " +
                                    std::to_string(limits.HighestNumber) + ", а у сдачи номер " +
                                    std::to_string(board.Number));
        if (!board.Deal.IsWhole())
            throw TFormatLimitError("формат " + name +
                                    " вмещает только целые раздачи, а раздача сдачи " +
                                    std::to_string(board.Number) + " не целая");
        if (count == 1) first = board.Number;
        if (!limits.HoldsNumbers && board.Number != first + count - 1)
            renumbered.push_back(board.Number);
        if (!limits.HoldsSeating && (board.Dealer != PbnBoardDealer(board.Number) ||
                                     board.Vulnerability != PbnBoardVulnerability(board.Number)))
            reseated.push_back(board.Number);
        return true;
    });
    if (!renumbered.empty())
        ShowMessage("формат " + name + " не хранит номера сдач: сдачи " + NumbersText(renumbered) +
                    " при чтении получат номера по порядку");
    if (!reseated.empty())
        ShowMessage("формат " + name + " не хранит сдающего и зону: у сдач " +
                    NumbersText(reseated) +
                    " они не те, что по номеру сдачи, и при чтении будут по номеру");
    return count;
}

void TBoardsRead::Add(const TDeal& deal, TBoard& board) {
    if (!board.OwnNumber) board.SetPosition(Place());
    readDeals_.push_back(deal);
    if (counts_.Loaded < INT32_MAX) ++counts_.Loaded;
    if (boards_ == nullptr) return;
    board.Deal = deal;
    readBoards_.push_back(std::move(board));
}

void TBoardsRead::Damaged(std::string number) {
    counts_.AddDamagedBoard(std::move(number),
                            static_cast<int32_t>(std::min<int64_t>(INT32_MAX, Place())));
    if (counts_.Skipped < INT32_MAX) ++counts_.Skipped;
}

TDealsReadCounts TBoardsRead::Finish(bool refused) {
    counts_.Refused = refused || counts_.Loaded == 0;
    if (counts_.Refused) {
        counts_.Loaded = 0;
        return counts_;
    }
    deals_.AddAll(readDeals_);
    if (boards_ != nullptr)
        for (TBoard& board : readBoards_) boards_->push_back(std::move(board));
    return counts_;
}

std::size_t ForEachRecord(TDealsInput& in, std::size_t size,
                          const std::function<void(std::string_view)>& take) {
    std::string pending;
    for (std::string_view chunk; !(chunk = in.Next()).empty();) {
        if (!pending.empty()) {
            const std::size_t part = std::min(size - pending.size(), chunk.size());
            pending.append(chunk.substr(0, part));
            chunk.remove_prefix(part);
            if (pending.size() < size) continue;
            take(pending);
            pending.clear();
        }
        for (; chunk.size() >= size; chunk.remove_prefix(size)) take(chunk.substr(0, size));
        pending.assign(chunk);
    }
    return pending.size();
}

void ForEachLine(TDealsInput& in, const std::function<void(std::string_view)>& take) {
    constexpr std::size_t MaxKept = 4096;
    std::string line;
    bool open = false;
    for (std::string_view chunk; !(chunk = in.Next()).empty();) {
        for (const char c : chunk) {
            if (c == '\n') {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                take(line);
                line.clear();
                open = false;
            } else {
                open = true;
                if (line.size() < MaxKept) line += c;
            }
        }
    }
    if (open) take(line);
}

}  // namespace ScorerFormats
