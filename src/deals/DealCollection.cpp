#include "deals/DealCollection.h"

#include <algorithm>
#include <climits>
#include <new>

int32_t TDeals::Count() const {
    std::lock_guard<std::mutex> guard(lock_);
    return count_;
}

TDeal* TDeals::Add(const TDeal& deal) {
    std::lock_guard<std::mutex> guard(lock_);
    if (StoresNone()) {
        TakeUnstored(deal);
        ++count_;
        return &scratch_;
    }
    TDeal* stored = NextPlace();
    *stored = deal;
    ++count_;
    return stored;
}

TDeal* TDeals::NextPlace() {
    if (count_ % BlockSize == 0 && static_cast<std::size_t>(count_ / BlockSize) == blocks_.size())
        blocks_.push_back(std::make_unique<TDeal[]>(BlockSize));
    return At(count_);
}

void TDeals::AddAll(std::span<const TDeal> deals) {
    std::lock_guard<std::mutex> guard(lock_);
    for (const TDeal& deal : deals) {
        if (StoresNone()) {
            TakeUnstored(deal);
        } else {
            *NextPlace() = deal;
        }
        ++count_;
    }
}

std::span<const TDeal> TDeals::DealsAt(int32_t index, int32_t most) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (index < 0 || index >= count_ || most <= 0 || StoresNone()) return {};
    const int32_t inBlock = BlockSize - index % BlockSize;
    const int32_t size = std::min({most, inBlock, count_ - index});
    return {At(index), static_cast<std::size_t>(size)};
}

TDeal* TDeals::TryAdd(const TDeal& deal) noexcept {
    try {
        return Add(deal);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

TDeal* TDeals::GetDeal(int32_t index) const {
    std::lock_guard<std::mutex> guard(lock_);
    return index >= 0 && index < count_ && !StoresNone() ? At(index) : nullptr;
}

void TDeals::Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    blocks_.clear();
    count_ = 0;
}

void TDeals::ClearStatistics() {
    std::fill(&ShapeCount[0][0], &ShapeCount[0][0] + sizeof ShapeCount / sizeof(int32_t), 0);
    std::fill(&SplitCount[0][0], &SplitCount[0][0] + sizeof SplitCount / sizeof(int32_t), 0);
    std::fill(&HcpCount[0][0], &HcpCount[0][0] + sizeof HcpCount / sizeof(int32_t), 0);
    std::fill(&LengthSum[0][0], &LengthSum[0][0] + sizeof LengthSum / sizeof(int32_t), 0);
    std::fill(std::begin(HcpSum), std::end(HcpSum), 0);
}

void TDeals::CountIntoStatistics(TDeal& deal) {
    for (int32_t j = 1; j <= 4; ++j) {
        THand& hand = deal.Hand(j);
        ++ShapeCount[j][hand.PatternIndex()];     // always 0..39
        ++SplitCount[j][deal.SuitSplitIndex(j)];  // here j is a suit
        int32_t points = hand.HCP(0);
        if (points >= 0 && points <= MaxPoints) ++HcpCount[j][points];
        hcpSumWide_[j] += points;
        for (int32_t suit = 1; suit <= 4; ++suit) lengthSumWide_[j][suit] += hand.SuitLength(suit);
    }
}

void TDeals::StoreSums() {
    // Sums are kept wide and stored clamped, so millions of damaged hands cannot overflow them.
    auto clamp = [](int64_t sum) {
        return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX));
    };
    for (int32_t j = 1; j <= 4; ++j) {
        HcpSum[j] = clamp(hcpSumWide_[j]);
        for (int32_t suit = 1; suit <= 4; ++suit)
            LengthSum[j][suit] = clamp(lengthSumWide_[j][suit]);
    }
}

void TDeals::ComputeStatistics() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!StoresNone()) {
        ClearStatistics();
        std::fill(&lengthSumWide_[0][0], &lengthSumWide_[0][0] + 25, 0);
        std::fill(std::begin(hcpSumWide_), std::end(hcpSumWide_), 0);
        for (int32_t index = 0; index < count_; ++index) CountIntoStatistics(*At(index));
    }
    StoreSums();
}

void TDeals::KeepStatisticsOnly() {
    std::lock_guard<std::mutex> guard(lock_);
    statisticsOnly_ = true;
}

void TDeals::PassTo(TDealReceiver& receiver) {
    std::lock_guard<std::mutex> guard(lock_);
    receiver_ = &receiver;
}

void TDeals::TakeUnstored(const TDeal& deal) {
    scratch_ = deal;
    if (receiver_ != nullptr) receiver_->Receive(scratch_);
    if (statisticsOnly_) CountIntoStatistics(scratch_);
}
