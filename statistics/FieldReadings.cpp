#include "statistics/FieldReadings.h"

#include <array>

namespace brivanto::statistics {
namespace {

// A cursor over a group key.
class Reader
{
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }
    void skipBlanks()
    {
        while (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
    }
    // Takes `word` when the text continues with it (then a non-letter or the end).
    bool take(std::string_view word)
    {
        skipBlanks();
        if (text_.substr(pos_, word.size()) != word)
            return false;
        const std::size_t after = pos_ + word.size();
        const bool letterEnds = !isLetter(word.back());
        if (!letterEnds && after < text_.size() && isLetter(text_[after]))
            return false;
        pos_ = after;
        return true;
    }
    bool takeAny(std::initializer_list<std::string_view> words)
    {
        for (const std::string_view word : words) {
            if (take(word))
                return true;
        }
        return false;
    }
    // A whole number of at most four digits.
    std::optional<int> number()
    {
        skipBlanks();
        int value = 0;
        std::size_t digits = 0;
        while (pos_ < text_.size() && isDigit(text_[pos_]) && digits < 5) {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++digits;
        }
        if (digits == 0 || digits > 4 || (pos_ < text_.size() && isDigit(text_[pos_])))
            return std::nullopt;
        return value;
    }
    // A number with at most two decimals after ',' or '.', in hundredths.
    std::optional<int> decimal()
    {
        const std::optional<int> whole = number();
        if (!whole)
            return std::nullopt;
        int hundredths = *whole * 100;
        if (pos_ + 1 < text_.size() && (text_[pos_] == ',' || text_[pos_] == '.') &&
            isDigit(text_[pos_ + 1])) {
            ++pos_;
            int scale = 10;
            std::size_t decimals = 0;
            while (pos_ < text_.size() && isDigit(text_[pos_])) {
                if (++decimals > 2)
                    return std::nullopt;
                hundredths += (text_[pos_] - '0') * scale;
                scale /= 10;
                ++pos_;
            }
        }
        return hundredths;
    }
    // A dash of any kind, a slash or the word "a" between the two ends of a range.
    bool rangeSeparator()
    {
        skipBlanks();
        if (pos_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (c == '-' || c == 0x96 || c == 0x97 || c == '/' || c == '~') {
                ++pos_;
                return true;
            }
        }
        return take("a");
    }
    bool peekDigit()
    {
        skipBlanks();
        return pos_ < text_.size() && isDigit(text_[pos_]);
    }
    bool peek(char c)
    {
        skipBlanks();
        return pos_ < text_.size() && text_[pos_] == c;
    }
    bool takeChar(char c)
    {
        if (!peek(c))
            return false;
        ++pos_;
        return true;
    }
    // A comma between the items of a list, with a blank after it: "2,5" is not two items.
    bool listComma()
    {
        skipBlanks();
        if (pos_ + 1 < text_.size() && text_[pos_] == ',' && text_[pos_ + 1] == ' ') {
            pos_ += 2;
            return true;
        }
        return false;
    }
    bool finished()
    {
        skipBlanks();
        return atEnd();
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0xC0; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// "o più", "e più", "o oltre", "e oltre", "in su", "+": no upper end.
bool takeOpenEnd(Reader& in)
{
    if (in.takeChar('+'))
        return true;
    if (in.takeAny({"o piu", "e piu", "o oltre", "e oltre", "in su", "o superiore"}))
        return true;
    return false;
}

std::uint8_t playersBetween(int from, int to)
{
    std::uint8_t mask = 0;
    for (int n = from; n <= to && n <= PlayerGroups; ++n)
        mask |= std::uint8_t(1u << (n - 1));
    if (to >= PlayerGroups)
        mask |= std::uint8_t(1u << (PlayerGroups - 1));
    return mask;
}

// One item of a players text: "2", "2+", "2-4", "da 2 a 4".
std::uint8_t readPlayersItem(Reader& in)
{
    in.take("da");
    const std::optional<int> from = in.number();
    if (!from || *from < 1 || *from > 99)
        return 0;
    if (takeOpenEnd(in))
        return playersBetween(*from, PlayerGroups);
    if (in.rangeSeparator()) {
        const std::optional<int> to = in.number();
        if (!to || *to < *from || *to > 99)
            return 0;
        if (takeOpenEnd(in))
            return playersBetween(*from, PlayerGroups);
        return playersBetween(*from, *to);
    }
    return playersBetween(*from, *from);
}

} // namespace

std::uint8_t readPlayers(std::string_view key)
{
    Reader in(key);
    std::uint8_t mask = 0;
    do {
        const std::uint8_t item = readPlayersItem(in);
        if (item == 0)
            return 0;
        mask |= item;
        in.takeAny({"giocatori", "giocatore", "gioc.", "gioc", "persone", "players", "player"});
    } while (in.listComma() || in.take("o") || in.take("e"));
    return in.finished() ? mask : 0;
}

std::optional<int> readYear(std::string_view key, int currentYear)
{
    if (key.size() != 4)
        return std::nullopt;
    int year = 0;
    for (const char c : key) {
        if (!Reader::isDigit(c))
            return std::nullopt;
        year = year * 10 + (c - '0');
    }
    if (year < 1000 || year > currentYear)
        return std::nullopt;
    return year;
}

namespace {

enum class TimeUnit
{
    None,
    Minutes,
    Hours
};

TimeUnit takeUnit(Reader& in)
{
    if (in.takeChar('\'') || in.takeAny({"minuti", "minuto", "mins", "min.", "min", "m"}))
        return TimeUnit::Minutes;
    if (in.takeAny({"ore", "ora", "hours", "hour", "hrs", "hr", "h"}))
        return TimeUnit::Hours;
    return TimeUnit::None;
}

// One length as written: "45", "45 min", "1,5 ore", "1h30", "1 ora e 30 minuti", "1 ora e mezza",
// in hundredths of its unit ("1h30" and the like in minutes). A bare number has no unit yet.
struct Length
{
    int hundredths = 0;
    TimeUnit unit = TimeUnit::None;
};

std::optional<Length> readLength(Reader& in)
{
    const std::optional<int> first = in.decimal();
    if (!first)
        return std::nullopt;
    const TimeUnit unit = takeUnit(in);
    if (unit != TimeUnit::Hours)
        return Length{*first, unit};
    Reader after = in;
    after.take("e");
    if (after.take("mezza") || after.take("mezzo")) {
        in = after;
        return Length{*first * 60 + 3000, TimeUnit::Minutes};
    }
    if (after.peekDigit()) {
        const std::optional<int> more = after.number();
        if (more && *more < 60 && takeUnit(after) != TimeUnit::Hours) {
            in = after;
            return Length{*first * 60 + *more * 100, TimeUnit::Minutes};
        }
    }
    return Length{*first, TimeUnit::Hours};
}

// In hundredths of a minute; a bare number is in `bareUnit`.
int minutesTimes100(const Length& length, TimeUnit bareUnit)
{
    const TimeUnit unit = length.unit == TimeUnit::None ? bareUnit : length.unit;
    return unit == TimeUnit::Hours ? length.hundredths * 60 : length.hundredths;
}

} // namespace

std::optional<int> readPlayingMinutes(std::string_view key)
{
    if (key == "mezz'ora" || key == "mezzora" || key == "mezz' ora")
        return 30;
    if (key == "un'ora" || key == "un ora")
        return 60;
    if (key == "un'ora e mezza" || key == "un ora e mezza" || key == "un'ora e mezzo")
        return 90;
    Reader in(key);
    in.takeAny({"circa", "ca.", "ca", "~", "max.", "max"});
    const std::optional<Length> from = readLength(in);
    if (!from)
        return std::nullopt;
    int hundredths = minutesTimes100(*from, TimeUnit::Minutes);
    if (in.rangeSeparator()) {
        const std::optional<Length> to = readLength(in);
        if (!to)
            return std::nullopt;
        // "30-60 minuti", "1-2 ore": a bare first end takes the unit of the second.
        const int low = minutesTimes100(*from, to->unit == TimeUnit::None ? TimeUnit::Minutes : to->unit);
        const int high = minutesTimes100(*to, TimeUnit::Minutes);
        if (low <= 0 || high < low)
            return std::nullopt;
        hundredths = (low + high) / 2;
    }
    in.takeAny({"circa", "a partita", "per partita"});
    if (!in.finished())
        return std::nullopt;
    const int minutes = (hundredths + 50) / 100;
    if (minutes < 1 || minutes > 6000)
        return std::nullopt;
    return minutes;
}

std::optional<int> readAge(std::string_view key)
{
    Reader in(key);
    in.takeAny({"eta", "per eta"});
    in.takeAny({"dagli", "dai", "da"});
    const std::optional<int> age = in.number();
    if (!age || *age < 1 || *age > 99)
        return std::nullopt;
    takeOpenEnd(in);
    if (in.rangeSeparator()) {
        const std::optional<int> to = in.number();
        if (!to || *to < *age)
            return std::nullopt;
    }
    takeOpenEnd(in);
    in.takeAny({"anni", "anno", "a."});
    takeOpenEnd(in);
    return in.finished() ? age : std::nullopt;
}

} // namespace brivanto::statistics
