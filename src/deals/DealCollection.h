#pragma once
// TDeals, the one ordered collection of the user's deals, with the statistics
// of the statistics report and the deals file.
//
// During a generator run the worker appends with Add while the user-interface
// thread reads with Count and GetDeal: these three take one lock, and a stored
// deal never moves, so a TDeal* handed out stays valid until Clear or the
// collection's end. Clear, the statistics and the file operations are called
// only while no run is under way.
#include <climits>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "deals/Deal.h"
#include "deals/Patterns.h"

// Takes each deal added to a collection that passes its deals on (TDeals::PassTo).
class TDealReceiver {
public:
    virtual ~TDealReceiver() = default;
    // Called on the adding thread, under the collection's lock.
    virtual void Receive(const TDeal& deal) = 0;
};

class TDeals {
public:
    static constexpr int32_t MaxPoints = 37;  // the most a hand of distinct cards holds
    static constexpr std::string_view FileHeader = "This is Deals File of Tavex's Bridge Generator";

    TDeals() = default;
    TDeals(const TDeals&) = delete;
    TDeals& operator=(const TDeals&) = delete;

    int32_t Count() const;
    // Appends a copy of the deal and returns the stored one.
    TDeal* Add(const TDeal& deal);
    // From now on Add counts each deal into the statistics and stores none of
    // them (GetDeal gives nullptr, Count still counts), so reading a file of
    // any size for its statistics takes memory of a fixed size;
    // ComputeStatistics then only finishes the sums. For an empty collection.
    void KeepStatisticsOnly();
    // From now on Add hands each deal to `receiver` and stores none of them
    // (GetDeal gives nullptr, Count still counts): a command that only prints
    // its deals takes memory of a fixed size, however many it keeps. The
    // receiver must outlive the adding. For an empty collection.
    void PassTo(TDealReceiver& receiver);
    // The same, or nullptr, with nothing appended, when memory has run out.
    TDeal* TryAdd(const TDeal& deal) noexcept;
    // Appends copies of the deals under one lock; the same as Add for each.
    // Throws std::bad_alloc with the deals before the one that found no room kept.
    void AddAll(std::span<const TDeal> deals);
    // The deal at 0-based index; nullptr outside 0..Count-1.
    TDeal* GetDeal(int32_t index) const;
    // The deals from `index` on that lie together in memory, at most `most` of
    // them, taken under one lock: a writer or reader goes through thousands of
    // deals per call. Empty outside 0..Count-1 (and when keeping statistics only).
    std::span<const TDeal> DealsAt(int32_t index, int32_t most = INT32_MAX) const;
    // Calls take(batch) for the deals in collection order, a batch of deals
    // lying together at a time, until it returns false; whether it went to the end.
    template <typename TTake>
    bool ForEachBatch(TTake&& take) const {
        for (int32_t index = 0;;) {
            const std::span<const TDeal> batch = DealsAt(index);
            if (batch.empty()) return true;
            if (!take(batch)) return false;
            index += static_cast<int32_t>(batch.size());
        }
    }
    // Destroys every deal; the statistics stay as they are.
    void Clear();

    void ClearStatistics();
    // Recomputes the five arrays from all deals. A hand read from a damaged
    // file (repeated cards, numbers outside 1..52) still has a pattern index
    // 0..39 and suit lengths 0..13; its points can exceed 37 (up to 52), and
    // then the hand is left out of HcpCount but still adds to HcpSum. Sums
    // beyond the 32-bit range stop at its largest value.
    void ComputeStatistics();

    // Writes the header and one deal line per deal, lines ended by CR LF,
    // then shows "<count> раздач(и) сохранены в файле <name>". Does nothing,
    // silently, for an empty collection or when the folder part of the name
    // ("/" delimits folders) is not an existing folder.
    // Throws TFileError when the file cannot be created or written.
    void SaveToFile(const std::string& name) const;
    // Writes the file as SaveToFile does, whatever the collection holds (an
    // empty one gives the header alone), and shows nothing. Throws TFileError.
    void WriteFile(const std::string& name) const;
    // Appends one deal per line after the header; lines may end in CR LF or
    // LF, and the last line break may be missing. Does nothing for a missing
    // file; shows "Файл <name> не содержит раздачи" and adds nothing when the
    // first line is not exactly the header. Throws TFileError on a read error
    // (the deals read before it stay).
    void LoadFromFile(const std::string& name);

    // Statistics; index 0 of the first dimension is unused (seats and suits are 1..4).
    int32_t ShapeCount[5][PatternCount + 1] = {};  // [seat][pattern index]
    int32_t SplitCount[5][PatternCount + 1] = {};  // [suit][split pattern index]
    int32_t HcpCount[5][MaxPoints + 1] = {};       // [seat][points]
    int32_t LengthSum[5][5] = {};                  // [seat][suit]
    int32_t HcpSum[5] = {};                        // [seat]

private:
    // Deals live in fixed blocks that are never moved or resized.
    static constexpr int32_t BlockSize = 1024;

    // Room for the next deal, a new block when the last is full; under the lock.
    TDeal* NextPlace();
    // A deal added while storing none: passed on, counted into the statistics.
    void TakeUnstored(const TDeal& deal);
    TDeal* At(int32_t index) const {
        return &blocks_[static_cast<std::size_t>(index / BlockSize)]
                       [static_cast<std::size_t>(index % BlockSize)];
    }

    // Counts a deal into the statistics and the wide sums; StoreSums then
    // stores the sums, clamped to the 32-bit range.
    void CountIntoStatistics(TDeal& deal);
    void StoreSums();

    mutable std::mutex lock_;
    std::vector<std::unique_ptr<TDeal[]>> blocks_;
    int32_t count_ = 0;
    bool statisticsOnly_ = false;
    TDealReceiver* receiver_ = nullptr;
    // Whether added deals are not stored (statistics only, or passed on).
    bool StoresNone() const { return statisticsOnly_ || receiver_ != nullptr; }
    TDeal scratch_;  // the last deal added when storing none
    int64_t lengthSumWide_[5][5] = {};
    int64_t hcpSumWide_[5] = {};
};
