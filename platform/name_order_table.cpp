// The en-US order of Windows, rebuilt from the sort key that Windows gives each character alone.
//
// Such a key reads: primary weights, 01, diacritic weights, 01, case weights, 01, (kana weights,
// empty here), 01, special weights, 00. A letter, digit or symbol has one primary weight of two
// bytes (script, weight), a ligature one per letter, each with a diacritic and a case weight. The
// hyphen, the apostrophe, the dashes and most control characters ("word sort" punctuation) have
// no primary weight but a special one: their position (counted in primary weights before them,
// as -position - 1 in 16 bits), a weight and a case/diacritic byte. The soft hyphen has nothing.
// The key of a name is the same levels for all its characters in turn, with diacritic and case
// weights of 2 (the plain ones) dropped from the end of their level. Keys compare byte by byte;
// a key that is a prefix of another sorts first.
//
// Here each primary weight is stored as one byte, its rank among the weights of the table, so
// that keys stay as short as the names; the order is the same.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/ansi_codec.h"
#include "platform/name_order.h"

namespace inkrun::platform {
namespace {

struct MeasuredKey {
    char32_t codePoint;
    std::array<std::uint8_t, 16> key;  // ends with 00
};

constexpr MeasuredKey kMeasuredKeys[] = {
#include "platform/name_order_en_us.inc"
};

constexpr std::uint8_t kLevelEnd = 0x01;
constexpr std::uint8_t kPlainWeight = 2;
constexpr std::uint8_t kFirstRank = 2;           // above kLevelEnd
constexpr std::uint8_t kOutsideCodePage = 0xFE;  // then the code point in three bytes
constexpr std::uint8_t kNotUtf8 = 0xFF;          // then the byte

struct Weight {
    std::uint8_t rank = 0;
    std::uint8_t diacritic = kPlainWeight;
    std::uint8_t caseWeight = kPlainWeight;
};

struct CharacterOrder {
    enum class Kind : std::uint8_t { Unknown, Ignored, Weighted, WordSort };
    Kind kind = Kind::Unknown;
    std::uint8_t count = 0;  // weights, when Weighted
    std::array<Weight, 3> weights{};
    std::uint8_t special = 0;      // when WordSort: its weight
    std::uint8_t specialCase = 0;  // and its case/diacritic byte
};

// One measured key taken apart. Anything this reading does not expect stops the build.
struct Levels {
    std::array<std::uint8_t, 16> bytes[4]{};  // primary, diacritic, case, special
    std::size_t size[4]{};
};

constexpr Levels levelsOf(const MeasuredKey& measured) {
    Levels levels;
    std::size_t level = 0, at = 0;
    for (; at < measured.key.size() && level < 4; ++at) {
        const std::uint8_t byte = measured.key[at];
        if (byte == kLevelEnd) {
            ++level;
            continue;
        }
        if (level == 3) throw "kana weights outside the kana";
        levels.bytes[level][levels.size[level]++] = byte;
    }
    for (; at < measured.key.size() && measured.key[at] != 0; ++at)
        levels.bytes[3][levels.size[3]++] = measured.key[at];
    if (level != 4 || at == measured.key.size()) throw "a sort key with other levels than four and an end";
    return levels;
}

constexpr std::size_t kCharacters = std::size(kMeasuredKeys);

struct Primary {
    std::uint8_t script, weight;
    constexpr bool operator<(const Primary& other) const {
        return script != other.script ? script < other.script : weight < other.weight;
    }
    constexpr bool operator==(const Primary& other) const = default;
};

struct Primaries {
    std::array<Primary, 3 * kCharacters> values{};
    std::size_t count = 0;
    constexpr std::uint8_t rankOf(Primary primary) const {
        std::size_t i = 0;
        while (!(values[i] == primary)) ++i;
        return static_cast<std::uint8_t>(kFirstRank + i);
    }
};

// Every primary weight of the table, in order.
constexpr Primaries makePrimaries() {
    Primaries primaries;
    for (const MeasuredKey& measured : kMeasuredKeys) {
        const Levels levels = levelsOf(measured);
        for (std::size_t i = 0; i + 1 < levels.size[0]; i += 2)
            primaries.values[primaries.count++] = {levels.bytes[0][i], levels.bytes[0][i + 1]};
    }
    std::sort(primaries.values.begin(), primaries.values.begin() + primaries.count);
    primaries.count = static_cast<std::size_t>(
        std::unique(primaries.values.begin(), primaries.values.begin() + primaries.count) - primaries.values.begin());
    if (kFirstRank + primaries.count > kOutsideCodePage) throw "more primary weights than one byte ranks";
    return primaries;
}

constexpr CharacterOrder orderOf(const MeasuredKey& measured, const Primaries& primaries) {
    const Levels levels = levelsOf(measured);
    CharacterOrder order;
    if (levels.size[3] > 0) {
        if (levels.size[0] + levels.size[1] + levels.size[2] != 0 || levels.size[3] != 4 ||
            levels.bytes[3][0] != 0xFF || levels.bytes[3][1] != 0xFF)
            throw "special weights other than one mark's, alone";
        order.kind = CharacterOrder::Kind::WordSort;
        order.special = levels.bytes[3][2];
        order.specialCase = levels.bytes[3][3];
        return order;
    }
    if (levels.size[0] == 0) {
        if (levels.size[1] + levels.size[2] != 0) throw "diacritic or case weights without a primary one";
        order.kind = CharacterOrder::Kind::Ignored;
        return order;
    }
    const std::size_t count = levels.size[0] / 2;
    if (levels.size[0] % 2 != 0 || count > order.weights.size() || levels.size[1] > count || levels.size[2] > count)
        throw "primary weights that are not pairs, or more diacritic or case weights than primary ones";
    order.kind = CharacterOrder::Kind::Weighted;
    order.count = static_cast<std::uint8_t>(count);
    for (std::size_t i = 0; i < count; ++i) {
        Weight& weight = order.weights[i];
        weight.rank = primaries.rankOf({levels.bytes[0][2 * i], levels.bytes[0][2 * i + 1]});
        if (i < levels.size[1]) weight.diacritic = levels.bytes[1][i];
        if (i < levels.size[2]) weight.caseWeight = levels.bytes[2][i];
        if (weight.diacritic < kPlainWeight || weight.caseWeight < kPlainWeight) throw "a weight below the plain one";
    }
    return order;
}

// Code points below 0x100 by value, the others of the code page in a short list.
struct OrderTable {
    std::array<CharacterOrder, 0x100> low{};
    std::array<char32_t, kCharacters> highCodePoints{};
    std::array<CharacterOrder, kCharacters> high{};
    std::size_t highCount = 0;

