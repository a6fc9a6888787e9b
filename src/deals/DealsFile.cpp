// The deals file: the header line, then one 108-character deal line per deal,
// every line ended by CR LF.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "deals/DealCollection.h"
#include "text/FileError.h"
#include "text/ReplacingFile.h"
#include "text/MessageSink.h"
#include "text/OutputBuffer.h"
#include "text/StringFunctions.h"

namespace {

struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

// Reads lines ended by LF or CR LF; a last line without a break is still a
// line, but the break that ends the last line does not start another one.
// Only the first MaxKept bytes of a line are kept (no header or deal line
// comes near), so a line of hundreds of megabytes costs no memory.
class TLineReader {
public:
    static constexpr std::size_t MaxKept = 4096;

    TLineReader(std::FILE* file, const std::string& name) : file_(file), name_(name) {}

    // False at the end of the file; throws TFileError on a read error.
    bool ReadLine(std::string& line) {
        line.clear();
        bool any = false;
        for (;;) {
            if (next_ == filled_ && !Refill()) break;
            any = true;
            const char* start = buffer_ + next_;
            const char* end = buffer_ + filled_;
            const char* lineFeed = static_cast<const char*>(
                std::memchr(start, '\n', static_cast<std::size_t>(end - start)));
            const char* stop = lineFeed ? lineFeed : end;
            const std::size_t room = MaxKept - std::min(MaxKept, line.size());
            line.append(start, std::min(stop, start + room));
            if (lineFeed) {
                next_ = static_cast<std::size_t>(lineFeed - buffer_) + 1;
                break;
            }
            next_ = filled_;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return any;
    }

private:
    bool Refill() {
        errno = 0;
        filled_ = std::fread(buffer_, 1, sizeof buffer_, file_);
        next_ = 0;
        if (filled_ == 0 && std::ferror(file_)) throw TFileError(name_, errno);
        return filled_ != 0;
    }

    std::FILE* file_;
    const std::string& name_;
    char buffer_[1 << 16];
    std::size_t filled_ = 0, next_ = 0;
};

}  // namespace

void TDeals::SaveToFile(const std::string& name) const {
    int32_t count = Count();
    if (count == 0 || !FileDirExists(name)) return;
    WriteFile(name);
    ShowMessage(std::to_string(count) + " раздач(и) сохранены в файле " + name);
}

void TDeals::WriteFile(const std::string& name) const {
    // The old file keeps its bytes unless the new one is written whole.
    TReplacingFile file(name);
    TOutputBuffer out([&file](std::string_view chunk) { file.Write(chunk); });
    out.Append(FileHeader);
    out.Append("\r\n");
    ForEachBatch([&out](std::span<const TDeal> batch) {
        for (const TDeal& deal : batch) {
            char* end = deal.WriteText(out.Room(TDeal::MaxLineLength + 2));
            *end++ = '\r';
            *end++ = '\n';
            out.Advance(end);
        }
        return true;
    });
    out.Flush();
    file.Commit();
}

void TDeals::LoadFromFile(const std::string& name) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(name, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status)) return;
    // A pipe or a device could keep the program waiting, or never end.
    if (!std::filesystem::is_regular_file(status)) throw TFileError::NotRegular(name);
    errno = 0;
    TFilePtr file(std::fopen(name.c_str(), "rb"));
    if (!file) throw TFileError(name, errno);
    TLineReader reader(file.get(), name);
    std::string line;
    if (!reader.ReadLine(line) || line != FileHeader) {
        ShowMessage("Файл " + name + " не содержит раздачи");
        return;
    }
    // Read deals go to the collection a batch at a time, one lock for each.
    std::vector<TDeal> batch;
    batch.reserve(static_cast<std::size_t>(BlockSize));
    try {
        while (reader.ReadLine(line)) {
            batch.emplace_back().FromText(line);
            if (batch.size() == batch.capacity()) {
                AddAll(batch);
                batch.clear();
            }
        }
    } catch (const TFileError&) {
        AddAll(batch);  // the deals read before the error stay
        throw;
    }
    AddAll(batch);
}
