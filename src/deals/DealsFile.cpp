// The deals file: the header line, then one 108-character deal line per deal,
// every line ended by CR LF.
#include "deals/internal/DealsFile.h"

#include <algorithm>
#include <string>
#include <vector>

#include "deals/DealCollection.h"
#include "text/FileError.h"
#include "text/OutputBuffer.h"

namespace {

constexpr std::size_t BatchSize = 1024;

// Reads lines ended by LF or CR LF; a last line without a break is still a
// line, but the break that ends the last line does not start another one.
// Only the first MaxKept bytes of a line are kept (no header or deal line
// comes near), so a line of hundreds of megabytes costs no memory.
class TLineReader {
public:
    static constexpr std::size_t MaxKept = 4096;

    explicit TLineReader(TDealsInput& in) : in_(in) {}

    // False at the end of the file; throws TFileError on a read error.
    bool ReadLine(std::string& line) {
        line.clear();
        bool any = false;
        for (;;) {
            if (chunk_.empty() && (chunk_ = in_.Next()).empty()) break;
            any = true;
            const std::size_t lineFeed = chunk_.find('\n');
            const std::size_t stop = std::min(lineFeed, chunk_.size());
            const std::size_t room = MaxKept - std::min(MaxKept, line.size());
            line.append(chunk_.data(), std::min(stop, room));
            if (lineFeed != std::string_view::npos) {
                chunk_.remove_prefix(lineFeed + 1);
                break;
            }
            chunk_ = {};
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return any;
    }

private:
    TDealsInput& in_;
    std::string_view chunk_;
};

}  // namespace

int32_t ProbeDealsFile(std::string_view head) {
    const std::string_view header = TDeals::FileHeader;
    if (head.substr(0, header.size()) != header) return 0;
    // The header, then the end of its line or of the file.
    const bool ended =
        head.size() == header.size() || head[header.size()] == '\r' || head[header.size()] == '\n';
    return ended ? 100 : 0;
}

TDealsReadCounts ReadDealsFileBoards(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    TDealsReadCounts counts;
    TLineReader reader(in);
    std::string line;
    if (!reader.ReadLine(line) || line != TDeals::FileHeader) {
        counts.Refused = true;
        return counts;
    }
    // Read deals go to the collection a batch at a time, one lock for each.
    std::vector<TDeal> batch;
    batch.reserve(BatchSize);
    auto store = [&] {
        deals.AddAll(batch);
        if (counts.Loaded <= INT32_MAX - static_cast<int32_t>(batch.size()))
            counts.Loaded += static_cast<int32_t>(batch.size());
        batch.clear();
    };
    int64_t lineNumber = 1;  // the header's
    try {
        while (reader.ReadLine(line)) {
            ++lineNumber;
            TDeal& deal = batch.emplace_back();
            deal.FromText(line);
            if (!deal.IsWhole()) {
                if (counts.DamagedLines < INT32_MAX) ++counts.DamagedLines;
                if (counts.NamedDamagedLines.size() < TDealsReadCounts::MostNamedLines)
                    counts.NamedDamagedLines.push_back(lineNumber);
            }
            if (boards != nullptr) {
                TBoard& board = boards->emplace_back();
                board.Deal = deal;
                board.SetPosition(static_cast<int64_t>(boards->size()));
            }
            if (batch.size() == batch.capacity()) store();
        }
    } catch (const TFileError&) {
        store();  // the deals read before the error stay
        throw;
    }
    store();
    return counts;
}

void WriteDealsFileBoards(TOutputBuffer& out, const TBoards& boards) {
    out.Append(TDeals::FileHeader);
    out.Append("\r\n");
    boards.ForEach([&out](const TBoard& board) {
        char* end = board.Deal.WriteText(out.Room(TDeal::MaxLineLength + 2));
        *end++ = '\r';
        *end++ = '\n';
        out.Advance(end);
        return true;
    });
}
