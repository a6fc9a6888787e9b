#pragma once
// One player's thirteen cards and their figures (points, suit lengths, the
// lengths sorted longest first), computed when first asked for and cached
// until the cards change. Suits are 1..4 (clubs .. spades); out-of-range
// suit or place numbers give the neutral results stated per operation.
//
// Every field is one byte, so a deal of four hands takes 104 bytes. A card
// place holds a card number 1..52 once dealt, or whatever a deal line held:
// a two-character field reads as -9..99, and 0 marks an empty place. Points of
// a hand with repeated cards reach at most 52, lengths at most 13: all fit.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class THand {
public:
    static constexpr int32_t CardsInHand = 13;
    static constexpr int32_t TextLength = 27;  // thirteen two-character fields and ";"
    // The longest text a hand can have: a place holding -128 .. -10 or 100 ..
    // 127 (only SetCard stores such numbers) takes three or four characters.
    static constexpr int32_t MaxTextLength = 13 * 4 + 1;

    // A new hand has every field 0 (thirteen empty places).
    THand() = default;

    // Marks every figure as not computed; dealing, FromText and SetCard do it.
    void ResetFigures();

    // Card place j (1..13); 0 for any other j.
    int32_t Card(int32_t j) const;
    // Stores a card number at place j (1..13; other j are ignored) and resets
    // the figures. Values outside -128..127, which no deal line can hold, are
    // stored as 0 (an empty place).
    void SetCard(int32_t j, int32_t card);

    // Points of suit 1..4; any other number gives the whole hand's points.
    int32_t HCP(int32_t suit);
    // Cards of suit 1..4; 0 for any other number.
    int32_t SuitLength(int32_t suit);
    // Length of the n-th longest suit (1 longest .. 4 shortest); 0 for other n.
    int32_t SuitByLength(int32_t n);
    // The row of Patterns equal to the four sorted lengths; 0 if none.
    int32_t PatternIndex();

    // The rank characters of one suit from the start of the cards (which for a
    // dealt hand are in descending order) up to the first lower card: "AKT52";
    // "-" when none; the empty text for a suit outside 1..4.
    std::string SuitText(int32_t suit) const;
    // Clubs, diamonds, hearts, spades: each card's character appended to its
    // suit's text in the order of the cards; "-" for an empty text.
    std::array<std::string, 4> SuitTexts() const;

    // The rank characters of a hand in dealt order (card numbers 1..52,
    // strictly descending), suit by suit from spades: suit k (0 spades .. 3
    // clubs) is Ranks[Start[k]] up to Ranks[Start[k + 1]], which for such a hand
    // is SuitText(4 - k) without its "-" for a void. Writers of millions of
    // hands take these runs instead of four texts each.
    struct TSuitRuns {
        // Padded, so that a writer may copy 16 bytes from any start.
        std::array<char, 32> Ranks{};
        std::array<uint8_t, 5> Start{};
    };
    // False, for any other hand (read from a damaged line), with `runs` unspecified.
    bool DealtSuitRuns(TSuitRuns& runs) const;

    // Thirteen two-character fields (the card number left-aligned, "7 ") and ";".
    std::string ToText() const;
    // The same text appended to `line`.
    void AppendText(std::string& line) const;
    // The same text written at `out`, which has room for MaxTextLength
    // characters (the bytes after the text may be overwritten too); returns
    // the end of the text. No allocation, no check per card.
    char* WriteText(char* out) const;
    // Reads the first 26 characters: each two-character field is one card
    // number, or 0 when it is blank, missing or no integer. Resets the figures.
    void FromText(std::string_view text);

    // Hand functions of the condition language (HandFunctions.cpp). An argument
    // of exactly -1 means "not given" and selects the default named in brackets,
    // or no bound where that is said.
    bool Range(int32_t min, int32_t max);     // min <= P <= max, taken literally
    bool Balanced(int32_t min, int32_t max);  // no-trump shape; -1: no bound
    bool Polish1c(int32_t a1, int32_t a2, int32_t a3, int32_t a4);  // 12 14 16 18
    bool Prec1d(int32_t a1, int32_t a2, int32_t a3, int32_t a4);    // 11 14 11 15
    bool Unbal1d(int32_t a1, int32_t a2);                           // 11 15
    bool Prec1h(int32_t a1, int32_t a2);                            // 11 15
    bool Prec1s(int32_t a1, int32_t a2);                            // 11 15
    bool Prec2c(int32_t a1, int32_t a2);                            // 11 15
    bool Multy(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5,
               int32_t a6);  // 6 10 0 10 10 10
    // Suit lengths against s, h, d, c: mode < 0 at most, 0 exactly, > 0 at
    // least; a negative length imposes nothing.
    bool Suits(int32_t mode, int32_t s, int32_t h, int32_t d, int32_t c);
    // The same rule on the lengths sorted longest first.
    bool Shape(int32_t mode, int32_t l1, int32_t l2, int32_t l3, int32_t l4);

    // Hand evaluation (HandEvaluation.cpp). A suit outside 1..4 (-1 among
    // them) means the whole hand where that is said, else gives 0 or false.
    // Losing tricks: in each suit the ace, king and queen missing among its
    // first min(length, 3) ranks (a singleton king is a loser, KQ doubleton one).
    int32_t Losers(int32_t suit);    // whole hand for another suit number
    int32_t Controls(int32_t suit);  // ace 2, king 1; whole hand for another suit number
    // Whether the hand holds the card of the suit and rank 2..14 (11 jack .. 14 ace).
    bool HasCard(int32_t suit, int32_t rank) const;
    // How many of the suit's n highest ranks (1..13) the hand holds; 0 for another n.
    int32_t TopHonours(int32_t suit, int32_t n) const;
    // Bit c set for every card number c (1..52) the hand holds.
    uint64_t CardSet() const;

private:
    friend class TDeal;     // dealing fills the places directly
    void ComputeFigures();  // points and lengths together
    void ComputeSortedLengths();
    // The points of the first suit, in the order spades, hearts, diamonds,
    // clubs, that has `length` cards; -1 when none has.
    int32_t PointsOfFirstSuitWithLength(int32_t length);
    std::array<int8_t, 5> points_{};         // [0] whole hand, [1..4] suits; -1 not computed
    std::array<int8_t, 4> lengths_{};        // suits 1..4 at [0..3]; -1 not computed
    std::array<int8_t, 4> sortedLengths_{};  // longest first; -1 not computed
    std::array<int8_t, 13> cards_{};         // places 1..13 at [0..12]
};
