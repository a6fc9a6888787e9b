#pragma once
// The sections and keys of korvana.ini, named in this one place. Files that
// users and earlier versions wrote are read by these same names: never rename one.
#include <string_view>

namespace SettingsKeys {

// The fixed cards, as their text (TFixedCards::ToText), and "1" while runs
// deal securely; the dealer (N, E, S or W) and vulnerability (None, NS, EW or
// All) of the boards a run deals, each absent while it follows the rotation.
namespace Deal {
inline constexpr std::string_view Section = "Deal";
inline constexpr std::string_view Fixed = "Fixed";
inline constexpr std::string_view Secure = "Secure";
inline constexpr std::string_view Dealer = "Dealer";
inline constexpr std::string_view Vulnerability = "Vulnerability";
}  // namespace Deal

// The save chooser's "Первая сдача".
namespace SaveDeals {
inline constexpr std::string_view Section = "SaveDeals";
inline constexpr std::string_view FirstBoard = "FirstBoard";
}  // namespace SaveDeals

// The entry of the open chooser's filter last chosen, by its pattern ("*.pbn").
namespace OpenDeals {
inline constexpr std::string_view Section = "OpenDeals";
inline constexpr std::string_view Filter = "Filter";
}  // namespace OpenDeals

// The last inputs of the simulations; a vulnerability is kept as its number 0..3.
namespace Simulation {
inline constexpr std::string_view Section = "Simulation";
inline constexpr std::string_view Variants = "Variants";
inline constexpr std::string_view VariantsVulnerability = "VariantsVulnerability";
inline constexpr std::string_view LeadContract = "LeadContract";
inline constexpr std::string_view LeadVulnerability = "LeadVulnerability";
inline constexpr std::string_view Expressions[] = {"Expression1", "Expression2", "Expression3",
                                                   "Expression4"};
inline constexpr std::string_view Cross = "Cross";
}  // namespace Simulation

// The handout dialog's last choice.
namespace Handout {
inline constexpr std::string_view Section = "Handout";
inline constexpr std::string_view PerPage = "PerPage";
inline constexpr std::string_view Analysis = "Analysis";
inline constexpr std::string_view Seats = "Seats";
inline constexpr std::string_view Cards = "Cards";
inline constexpr std::string_view Paper = "Paper";
inline constexpr std::string_view Title = "Title";
inline constexpr std::string_view FirstBoard = "FirstBoard";
}  // namespace Handout

}  // namespace SettingsKeys