    const CharacterOrder* find(char32_t codePoint) const {
        if (codePoint < 0x100) return &low[codePoint];
        for (std::size_t i = 0; i < highCount; ++i)
            if (highCodePoints[i] == codePoint) return &high[i];
        return nullptr;
    }
};

constexpr OrderTable makeOrderTable() {
    const Primaries primaries = makePrimaries();
    OrderTable table;
    for (const MeasuredKey& measured : kMeasuredKeys) {
        const CharacterOrder order = orderOf(measured, primaries);
        if (measured.codePoint < 0x80 && order.count > 2)
            throw "an ASCII character of more weights than a key has room for";
        if (measured.codePoint < 0x100) {
            table.low[measured.codePoint] = order;
        } else {
            table.highCodePoints[table.highCount] = measured.codePoint;
            table.high[table.highCount++] = order;
        }
    }
    return table;
}

constexpr OrderTable kOrder = makeOrderTable();

// An ASCII character of a single plain weight (most of them) by its byte: its rank, else 0.
constexpr std::array<std::uint8_t, 0x100> makePlainAsciiRanks() {
    std::array<std::uint8_t, 0x100> ranks{};
    for (std::size_t c = 0; c < 0x80; ++c) {
        const CharacterOrder& order = kOrder.low[c];
        const Weight& weight = order.weights[0];
        if (order.kind == CharacterOrder::Kind::Weighted && order.count == 1 && weight.diacritic == kPlainWeight &&
            weight.caseWeight == kPlainWeight)
            ranks[c] = weight.rank;
    }
    return ranks;
}

constexpr std::array<std::uint8_t, 0x100> kPlainAsciiRanks = makePlainAsciiRanks();

// The levels of one key while it is written. The diacritic and case levels are written only
// from the first weight that is not the plain one, so plain ones never stand at their end.
struct KeyLevels {
    struct Level {
        char* start;
        char* end;
        void push(std::uint8_t byte) { *end++ = static_cast<char>(byte); }
        std::size_t size() const { return static_cast<std::size_t>(end - start); }
    };
    Level primary, diacritics, cases, special;
    std::size_t outsideBytes = 0;  // primary bytes beyond the first of a weight

