// The help: every condition it shows is accepted by the language as written,
// and the documentation's copies are the text the program builds.
// KORVANA_UPDATE_HELP=1 rewrites those copies instead of comparing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "help/Help.h"
#include "language/ConditionCheck.h"
#include "language/ConditionTestSupport.h"
#include "language/FunctionTable.h"
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
    // Each function's example uses that function.
    for (const TFunctionRow& function : FunctionTable())
        EXPECT_NE(function.Help.Example.find(std::string(function.Name) + "("), std::string::npos)
            << function.Name;
}

// Each copy: its file, the text it holds, and the lines around that text
// (none: the whole file).
TEST(Help, TheDocumentationHoldsTheProgramsText) {
    const std::vector<THelpBlock> blocks = HelpBlocks();
    const struct {
        const char* File;
        std::string Text, Begin, End;
    } copies[] = {
        {"docs/help.md", HelpMarkdown(blocks), "", ""},
        {"data/korvana-cli.1", HelpMan(blocks), ".\\\" help begin\n", ".\\\" help end\n"},
    };
    const std::filesystem::path sources = KORVANA_LANGUAGE_CASES_DIR "/../../..";
    for (const auto& copy : copies) {
        const std::filesystem::path path = (sources / copy.File).lexically_normal();
        std::ifstream in(path, std::ios::binary);
        std::string file{std::istreambuf_iterator<char>(in), {}};
        std::size_t from = file.find(copy.Begin);
        const std::size_t to = copy.End.empty() ? file.size() : file.find(copy.End);
        ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << path;
        from += copy.Begin.size();
        if (std::getenv("KORVANA_UPDATE_HELP") != nullptr) {
            file.replace(from, to - from, copy.Text);
            std::ofstream(path, std::ios::binary) << file;
        } else {
            EXPECT_EQ(file.substr(from, to - from), copy.Text)
                << path << ": KORVANA_UPDATE_HELP=1 renews it";
        }
    }
}
