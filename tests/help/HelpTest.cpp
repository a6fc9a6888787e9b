// The help: every condition it shows is accepted by the language as written,
// and the documentation's copies are the text the program builds.
// KORVANA_UPDATE_HELP=1 rewrites those copies instead of comparing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "help/Help.h"
#include "language/ConditionCheck.h"
#include "language/ConditionTestSupport.h"
#include "language/FunctionTable.h"
#include "support/RecordingSink.h"

namespace {

const std::filesystem::path SourceDir =
    std::filesystem::path(KORVANA_LANGUAGE_CASES_DIR).parent_path().parent_path().parent_path();

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The file's text between the marker lines, or the whole file without markers.
void ExpectCopy(const std::filesystem::path& path, const std::string& generated,
                const std::string& begin = "", const std::string& end = "") {
    std::string file = ReadAll(path);
    std::size_t from = 0, to = file.size();
    if (!begin.empty()) {
        from = file.find(begin);
        to = file.find(end);
        ASSERT_NE(from, std::string::npos) << path;
        ASSERT_NE(to, std::string::npos) << path;
        from += begin.size();
    }
    if (std::getenv("KORVANA_UPDATE_HELP") != nullptr) {
        file.replace(from, to - from, generated);
        std::ofstream(path, std::ios::binary) << file;
        return;
    }
    EXPECT_EQ(file.substr(from, to - from), generated)
        << path << ": KORVANA_UPDATE_HELP=1 renews it";
}

}  // namespace

TEST(Help, EveryConditionItShowsIsAcceptedAsWritten) {
    std::vector<std::string> conditions;
    for (const THelpBlock& block : HelpBlocks())
        if (block.Kind == THelpBlockKind::Example) conditions.push_back(block.Code);
    ASSERT_EQ(conditions.size(), FunctionTable().size() + HelpExamples().size());
    for (const std::string& condition : conditions) {
        TRecordingSink sink;
        TCompiledCondition compiled;
        EXPECT_TRUE(compiled.Prepare(condition, TestRules())) << condition;
        EXPECT_TRUE(sink.messages.empty()) << condition << ": " << sink.messages[0].text;
    }
    // Each function's example uses that function.
    for (const TFunctionRow& function : FunctionTable())
        EXPECT_NE(function.Help.Example.find(std::string(function.Name) + "("), std::string::npos)
            << function.Name;
}

TEST(Help, TheDocumentationHoldsTheProgramsText) {
    const std::vector<THelpBlock> blocks = HelpBlocks();
    ExpectCopy(SourceDir / "docs" / "help.md", HelpMarkdown(blocks));
    ExpectCopy(SourceDir / "data" / "korvana-cli.1", HelpMan(blocks), ".\\\" help begin\n",
               ".\\\" help end\n");
}
