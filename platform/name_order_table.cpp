// The orders of Windows, rebuilt from the sort key that Windows gives each character alone.
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
// A locale other than en-US weighs some characters otherwise (Danish puts "Å" after "Z"), and
// some weigh a run of characters as one (Czech "ch" after "h"): its table holds only those rows,
// and a name's runs are taken where they start, the longest first. French reads the diacritic
// weights from the end of the name: that level is written backwards, plain weights dropped from
// its new end.
//
// Here each primary weight is stored as one byte, its rank among the weights of the table, so
// that keys stay as short as the names; the order is the same.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ansi_codec.h"
#include "platform/name_order.h"

namespace inkrun::platform {
namespace {

struct MeasuredKey {
    std::array<char32_t, 4> run;       // one character, or a run weighed as one; 0 after the last
    std::array<std::uint8_t, 16> key;  // ends with 00
};

constexpr MeasuredKey kEnUs[] = {
#include "platform/name_order_en_us.inc"
};

struct LocaleOrder {
    std::string_view table;             // the locale it was measured in
    std::span<const MeasuredKey> rows;  // where it differs from en-US
    bool reversedDiacritics;            // read from the end of a name, as French does
    std::string_view locales;           // every locale that orders so, one space after each
};

#include "platform/name_order_locales.inc"

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

constexpr std::size_t kMostRuns = 48;
constexpr std::size_t kMostRows = std::size(kEnUs) + kMostRuns;  // a locale's rows replace en-US's but its runs
constexpr std::size_t kRunLength = std::tuple_size_v<decltype(MeasuredKey::run)>;

constexpr std::size_t runLength(const MeasuredKey& measured) {
    std::size_t length = 0;
    while (length < kRunLength && measured.run[length] != 0) ++length;
    return length;
}

// The rows a locale orders by: its own, and those of en-US that it does not weigh otherwise.
struct Rows {
    std::array<const MeasuredKey*, kMostRows> rows{};
    std::size_t count = 0;
    constexpr const MeasuredKey* const* begin() const { return rows.data(); }
    constexpr const MeasuredKey* const* end() const { return rows.data() + count; }
};

constexpr Rows rowsOf(std::span<const MeasuredKey> locale) {
    Rows rows;
    for (const MeasuredKey& base : kEnUs) {  // en-US's rows are single characters
        bool replaced = false;
        for (const MeasuredKey& own : locale) replaced = replaced || (own.run[0] == base.run[0] && own.run[1] == 0);
        if (!replaced) rows.rows[rows.count++] = &base;
    }
    for (const MeasuredKey& own : locale) {
        if (rows.count == kMostRows) throw "more rows than a table holds";
        if (runLength(own) == 0) throw "a row of no characters";
        rows.rows[rows.count++] = &own;
    }
    return rows;
}

struct Primary {
    std::uint8_t script, weight;
    constexpr bool operator<(const Primary& other) const {
        return script != other.script ? script < other.script : weight < other.weight;
    }
    constexpr bool operator==(const Primary& other) const = default;
};

struct Primaries {
    std::array<Primary, 3 * kMostRows> values{};
    std::size_t count = 0;
    constexpr std::uint8_t rankOf(Primary primary) const {
        const auto at = std::lower_bound(values.begin(), values.begin() + count, primary);
        return static_cast<std::uint8_t>(kFirstRank + (at - values.begin()));
    }
};

// Every primary weight of the rows, in order.
constexpr Primaries makePrimaries(const Rows& rows) {
    Primaries primaries;
    for (const MeasuredKey* measured : rows) {
        const Levels levels = levelsOf(*measured);
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

// A run of characters weighed as one ("ch").
struct Run {
    std::array<char32_t, kRunLength> characters{};
    std::size_t length = 0;
    CharacterOrder order;
};

// Code points below 0x100 by value, the others of the code page in a short list, the runs
// longest first.
struct OrderTable {
    std::array<CharacterOrder, 0x100> low{};
    std::array<char32_t, kMostRows> highCodePoints{};
    std::array<CharacterOrder, kMostRows> high{};
    std::size_t highCount = 0;
    std::array<Run, kMostRuns> runs{};
    std::size_t runCount = 0;
    bool reversedDiacritics = false;
    // An ASCII character of a single plain weight (most of them) that starts no run, by its byte:
    // its rank, else 0.
    std::array<std::uint8_t, 0x100> plainAsciiRanks{};

    const CharacterOrder* find(char32_t codePoint) const {
        if (codePoint < 0x100) return &low[codePoint];
        for (std::size_t i = 0; i < highCount; ++i)
            if (highCodePoints[i] == codePoint) return &high[i];
        return nullptr;
    }
    constexpr bool startsRun(char32_t codePoint) const {
        for (std::size_t i = 0; i < runCount; ++i)
            if (runs[i].characters[0] == codePoint) return true;
        return false;
    }
};

// A row's order, checked for what a table can hold.
constexpr CharacterOrder checkedOrderOf(const MeasuredKey& measured, const Primaries& primaries) {
    const CharacterOrder order = orderOf(measured, primaries);
    if (runLength(measured) == 1 && measured.run[0] < 0x80 && order.count > 2)
        throw "an ASCII character of more weights than a key has room for";
    return order;
}

constexpr OrderTable makeOrderTable(std::span<const MeasuredKey> locale, bool reversedDiacritics) {
    const Rows rows = rowsOf(locale);
    const Primaries primaries = makePrimaries(rows);
    OrderTable table;
    table.reversedDiacritics = reversedDiacritics;
    for (const MeasuredKey* measured : rows) {
        const CharacterOrder order = checkedOrderOf(*measured, primaries);
        const char32_t codePoint = measured->run[0];
        if (runLength(*measured) > 1) {
            if (table.runCount == kMostRuns) throw "more runs weighed as one than a table holds";
            Run& run = table.runs[table.runCount++];
            run.characters = measured->run;
            run.length = runLength(*measured);
            run.order = order;
        } else if (codePoint < 0x100) {
            table.low[codePoint] = order;
        } else {
            table.highCodePoints[table.highCount] = codePoint;
            table.high[table.highCount++] = order;
        }
    }
    std::sort(table.runs.begin(), table.runs.begin() + table.runCount,
              [](const Run& a, const Run& b) { return a.length > b.length; });
    for (std::size_t c = 0; c < 0x80; ++c) {
        const CharacterOrder& order = table.low[c];
        const Weight& weight = order.weights[0];
        if (order.kind == CharacterOrder::Kind::Weighted && order.count == 1 && weight.diacritic == kPlainWeight &&
            weight.caseWeight == kPlainWeight && !table.startsRun(static_cast<char32_t>(c)))
            table.plainAsciiRanks[c] = weight.rank;
    }
    return table;
}

// en-US's, the order of most locales, made here; the others on first use.
constexpr OrderTable kEnUsOrder = makeOrderTable({}, false);
constexpr Primaries kEnUsPrimaries = makePrimaries(rowsOf({}));

constexpr std::size_t kTables = std::size(kLocaleOrders);

// Every other locale's rows are read here, so that a row this reading does not expect, or more
// than a table holds, stops the build.
constexpr bool readable(std::span<const MeasuredKey> rows) {
    std::size_t runs = 0;
    Primaries added;  // weights en-US does not have
    for (const MeasuredKey& row : rows) {
        checkedOrderOf(row, kEnUsPrimaries);
        if (runLength(row) > 1) ++runs;
        const Levels levels = levelsOf(row);
        for (std::size_t i = 0; i + 1 < levels.size[0]; i += 2) {
            const Primary primary{levels.bytes[0][i], levels.bytes[0][i + 1]};
            const Primary* const known = kEnUsPrimaries.values.data() + kEnUsPrimaries.count;
            if (std::find(kEnUsPrimaries.values.data(), known, primary) != known) continue;
            if (std::find(added.values.data(), added.values.data() + added.count, primary) ==
                added.values.data() + added.count)
                added.values[added.count++] = primary;
        }
    }
    if (runs > kMostRuns) throw "more runs weighed as one than a table holds";
    if (kFirstRank + kEnUsPrimaries.count + added.count > kOutsideCodePage)
        throw "more primary weights than one byte ranks";
    return true;
}
static_assert(std::all_of(std::begin(kLocaleOrders), std::end(kLocaleOrders),
                          [](const LocaleOrder& order) { return readable(order.rows); }));

const OrderTable& orderTable(std::size_t index) {
    const LocaleOrder& order = kLocaleOrders[index];
    if (order.rows.empty() && !order.reversedDiacritics) return kEnUsOrder;
    static std::array<std::unique_ptr<const OrderTable>, kTables> tables;
    static std::array<std::once_flag, kTables> made;
    std::call_once(made[index], [&] {
        tables[index] = std::make_unique<const OrderTable>(makeOrderTable(order.rows, order.reversedDiacritics));
    });
    return *tables[index];
}

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
    // weights' bytes (a ligature's three weights take two bytes of UTF-8, as do a run's, a
    // character outside the table four bytes for two or more) and at most four special bytes
    // (one mark).
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

    // The diacritic level read from the end of the name: the plain weights after its last
    // written one stand first, and the plain ones it starts with go.
    void reverseDiacritics() {
        const std::size_t written = diacritics.size();
        if (written == 0) return;
        const std::size_t plainAfter = weights() - written;
        std::reverse(diacritics.start, diacritics.end);
        while (static_cast<std::uint8_t>(diacritics.end[-1]) == kPlainWeight) --diacritics.end;
        std::memmove(diacritics.start + plainAfter, diacritics.start, diacritics.size());
        std::memset(diacritics.start, kPlainWeight, plainAfter);
        diacritics.end += plainAfter;
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

// The code point at `at`, and where the next one starts; a byte that is not UTF-8 alone.
std::size_t nextCodePoint(std::string_view utf8, std::size_t at, char32_t& codePoint, bool& malformed) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    codePoint = lead;
    malformed = false;
    if (lead < 0x80) return at + 1;
    try {
        return at + decodeUtf8Character(utf8, at, codePoint);
    } catch (const UnencodableCharacter&) {
        malformed = true;
        return at + 1;
    }
}

// The run of `table` that starts at `at` (whose first code point is given), the longest; null
// when none does. Sets `next` to where the text after it starts.
const Run* runAt(const OrderTable& table, std::string_view utf8, char32_t first, std::size_t after, std::size_t& next) {
    for (std::size_t i = 0; i < table.runCount; ++i) {
        const Run& run = table.runs[i];
        if (run.characters[0] != first) continue;
        std::size_t at = after, matched = 1;
        for (; matched < run.length && at < utf8.size(); ++matched) {
            char32_t codePoint;
            bool malformed;
            at = nextCodePoint(utf8, at, codePoint, malformed);
            if (malformed || codePoint != run.characters[matched]) break;
        }
        if (matched == run.length) {
            next = at;
            return &run;
        }
    }
    return nullptr;
}

// Adds the character at `at`, or the run it starts, one that is not plain ASCII; returns where
// the next one starts.
std::size_t addCharacter(const OrderTable& table, KeyLevels& levels, std::string_view utf8, std::size_t at) {
    char32_t codePoint;
    bool malformed;
    const std::size_t next = nextCodePoint(utf8, at, codePoint, malformed);
    if (malformed) {
        levels.addOutside(kNotUtf8, static_cast<unsigned char>(utf8[at]), 1);
        return next;
    }
    if (table.runCount > 0 && table.startsRun(codePoint)) {
        std::size_t afterRun;
        if (const Run* run = runAt(table, utf8, codePoint, next, afterRun)) {
            levels.add(run->order);
            return afterRun;
        }
    }
    const CharacterOrder* order = table.find(codePoint);
    if (order && order->kind != CharacterOrder::Kind::Unknown) levels.add(*order);
    else levels.addOutside(kOutsideCodePage, codePoint, 3);
    return next;
}

constexpr std::string_view kEnUsName = "en-US";

// The locale names of kLocaleOrders, each with the index of its table.
struct LocaleName {
    std::string_view name;
    std::size_t table;
};

std::vector<LocaleName> localeNames() {
    std::vector<LocaleName> names;
    for (std::size_t table = 0; table < kTables; ++table) {
        const std::string_view list = kLocaleOrders[table].locales;
        for (std::size_t start = 0; start < list.size();) {
            std::size_t end = list.find(' ', start);
            if (end == std::string_view::npos) end = list.size();
            if (end > start) names.push_back({list.substr(start, end - start), table});
            start = end + 1;
        }
    }
    std::sort(names.begin(), names.end(), [](const LocaleName& a, const LocaleName& b) { return a.name < b.name; });
    return names;
}

const std::vector<LocaleName>& knownLocales() {
    static const std::vector<LocaleName> names = localeNames();
    return names;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

constexpr std::array<NameOrderTable, kTables> makeHandles() {
    return [&]<std::size_t... index>(std::index_sequence<index...>) {
        return std::array<NameOrderTable, kTables>{NameOrderTable(index)...};
    }
    (std::make_index_sequence<kTables>());
}

constexpr std::array<NameOrderTable, kTables> kHandles = makeHandles();

}  // namespace

const NameOrderTable* NameOrderTable::find(std::string_view locale) {
    for (const LocaleName& known : knownLocales())
        if (sameIgnoringCase(known.name, locale)) return &kHandles[known.table];
    return nullptr;
}

const NameOrderTable& NameOrderTable::enUs() {
    static const NameOrderTable* const table = find(kEnUsName);
    return *table;
}

std::vector<std::string_view> NameOrderTable::locales() {
    std::vector<std::string_view> names;
    for (const LocaleName& known : knownLocales()) names.push_back(known.name);
    return names;
}

std::vector<const NameOrderTable*> NameOrderTable::all() {
    std::vector<const NameOrderTable*> tables;
    for (const NameOrderTable& table : kHandles) tables.push_back(&table);
    return tables;
}

std::string_view NameOrderTable::measuredIn() const { return kLocaleOrders[index_].table; }

std::string NameOrderTable::key(std::string_view utf8) const {
    std::string key;
    appendKey(utf8, key);
    return key;
}

void NameOrderTable::appendKey(std::string_view utf8, std::string& keys) const {
    const OrderTable& table = orderTable(index_);
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::uint8_t* ranks = table.plainAsciiRanks.data();
    // Most names are plain ASCII throughout: their key is their ranks and three empty levels.
    const std::size_t start = keys.size();
    keys.resize(start + utf8.size() + 3, static_cast<char>(kLevelEnd));
    std::size_t plain = 0;
    for (std::uint8_t rank; plain < utf8.size() && (rank = ranks[bytes[plain]]) != 0; ++plain)
        keys[start + plain] = static_cast<char>(rank);
    if (plain == utf8.size()) return;
    keys.resize(start);

    thread_local std::vector<char> buffer;  // kept from name to name: a key costs no allocation
    KeyLevels levels(buffer, utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        // Runs of plain ASCII characters, most of a name, one byte of key each.
        char* out = levels.primary.end;
        for (std::uint8_t rank; at < utf8.size() && (rank = ranks[bytes[at]]) != 0; ++at)
            *out++ = static_cast<char>(rank);
        levels.primary.end = out;
        if (at < utf8.size()) at = addCharacter(table, levels, utf8, at);
    }
    if (table.reversedDiacritics) levels.reverseDiacritics();
    levels.appendKey(keys);
}

}  // namespace inkrun::platform
