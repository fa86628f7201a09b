#pragma once

#include "storage/GameRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace brivanto {

// What the user typed into one search filter, and the record field it is matched against.
struct FilterText
{
    int field; // index into Fields
    QString text;
};

// The search's filters. A filter is given when its trimmed text is not empty; its key is the text
// as typed, blanks included, with A-Z folded. A record matches when every given key occurs in its
// field (trimmed, A-Z folded); with no given filter every record matches.
class RecordFilter
{
public:
    explicit RecordFilter(const std::vector<FilterText>& filters);

    int givenCount() const { return static_cast<int>(keys_.size()); }
    bool matches(const GameRecord& record) const;

private:
    struct Key
    {
        std::size_t offset;
        std::size_t capacity;
        QByteArray folded; // in the archive's code page
    };
    std::vector<Key> keys_;
    // A key holds a character that no stored text can hold: nothing matches.
    bool unmatchable_ = false;
};

// The for-sale summary lists every record whose mark is not "No": "Sì", empty or anything else.
bool listedForSale(const GameRecord& record);

} // namespace brivanto
