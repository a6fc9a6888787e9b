#include "deals/DealFormats.h"

#include <cerrno>
#include <filesystem>
#include <ostream>

#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "deals/internal/DealsFile.h"
#include "deals/internal/LinFile.h"
#include "deals/internal/ScorerFormats.h"
#include "text/FileError.h"
#include "text/MessageSink.h"
#include "text/OutputBuffer.h"
#include "text/ReplacingFile.h"
#include "text/StringFunctions.h"

namespace {

const TDealFormat Formats[] = {
    {DealFormatExtensions[0], "Раздачи", ProbeDealsFile, ReadDealsFileBoards, WriteDealsFileBoards,
     false, false},
    {DealFormatExtensions[1], "Раздачи PBN", ProbePbn, ReadPbnBoards, WritePbnBoards, true, true},
    {DealFormatExtensions[2], "Раздачи LIN", ProbeLin, ReadLinBoards, WriteLinBoards, true, false},
    // Scoring programs' formats.
    {DealFormatExtensions[3], "Раздачи BER", nullptr, ReadBerBoards, WriteBerBoards, true, false},
    {DealFormatExtensions[4], "Раздачи CSV", ProbeCsv, ReadCsvBoards, WriteCsvBoards, true, false},
    {DealFormatExtensions[5], "Раздачи BHG", ProbeBhg, ReadBhgBoards, WriteBhgBoards, true, false},
    {DealFormatExtensions[6], "Раздачи RZD", nullptr, ReadRzdBoards, WriteRzdBoards, true, false},
    {DealFormatExtensions[7], "Раздачи CDS", nullptr, ReadCdsBoards, WriteCdsBoards, true, false},
};
static_assert(std::size(Formats) == std::size(DealFormatExtensions));
static_assert(std::string_view(DealFormatChoice.data()) == "dls|pbn|lin|ber|csv|bhg|rzd|cds");

}  // namespace

std::span<const TDealFormat> DealFormats() { return Formats; }
const TDealFormat& DealsFileFormat() { return Formats[0]; }
const TDealFormat& PbnFormat() { return Formats[1]; }
const TDealFormat& LinFormat() { return Formats[2]; }

const TDealFormat* DealFormatOfWord(std::string_view word) {
    for (const TDealFormat& format : Formats)
        if (format.Word() == word) return &format;
    return nullptr;
}

const TDealFormat* DealFormatOfName(std::string_view name) {
    for (const TDealFormat& format : Formats)
        if (HasExtension(name, format.Extension)) return &format;
    return nullptr;
}

const TDealFormat& DealFormatForWriting(std::string_view name) {
    const TDealFormat* format = DealFormatOfName(name);
    return format != nullptr ? *format : DealsFileFormat();
}

const TDealFormat& RecogniseDealFormat(std::string_view head, std::string_view name) {
    const TDealFormat* named = DealFormatOfName(name);
    if (named != nullptr && named->Read != nullptr && named->Probe == nullptr) return *named;
    const TDealFormat* best = nullptr;
    int32_t bestScore = -1;
    for (const TDealFormat& format : Formats) {
        if (format.Read == nullptr || format.Probe == nullptr) continue;
        const int32_t score = format.Probe(head);
        if (score > bestScore || (score == bestScore && &format == named)) {
            best = &format;
            bestScore = score;
        }
    }
    return *best;
}

TDealsLoadResult ReadDealsAs(const TDealFormat& format, TDealsInput& in, TDeals& deals,
                             std::vector<TBoard>* boards) {
    TDealsLoadResult result;
    result.Found = true;
    result.Format = &format;
    const TDealsReadCounts counts = format.Read(in, deals, boards);
    result.Loaded = counts.Loaded;
    result.Skipped = counts.Skipped;
    result.Refused = counts.Refused;
    result.Counts = counts;
    if (counts.Refused)
        ShowMessage("Файл " + in.Name() + " не содержит раздачи");
    else if (format.TellsLoaded)
        ShowMessage(PbnLoadedMessage(in.Name(), {counts.Loaded, counts.Skipped}));
    return result;
}

TDealsLoadResult ReadDeals(TDealsInput& in, TDeals& deals, std::vector<TBoard>* boards) {
    return ReadDealsAs(RecogniseDealFormat(in.Head(), in.Name()), in, deals, boards);
}

