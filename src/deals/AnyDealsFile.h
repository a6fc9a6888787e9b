#pragma once
// Opening a file of deals, whatever its kind: a deals file is told by its
// header line, anything else is read as PBN. The desktop program and
// korvana-cli both open deals this way, whatever the file's name.
#include <cstdint>
#include <string>

class TDeals;

struct TDealsLoadResult {
    bool Found = false;    // the file existed and was read
    bool Pbn = false;      // it was read as PBN
    bool Refused = false;  // it held no deal at all; nothing was added
    int32_t Loaded = 0;    // deals appended
    int32_t Skipped = 0;   // PBN games without a whole deal
};

// Appends the deals of the file to the collection, in file order. A missing
// file, or a folder of that name, does nothing and shows nothing. A deals file
// is read as LoadFromFile reads it; any other file as LoadPbnFile reads it,
// which shows how many deals were loaded and skipped, or refuses a file
// without any deal with "Файл <name> не содержит раздачи". A file-system
// failure throws TFileError; the deals read before it stay.
TDealsLoadResult LoadDealsOrPbnFile(const std::string& name, TDeals& deals);

// True when the file starts with the deals file's header line.
bool StartsAsDealsFile(const std::string& name);
