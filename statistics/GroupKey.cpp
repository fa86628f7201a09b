#include "statistics/GroupKey.h"

#include <array>

namespace brivanto::statistics {
namespace {

constexpr std::uint8_t Blank = 0x20;

// Each byte of the code page as it is grouped: lower case, without its accent; 0x20 for a blank
// or control character.
constexpr std::array<std::uint8_t, 256> FoldedByte = [] {
    std::array<std::uint8_t, 256> folded{};
    for (int b = 0; b < 256; ++b)
        folded[b] = std::uint8_t(b);
    for (int b = 0; b <= 0x20; ++b)
        folded[b] = Blank;
    folded[0xA0] = Blank; // no-break space
    for (int b = 'A'; b <= 'Z'; ++b)
        folded[b] = std::uint8_t(b - 'A' + 'a');
    const auto set = [&](std::initializer_list<int> bytes, char letter) {
        for (const int b : bytes)
            folded[b] = std::uint8_t(letter);
    };
    set({0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5}, 'a');
    set({0xC7, 0xE7}, 'c');
    set({0xC8, 0xC9, 0xCA, 0xCB, 0xE8, 0xE9, 0xEA, 0xEB}, 'e');
    set({0xCC, 0xCD, 0xCE, 0xCF, 0xEC, 0xED, 0xEE, 0xEF}, 'i');
    set({0xD1, 0xF1}, 'n');
    set({0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8}, 'o');
    set({0xD9, 0xDA, 0xDB, 0xDC, 0xF9, 0xFA, 0xFB, 0xFC}, 'u');
    set({0xDD, 0xFD, 0xFF, 0x9F}, 'y');
    set({0x8A, 0x9A}, 's');
    set({0x8E, 0x9E}, 'z');
    folded[0xC6] = 0xE6; // Æ æ
    folded[0x8C] = 0x9C; // Œ œ
    folded[0xD0] = 0xF0; // Ð ð
    folded[0xDE] = 0xFE; // Þ þ
    return folded;
}();

bool isVowel(std::uint8_t folded)
{
    return folded == 'a' || folded == 'e' || folded == 'i' || folded == 'o' || folded == 'u';
}

// The apostrophes a keyboard writes: ' and the typographic ’ and `.
bool isApostrophe(std::uint8_t byte)
{
    return byte == '\'' || byte == 0x92 || byte == '`' || byte == 0xB4;
}

// A character that ends a word: a blank, punctuation, the end.
bool endsWord(std::uint8_t folded)
{
    return folded == Blank || folded == ',' || folded == '.' || folded == ';' || folded == ':' ||
           folded == ')' || folded == '/' || folded == '-';
}

} // namespace

std::string groupKey(const std::uint8_t* text, std::size_t size)
{
    std::string key;
    key.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t folded = FoldedByte[text[i]];
        if (folded == Blank) {
            if (!key.empty() && key.back() != char(Blank))
                key.push_back(char(Blank));
            continue;
        }
        if (isApostrophe(text[i]) && !key.empty() && isVowel(std::uint8_t(key.back())) &&
            (i + 1 == size || endsWord(FoldedByte[text[i + 1]])))
            continue;
        key.push_back(char(folded));
    }
    while (!key.empty() && key.back() == char(Blank))
        key.pop_back();
    return key;
}

} // namespace brivanto::statistics
