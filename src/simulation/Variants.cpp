#include "simulation/Variants.h"

#include <set>

#include "simulation/Contract.h"
#include "text/StringFunctions.h"

namespace {

constexpr std::string_view Arrow = "=>";

// Characters of the text before byte `offset`.
int32_t CharsBefore(std::string_view text, std::size_t offset) {
    return CharCount(text.substr(0, offset));
}

std::string VariantWhere(const TVariant& variant) { return "вариант «" + variant.Name + "»"; }

TStatus Refuse(std::string where, std::string message, std::string_view text, int32_t position,
               int32_t line) {
    TStatus status = TStatus::Usage(std::move(message), std::move(where));
    status.SetText(std::string(text), position).SetLine(line);
    return status;
}

// Reads one rule, the piece of `text` from byte `start` of length `length`,
// and appends it to the variant.
TStatus ReadRule(std::string_view text, std::size_t start, std::size_t length, int32_t line,
                 TVariant& variant) {
    const std::string_view piece = text.substr(start, length);
    const std::size_t arrow = piece.find(Arrow);
    TVariantRule rule;
    rule.Line = line;
    const std::string where =
        VariantWhere(variant) + ", правило " + std::to_string(variant.Rules.size() + 1);
    std::string_view contractText = piece;
    if (arrow != std::string_view::npos) {
        const std::string_view condition = TrimText(piece.substr(0, arrow));
        const std::size_t conditionStart =
            condition.empty() ? start : static_cast<std::size_t>(condition.data() - text.data());
        if (condition.empty())
            return Refuse(where, "перед «=>» нет условия", text, CharsBefore(text, start + arrow),
                          line);
        rule.Condition = std::string(condition);
        rule.ConditionStart = CharsBefore(text, conditionStart);
        contractText = piece.substr(arrow + Arrow.size());
    }
    const TContractReading reading = ReadContract(contractText);
    if (!reading.Contract) {
        const std::string_view trimmed = TrimText(contractText);
        const std::size_t at = trimmed.empty()
                                   ? start + length
                                   : static_cast<std::size_t>(trimmed.data() - text.data());
        return Refuse(where, reading.Error, text, CharsBefore(text, at), line);
    }
    rule.Contract = *reading.Contract;
    variant.Rules.push_back(std::move(rule));
    return TStatus::Ok();
}

// The checks of a whole variant: it has rules, only the last has no condition.
// `names` holds the names of the variants before it, and gets its name.
TStatus CheckVariant(const TVariant& variant, std::set<std::string>& names, std::string_view text,
                     int32_t line) {
    if (!names.insert(variant.Name).second)
        return Refuse(VariantWhere(variant), "два варианта с одним названием", text, -1, line);
    if (variant.Rules.empty())
        return Refuse(VariantWhere(variant), "нет ни одного правила", text, -1, line);
    for (std::size_t i = 0; i < variant.Rules.size(); ++i) {
        const TVariantRule& rule = variant.Rules[i];
        const bool last = i + 1 == variant.Rules.size();
        const std::string where = VariantWhere(variant) + ", правило " + std::to_string(i + 1);
        if (last && !rule.Condition.empty())
            return Refuse(where,
                          "у последнего правила не бывает условия: оно действует, когда не "
                          "подошло ни одно правило выше",
                          text, rule.ConditionStart, rule.Line);
        if (!last && rule.Condition.empty())
            return Refuse(where,
                          "правило без условия стоит не последним: правила после него "
                          "никогда не сработают",
                          text, -1, rule.Line);
    }
    return TStatus::Ok();
}

}  // namespace

TStatus ReadVariantsText(std::string_view text, std::vector<TVariant>& variants) {
    std::vector<TVariant> read;
    int32_t variantLine = 0;
    int32_t line = 0;
    std::set<std::string> names;
    for (const TVariant& variant : variants) names.insert(variant.Name);
    auto finishVariant = [&]() {
        return read.empty() ? TStatus::Ok() : CheckVariant(read.back(), names, text, variantLine);
    };
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        ++line;
        std::size_t length = end - start;
        if (length > 0 && text[start + length - 1] == '\r') --length;
        const std::string_view content = TrimText(text.substr(start, length));
        if (!content.empty()) {
            if (content.back() == ':' && content.find(Arrow) == std::string_view::npos) {
                if (TStatus status = finishVariant(); !status.IsOk()) return status;
                TVariant variant;
                variant.Name = std::string(TrimText(content.substr(0, content.size() - 1)));
                if (variant.Name.empty())
                    return Refuse({}, "у варианта нет названия перед «:»", text,
                                  CharsBefore(text, start), line);
                read.push_back(std::move(variant));
                variantLine = line;
            } else if (read.empty()) {
                return Refuse({},
                              "правило до названия варианта: вариант начинается строкой "
                              "«НАЗВАНИЕ:»",
                              text, CharsBefore(text, start), line);
            } else if (TStatus status = ReadRule(text, start, length, line, read.back());
                       !status.IsOk()) {
                return status;
            }
        }
        start = end + 1;
    }
    if (TStatus status = finishVariant(); !status.IsOk()) return status;
    for (TVariant& variant : read) variants.push_back(std::move(variant));
    return TStatus::Ok();
}

TStatus ReadVariantLine(std::string_view text, std::vector<TVariant>& variants) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return Refuse("--variant",
                      "нужно «НАЗВАНИЕ: УСЛОВИЕ => КОНТРАКТ РАЗЫГРЫВАЮЩИЙ; ...; КОНТРАКТ "
                      "РАЗЫГРЫВАЮЩИЙ»",
                      text, -1, 0);
    TVariant variant;
    variant.Name = std::string(TrimText(text.substr(0, colon)));
    if (variant.Name.empty())
        return Refuse("--variant", "у варианта нет названия перед «:»", text, 0, 0);
    for (std::size_t start = colon + 1; start <= text.size();) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        if (TStatus status = ReadRule(text, start, end - start, 0, variant); !status.IsOk())
            return status;
        start = end + 1;
    }
    std::set<std::string> names;
    for (const TVariant& other : variants) names.insert(other.Name);
    if (TStatus status = CheckVariant(variant, names, text, 0); !status.IsOk()) return status;
    variants.push_back(std::move(variant));
    return TStatus::Ok();
}

std::string VariantsText(const std::vector<TVariant>& variants) {
    std::string text;
    for (const TVariant& variant : variants) {
        text += variant.Name + ":\n";
        for (const TVariantRule& rule : variant.Rules) {
            if (!rule.Condition.empty()) text += rule.Condition + " => ";
            text += ContractWithDeclarer(rule.Contract) + "\n";
        }
    }
    return text;
}