std::unique_ptr<std::FILE, int (*)(std::FILE*)> OpenDealsFile(const std::string& name) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, std::fclose);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(name, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) return file;
    if (!std::filesystem::is_regular_file(status)) throw TFileError::NotRegular(name);
    errno = 0;
    file.reset(std::fopen(name.c_str(), "rb"));
    if (!file) throw TFileError(name, errno);
    return file;
}

TDealsLoadResult LoadAnyDealsFile(const std::string& name, TDeals& deals) {
    const auto file = OpenDealsFile(name);
    if (!file) return {};
    TDealsInput in(file.get(), name);
    return ReadDeals(in, deals);
}

void WriteBoards(TOutputBuffer& out, const TDealFormat& format, const TBoards& boards) {
    format.Write(out, boards);
    out.Flush();
}

void WriteDealsFile(const std::string& name, const TDealFormat& format, const TBoards& boards) {
    // The old file keeps its bytes unless the new one is written whole.
    TReplacingFile file(name);
    TOutputBuffer out([&file](std::string_view chunk) { file.Write(chunk); });
    try {
        WriteBoards(out, format, boards);
    } catch (const TFormatLimitError& limit) {
        throw TFileError(name, std::string(limit.what()));
    }
    file.Commit();
}

void SaveDealsFile(const std::string& name, const TDealFormat& format, const TDeals& deals,
                   int64_t keyValue, std::span<const TDealAnalysis> analyses) {
    SaveDealsFile(name, format, deals, TDealtBy{keyValue, keyValue, false}, analyses);
}

void SaveDealsFile(const std::string& name, const TDealFormat& format, const TDeals& deals,
                   const TDealtBy& dealtBy, std::span<const TDealAnalysis> analyses,
                   int64_t firstBoard) {
    const int32_t count = deals.Count();
    if (count == 0 || !FileDirExists(name)) return;
    WriteDealsFile(name, format, TDealsAsBoards(deals, dealtBy, analyses).FirstBoard(firstBoard));
    ShowMessage(std::to_string(count) + " раздач(и) сохранены в файле " + name);
}

// The whole-file operations each format's own header offers, through the table.

void WritePbn(std::ostream& out, const TDeals& deals, int64_t keyValue) {
    TOutputBuffer buffer([&out](std::string_view chunk) {
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    });
    WriteBoards(buffer, PbnFormat(), TDealsAsBoards(deals, TDealtBy{keyValue, keyValue, false}));
}

void WritePbnFile(const std::string& name, const TDeals& deals, int64_t keyValue,
                  std::span<const TDealAnalysis> analyses) {
    WriteDealsFile(name, PbnFormat(),
                   TDealsAsBoards(deals, TDealtBy{keyValue, keyValue, false}, analyses));
}

void SavePbnFile(const std::string& name, const TDeals& deals, int64_t keyValue) {
    SaveDealsFile(name, PbnFormat(), deals, keyValue);
}

void WriteLin(std::ostream& out, const TDeals& deals) {
    TOutputBuffer buffer([&out](std::string_view chunk) {
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    });
    WriteBoards(buffer, LinFormat(), TDealsAsBoards(deals));
}

void TDeals::SaveToFile(const std::string& name) const {
    SaveDealsFile(name, DealsFileFormat(), *this, 0);
}

void TDeals::WriteFile(const std::string& name) const {
    WriteDealsFile(name, DealsFileFormat(), TDealsAsBoards(*this));
}

void TDeals::LoadFromFile(const std::string& name) {
    const auto file = OpenDealsFile(name);
    if (!file) return;
    TDealsInput in(file.get(), name);
    ReadDealsAs(DealsFileFormat(), in, *this);
}

TPbnLoadResult LoadPbnFile(const std::string& name, TDeals& deals) {
    TPbnLoadResult result;
    const auto file = OpenDealsFile(name);
    if (!file) return result;
    TDealsInput in(file.get(), name);
    const TDealsLoadResult read = ReadDealsAs(PbnFormat(), in, deals);
    result.Found = read.Found;
    result.Refused = read.Refused;
    result.Counts = {read.Loaded, read.Skipped};
    return result;
}
