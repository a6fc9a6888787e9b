#pragma once
// Counts in Russian messages: the number with its word in the right form.
#include <cstdint>
#include <string>
#include <string_view>

// `one` after 1, 21, 31 ("раздача"), `few` after 2-4, 22-24 ("раздачи"),
// `many` otherwise ("раздач"): "21 раздача", "5 раздач".
std::string RussianCount(int64_t count, std::string_view one, std::string_view few,
                         std::string_view many);
