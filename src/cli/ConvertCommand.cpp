// korvana-cli convert: the deals of a deals, PBN or LIN file written as a deals,
// PBN or LIN file, each board with the tags its file gave.
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "deals/Board.h"
#include "deals/DealCollection.h"

namespace {
constexpr const char* kConvertArguments[] = {"IN", "OUT"};
constexpr TOptionRow kConvertOptions[] = {kOutFormatOption, kFirstBoardOption, kDealerOption,
                                          kVulOption};
}  // namespace

int RunConvert(const TArguments& arguments);

const TCommand kConvertCommand = {.Name = "convert",
                                  .Summary =
                                      "читает раздачи файла раздач, PBN или LIN (- читает "
                                      "стандартный ввод) и записывает их файлом раздач (.dls), "
                                      "PBN (.pbn) или LIN (.lin) со всеми тегами, какие "
                                      "вмещает формат (- пишет в стандартный вывод)",
                                  .Options = kConvertOptions,
                                  .Positionals = kConvertArguments,
                                  .Run = RunConvert};

int RunConvert(const TArguments& arguments) {
    const std::vector<std::string>& args = arguments.Positionals;
    TDealsOutput output;
    std::string complaint;
    if (!ChooseDealsOutput(args[1], arguments.Text(kOutFormatOption), output, complaint)) {
        ComplainUsage(complaint);
        return ExitBadUsage;
    }
    TDeals deals;
    std::vector<TBoard> boards;
    if (!ReadDealsFile(args[0], deals, &boards)) return ExitFileFailed;
    const TSeatingChoice seating = SeatingOfOptions(arguments);
    for (TBoard& board : boards) board.FillSeating(seating);
    NumberBoards(boards, arguments.Number(kFirstBoardOption, 1));
    return WriteDealsOutput(output, TBoardList(boards), deals.Count()) ? ExitDone : ExitFileFailed;
}
