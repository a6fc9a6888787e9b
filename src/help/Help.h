#pragma once
// The program's help in Russian: the condition language (built from the
// function and operator tables), example conditions and the commands. One
// list of blocks is written out as HTML for the window, as a man-page section
// and as Markdown for the documentation, so the three never differ.
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class THelpBlockKind {
    Page,       // a page's title
    Section,    // a title within a page
    Paragraph,  // Text
    Item,       // Term, then its Text
    Example,    // Text a title, Code a condition that can be put into the editor
};

struct THelpBlock {
    THelpBlockKind Kind;
    std::string Term;
    std::string Text;
    std::string Code;
};

struct THelpExample {
    std::string_view Title;
    std::string_view Condition;  // accepted by the language as it is written
};

// The example conditions a teacher starts from, in the order the help shows them.
std::span<const THelpExample> HelpExamples();

// The whole help, page by page.
std::vector<THelpBlock> HelpBlocks();

// HTML for a text browser; an example's link is "insert:K", K its place among
// the Example blocks.
std::string HelpHtml(const std::vector<THelpBlock>& blocks);
// A man-page section (".SH" and the pages as ".SS").
std::string HelpMan(const std::vector<THelpBlock>& blocks);
std::string HelpMarkdown(const std::vector<THelpBlock>& blocks);
