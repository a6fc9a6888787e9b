// The help's conditions are accepted as written; the documentation holds the program's text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "help/Help.h"
#include "language/ConditionCheck.h"
#include "language/ConditionTestSupport.h"
#include "language/FunctionTable.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"

TEST(Help, EveryConditionItShowsIsAcceptedAsWritten) {
    std::size_t shown = 0;
    for (const THelpBlock& block : HelpBlocks()) {
        if (block.Kind != THelpBlockKind::Example) continue;
        ++shown;
        TRecordingSink sink;
        EXPECT_TRUE(TCompiledCondition().Prepare(block.Code, TestRules())) << block.Code;
        EXPECT_TRUE(sink.messages.empty()) << block.Code << ": " << sink.messages[0].text;
    }
    EXPECT_EQ(shown, FunctionTable().size() + HelpExamples().size());
    for (const TFunctionRow& function : FunctionTable())
        EXPECT_NE(function.Help.Example.find(std::string(function.Name) + "("), std::string::npos)
            << function.Name;
}

// KORVANA_UPDATE_HELP=1 rewrites the copies instead of comparing them.
TEST(Help, TheDocumentationHoldsTheProgramsText) {
    const std::vector<THelpBlock> blocks = HelpBlocks();
    // Each file, its text and the lines around that text (none: the whole file).
    const std::tuple<const char*, std::string, std::string, std::string> copies[] = {
        {"docs/help.md", HelpMarkdown(blocks), "", ""},
        {"data/korvana-cli.1", HelpMan(blocks), ".\\\" help begin\n", ".\\\" help end\n"},
    };
    const std::filesystem::path sources = KORVANA_LANGUAGE_CASES_DIR "/../../..";
    for (const auto& [name, text, begin, end] : copies) {
        const std::filesystem::path path = (sources / name).lexically_normal();
        std::string file = ReadBytes(path);
        std::size_t from = file.find(begin);
        const std::size_t to = end.empty() ? file.size() : file.find(end);
        ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << path;
        from += begin.size();
        if (std::getenv("KORVANA_UPDATE_HELP") != nullptr) {
            file.replace(from, to - from, text);
            WriteBytes(path, file);
        } else {
            EXPECT_EQ(file.substr(from, to - from), text)
                << path << ": KORVANA_UPDATE_HELP=1 renews it";
        }
    }
}
