#pragma once
// Counts in Russian messages: the number with its word in the right form.
#include <cstdint>
#include <string>
#include <string_view>

// The word in the form a count takes: `one` after 1, 21, 31 ("раздача"),
// `few` after 2-4, 22-24 ("раздачи"), `many` otherwise ("раздач").
std::string_view RussianForm(int64_t count, std::string_view one, std::string_view few,
                             std::string_view many);

// The count with its word: "21 раздача", "5 раздач".
std::string RussianCount(int64_t count, std::string_view one, std::string_view few,
                         std::string_view many);
