#include "board_description.h"

#include "board_rules.h"
#include "description_text.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string_view>
#include <system_error>
#include <tuple>

namespace zevadriver {
namespace {

const char* TypeName(toml::node_type type) {
    switch (type) {
    case toml::node_type::table:
        return "a table";
    case toml::node_type::array:
        return "an array";
    case toml::node_type::string:
        return "a string";
    case toml::node_type::integer:
        return "an integer";
    case toml::node_type::floating_point:
        return "a floating-point number";
    case toml::node_type::boolean:
        return "a boolean";
    default:
        return "a date or time";
    }
}

#define ZEVADRIVER_KEY_NAME(member, key, kind, limit, required, meaning) key,
constexpr std::string_view k_boardKeyNames[] = {ZEVADRIVER_BOARD_FIELDS(ZEVADRIVER_KEY_NAME)};
#undef ZEVADRIVER_KEY_NAME
constexpr std::string_view k_topLevelKeys[] = {"driver_version", "board"};
constexpr std::size_t k_longestDescription = 64u << 20;

class DescriptionReader {
public:
    explicit DescriptionReader(std::string path) : m_path(std::move(path)) {}

    BoardSet Read() {
        m_text = ReadFile();
        return ReadDocument(ParseText(m_text));
    }
    BoardSet Read(std::string_view text) {
        m_text = text;
        return ReadDocument(ParseText(m_text));
    }

private:
    BoardSet ReadDocument(const toml::table& document) const {
        CheckKeys(document, k_topLevelKeys);
        BoardSet set;
        constexpr BoardKey driverVersion = {"driver_version",
                                            FieldKind::INTEGER,
                                            0xFFFFFFFFu,
                                            true,
                                            "the driver's version",
                                            nullptr,
                                            nullptr,
                                            nullptr};
        set.driverVersion = Integer(Require(document, "driver_version"), driverVersion);
        if (const toml::node* boards = document.get("board"))
            set.boards = Boards(*boards);
        return set;
    }

    [[noreturn]] void Fail(const toml::source_region& where, const std::string& problem) const {
        std::ostringstream text;
        text << m_path << ':' << where.begin.line << ':' << where.begin.column << ": " << problem;
        throw DescriptionError(text.str());
    }

    [[noreturn]] void FailAt(const toml::source_position& where, std::uint32_t columns,
                             const std::string& problem) const {
        throw DescriptionError(m_path + ':' + std::to_string(where.line) + ':' +
                               std::to_string(where.column + columns) + ": " + problem);
    }

    // How many columns after a string's opening quote at `quote` its index-th character is
    // written, escapes counted as written; 0 (the quote) when the string spans lines first.
    std::uint32_t ColumnsToCharacter(const toml::source_position& quote, std::size_t index) const {
        std::size_t at = 0;
        for (std::uint32_t line = 1; line < quote.line && at != std::string::npos; ++line)
            at = m_text.find('\n', at) == std::string::npos ? std::string::npos
                                                            : m_text.find('\n', at) + 1;
        // Columns count characters: skip the UTF-8 continuation bytes.
        const auto next = [&](std::size_t from) {
            do
                ++from;
            while (from < m_text.size() &&
                   (static_cast<unsigned char>(m_text[from]) & 0xC0) == 0x80);
            return from;
        };
        for (std::uint32_t column = 1; column < quote.column && at < m_text.size(); ++column)
            at = next(at);
        if (at >= m_text.size())
            return 0;
        const char quoteMark = m_text[at];
        const bool literal = quoteMark == '\'';
        std::uint32_t columns = m_text.compare(at, 3, std::string(3, quoteMark)) == 0 ? 3 : 1;
        at += columns;
        for (std::size_t character = 0; character < index; ++character) {
            if (at >= m_text.size() || m_text[at] == '\n')
                return 0;
            std::size_t width = 1;
            if (!literal && m_text[at] == '\\')
                width = at + 1 < m_text.size() && m_text[at + 1] == 'u'   ? 6
                        : at + 1 < m_text.size() && m_text[at + 1] == 'U' ? 10
                                                                          : 2;
            for (std::size_t i = 0; i < width; ++i)
                at = next(at);
            columns += static_cast<std::uint32_t>(width);
        }
        return columns;
    }

    std::string ReadFile() const {
        // A directory opens as a stream like a file and reads as empty.
        std::error_code ignored;
        if (std::filesystem::is_directory(m_path, ignored))
            throw DescriptionError(m_path + ": is a directory, not a description file");
        // Read with stdio, whose error flag tells a failed read from the end of the file:
        // a file cut short by an I/O error must never be parsed as if it were all there.
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(m_path.c_str(), "rb"),
                                                             &std::fclose);
        if (!file)
            throw DescriptionError(m_path +
                                   ": cannot be read: " + std::generic_category().message(errno));
        // Bounded, so that /dev/zero or a huge file is refused rather than read until memory
        // runs out: ten thousand boards take about 2.5 MB.
        std::string content;
        char block[65536];
        std::size_t got = 0;
        while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
            if (content.size() + got > k_longestDescription)
                throw DescriptionError(m_path + ": is longer than " +
                                       std::to_string(k_longestDescription) +
                                       " bytes, more than a board description may be");
            content.append(block, got);
        }
        if (std::ferror(file.get()) != 0)
            throw DescriptionError(m_path +
                                   ": read error: " + std::generic_category().message(errno));
        return content;
    }