    // Every level has room for a name of `nameSize` bytes: a byte gives at most two primary
    // weights' bytes (a ligature's three weights take two bytes of UTF-8, a character outside
    // the table four bytes for two or more) and at most four special bytes (one mark).
    KeyLevels(std::vector<char>& buffer, std::size_t nameSize) {
        const std::size_t room = 2 * nameSize + 2;
        if (buffer.size() < 5 * room) buffer.resize(5 * room);
        primary = {buffer.data(), buffer.data()};
        diacritics = {primary.start + room, primary.start + room};
        cases = {diacritics.start + room, diacritics.start + room};
        special = {cases.start + room, cases.start + room};
    }

    std::size_t weights() const { return primary.size() - outsideBytes; }

    void add(const CharacterOrder& order) {
        if (order.kind == CharacterOrder::Kind::WordSort) {
            const auto position = static_cast<std::uint16_t>(-static_cast<long>(weights()) - 1);
            special.push(static_cast<std::uint8_t>(position >> 8));
            special.push(static_cast<std::uint8_t>(position & 0xFF));
            special.push(order.special);
            special.push(order.specialCase);
            return;
        }
        for (std::size_t i = 0; i < order.count; ++i) {
            const Weight& weight = order.weights[i];
            addToLevel(diacritics, weight.diacritic);
            addToLevel(cases, weight.caseWeight);
            primary.push(weight.rank);
        }
    }
    void addOutside(std::uint8_t mark, char32_t value, int bytes) {
        primary.push(mark);
        for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
            primary.push(static_cast<std::uint8_t>(value >> shift));
        outsideBytes += static_cast<std::size_t>(bytes);
    }
    void addToLevel(Level& level, std::uint8_t weight) const {
        if (weight == kPlainWeight) return;
        for (const std::size_t index = weights(); level.size() < index;) level.push(kPlainWeight);
        level.push(weight);
    }

    void appendKey(std::string& keys) const {
        const std::size_t start = keys.size();
        keys.resize(start + primary.size() + diacritics.size() + cases.size() + special.size() + 3);
        char* out = keys.data() + start;
        for (const Level* level : {&primary, &diacritics, &cases, &special}) {
            if (level != &primary) *out++ = static_cast<char>(kLevelEnd);
            std::memcpy(out, level->start, level->size());
            out += level->size();
        }
    }
};

// Adds the character at `at`, one that is not plain ASCII; returns where the next one starts.
std::size_t addCharacter(KeyLevels& levels, std::string_view utf8, std::size_t at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    char32_t codePoint = lead;
    std::size_t length = 1;
    if (lead >= 0x80) {
        try {
            length = decodeUtf8Character(utf8, at, codePoint);
        } catch (const UnencodableCharacter&) {
            levels.addOutside(kNotUtf8, lead, 1);
            return at + 1;
        }
    }
    const CharacterOrder* order = kOrder.find(codePoint);
    if (order && order->kind != CharacterOrder::Kind::Unknown) levels.add(*order);
    else levels.addOutside(kOutsideCodePage, codePoint, 3);
    return at + length;
}

}  // namespace

std::string tableNameOrderKey(std::string_view utf8) {
    std::string key;
    appendTableNameOrderKey(utf8, key);
    return key;
}

void appendTableNameOrderKey(std::string_view utf8, std::string& keys) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    // Most names are plain ASCII throughout: their key is their ranks and three empty levels.
    const std::size_t start = keys.size();
    keys.resize(start + utf8.size() + 3, static_cast<char>(kLevelEnd));
    std::size_t plain = 0;
    for (std::uint8_t rank; plain < utf8.size() && (rank = kPlainAsciiRanks[bytes[plain]]) != 0; ++plain)
        keys[start + plain] = static_cast<char>(rank);
    if (plain == utf8.size()) return;
    keys.resize(start);

    thread_local std::vector<char> buffer;  // kept from name to name: a key costs no allocation
    KeyLevels levels(buffer, utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        // Runs of plain ASCII characters, most of a name, one byte of key each.
        char* out = levels.primary.end;
        for (std::uint8_t rank; at < utf8.size() && (rank = kPlainAsciiRanks[bytes[at]]) != 0; ++at)
            *out++ = static_cast<char>(rank);
        levels.primary.end = out;
        if (at < utf8.size()) at = addCharacter(levels, utf8, at);
    }
    levels.appendKey(keys);
}

}  // namespace inkrun::platform
