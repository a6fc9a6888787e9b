// korvana-cli convert: the deals of a deals, PBN or LIN file written as a deals,
// PBN or LIN file.
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "deals/DealCollection.h"

namespace {
constexpr const char* kConvertArguments[] = {"IN", "OUT"};
}  // namespace

int RunConvert(const TArguments& arguments);

const TCommand kConvertCommand = {.Name = "convert",
                                  .Summary =
                                      "read the deals of a deals, PBN or LIN file (- reads "
                                      "standard input) and write them as a deals file (.dls), "
                                      "a PBN file (.pbn) or a LIN file (.lin)",
                                  .Positionals = kConvertArguments,
                                  .Run = RunConvert};

int RunConvert(const TArguments& arguments) {
    const std::vector<std::string>& args = arguments.Positionals;
    TDeals deals;
    if (!ReadDealsFile(args[0], deals)) return ExitFileFailed;
    // Converted deals name no key value in a PBN file's Generator tags.
    return WriteDealsFile(args[1], deals, 0) ? ExitDone : ExitFileFailed;
}
