// korvana-cli convert: the deals of a deals or PBN file written as a deals,
// PBN or LIN file.
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "deals/DealCollection.h"

int RunConvert(const std::vector<std::string>& args) {
    if (args.size() != 2 || args[0].empty() || args[1].empty() ||
        (args[0].front() == '-' && args[0] != "-") || args[1].front() == '-') {
        ComplainUsage("convert needs an input file and an output file");
        return ExitBadUsage;
    }
    TDeals deals;
    if (!ReadDealsFile(args[0], deals)) return ExitFileFailed;
    // Converted deals name no key value in a PBN file's Generator tags.
    return WriteDealsFile(args[1], deals, 0) ? ExitDone : ExitFileFailed;
}
