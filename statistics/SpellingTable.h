#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace brivanto::statistics {

// The distinct spellings of one field, each once, numbered from 0 in the order they were first
// met: a hash table over one block of bytes, with no allocation per spelling. A field read a
// hundred thousand times but holding a dozen values costs a hash and a compare a record.
class SpellingTable
{
public:
    static constexpr std::uint32_t None = 0xFFFFFFFF;

    SpellingTable() { slots_.assign(64, Slot{}); }

    std::uint32_t find(const std::uint8_t* text, std::size_t size) const
    {
        const std::uint64_t h = hash(text, size);
        for (std::size_t i = h & mask(); slots_[i].id != None; i = (i + 1) & mask()) {
            if (slots_[i].hash == h && equals(slots_[i].id, text, size))
                return slots_[i].id;
        }
        return None;
    }

    // The spelling's number; `added` tells whether it is new.
    std::uint32_t findOrAdd(const std::uint8_t* text, std::size_t size, bool& added)
    {
        const std::uint64_t h = hash(text, size);
        std::size_t i = h & mask();
        for (; slots_[i].id != None; i = (i + 1) & mask()) {
            if (slots_[i].hash == h && equals(slots_[i].id, text, size)) {
                added = false;
                return slots_[i].id;
            }
        }
        added = true;
        const auto id = static_cast<std::uint32_t>(starts_.size() - 1);
        text_.insert(text_.end(), text, text + size);
        starts_.push_back(static_cast<std::uint32_t>(text_.size()));
        slots_[i] = {h, id};
        if ((starts_.size() - 1) * 2 > slots_.size())
            grow();
        return id;
    }

    std::size_t size() const { return starts_.size() - 1; }
    std::string_view at(std::uint32_t id) const
    {
        return {reinterpret_cast<const char*>(text_.data()) + starts_[id], starts_[id + 1] - starts_[id]};
    }

    // Eight bytes at a time, each word mixed in with a multiplication; the last word overlaps the
    // one before it, and a text shorter than eight bytes is read as two overlapping halves.
    static std::uint64_t hash(const std::uint8_t* text, std::size_t size)
    {
        std::uint64_t h = 0x9E3779B97F4A7C15ull ^ size;
        if (size >= 8) {
            std::size_t i = 0;
            for (; i + 8 < size; i += 8)
                h = mix(h, load64(text + i));
            h = mix(h, load64(text + size - 8));
        } else if (size >= 4) {
            h = mix(h, (std::uint64_t(load32(text)) << 32) | load32(text + size - 4));
        } else if (size > 0) {
            h = mix(h, std::uint64_t(text[0]) | std::uint64_t(text[size / 2]) << 8 |
                           std::uint64_t(text[size - 1]) << 16);
        }
        h *= 0x94D049BB133111EBull;
        return h ^ (h >> 29);
    }

private:
    struct Slot
    {
        std::uint64_t hash = 0;
        std::uint32_t id = None;
    };

    static std::uint64_t load64(const std::uint8_t* at)
    {
        std::uint64_t word;
        std::memcpy(&word, at, 8);
        return word;
    }
    static std::uint32_t load32(const std::uint8_t* at)
    {
        std::uint32_t word;
        std::memcpy(&word, at, 4);
        return word;
    }
    static std::uint64_t mix(std::uint64_t h, std::uint64_t word)
    {
        h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
        return h ^ (h >> 31);
    }

    std::size_t mask() const { return slots_.size() - 1; }
    // Short texts, most of them, are compared in a few words without a call.
    bool equals(std::uint32_t id, const std::uint8_t* text, std::size_t size) const
    {
        if (starts_[id + 1] - starts_[id] != size)
            return false;
        const std::uint8_t* stored = text_.data() + starts_[id];
        if (size >= 8 && size <= 16)
            return load64(stored) == load64(text) && load64(stored + size - 8) == load64(text + size - 8);
        if (size >= 4 && size < 8)
            return load32(stored) == load32(text) && load32(stored + size - 4) == load32(text + size - 4);
        return size == 0 || std::memcmp(stored, text, size) == 0;
    }
    void grow()
    {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (slot.id == None)
                continue;
            std::size_t i = slot.hash & mask();
            while (slots_[i].id != None)
                i = (i + 1) & mask();
            slots_[i] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::vector<std::uint8_t> text_;
    std::vector<std::uint32_t> starts_{0};
};

} // namespace brivanto::statistics