    toml::table ParseText(std::string_view text) const {
        try {
            return toml::parse(text, m_path);
        } catch (const toml::parse_error& error) {
            Fail(error.source(), ParseProblem(error.description()));
        }
    }

    template <std::size_t count>
    void CheckKeys(const toml::table& table, const std::string_view (&allowed)[count]) const {
        for (const auto& [key, node] : table) {
            if (std::find(std::begin(allowed), std::end(allowed), key.str()) == std::end(allowed))
                Fail(key.source(), "unknown key '" + std::string(key.str()) + "'");
        }
    }

    const toml::node& Require(const toml::table& table, std::string_view key) const {
        const toml::node* node = table.get(key);
        if (node == nullptr)
            Fail(table.source(), "missing key '" + std::string(key) + "'");
        return *node;
    }

    std::uint32_t Integer(const toml::node& node, const BoardKey& key) const {
        const toml::value<std::int64_t>* value = node.as_integer();
        if (value == nullptr)
            Fail(node.source(), std::string("expected an integer, found ") + TypeName(node.type()));
        if (const std::optional<BoardRefusal> refusal = CheckInteger(key, value->get()))
            Fail(node.source(), refusal->reason);
        return static_cast<std::uint32_t>(value->get());
    }

    // A text as the driver keeps it: one ISO 8859-1 byte a character, judged by the rules
    // every board meets (board_rules.h).
    std::string Text(const toml::node& node, const BoardKey& key) const {
        const toml::value<std::string>* value = node.as_string();
        if (value == nullptr)
            Fail(node.source(), std::string("expected a string, found ") + TypeName(node.type()));
        std::string text;
        std::string problem;
        std::size_t where = 0;
        if (!ToDriverText(value->get(), &text, &problem, &where))
            FailAt(node.source().begin, ColumnsToCharacter(node.source().begin, where),
                   std::string(key.key) + ": " + problem);
        if (const std::optional<BoardRefusal> refusal = CheckText(key, text)) {
            if (refusal->rule == BoardRule::ControlCharacter)
                FailAt(node.source().begin,
                       ColumnsToCharacter(node.source().begin, refusal->character),
                       refusal->reason);
            Fail(node.source(), refusal->reason);
        }
        return text;
    }

    bool Flag(const toml::node& node) const {
        if (!node.is_boolean())
            Fail(node.source(), std::string("expected a boolean, found ") + TypeName(node.type()));
        return node.value_or(false);
    }

    Board ReadBoard(const toml::table& table) const {
        CheckKeys(table, k_boardKeyNames);
        Board board;
        for (const BoardKey& key : k_boardKeys) {
            const toml::node* node = table.get(key.key);
            if (node == nullptr && key.required)
                Fail(table.source(),
                     "missing key '" + std::string(key.key) + "' (" + key.meaning + ")");
            if (node == nullptr)
                continue;
            switch (key.kind) {
            case FieldKind::INTEGER:
                board.*key.integer = Integer(*node, key);
                break;
            case FieldKind::TEXT:
            case FieldKind::FILE:
                board.*key.text = Text(*node, key);
                break;
            case FieldKind::FLAG:
                board.*key.flag = Flag(*node);
                break;
            }
        }
        return board;
    }

    // A serial number, a file name or a PCI location used twice is refused at its second use,
    // with the line of its first.
    template <class Key>
    void CheckUnique(std::map<Key, std::uint32_t>& seen, const Key& key, const toml::node& where,
                     const BoardRefusal& refusal) const {
        const auto [first, added] = seen.emplace(key, where.source().begin.line);
        if (!added)
            Fail(where.source(), refusal.reason + " at line " + std::to_string(first->second));
    }

    std::vector<Board> Boards(const toml::node& node) const {
        const toml::array* array = node.as_array();
        if (array == nullptr || !array->is_array_of_tables())
            Fail(node.source(), "'board' must be an array of tables, written [[board]]");
        std::vector<Board> boards;
        std::map<std::uint32_t, std::uint32_t> serials;
        std::map<std::string, std::uint32_t> files;
        std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, std::uint32_t> locations;
        for (const toml::node& element : *array) {
            const toml::table& table = *element.as_table();
            Board board = ReadBoard(table);
            CheckUnique(serials, board.serialNumber, *table.get("serial_number"),
                        DuplicateSerial(board.serialNumber));
            for (const BoardKey& key : k_boardKeys) {
                const toml::node* file = table.get(key.key);
                if (key.kind == FieldKind::FILE && file != nullptr)
                    CheckUnique(files, board.*key.text, *file, DuplicateFile(board.*key.text));
            }
            CheckUnique(locations, std::tuple(board.pciBus, board.pciDevice, board.pciFunction),
                        *table.get("pci_bus"), DuplicateLocation(board));
            boards.push_back(std::move(board));
        }
        return boards;
    }

    std::string m_path;
    std::string m_text;
};

} // namespace

BoardSet ReadBoardDescription(const std::string& path) {
    return DescriptionReader(path).Read();
}

BoardSet ReadBoardText(std::string_view text, const std::string& name) {
    return DescriptionReader(name).Read(text);
}

} // namespace zevadriver
