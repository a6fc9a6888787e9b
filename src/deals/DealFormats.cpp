#include "deals/DealFormats.h"

#include <cerrno>
#include <filesystem>

#include "deals/DealCollection.h"
#include "deals/DealsFile.h"
#include "deals/LinFile.h"
#include "deals/PbnFile.h"
#include "text/FileError.h"
#include "text/MessageSink.h"
#include "text/OutputBuffer.h"
#include "text/ReplacingFile.h"
#include "text/StringFunctions.h"

namespace {

constexpr std::size_t ChunkSize = std::size_t{1} << 16;

const TDealFormat Formats[] = {
    {".dls", "Раздачи", ProbeDealsFile, ReadDealsFileBoards, WriteDealsFileBoards, false, false},
    {".pbn", "Раздачи PBN", ProbePbn, ReadPbnBoards, WritePbnBoards, true, true},
    {".lin", "Раздачи LIN", ProbeLin, ReadLinBoards, WriteLinBoards, true, false},
};

}  // namespace

TDealsInput::TDealsInput(std::FILE* file, std::string name)
    : file_(file), name_(std::move(name)), buffer_(std::make_unique<char[]>(ChunkSize)) {}

std::string_view TDealsInput::Head() {
    if (!headRead_) {
        headRead_ = true;
        // fread gathers the head across short reads of a pipe.
        errno = 0;
        headSize_ = std::fread(buffer_.get(), 1, HeadSize, file_);
        if (std::ferror(file_)) throw TFileError(name_, errno != 0 ? errno : EIO);
        ended_ = headSize_ < HeadSize;
    }
    return {buffer_.get(), headSize_};
}

std::string_view TDealsInput::Next() {
    if (!headGiven_) {
        headGiven_ = true;
        const std::string_view head = Head();
        if (!head.empty()) return head;
    }
    if (ended_) return {};
    errno = 0;
    const std::size_t got = std::fread(buffer_.get(), 1, ChunkSize, file_);
    if (std::ferror(file_)) throw TFileError(name_, errno != 0 ? errno : EIO);
    ended_ = got < ChunkSize;
    return {buffer_.get(), got};
}

std::span<const TDealFormat> DealFormats() { return Formats; }
const TDealFormat& DealsFileFormat() { return Formats[0]; }
const TDealFormat& PbnFormat() { return Formats[1]; }
const TDealFormat& LinFormat() { return Formats[2]; }

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
    const TDealFormat* best = nullptr;
    int32_t bestScore = -1;
    for (const TDealFormat& format : Formats) {
        if (format.Read == nullptr) continue;
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
    WriteBoards(out, format, boards);
    file.Commit();
}

void SaveDealsFile(const std::string& name, const TDealFormat& format, const TDeals& deals,
                   int64_t keyValue) {
    const int32_t count = deals.Count();
    if (count == 0 || !FileDirExists(name)) return;
    WriteDealsFile(name, format, TDealsAsBoards(deals, TDealtBy{keyValue, keyValue, false}));
    ShowMessage(std::to_string(count) + " раздач(и) сохранены в файле " + name);
}
