#include "jet/detail/Statement.h"

#include <vector>

#include "jet/Error.h"
#include "jet/detail/TableDefinition.h"

namespace jet::detail {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool isWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

[[noreturn]] void syntaxError(const std::string& detail) {
    throw Error(ErrorCategory::InvalidArgument, "Syntax error in the statement: " + detail + ".");
}

std::vector<std::string> tokenize(std::string_view s) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < s.size()) {
        if (isSpace(s[i])) { ++i; continue; }
        if (s[i] == '[') {
            std::size_t close = s.find(']', i + 1);
            if (close == std::string_view::npos) syntaxError("a name in brackets is not closed");
            out.emplace_back(s.substr(i, close - i + 1));
            i = close + 1;
        } else if (isWordChar(s[i]) || s[i] == ':') {
            std::size_t j = i + 1;
            while (j < s.size() && isWordChar(s[j])) ++j;
            out.emplace_back(s.substr(i, j - i));
            i = j;
        } else {
            out.emplace_back(1, s[i]);
            ++i;
        }
    }
    return out;
}

std::string name(const std::string& token, const char* what) {
    if (token.size() >= 2 && token.front() == '[') return token.substr(1, token.size() - 2);
    if (token.empty() || !isWordChar(token[0])) syntaxError(std::string("expected ") + what + ", found '" + token + "'");
    return token;
}

}  // namespace

Statement Statement::parse(std::string_view text) {
    auto t = tokenize(text);
    std::size_t i = 0;
    auto expect = [&](const char* word) {
        if (i >= t.size()) syntaxError(std::string("expected '") + word + "' at the end");
        if (!equalsIgnoreAsciiCase(t[i], word)) syntaxError(std::string("expected '") + word + "', found '" + t[i] + "'");
        ++i;
    };
    expect("select");
    expect("*");
    expect("from");
    if (i >= t.size()) syntaxError("expected a table name at the end");
    Statement st;
    st.table = name(t[i++], "a table name");
    if (i < t.size() && t[i] == ";" && i + 1 == t.size()) return st;
    if (i == t.size()) return st;
    expect("where");
    if (i >= t.size()) syntaxError("expected a column name at the end");
    st.column = name(t[i++], "a column name");
    expect("like");
    if (i >= t.size()) syntaxError("expected a parameter at the end");
    const std::string& p = t[i++];
    if (!(p == "?" || (p.size() > 1 && p[0] == ':'))) syntaxError("expected a parameter ('?'), found '" + p + "'");
    if (i < t.size() && t[i] == ";") ++i;
    if (i != t.size()) syntaxError("unexpected '" + t[i] + "' after the condition");
    return st;
}

}  // namespace jet::detail
