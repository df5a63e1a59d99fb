#include "wbem/wql.h"

#include "wbem/wbem_error.h"

namespace vantrel::wbem {

namespace {

enum class TokenKind { Name, Comma, Star, End, Invalid };

struct Token {
    TokenKind kind;
    std::string_view text;
    std::size_t column;  // 1-based
};

bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits the statement into names and commas; the list always ends with End,
// so the grammar below never looks past it.
std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < s.size() && isBlank(s[i])) ++i;
        if (i == s.size()) break;
        if (s[i] == ',' || s[i] == '*') {
            tokens.push_back({s[i] == ',' ? TokenKind::Comma : TokenKind::Star, s.substr(i, 1), i + 1});
            ++i;
        } else if (isNameStart(s[i])) {
            const std::size_t start = i;
            while (i < s.size() && isNameChar(s[i])) ++i;
            tokens.push_back({TokenKind::Name, s.substr(start, i - start), start + 1});
        } else {
            tokens.push_back({TokenKind::Invalid, s.substr(i, 1), i + 1});
            break;
        }
    }
    tokens.push_back({TokenKind::End, {}, s.size() + 1});
    return tokens;
}

[[noreturn]] void fail(std::string_view statement, const Token& at, std::string_view expected) {
    std::string found = at.kind == TokenKind::End ? "the end" : "'" + std::string(at.text) + "'";
    throw WbemError(ErrorCode::InvalidQuery, "Invalid query \"" + std::string(statement) + "\": expected " +
                                                 std::string(expected) + " at column " +
                                                 std::to_string(at.column) + ", found " + found);
}

bool isKeyword(const Token& t, std::string_view keyword) {
    return t.kind == TokenKind::Name && equalsIgnoreCase(t.text, keyword);
}

bool isPlainName(const Token& t) {
    return t.kind == TokenKind::Name && !isKeyword(t, "select") && !isKeyword(t, "from");
}

}  // namespace

WqlSelect parseWql(std::string_view statement) {
    const std::vector<Token> tokens = tokenize(statement);
    std::size_t p = 0;
    WqlSelect out;
    if (!isKeyword(tokens[p], "select")) fail(statement, tokens[p], "Select");
    ++p;
    if (tokens[p].kind == TokenKind::Star) {
        out.allProperties = true;
        ++p;
    }
    for (bool first = true; !out.allProperties; first = false) {
        if (!isPlainName(tokens[p])) fail(statement, tokens[p], first ? "a property name or *" : "a property name");
        out.properties.emplace_back(tokens[p].text);
        ++p;
        if (tokens[p].kind != TokenKind::Comma) break;
        ++p;
    }
    if (!isKeyword(tokens[p], "from")) fail(statement, tokens[p], out.allProperties ? "From" : "a comma or From");
    ++p;
    if (!isPlainName(tokens[p])) fail(statement, tokens[p], "a class name");
    out.className = tokens[p].text;
    ++p;
    if (tokens[p].kind != TokenKind::End) fail(statement, tokens[p], "the end of the statement");
    return out;
}

}  // namespace vantrel::wbem
