#include "files/SetupFile.h"

#include <string_view>
#include <vector>

#include "deals/DealCollection.h"
#include "files/WholeFile.h"
#include "text/FileError.h"
#include "text/OutputBuffer.h"
#include "text/ReplacingFile.h"

namespace {
std::string_view ViewOf(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Deals read from lines go to the collection a batch at a time, one lock each.
constexpr std::size_t BatchSize = 4096;
constexpr qint64 ChunkSize = qint64(1) << 20;
}  // namespace

QString WriteSetupFile(const QString& fileName, const TSetupContent& content, const TDeals& deals) {
    try {
        TReplacingFile file(fileName.toStdString());
        TOutputBuffer out([&file](std::string_view chunk) { file.Write(chunk); });
        out.Append(ViewOf(FormatSetupHead(content)));
        deals.ForEachBatch([&out](std::span<const TDeal> batch) {
            for (const TDeal& deal : batch) {
                char* end = deal.WriteText(out.Room(TDeal::MaxLineLength + 2));
                *end++ = '\r';
                *end++ = '\n';
                out.Advance(end);
            }
            return true;
        });
        out.Append(ViewOf(FormatSetupTail(content.ConditionLines)));
        out.Flush();
        file.Commit();
    } catch (const TFileError& failure) {
        return SystemReason(failure.ErrorNumber());
    }
    return {};
}

TSetupContent ReadSetupFile(QFile& file, TDeals& deals, QString& failure) {
    std::vector<TDeal> batch;
    batch.reserve(BatchSize);
    TSetupParser parser([&](std::string_view line) {
        batch.emplace_back().FromText(line);
        if (batch.size() == BatchSize) {
            deals.AddAll(batch);
            batch.clear();
        }
    });
    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), ChunkSize);
        if (got < 0 || file.error() != QFileDevice::NoError) {
            failure = file.errorString();
            break;
        }
        if (got == 0) break;
        parser.Feed(std::string_view(chunk.constData(), static_cast<std::size_t>(got)));
    }
    TSetupContent content = parser.Finish();
    deals.AddAll(batch);
    return content;
}
