#include "search/RecordMatch.h"

#include "platform/Windows1252.h"
#include "storage/FieldText.h"

namespace brivanto {
namespace {

// Only the bytes 0x41..0x5A decode to A-Z, so folding the stored bytes folds the text.
inline std::uint8_t foldByte(std::uint8_t b)
{
    return b >= 'A' && b <= 'Z' ? static_cast<std::uint8_t>(b + ('a' - 'A')) : b;
}

bool bytesContainFolded(const std::uint8_t* begin, const std::uint8_t* end, const QByteArray& key)
{
    const auto* k = reinterpret_cast<const std::uint8_t*>(key.constData());
    const std::ptrdiff_t m = key.size();
    // A field shorter than the key cannot hold it; checked first, because `end - m` would then
    // point before the field, which the language leaves undefined.
    if (end - begin < m)
        return false;
    for (const std::uint8_t* last = end - m; begin <= last; ++begin) {
        if (foldByte(*begin) != k[0])
            continue;
        std::ptrdiff_t j = 1;
        while (j < m && foldByte(begin[j]) == k[j])
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

} // namespace

RecordFilter::RecordFilter(const std::vector<FilterText>& filters)
{
    for (const FilterText& filter : filters) {
        if (trimmed(filter.text).isEmpty())
            continue;
        QByteArray key = platform::toWindows1252(filter.text);
        // The code page decodes every byte to a character of its own, so a key that does not
        // come back whole from its bytes holds a character no record can hold.
        if (platform::fromWindows1252(reinterpret_cast<const std::uint8_t*>(key.constData()),
                                      static_cast<std::size_t>(key.size())) != filter.text)
            unmatchable_ = true;
        for (char& c : key)
            c = static_cast<char>(foldByte(static_cast<std::uint8_t>(c)));
        const FieldInfo& info = Fields[static_cast<std::size_t>(filter.field)];
        keys_.push_back({info.offset, info.capacity, key});
    }
}

bool RecordFilter::matches(const GameRecord& record) const
{
    if (unmatchable_)
        return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&record);
    for (const Key& key : keys_) {
        const QByteArrayView value = storedValue(bytes + key.offset, key.capacity);
        const auto* begin = reinterpret_cast<const std::uint8_t*>(value.data());
        if (!bytesContainFolded(begin, begin + value.size(), key.folded))
            return false;
    }
    return true;
}

bool listedForSale(const GameRecord& record)
{
    return readForSale(record) != std::optional<bool>(false);
}

} // namespace brivanto
